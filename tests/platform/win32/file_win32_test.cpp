// The Windows backend's files: sharing against a second process, replacing a file that another program is
// still reading, long paths, names beyond ASCII, the system's errors as the program's codes, and the decimal
// separator of a locale named the POSIX way.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/drive_map.h"
#include "platform/win32/host.h"
#include "tests/platform/win32/probe_process.h"
#include "tests/support/temporary_drive.h"

namespace {

using platform::Access;
using platform::File;
using platform::Share;
using testing_support::ProbeProcess;
using testing_support::RunProbe;
using testing_support::TemporaryDrive;
constexpr auto CodeOf = testing_support::FileErrorCodeOf;

std::span<const std::byte> Bytes(std::string_view text) { return std::as_bytes(std::span(text)); }

// ---------------------------------------------------------------------------------------------------------
// Sharing with another process

struct SharingCase {
  const char* name;
  Access ours;
  Share ourShare;
  const char* theirAccess;  // as the probe takes it
  const char* theirShare;
  int expected;  // the probe's result: 0 or the FileError's code
};

class SharingWithAnotherProcess : public ::testing::TestWithParam<SharingCase> {};

TEST_P(SharingWithAnotherProcess, FollowsTheSharingModes) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/CENTRO.DBF", "x");
  const SharingCase& c = GetParam();
  File ours = File::OpenExisting("C:\\HTEMP\\CENTRO.DBF", c.ours, c.ourShare);
  EXPECT_EQ(RunProbe({"open", "c:\\htemp\\centro.dbf", c.theirAccess, c.theirShare}, drive.Root()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SharingWithAnotherProcess,
    ::testing::Values(SharingCase{"ExclusiveRefusesAReader", Access::kRead, Share::kExclusive, "read", "shared", 32},
                      SharingCase{"ExclusiveRefusesAWriter", Access::kReadWrite, Share::kExclusive, "write", "shared", 32},
                      SharingCase{"SharedLetsAReaderIn", Access::kRead, Share::kDenyNone, "read", "shared", 0},
                      SharingCase{"SharedLetsAWriterIn", Access::kReadWrite, Share::kDenyNone, "write", "shared", 0},
                      SharingCase{"SharedRefusesAnExclusiveOne", Access::kRead, Share::kDenyNone, "read", "exclusive", 32}),
    [](const ::testing::TestParamInfo<SharingCase>& param) { return std::string(param.param.name); });

TEST(SharingWithAnotherProcess, WhatItHoldsExclusivelyIsRefusedHereUntilItLetsGo) {
  TemporaryDrive drive;
  drive.WriteHostFile("CENTRO.DBF", "contents");
  {
    ProbeProcess holder({"hold", "C:\\CENTRO.DBF", "exclusive", "300"}, drive.Root());
    ASSERT_EQ(holder.ReadLine(), "held");
    EXPECT_EQ(CodeOf([] { File::OpenExisting("C:\\CENTRO.DBF", Access::kRead, Share::kDenyNone); }), 32);
    EXPECT_EQ(CodeOf([] { File::Create("C:\\CENTRO.DBF", Share::kDenyNone); }), 32);
    EXPECT_FALSE(platform::RemoveFile("C:\\CENTRO.DBF"));
    EXPECT_EQ(holder.Wait(), 0);
  }
  EXPECT_EQ(drive.ReadHostFile("CENTRO.DBF"), "contents");  // the refused Create truncated nothing
  EXPECT_EQ(platform::ReadWholeFile("C:\\CENTRO.DBF"), "contents");
}

// ---------------------------------------------------------------------------------------------------------
// Replacing a file that another program reads

class ReplacingARead : public ::testing::Test {
 protected:
  ReplacingARead() {
    drive_.WriteHostFile("horgrup.dbf", "old");
    drive_.WriteHostFile("nuevo.tmp", "new");
  }

  TemporaryDrive drive_;
};

TEST_F(ReplacingARead, WaitsForTheReaderToCloseTheTarget) {
  ProbeProcess reader({"hold", "C:\\horgrup.dbf", "shared", "300"}, drive_.Root());
  ASSERT_EQ(reader.ReadLine(), "held");
  platform::MoveReplacing("C:\\nuevo.tmp", "C:\\HORGRUP.DBF");
  EXPECT_EQ(reader.Wait(), 0);
  EXPECT_EQ(drive_.ReadHostFile("horgrup.dbf"), "new");
  EXPECT_EQ(drive_.HostEntries(""), (std::vector<std::string>{"horgrup.dbf"}));
}

TEST_F(ReplacingARead, GivesUpOnAReaderThatKeepsTheTargetOpenAndChangesNothing) {
  ProbeProcess reader({"hold", "C:\\horgrup.dbf", "shared", "2500"}, drive_.Root());
  ASSERT_EQ(reader.ReadLine(), "held");
  EXPECT_EQ(CodeOf([] { platform::MoveReplacing("C:\\nuevo.tmp", "C:\\horgrup.dbf"); }), platform::kSharingViolation);
  EXPECT_EQ(drive_.ReadHostFile("horgrup.dbf"), "old");
  EXPECT_EQ(drive_.ReadHostFile("nuevo.tmp"), "new");
  EXPECT_EQ(reader.Wait(), 0);
}

// The replaced file's attributes (hidden, archive...) go over to the file that replaces it.
TEST_F(ReplacingARead, TheTargetKeepsItsAttributes) {
  std::wstring target = std::filesystem::path(drive_.Host("horgrup.dbf")).wstring();
  ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  if ((::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0) {
    GTEST_SKIP() << "this file system keeps no hidden attribute";
  }
  platform::MoveReplacing("C:\\nuevo.tmp", "C:\\horgrup.dbf");
  EXPECT_EQ(drive_.ReadHostFile("horgrup.dbf"), "new");
  EXPECT_NE(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// ---------------------------------------------------------------------------------------------------------
// Paths the old Windows calls could not take

TEST(LongPaths, WorkBeyondTwoHundredAndSixtyCharacters) {
  TemporaryDrive drive;
  std::string folder = "C:\\HTEMP";
  for (char letter = 'a'; letter < 'g'; ++letter) folder += "\\" + std::string(50, letter);
  std::string table = folder + "\\TABLA.DBF";
  ASSERT_GT(drive.Root().size() + table.size(), 300u);

  ASSERT_TRUE(platform::CreateFolders(folder));
  EXPECT_TRUE(platform::FolderExists(folder));
  platform::WriteWholeFile(table, Bytes("long"));
  EXPECT_TRUE(platform::FileExists(table));
  EXPECT_EQ(platform::ReadWholeFile(table), "long");
  EXPECT_EQ(platform::FilesIn(folder), (std::vector<std::string>{"TABLA.DBF"}));
  EXPECT_EQ(platform::Subfolders(folder.substr(0, folder.size() - 51)), (std::vector<std::string>{std::string(50, 'f')}));

  platform::SetCurrentFolder(folder);
  EXPECT_EQ(platform::CurrentFolder(), folder);
  File relative = File::OpenExisting("tabla.dbf", Access::kReadWrite, Share::kExclusive);
  std::memcpy(relative.MapStart(4).data(), "LONG", 4);
  relative.Close();

  std::string unique = File::CreateUnique(folder, "~t-");
  platform::MoveReplacing(unique, table);
  EXPECT_EQ(platform::ReadWholeFile(table), "");
  EXPECT_TRUE(platform::RemoveFile(table));
  EXPECT_TRUE(platform::FilesIn(folder).empty());
}

TEST(NamesBeyondAscii, ReachTheDiskAsTheyAreSpelled) {
  TemporaryDrive drive;
  ASSERT_TRUE(platform::CreateFolders("C:\\HTEMP\\VALENCIÁ"));
  platform::WriteWholeFile("C:\\HTEMP\\VALENCIÁ\\AÑO.DBF", Bytes("x"));
  EXPECT_EQ(drive.HostEntries("HTEMP"), (std::vector<std::string>{"VALENCIÁ"}));
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIÁ/AÑO.DBF"), "x");
  EXPECT_EQ(platform::FilesIn("C:\\htemp\\valenciá"), (std::vector<std::string>{"AÑO.DBF"}));
  EXPECT_TRUE(platform::FileExists("C:\\HTEMP\\VALENCIÁ\\año.dbf"));
  EXPECT_EQ(platform::WindowsPathOfHost(drive.Host("HTEMP/VALENCIÁ")), "C:\\HTEMP\\VALENCIÁ");
  // Bytes that are no UTF-8 name no file.
  EXPECT_EQ(CodeOf([] { File::Create("C:\\HTEMP\\A\xD1O.DBF", Share::kDenyNone); }), platform::kInvalidName);
}

TEST(NamesBeyondAscii, ANameLongerThanTheSystemTakesIsRefused) {
  TemporaryDrive drive;
  EXPECT_EQ(CodeOf([] { File::Create("C:\\" + std::string(300, 'n') + ".DBF", Share::kDenyNone); }),
            platform::kFilenameTooLong);
  EXPECT_EQ(CodeOf([] { platform::SetCurrentFolder("C:\\" + std::string(256, 'n')); }), platform::kFilenameTooLong);
  platform::WriteWholeFile("C:\\" + std::string(251, 'n') + ".DBF", Bytes("255"));  // the longest name there is
  EXPECT_EQ(platform::FilesIn("C:\\"), (std::vector<std::string>{std::string(251, 'n') + ".DBF"}));
  EXPECT_FALSE(platform::FileExists("C:\\" + std::string(300, 'n') + ".DBF"));
}

// ---------------------------------------------------------------------------------------------------------
// Errors and regional settings

TEST(FileErrors, SystemErrorsKeepTheirCodesButThoseTheProgramNamesOtherwise) {
  struct Case {
    DWORD error;
    int code;
  } cases[] = {{ERROR_FILE_NOT_FOUND, 2},   {ERROR_PATH_NOT_FOUND, 3},   {ERROR_ACCESS_DENIED, 5},
               {ERROR_INVALID_DRIVE, 15},   {ERROR_NOT_READY, 21},       {ERROR_SHARING_VIOLATION, 32},
               {ERROR_LOCK_VIOLATION, 32},  {ERROR_HANDLE_DISK_FULL, 112}, {ERROR_DISK_FULL, 112},
               {ERROR_FILE_TOO_LARGE, 112}, {ERROR_WRITE_PROTECT, 5},    {ERROR_FILE_EXISTS, 80},
               {ERROR_ALREADY_EXISTS, 80},  {ERROR_INVALID_NAME, 123},   {ERROR_FILENAME_EXCED_RANGE, 206},
               {ERROR_IO_DEVICE, 1117},     {ERROR_SUCCESS, 31}};
  for (const Case& c : cases) EXPECT_EQ(platform::host::CodeOfWindowsError(c.error), c.code) << "error " << c.error;
}

TEST(DecimalSeparator, ComesFromTheLocaleNamedThePosixWay) {
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("C"), '.');
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("no_SUCH.locale"), '.');
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("en_US.UTF-8"), '.');
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("es_ES.UTF-8"), ',');
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("de_DE@euro"), ',');
}

}  // namespace
