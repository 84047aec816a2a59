// The Windows backend's drives: the real drives beside mapped ones, the mapping from the environment, host
// paths shown as Windows paths, a current folder per drive, the folder a program is started in.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/drive_map.h"
#include "tests/platform/win32/probe_process.h"
#include "tests/support/temporary_drive.h"
#include "util/ascii.h"

namespace {

using testing_support::TemporaryDrive;
constexpr auto CodeOf = testing_support::FileErrorCodeOf;

bool IsRealDrive(char letter) { return (::GetLogicalDrives() & (1u << (letter - 'A'))) != 0; }

std::vector<char> RealDrives() {
  std::vector<char> letters;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (IsRealDrive(letter)) letters.push_back(letter);
  }
  return letters;
}

// Letters that are no drive of the system, from the end of the alphabet.
std::vector<char> AbsentLetters() {
  std::vector<char> letters;
  for (char letter = 'Y'; letter >= 'D'; --letter) {
    if (!IsRealDrive(letter)) letters.push_back(letter);
  }
  return letters;
}

std::string Narrow(const std::wstring& text) {
  int length = static_cast<int>(text.size());
  int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

// The folder of this test program, as the system spells it ("Z:\work\build\tests").
std::string ProgramFolder() {
  std::wstring path(32768, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  std::string folder = Narrow(path.substr(0, path.find_last_of(L'\\')));
  folder[0] = util::ToUpperAscii(folder[0]);
  return folder;
}

// Sets an environment variable of this process for the life of the object.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const wchar_t* name, const std::string& value) : name_(name) {
    std::wstring old(32768, L'\0');
    DWORD length = ::GetEnvironmentVariableW(name, old.data(), static_cast<DWORD>(old.size()));
    if (length > 0) previous_ = old.substr(0, length);
    std::wstring wide(value.begin(), value.end());  // ASCII paths
    ::SetEnvironmentVariableW(name, wide.c_str());
  }
  ~EnvironmentVariable() { ::SetEnvironmentVariableW(name_, previous_ ? previous_->c_str() : nullptr); }

 private:
  const wchar_t* name_;
  std::optional<std::wstring> previous_;
};

TEST(Drives, TheRealDrivesStandBesideTheMappedOnes) {
  TemporaryDrive drive;
  std::vector<char> absent = AbsentLetters();
  ASSERT_GE(absent.size(), 2u);
  char unready = absent[0];
  char unknown = absent[1];
  platform::DriveMap drives = platform::Drives();
  drives.Map(unready, drive.Host("no-media"));
  platform::SetDriveMap(drives);

  std::vector<char> expected = RealDrives();
  expected.push_back(unready);
  if (!IsRealDrive('C')) expected.push_back('C');
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(platform::MappedDrives(), expected);

  EXPECT_TRUE(platform::DriveReady('C'));
  EXPECT_FALSE(platform::DriveReady(unready));
  EXPECT_EQ(CodeOf([&] { platform::SetCurrentFolder(std::string{unready, ':', '\\'}); }), platform::kNotReady);
  EXPECT_FALSE(platform::FileExists(std::string{unready, ':', '\\', 'x'}));

  EXPECT_FALSE(platform::DriveReady(unknown));
  EXPECT_EQ(CodeOf([&] { platform::SetCurrentFolder(std::string{unknown, ':', '\\'}); }), platform::kInvalidDrive);
  EXPECT_EQ(CodeOf([&] { platform::File::Create(std::string{unknown, ':', '\\', 'x'}, platform::Share::kDenyNone); }),
            platform::kInvalidDrive);

  char programDrive = ProgramFolder()[0];
  if (programDrive != 'C') {  // the drive this program lies on, a real one left unmapped
    EXPECT_TRUE(platform::DriveReady(programDrive));
    EXPECT_TRUE(platform::FolderExists(ProgramFolder()));
  }
}

