// escolan-horvane-cli: the headless front end.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/interfaz_consola.h"
#include "app/muestra_escolan.h"
#include "app/table_dump.h"
#include "app/version.h"
#include "app/ventana_principal.h"
#include "platform/platform.h"

namespace {

constexpr int kBadArguments = 2;

// A folder as the user typed it: a Windows path, or a host path starting with "/".
std::string WindowsFolder(const std::string& typed) {
  return typed.starts_with("/") ? platform::WindowsPathOfHost(typed) : typed;
}

int Dump(const app::DumpOptions& options) {
  try {
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
  bool completed = exportacion::EjecutarManejador(interfaz, [&] {
    platform::SetCurrentFolder(WindowsFolder(source));
    ventana.ListaDirectoriosChange();
    ventana.BExportarClick();
  });
  return completed ? 0 : 1;
}

int MakeSample(const std::string& folder, const std::string& size) {
  try {
    std::string windowsFolder = WindowsFolder(folder);
    app::EscribirMuestraEscolan(windowsFolder, size == "large" ? app::TamanoMuestra::kGrande : app::TamanoMuestra::kPequena);
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
  dumpCommand->add_option("path", dump.path, "The table: a Windows path (C:\\HTEMP\\ASIGT.DBF) or a host path")->required();
  dumpCommand->add_option("--index", dump.index, "Walk in the order of this tag of the production index");
  dumpCommand->add_option("--filter", dump.filter, "Show only records where FIELD= 'constant'");

  std::string source;
  std::string language = app::kIdiomaInicial;
  CLI::App* exportCommand =
      cli.add_subcommand("export", "Stage ESCOLAN's tables from a folder and write the nine tables for the generator "
                                   "into C:\\HTEMP");
  exportCommand->add_option("--source", source, "ESCOLAN's folder: a Windows path (C:\\ESCOLAN) or a host path")
      ->required();
  exportCommand->add_option("--language", language, "Language of subject names: VALENCIÁ (default) or CASTELLANO")
      ->capture_default_str();

  std::string sampleFolder;
  std::string sampleSize = "small";
  CLI::App* sampleCommand =
      cli.add_subcommand("make-sample", "Write an invented ESCOLAN folder (ten files) to try the program with");
  sampleCommand->add_option("folder", sampleFolder, "Where: a Windows path (C:\\ESCOLAN) or a host path")->required();
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
  std::cout << cli.help();
  return 0;
}
