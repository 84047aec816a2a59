#include "tests/support/temporary_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/drive_map.h"

namespace fs = std::filesystem;

namespace testing_support {

struct TemporaryDrive::Previous {
  platform::DriveMap drives;
  std::string folder;
};

TemporaryDrive::TemporaryDrive()
    : previous_(std::make_unique<Previous>(Previous{platform::Drives(), platform::CurrentFolder()})) {
  std::string pattern = (fs::temp_directory_path() / "escolan-drive-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  platform::DriveMap drives;
  drives.Map('C', root_);
  drives.Map('Z', "/");
  platform::SetDriveMap(drives);
  platform::SetCurrentFolder("C:\\");
}

TemporaryDrive::~TemporaryDrive() {
  platform::SetDriveMap(previous_->drives);
  try {
    platform::SetCurrentFolder(previous_->folder);
  } catch (const platform::FileError&) {
  }
  std::error_code ignored;
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(root_, ignored);
}

std::string TemporaryDrive::Host(std::string_view relative) const {
  return relative.empty() ? root_ : root_ + "/" + std::string(relative);
}

void TemporaryDrive::WriteHostFile(std::string_view relative, std::string_view contents) const {
  fs::path path = Host(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string TemporaryDrive::ReadHostFile(std::string_view relative) const {
  std::ifstream in(Host(relative), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Host(relative));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TemporaryDrive::MakeHostFolder(std::string_view relative) const { fs::create_directories(Host(relative)); }

std::vector<std::string> TemporaryDrive::HostEntries(std::string_view relative) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Host(relative))) names.push_back(entry.path().filename().string());
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
