// escolan-horvane-cli: the headless front end.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "app/interfaz_consola.h"
#include "app/table_dump.h"
#include "diagnostico/diagnostico.h"
#include "export/exportacion.h"
#include "horarios/horarios.h"
#include "import/copias.h"
#include "muestra/muestra_escolan.h"
#include "platform/platform.h"
#include "platform/drive_map.h"  // a host path typed for a folder
#include "run/revision.h"
#include "run/rutas.h"
#include "run/tablas_preparadas.h"
#include "sesion/sesion.h"
#include "storage/storage.h"
#include "ventana/menu_ventana.h"
#include "ventana/version.h"

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
// click on its export button: one run, after the recovery of an interrupted copy back.
int Export(const std::string& source, exportacion::Idioma language) {
  storage::Engine engine;
  app::InterfazConsola interfaz(std::cout, std::cerr, platform::StandardErrorIsTerminal());
  sesion::Sesion session(engine, interfaz);
  bool completed = run::EjecutarManejador(interfaz, [&] {
    sesion::Sesion::Ejecucion oneRun(session);
    session.RecuperarCopiaInterrumpida();
    session.PrepararCarpeta(WindowsFolder(source));
    session.Exportar(language);
  });
  return completed ? 0 : 1;
}

// Lists every problem an export or an import of the folder would meet, one line each, then their count;
// stages nothing and changes nothing. 0 when there is none, 1 when there is one at least.
int Review(const std::string& source, exportacion::Idioma language) {
  try {
    storage::Engine engine;
    std::vector<diagnostico::Problema> problems =
        diagnostico::ProblemasDeCarpeta(engine, WindowsFolder(source), language);
    for (const diagnostico::Problema& problem : problems) std::cout << diagnostico::Linea(problem) << '\n';
    std::cout << diagnostico::Resumen(problems.size()) << '\n';
    return problems.empty() ? 0 : 1;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}

constexpr int kImportStopped = 3;

struct ImportOptions {
  std::string source;
  std::string centre;
  bool centreGiven = false;
  std::vector<std::string> identityNumbers;  // ABREV=NUMBER
  std::vector<std::string> periods;          // N=HH:MM-HH:MM
};

// What --dni and --period accept, for the messages that refuse an answer.
constexpr const char* kIdentityNumberForm = "expected ABREV=NUMBER, NUMBER of 1 to 9 digits";
constexpr const char* kPeriodForm =
    "expected N=HH:MM-HH:MM, N from 1 to 20, each time from 00:00 to 23:59 or left empty";

// The number that `text` writes with decimal digits alone (no sign, no blanks), when it fits.
std::optional<std::int32_t> DigitsOnly(std::string_view text) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front()))) return std::nullopt;
  std::int32_t number = 0;
  auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (fault != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

// One "ABREV=NUMBER" answer of the teacher review; std::invalid_argument says why it is refused.
std::pair<std::string, std::int32_t> ParseIdentityNumber(const std::string& answer) {
  std::size_t equals = answer.rfind('=');
  std::string_view digits = std::string_view(answer).substr(equals == std::string::npos ? answer.size() : equals + 1);
  std::optional<std::int32_t> number = DigitsOnly(digits);
  if (equals == std::string::npos || equals == 0 || digits.size() > 9 || !number) {
    throw std::invalid_argument(std::string(kIdentityNumberForm) + ": " + answer);
  }
  return {answer.substr(0, equals), *number};
}

// A time as the template grid's five-character cells hold it: "HH:MM", hours 00 to 23, minutes 00 to 59.
bool IsTimeOfDay(std::string_view text) {
  auto digit = [&](std::size_t at) { return text[at] >= '0' && text[at] <= '9'; };
  return text.size() == 5 && digit(0) && digit(1) && text[2] == ':' && digit(3) && digit(4) &&
         text.substr(0, 2) <= "23" && text[3] <= '5';
}

struct PeriodAnswer {
  int period = 0;
  std::string start;  // "HH:MM", or empty
  std::string end;
};

// One "N=HH:MM-HH:MM" answer of the template review (either time may be empty, as the grid leaves a cell
// empty); std::invalid_argument says why it is refused.
PeriodAnswer ParsePeriod(const std::string& answer) {
  std::size_t equals = answer.find('=');
  std::optional<std::int32_t> period = DigitsOnly(std::string_view(answer).substr(0, equals));
  std::string_view times = std::string_view(answer).substr(equals == std::string::npos ? answer.size() : equals + 1);
  std::size_t dash = times.find('-');
  if (equals == std::string::npos || dash == std::string_view::npos || !period || *period < 1 || *period > 20) {
    throw std::invalid_argument(std::string(kPeriodForm) + ": " + answer);
  }
  PeriodAnswer parsed;
  parsed.period = *period;
  parsed.start = times.substr(0, dash);
  parsed.end = times.substr(dash + 1);
  for (const std::string& time : {parsed.start, parsed.end}) {
    if (!time.empty() && !IsTimeOfDay(time)) throw std::invalid_argument(std::string(kPeriodForm) + ": " + answer);
  }
  // "HH:MM" texts sort as the times they write.
  if (!parsed.start.empty() && !parsed.end.empty() && parsed.start > parsed.end) {
    throw std::invalid_argument("a period may not start after it ends: " + answer);
  }
  return parsed;
}

// A check of each answer to an option, for CLI11: empty when the parser takes it, else the parser's reason.
template <typename Parser>
CLI::Validator AnswerCheck(Parser parse) {
  return CLI::Validator(
      [parse](std::string& answer) -> std::string {
        try {
          parse(answer);
          return {};
        } catch (const std::invalid_argument& refused) {
          return refused.what();
        }
      },
      "");
}

// "ABREV=NUMBER" answers of the teacher review.
std::map<std::string, std::int32_t> ParseIdentityNumbers(const std::vector<std::string>& typed) {
  std::map<std::string, std::int32_t> numbers;
  for (const std::string& answer : typed) {
    try {
      auto [abbreviation, number] = ParseIdentityNumber(answer);
      numbers[abbreviation] = number;
    } catch (const std::invalid_argument& refused) {
      throw CLI::ValidationError("--dni", refused.what());
    }
  }
  return numbers;
}

// "N=HH:MM-HH:MM" answers of the template review.
std::map<int, std::pair<std::string, std::string>> ParsePeriods(const std::vector<std::string>& typed) {
  std::map<int, std::pair<std::string, std::string>> periods;
  for (const std::string& answer : typed) {
    try {
      PeriodAnswer parsed = ParsePeriod(answer);
      periods[parsed.period] = {parsed.start, parsed.end};
    } catch (const std::invalid_argument& refused) {
      throw CLI::ValidationError("--period", refused.what());
    }
  }
  return periods;
}

// The teachers' abbreviations in the interchange table PROFT, in stored order, read without changing it;
// nothing when the table cannot be read (the import then stops on it with the table layer's own error).
std::optional<std::vector<std::string>> TeacherAbbreviations() {
  try {
    storage::Engine engine;
    storage::Table proft(engine);
    run::DirigirAProfesores(proft);
    proft.Open();
    std::vector<std::string> abbreviations;
    for (proft.First(); !proft.Eof(); proft.Next()) abbreviations.push_back(proft.AsString(run::kCampoAbreviatura));
    return abbreviations;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Each --dni answer names a teacher of PROFT: an answer for any other abbreviation would be dropped by the
// teacher review. False, after saying so on standard error, when one does not.
bool IdentityNumbersNameTeachers(const std::vector<std::string>& typed) {
  if (typed.empty()) return true;
  std::optional<std::vector<std::string>> known = TeacherAbbreviations();
  if (!known) return true;
  for (const std::string& answer : typed) {
    std::string abbreviation = ParseIdentityNumber(answer).first;
    if (std::find(known->begin(), known->end(), abbreviation) != known->end()) continue;
    std::string list;
    for (const std::string& teacher : *known) list += (list.empty() ? "" : ", ") + teacher;
    std::cerr << "--dni: " << abbreviation << " is not a teacher abbreviation in "
              << run::RutaIntercambio(run::kProft) << "; its abbreviations: " << (list.empty() ? "none" : list)
              << '\n';
    return false;
  }
  return true;
}

// Stages from the source folder and reads the centre list as the window's start-up does, then runs the
// import, answering the two reviews from the command line: one run, after the recovery of an interrupted
// copy back.
int Import(const ImportOptions& options) {
  storage::Engine engine;
  app::InterfazConsola interfaz(std::cout, std::cerr, platform::StandardErrorIsTerminal());
  sesion::Sesion session(engine, interfaz);
  try {
    interfaz.PonerRespuestas(ParseIdentityNumbers(options.identityNumbers), ParsePeriods(options.periods));
  } catch (const CLI::ValidationError& error) {
    std::cerr << error.what() << '\n';
    return kBadArguments;
  }
  std::optional<sesion::Sesion::Ejecucion> oneRun;
  std::vector<std::string> centres;
  bool staged = run::EjecutarManejador(interfaz, [&] {
    oneRun.emplace(session);
    session.RecuperarCopiaInterrumpida();
    session.PrepararCarpeta(WindowsFolder(options.source));
    session.LeerCentros(centres);
  });
  if (!staged) return 1;
  // The centre given, or the first of the folder's, as the window's centre list starts.
  std::string centre = centres.empty() ? std::string() : centres.front();
  if (options.centreGiven) {
    if (std::find(centres.begin(), centres.end(), options.centre) == centres.end()) {
      std::string list;
      for (const std::string& known : centres) list += (list.empty() ? "" : ", ") + known;
      std::cerr << "--centre: " << options.centre << " is not a centre of this folder; its centres: " << list << '\n';
      return kBadArguments;
    }
    centre = options.centre;
  }
  importacion::FinImportacion end = importacion::FinImportacion::kCompleta;
  if (!run::EjecutarManejador(interfaz, [&] { end = session.Importar(centre); })) return 1;
  if (end == importacion::FinImportacion::kSinDni) return kImportStopped;
  return end == importacion::FinImportacion::kCompleta ? 0 : 1;
}

// The backups of the folder's timetables in C:\HTEMP\COPIAS, one line each, newest first.
int Backups(const std::string& source) {
  try {
    storage::Engine engine;
    for (const importacion::CopiaHorarios& copia : importacion::CopiasDeCarpeta(engine, WindowsFolder(source))) {
      std::cout << importacion::LineaDeCopia(copia) << '\n';
    }
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}

// Puts a backup of the folder's timetables back into it, as the window's restore does: one run, after the
// recovery of an interrupted copy back.
int Restore(const std::string& source, const std::string& stamp) {
  storage::Engine engine;
  app::InterfazConsola interfaz(std::cout, std::cerr, false);
  sesion::Sesion session(engine, interfaz);
  return run::EjecutarManejador(interfaz, [&] {
    session.CambiarCarpeta(WindowsFolder(source));
    session.RestaurarCopia(stamp);
  }) ? 0 : 1;
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

struct TimetableOptions {
  std::string source;
  std::string centre;
  bool centreGiven = false;
  std::string out = std::string(run::kPaginaHorarios);
};

// The centre whose timetables the page shows: the one given, which must be a centre of the folder's centro
// when it has one, or else the first centre there, as the window's centre list starts. Nothing after saying
// why on standard error when the given one is not there.
std::optional<std::string> TimetableCentre(storage::Engine& engine, const std::string& folder,
                                           const TimetableOptions& options) {
  bool hasCentres = platform::FileExists(run::EnCarpeta(folder, run::ArchivoEscolan(run::kCentro)));
  if (!options.centreGiven) {
    std::vector<std::string> centres = horarios::CentrosDeCarpeta(engine, folder);
    return centres.empty() ? std::string() : centres.front();
  }
  if (!hasCentres) return options.centre;
  std::vector<std::string> centres = horarios::CentrosDeCarpeta(engine, folder);
  if (std::find(centres.begin(), centres.end(), options.centre) != centres.end()) return options.centre;
  std::string list;
  for (const std::string& centre : centres) list += (list.empty() ? "" : ", ") + centre;
  std::cerr << "--centre: " << options.centre << " is not a centre of this folder; its centres: " << list << '\n';
  return std::nullopt;
}

// The printable page of a folder's timetables, read shared from the folder itself (nothing is staged, and
// nothing of the folder changes), written at --out.
int Timetables(const TimetableOptions& options) {
  try {
    storage::Engine engine;
    std::string folder = WindowsFolder(options.source);
    std::optional<std::string> centre = TimetableCentre(engine, folder, options);
    if (!centre) return kBadArguments;
    std::string page = platform::FullPath(WindowsFolder(options.out)).Text();
    horarios::EscribirPaginaHorarios(engine, folder, *centre, page);
    std::cout << page << '\n';
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}

// The end of the help: where the user manual is installed, and how the window opens it. In Spanish, as the
// manual itself.
std::string ManualFooter() {
  std::string manual;
  try {
    manual = sesion::RutaManual();
  } catch (const std::exception& error) {
    manual = std::string("(no se sabe dónde: ") + error.what() + ")";
  }
  std::string orden;
  for (const ventana::ElementoMenu& elemento : ventana::kMenuVentana) {
    if (elemento.orden == ventana::OrdenMenu::kManual) {
      orden = "«" + std::string(elemento.texto) + "» (" + ventana::TextoAtajo(elemento) + ")";
    }
  }
  return "Manual de uso, en español: " + manual + "\nEn la ventana lo abre " + orden +
         ", en el menú de la ventana.";
}

}  // namespace

int main(int argc, char** argv) {
  // A run is over in a few tens of milliseconds: readying memory in small pages would be a good part of them.
  platform::PreferLargePagesForTheHeap();
  platform::Utf8Console console;
  CLI::App cli{std::string(ventana::kNombreProducto) + " " + ventana::kVersion +
                   ": moves a school's data between ESCOLAN and the Horvane timetable generator",
               "escolan-horvane-cli"};
  cli.set_version_flag("--version", std::string("escolan-horvane-cli ") + ventana::kVersion);
  cli.footer(ManualFooter);
  cli.require_subcommand(0, 1);
  // "/x" is a path on every system, never an option (CLI11 would take it for one on Windows).
  cli.allow_windows_style_options(false);

  app::DumpOptions dump;
  CLI::App* dumpCommand = cli.add_subcommand("dump", "Print a dBase table as JSON Lines, one record per line");
  dumpCommand->add_option("path", dump.path, "The table: a Windows path (" + run::RutaIntercambio(run::kAsigt) + ") or a host path")->required();
  dumpCommand->add_option("--index", dump.index, "Walk in the order of this tag of the production index");
  dumpCommand->add_option("--filter", dump.filter, "Show only records where FIELD= 'constant'");

  std::string source;
  std::string language = exportacion::kTextoValenciano;
  std::vector<std::string> languages(exportacion::kIdiomas.begin(), exportacion::kIdiomas.end());
  CLI::App* exportCommand =
      cli.add_subcommand("export", "Stage ESCOLAN's tables from a folder and write the nine tables for the generator "
                                   "into " + std::string(run::kCarpetaIntercambio));
  exportCommand->add_option("--source", source, "ESCOLAN's folder: a Windows path (" + std::string(run::kCarpetaEscolan) + ") or a host path")
      ->required();
  // Spelled exactly as the window's language box lists them: the export reads any other text as Valencian.
  exportCommand
      ->add_option("--language", language,
                   std::string("Language of subject names: ") + exportacion::kTextoValenciano + " (default) or " +
                       exportacion::kTextoCastellano)
      ->check(CLI::IsMember(languages))
      ->capture_default_str();

  std::string reviewSource;
  std::string reviewLanguage = exportacion::kTextoValenciano;
  CLI::App* reviewCommand = cli.add_subcommand(
      "revisar", "List, one line each, every record of ESCOLAN's folder at which an export or an import would stop "
                 "or write something unexpected; stages and changes nothing");
  reviewCommand->add_option("--source", reviewSource, "ESCOLAN's folder: a Windows path or a host path")->required();
  reviewCommand
      ->add_option("--language", reviewLanguage,
                   std::string("Language of subject names the export would take: ") + exportacion::kTextoValenciano +
                       " (default) or " + exportacion::kTextoCastellano)
      ->check(CLI::IsMember(languages))
      ->capture_default_str();

  ImportOptions import;
  CLI::App* importCommand = cli.add_subcommand(
      "import", "Stage ESCOLAN's tables from a folder, then rewrite its timetables (horgrup, horprof) from "
                "the generator's solution " + run::RutaIntercambio(run::kSoluc));
  importCommand->add_option("--source", import.source, "ESCOLAN's folder: a Windows path or a host path")->required();
  importCommand->add_option("--centre", import.centre, "The centre code (default: the first of the folder's centro)");
  importCommand
      ->add_option("--dni", import.identityNumbers,
                   "ABREV=NUMBER: the identity number (up to 9 digits) of a teacher of " +
                       run::RutaIntercambio(run::kProft) + " in the teacher review")
      ->check(AnswerCheck(ParseIdentityNumber));
  importCommand
      ->add_option("--period", import.periods,
                   "N=HH:MM-HH:MM: the start and end time of period N (1 to 20) in the template review, each from "
                   "00:00 to 23:59 or left empty, the start not after the end")
      ->check(AnswerCheck(ParsePeriod));

  std::string backupsSource;
  CLI::App* backupsCommand = cli.add_subcommand(
      "copias", "List the backups of a folder's timetables that the imports left in " +
                    std::string(run::kCarpetaCopias) + ", newest first");
  backupsCommand->add_option("--source", backupsSource, "ESCOLAN's folder: a Windows path or a host path")->required();

  std::string restoreSource;
  std::string restoreStamp;
  CLI::App* restoreCommand = cli.add_subcommand(
      "restaurar", "Put a backup of a folder's timetables back into it, after backing up the pair it replaces");
  restoreCommand->add_option("--source", restoreSource, "ESCOLAN's folder: a Windows path or a host path")->required();
  restoreCommand->add_option("--copia", restoreStamp, "The backup, by its name AAAAMMDD-HHMMSS (as `copias` lists it)")
      ->required()
      ->check(CLI::Validator(
          [](std::string& stamp) {
            return importacion::EsSelloDeCopia(stamp) ? std::string() : "expected AAAAMMDD-HHMMSS: " + stamp;
          },
          ""));

  std::string sampleFolder;
  std::string sampleSize = "small";
  CLI::App* sampleCommand =
      cli.add_subcommand("make-sample", "Write an invented ESCOLAN folder (its tables and memo file) to try the program with");
  sampleCommand->add_option("folder", sampleFolder, "Where: a Windows path (" + std::string(run::kCarpetaEscolan) + ") or a host path")->required();
  sampleCommand->add_option("--size", sampleSize, "small, or large (a big secondary school)")
      ->check(CLI::IsMember({"small", "large"}))
      ->capture_default_str();

  TimetableOptions timetables;
  CLI::App* timetablesCommand = cli.add_subcommand(
      "horarios", "Write the timetables of a folder's horgrup and horprof as one printable HTML page (a grid per "
                  "group and per teacher, the clashes marked), without changing the folder");
  timetablesCommand->add_option("--source", timetables.source, "ESCOLAN's folder: a Windows path or a host path")
      ->required();
  timetablesCommand->add_option("--centre", timetables.centre,
                                "The centre code (default: the first of the folder's centro)");
  timetablesCommand
      ->add_option("--out", timetables.out, "The page to write: a Windows path or a host path (default: " +
                                                std::string(run::kPaginaHorarios) + " in the current folder)")
      ->capture_default_str();

  try {
    // CLI11 takes the arguments without the program's name, last first.
    std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
    arguments.erase(arguments.begin());
    std::reverse(arguments.begin(), arguments.end());
    cli.parse(arguments);
  } catch (const CLI::Success& done) {
    return cli.exit(done);
  } catch (const CLI::ParseError& error) {
    cli.exit(error);
    return kBadArguments;
  }

  if (dumpCommand->parsed()) return Dump(dump);
  if (exportCommand->parsed()) return Export(source, exportacion::LeerIdioma(language));
  if (reviewCommand->parsed()) return Review(reviewSource, exportacion::LeerIdioma(reviewLanguage));
  if (sampleCommand->parsed()) return MakeSample(sampleFolder, sampleSize);
  if (backupsCommand->parsed()) return Backups(backupsSource);
  if (restoreCommand->parsed()) return Restore(restoreSource, restoreStamp);
  if (timetablesCommand->parsed()) {
    timetables.centreGiven = timetablesCommand->count("--centre") > 0;
    return Timetables(timetables);
  }
  if (importCommand->parsed()) {
    import.centreGiven = importCommand->count("--centre") > 0;
    if (!IdentityNumbersNameTeachers(import.identityNumbers)) return kBadArguments;
    return Import(import);
  }
  std::cout << cli.help();
  return 0;
}
