// escolan-horvane-cli: the headless front end.
#include <CLI/CLI.hpp>

#include <iostream>

#include "app/version.h"

int main(int argc, char** argv) {
  CLI::App cli{std::string(app::kNombreProducto) + " " + app::kVersion +
                   ": moves a school's data between ESCOLAN and the Horvane timetable generator",
               "escolan-horvane-cli"};
  cli.set_version_flag("--version", std::string("escolan-horvane-cli ") + app::kVersion);
  CLI11_PARSE(cli, argc, argv);
  std::cout << cli.help();
  return 0;
}
