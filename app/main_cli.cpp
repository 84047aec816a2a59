// escolan-horvane-cli: the headless front end.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <map>

#include "app/interfaz_consola.h"
#include "app/table_dump.h"
#include "app/version.h"
#include "app/ventana_principal.h"
#include "muestra/muestra_escolan.h"
#include "platform/platform.h"
#include "platform/posix/drive_map.h"  // a host path typed for a folder
#include "run/rutas.h"

namespace {

constexpr int kBadArguments = 2;

// A folder as the user typed it: a Windows path, or a host path starting with "/".
std::string WindowsFolder(const std::string& typed) {
  return typed.starts_with("/") ? platform::WindowsPathOfHost(typed) : typed;
}

int Dump(const app::DumpOptions& options) {
  try {
    // The dump is read by scripts as much as by people: wherever the engine turns a number into text or
    // back, it takes the point as decimal separator on every machine, not the user's regional one that
    // the runs use.
    storage::Engine engine('.');
    app::DumpTable(engine, options, std::cout);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}

// Stages from the source folder, then runs the export, as the window does after a folder change and a
// click on its export button.
int Export(const std::string& source, const std::string& language) {
  storage::Engine engine;
  app::InterfazConsola interfaz(std::cout, std::cerr, platform::StandardErrorIsTerminal());
  app::VentanaPrincipal ventana(engine, interfaz);
  ventana.idioma = language;
  bool completed = run::EjecutarManejador(interfaz, [&] {
    platform::SetCurrentFolder(WindowsFolder(source));
    ventana.ListaDirectoriosChange();
    ventana.BExportarClick();
  });
  return completed ? 0 : 1;
}

constexpr int kImportStopped = 3;

struct ImportOptions {
  std::string source;
  std::string centre;
  bool centreGiven = false;
  std::vector<std::string> identityNumbers;  // ABREV=NUMBER
  std::vector<std::string> periods;          // N=HH:MM-HH:MM
};

// "ABREV=NUMBER" answers of the teacher review.
std::map<std::string, std::int32_t> ParseIdentityNumbers(const std::vector<std::string>& typed) {
  std::map<std::string, std::int32_t> numbers;
  for (const std::string& answer : typed) {
    std::size_t equals = answer.rfind('=');
    if (equals == std::string::npos || equals == 0) throw CLI::ValidationError("--dni", "expected ABREV=NUMBER: " + answer);
    try {
      std::size_t used = 0;
      long number = std::stol(answer.substr(equals + 1), &used);
      if (used != answer.size() - equals - 1 || number < 0 || number > 999999999) throw std::invalid_argument(answer);
      numbers[answer.substr(0, equals)] = static_cast<std::int32_t>(number);
    } catch (const std::logic_error&) {
      throw CLI::ValidationError("--dni", "expected ABREV=NUMBER: " + answer);
    }
  }
  return numbers;
}

// "N=HH:MM-HH:MM" answers of the template review (either time may be empty).
std::map<int, std::pair<std::string, std::string>> ParsePeriods(const std::vector<std::string>& typed) {
  std::map<int, std::pair<std::string, std::string>> periods;
  for (const std::string& answer : typed) {
    std::size_t equals = answer.find('=');
    std::size_t dash = answer.find('-', equals == std::string::npos ? 0 : equals);
    int period = 0;
    try {
      period = std::stoi(answer.substr(0, equals));
    } catch (const std::logic_error&) {
    }
    if (equals == std::string::npos || dash == std::string::npos || period < 1 || period > 20) {
      throw CLI::ValidationError("--period", "expected N=HH:MM-HH:MM with N from 1 to 20: " + answer);
    }
    periods[period] = {answer.substr(equals + 1, dash - equals - 1), answer.substr(dash + 1)};
  }
  return periods;
}

// Stages from the source folder and reads the centre list as the window's start-up does, then runs the
// import, answering the two reviews from the command line.
int Import(const ImportOptions& options) {
  storage::Engine engine;
  app::InterfazConsola interfaz(std::cout, std::cerr, platform::StandardErrorIsTerminal());
  app::VentanaPrincipal ventana(engine, interfaz);
  try {
    interfaz.dnis = ParseIdentityNumbers(options.identityNumbers);
    interfaz.periodos = ParsePeriods(options.periods);
  } catch (const CLI::ValidationError& error) {
    std::cerr << error.what() << '\n';
    return kBadArguments;
  }
  bool staged = run::EjecutarManejador(interfaz, [&] {
    platform::SetCurrentFolder(WindowsFolder(options.source));
    ventana.ListaDirectoriosChange();
    ventana.LeerCentros();
  });
  if (!staged) return 1;
  if (options.centreGiven) {
    const auto& centres = ventana.Centros();
    auto found = std::find(centres.begin(), centres.end(), options.centre);
    if (found == centres.end()) {
      std::string list;
      for (const std::string& centre : centres) list += (list.empty() ? "" : ", ") + centre;
      std::cerr << "--centre: " << options.centre << " is not a centre of this folder; its centres: " << list << '\n';
      return kBadArguments;
    }
    ventana.SeleccionarCentro(static_cast<int>(found - centres.begin()));
  }
  importacion::FinImportacion end = importacion::FinImportacion::kCompleta;
  if (!run::EjecutarManejador(interfaz, [&] { end = ventana.BImportarClick(); })) return 1;
  if (end == importacion::FinImportacion::kSinDni) return kImportStopped;
  return end == importacion::FinImportacion::kCompleta ? 0 : 1;
}

int MakeSample(const std::string& folder, const std::string& size) {
  try {
    std::string windowsFolder = WindowsFolder(folder);
    muestra::EscribirMuestraEscolan(windowsFolder, size == "large" ? muestra::TamanoMuestra::kGrande : muestra::TamanoMuestra::kPequena);
    std::cout << "Datos de ejemplo de ESCOLAN escritos en " << platform::FullPath(windowsFolder).Text() << '\n';
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App cli{std::string(app::kNombreProducto) + " " + app::kVersion +
                   ": moves a school's data between ESCOLAN and the Horvane timetable generator",
               "escolan-horvane-cli"};
  cli.set_version_flag("--version", std::string("escolan-horvane-cli ") + app::kVersion);
  cli.require_subcommand(0, 1);

  app::DumpOptions dump;
  CLI::App* dumpCommand = cli.add_subcommand("dump", "Print a dBase table as JSON Lines, one record per line");
  dumpCommand->add_option("path", dump.path, "The table: a Windows path (" + run::RutaIntercambio(run::kAsigt) + ") or a host path")->required();
  dumpCommand->add_option("--index", dump.index, "Walk in the order of this tag of the production index");
  dumpCommand->add_option("--filter", dump.filter, "Show only records where FIELD= 'constant'");

  std::string source;
  std::string language = app::kIdiomaInicial;
  CLI::App* exportCommand =
      cli.add_subcommand("export", "Stage ESCOLAN's tables from a folder and write the nine tables for the generator "
                                   "into " + std::string(run::kCarpetaIntercambio));
  exportCommand->add_option("--source", source, "ESCOLAN's folder: a Windows path (" + std::string(run::kCarpetaEscolan) + ") or a host path")
      ->required();
  exportCommand->add_option("--language", language, "Language of subject names: VALENCIÁ (default) or CASTELLANO")
      ->capture_default_str();

  ImportOptions import;
  CLI::App* importCommand = cli.add_subcommand(
      "import", "Stage ESCOLAN's tables from a folder, then rewrite its timetables (horgrup, horprof) from "
                "the generator's solution " + run::RutaIntercambio(run::kSoluc));
  importCommand->add_option("--source", import.source, "ESCOLAN's folder: a Windows path or a host path")->required();
  importCommand->add_option("--centre", import.centre, "The centre code (default: the first of the folder's centro)");
  importCommand->add_option("--dni", import.identityNumbers, "ABREV=NUMBER: the identity number of a teacher in the teacher review");
  importCommand->add_option("--period", import.periods,
                            "N=HH:MM-HH:MM: the start and end time of period N in the template review");

  std::string sampleFolder;
  std::string sampleSize = "small";
  CLI::App* sampleCommand =
      cli.add_subcommand("make-sample", "Write an invented ESCOLAN folder (its tables and memo file) to try the program with");
  sampleCommand->add_option("folder", sampleFolder, "Where: a Windows path (" + std::string(run::kCarpetaEscolan) + ") or a host path")->required();
  sampleCommand->add_option("--size", sampleSize, "small, or large (a big secondary school)")
      ->check(CLI::IsMember({"small", "large"}))
      ->capture_default_str();

  try {
    cli.parse(argc, argv);
  } catch (const CLI::Success& done) {
    return cli.exit(done);
  } catch (const CLI::ParseError& error) {
    cli.exit(error);
    return kBadArguments;
  }

  if (dumpCommand->parsed()) return Dump(dump);
  if (exportCommand->parsed()) return Export(source, language);
  if (sampleCommand->parsed()) return MakeSample(sampleFolder, sampleSize);
  if (importCommand->parsed()) {
    import.centreGiven = importCommand->count("--centre") > 0;
    return Import(import);
  }
  std::cout << cli.help();
  return 0;
}
