#include "tests/support/temporary_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/drive_map.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

// Host paths are UTF-8 text here, whatever the host's own code page.
fs::path HostPathOf(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string TextOf(const fs::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A new empty folder of the system's temporary folder, with a name of its own.
std::string FreshTemporaryFolder() {
  std::random_device device;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "escolan-drive-%08x", static_cast<unsigned>(device()));
    fs::path folder = fs::temp_directory_path() / name;
    if (fs::create_directory(folder)) return TextOf(folder);
  }
  throw std::runtime_error("cannot create a temporary folder");
}

// Lets everything under `root` be deleted: on Windows a read-only file cannot be, nor can one in a folder
// without write permission on POSIX.
void MakeWritable(const std::string& root) {
  std::error_code ignored;
  fs::permissions(HostPathOf(root), fs::perms::owner_all, fs::perm_options::add, ignored);
#ifdef _WIN32
  for (auto it = fs::recursive_directory_iterator(HostPathOf(root), ignored); !ignored && it != fs::end(it);
       it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  }
#endif
}

}  // namespace

struct TemporaryDrive::Previous {
  platform::DriveMap drives;
  std::string folder;
};

TemporaryDrive::TemporaryDrive()
    : previous_(std::make_unique<Previous>(Previous{platform::Drives(), platform::CurrentFolder()})),
      root_(FreshTemporaryFolder()) {
  platform::DriveMap drives;
  drives.Map('C', root_);
#ifndef _WIN32
  drives.Map('Z', "/");  // on Windows, the other drives stay the real ones
#endif
  platform::SetDriveMap(drives);
  platform::SetCurrentFolder("C:\\");
}

TemporaryDrive::~TemporaryDrive() {
  platform::SetDriveMap(previous_->drives);
  try {
    platform::SetCurrentFolder(previous_->folder);
  } catch (const platform::FileError&) {
  }
  MakeWritable(root_);
  std::error_code ignored;
  fs::remove_all(HostPathOf(root_), ignored);
}

std::string TemporaryDrive::Host(std::string_view relative) const {
  if (relative.empty()) return root_;
  std::string path = root_ + "/" + std::string(relative);
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

void TemporaryDrive::WriteHostFile(std::string_view relative, std::string_view contents) const {
  fs::path path = HostPathOf(Host(relative));
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) throw std::runtime_error("cannot write " + Host(relative));
}

std::string TemporaryDrive::ReadHostFile(std::string_view relative) const {
  std::ifstream in(HostPathOf(Host(relative)), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Host(relative));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TemporaryDrive::MakeHostFolder(std::string_view relative) const {
  fs::create_directories(HostPathOf(Host(relative)));
}

std::vector<std::string> TemporaryDrive::HostEntries(std::string_view relative) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(HostPathOf(Host(relative)))) {
    names.push_back(TextOf(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

int FileErrorCodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::FileError& error) {
    return error.code();
  }
  return 0;
}

std::pair<int, std::string> FileErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::FileError& error) {
    return {error.code(), error.what()};
  }
  return {0, ""};
}

std::string PatternBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 16);
  }
  return bytes;
}

}  // namespace testing_support
