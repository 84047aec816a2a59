// A second process for the Windows tests: opens a file through the platform library as another program
// would, with the drives that its environment maps.
//   file_probe open PATH read|write shared|exclusive   exit status 0 when opened, else the FileError's code
//   file_probe hold PATH shared|exclusive MILLISECONDS opens the file for reading, writes "held" and a newline
//                                                      to standard output, keeps it open that long, exits 0
//   file_probe current                                 writes the current folder and a newline
// Exit status 100 for arguments it does not understand.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace {

constexpr int kBadArguments = 100;

platform::Share ShareOf(std::string_view text) {
  return text == "exclusive" ? platform::Share::kExclusive : platform::Share::kDenyNone;
}

platform::Access AccessOf(std::string_view text) {
  return text == "write" ? platform::Access::kReadWrite : platform::Access::kRead;
}

int Open(const char* path, std::string_view access, std::string_view share) {
  platform::File file = platform::File::OpenExisting(path, AccessOf(access), ShareOf(share));
  file.Close();
  return 0;
}

int Hold(const char* path, std::string_view share, const char* milliseconds) {
  platform::File file = platform::File::OpenExisting(path, platform::Access::kRead, ShareOf(share));
  std::fputs("held\n", stdout);
  std::fflush(stdout);
  ::Sleep(static_cast<DWORD>(std::stoul(milliseconds)));
  file.Close();
  return 0;
}

int Current() {
  std::fputs((platform::CurrentFolder() + "\n").c_str(), stdout);
  return 0;
}

int Run(int argc, char** argv) {
  std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "open" && argc == 5) return Open(argv[2], argv[3], argv[4]);
  if (command == "hold" && argc == 5) return Hold(argv[2], argv[3], argv[4]);
  if (command == "current" && argc == 2) return Current();
  return kBadArguments;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const platform::FileError& error) {
    return error.code();
  }
}