TEST(HostPaths, ShowAsTheMappedDriveThatHoldsThemMostClosely) {
  TemporaryDrive drive;
  drive.MakeHostFolder("ESCOLAN/DATOS");
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Host("ESCOLAN")), "C:\\ESCOLAN");
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Root()), "C:\\");
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Root() + "/ESCOLAN/../ESCOLAN/DATOS/"), "C:\\ESCOLAN\\DATOS");
  EXPECT_EQ(platform::WindowsPathOfHost(util::ToUpperAscii(drive.Root()) + "\\escolan"), "C:\\escolan");
  // A longer name that merely starts like the mapped folder is not inside it.
  EXPECT_EQ(CodeOf([&] { platform::WindowsPathOfHost(drive.Root() + "X"); }), platform::kPathNotFound);

  platform::DriveMap drives = platform::Drives();
  drives.Map('D', drive.Host("ESCOLAN") + "\\");
  platform::SetDriveMap(drives);
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Host("ESCOLAN/DATOS")), "D:\\DATOS");
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Host("ESCOLAN")), "D:\\");
}

TEST(HostPaths, OnNoMappedDriveArePathsOfTheRealDrives) {
  TemporaryDrive drive;
  std::string program = ProgramFolder();
  if (program[0] != 'C') {
    EXPECT_EQ(platform::WindowsPathOfHost(program), program);
  }
  // C: stands for the temporary folder now: the rest of the real drive C: has no Windows path.
  std::string outside = drive.Root().substr(0, drive.Root().find_last_of('\\'));
  if (outside.starts_with("C:") || outside.starts_with("c:")) {
    EXPECT_EQ(CodeOf([&] { platform::WindowsPathOfHost(outside); }), platform::kPathNotFound);
  }
  EXPECT_EQ(CodeOf([] { platform::WindowsPathOfHost("\\\\server\\share\\x"); }), platform::kPathNotFound);
}

TEST(CurrentFolder, EachDriveKeepsItsOwn) {
  TemporaryDrive drive;
  drive.MakeHostFolder("ESCOLAN");
  drive.MakeHostFolder("d/SUB");
  platform::DriveMap drives = platform::Drives();
  drives.Map('D', drive.Host("d"));
  platform::SetDriveMap(drives);
  platform::SetCurrentFolder("C:\\ESCOLAN");
  platform::SetCurrentFolder("d:\\sub");
  EXPECT_EQ(platform::CurrentFolderOfDrive('C'), "C:\\ESCOLAN");
  EXPECT_EQ(platform::CurrentFolderOfDrive('D'), "D:\\sub");
  EXPECT_EQ(platform::FullPath("C:centro.dbf").Text(), "C:\\ESCOLAN\\centro.dbf");
  EXPECT_EQ(platform::FullPath("centro.dbf").Text(), "D:\\sub\\centro.dbf");
}

TEST(DriveMapFromEnvironment, MapsTheLettersItsVariablesNameAndNoOther) {
  TemporaryDrive scratch;
  EnvironmentVariable driveC(L"ESCOLAN_HORVANE_DRIVE_C", scratch.Host("c") + "\\");
  EnvironmentVariable driveD(L"ESCOLAN_HORVANE_DRIVE_D", scratch.Root() + "/d/../dd");
  platform::DriveMap drives = platform::DriveMap::FromEnvironment();
  EXPECT_EQ(drives.Letters(), (std::vector<char>{'C', 'D'}));
  EXPECT_EQ(drives.HostFolder('C'), scratch.Host("c"));
  EXPECT_EQ(drives.HostFolder('D'), scratch.Host("dd"));
  EXPECT_FALSE(drives.HostFolder('Z'));
}

// A program starts in the folder it was started in, on the drive its environment maps there, and with no
// mapping the drives are the system's own.
TEST(DriveMapFromEnvironment, AProgramStartsInTheFolderItWasStartedIn) {
  TemporaryDrive drive;
  drive.MakeHostFolder("ESCOLAN");
  testing_support::ProbeProcess mapped({"current"}, drive.Root(), drive.Host("ESCOLAN"));
  EXPECT_EQ(mapped.ReadLine(), "C:\\ESCOLAN");
  EXPECT_EQ(mapped.Wait(), 0);

  testing_support::ProbeProcess unmapped({"current"}, "", drive.Host("ESCOLAN"));
  std::string real = unmapped.ReadLine();
  EXPECT_TRUE(platform::SameName(real, drive.Host("ESCOLAN"))) << real;
  EXPECT_EQ(unmapped.Wait(), 0);
}

}  // namespace
