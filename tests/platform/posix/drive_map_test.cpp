// The POSIX backend's drives: the drive map from the environment, host paths shown as Windows paths, a
// current folder per drive, a drive whose host folder is missing.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/drive_map.h"
#include "tests/support/temporary_drive.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TemporaryDrive;
constexpr auto CodeOf = testing_support::FileErrorCodeOf;

TEST(HostPaths, ShowAsTheDriveThatHoldsThemOrAsZ) {
  TemporaryDrive drive;
  drive.MakeHostFolder("ESCOLAN");
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Host("ESCOLAN")), "C:\\ESCOLAN");
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Root()), "C:\\");
  EXPECT_EQ(platform::WindowsPathOfHost("/usr/share/../lib"), "Z:\\usr\\lib");
  EXPECT_EQ(platform::WindowsPathOfHost("/"), "Z:\\");
}

TEST(HostPaths, AHostPathOutsideEveryDriveHasNoWindowsPathWhenZIsRemapped) {
  TemporaryDrive drive;
  platform::DriveMap drives;
  drives.Map('C', drive.Root());
  platform::SetDriveMap(drives);
  EXPECT_EQ(CodeOf([] { platform::WindowsPathOfHost("/usr"); }), platform::kPathNotFound);
}

TEST(CurrentFolder, EachDriveKeepsItsOwn) {
  TemporaryDrive drive;
  drive.MakeHostFolder("ESCOLAN");
  platform::SetCurrentFolder("C:\\ESCOLAN");
  platform::SetCurrentFolder("Z:\\usr");
  EXPECT_EQ(platform::CurrentFolderOfDrive('C'), "C:\\ESCOLAN");
  EXPECT_EQ(platform::CurrentFolderOfDrive('Z'), "Z:\\usr");
  EXPECT_EQ(platform::FullPath("C:centro.dbf").Text(), "C:\\ESCOLAN\\centro.dbf");
}

TEST(Drives, ADriveWhoseFolderIsMissingIsNotReady) {
  TemporaryDrive drive;
  platform::DriveMap drives = platform::Drives();
  drives.Map('E', drive.Host("no-media"));
  platform::SetDriveMap(drives);
  EXPECT_EQ(platform::MappedDrives(), (std::vector<char>{'C', 'E', 'Z'}));
  EXPECT_TRUE(platform::DriveReady('C'));
  EXPECT_FALSE(platform::DriveReady('E'));
  EXPECT_FALSE(platform::DriveReady('Q'));
  EXPECT_EQ(CodeOf([] { platform::SetCurrentFolder("E:\\"); }), platform::kNotReady);
  EXPECT_FALSE(platform::FileExists("E:\\x.dbf"));
}

class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~EnvironmentVariable() {
    if (previous_) {
      ::setenv(name_, previous_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

TEST(DriveMapFromEnvironment, TakesEveryLetterAndDefaultsCUnderTheDataFolder) {
  TemporaryDrive scratch;
  EnvironmentVariable noC("ESCOLAN_HORVANE_DRIVE_C", "");
  EnvironmentVariable data("XDG_DATA_HOME", scratch.Host("data"));
  EnvironmentVariable driveD("ESCOLAN_HORVANE_DRIVE_D", scratch.Host("d"));
  platform::DriveMap drives = platform::DriveMap::FromEnvironment();
  EXPECT_EQ(drives.Letters(), (std::vector<char>{'C', 'D', 'Z'}));
  EXPECT_EQ(drives.HostFolder('C'), scratch.Host("data/escolan-horvane/drive_c"));
  EXPECT_TRUE(fs::is_directory(scratch.Host("data/escolan-horvane/drive_c")));
  EXPECT_EQ(drives.HostFolder('D'), scratch.Host("d"));
  EXPECT_EQ(drives.HostFolder('Z'), "/");
}

TEST(DriveMapFromEnvironment, TakesCFromItsVariable) {
  TemporaryDrive scratch;
  EnvironmentVariable driveC("ESCOLAN_HORVANE_DRIVE_C", scratch.Host("c") + "/");
  EnvironmentVariable driveZ("ESCOLAN_HORVANE_DRIVE_Z", scratch.Host("z"));
  platform::DriveMap drives = platform::DriveMap::FromEnvironment();
  EXPECT_EQ(drives.HostFolder('C'), scratch.Host("c"));
  EXPECT_EQ(drives.HostFolder('Z'), scratch.Host("z"));
}

// The program's folder is shown through the drive map, as any host path: on Z: (the host's "/"), or on the
// drive mapped onto a folder that holds it.
TEST(HostPaths, TheProgramsFolderShowsThroughTheDriveMap) {
  TemporaryDrive drive;
  const fs::path program = fs::canonical("/proc/self/exe").parent_path();
  std::string onZ = "Z:" + program.string();
  for (char& c : onZ) c = c == '/' ? '\\' : c;
  EXPECT_EQ(platform::ProgramFolder(), onZ);

  platform::DriveMap drives = platform::Drives();
  drives.Map('D', program.parent_path().string());
  platform::SetDriveMap(drives);
  EXPECT_EQ(platform::ProgramFolder(), "D:\\" + program.filename().string());
  EXPECT_EQ(platform::InstalledFilesFolder(), "D:\\share\\escolan-horvane");
}

}  // namespace
