// escolan-horvane-cli: the headless front end.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/table_dump.h"
#include "app/version.h"
#include "platform/platform.h"

namespace {

// Runs a command; an error is one line on standard error and exit status 1.
template <typename Command>
int Run(Command command) {
  try {
    command();
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

  CLI11_PARSE(cli, argc, argv);

  if (dumpCommand->parsed()) {
    return Run([&] {
      storage::Engine engine('.');
      app::DumpTable(engine, dump, std::cout);
    });
  }
  std::cout << cli.help();
  return 0;
}
