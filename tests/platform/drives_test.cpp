// Case-blind names, the current folder and the folder operations on a real temporary drive C:.
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/temporary_drive.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TemporaryDrive;
constexpr auto CodeOf = testing_support::FileErrorCodeOf;

TEST(CaseBlindNames, OpeningFindsTheEntryWhateverItsCase) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/VALENCIA/PLANTILLA.DBF", "plantilla");
  platform::File file =
      platform::File::OpenExisting("C:\\HTEMP\\Valencia\\Plantilla.DBF", platform::Access::kRead, platform::Share::kDenyNone);
  std::string contents(9, '\0');
  EXPECT_EQ(file.Read(std::as_writable_bytes(std::span(contents))), 9u);
  EXPECT_EQ(contents, "plantilla");
  EXPECT_TRUE(platform::FileExists("c:\\htemp\\valencia\\plantilla.dbf"));
  EXPECT_TRUE(platform::FolderExists("C:\\HTemp\\VALENCIA\\"));
}

TEST(CaseBlindNames, AccentedLettersMatchToo) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/VALENCIÁ/AÑO.DBF", "x");
  EXPECT_TRUE(platform::FileExists("C:\\htemp\\valenciá\\año.dbf"));
}

TEST(CaseBlindNames, CreatingReusesAnExistingEntryAndNamesANewOneAsGiven) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/GRUPOS.DBF", "old contents");
  {
    platform::File file = platform::File::Create("C:\\htemp\\grupos.dbf", platform::Share::kDenyNone);
    file.Write(std::as_bytes(std::span(std::string_view("new"))));
  }
  EXPECT_EQ(drive.ReadHostFile("HTEMP/GRUPOS.DBF"), "new");
  EXPECT_EQ(drive.HostEntries("HTEMP"), (std::vector<std::string>{"GRUPOS.DBF"}));  // no second "grupos.dbf"

  platform::File::Create("C:\\htemp\\Nuevo.Dbf", platform::Share::kDenyNone);
  EXPECT_EQ(drive.HostEntries("HTEMP"), (std::vector<std::string>{"GRUPOS.DBF", "Nuevo.Dbf"}));
}

TEST(CurrentFolder, ChangesOnlyToAnExistingFolder) {
  TemporaryDrive drive;
  drive.MakeHostFolder("ESCOLAN");
  drive.WriteHostFile("HTEMP/SOLUC.DBF", "");
  platform::SetCurrentFolder("c:\\escolan\\");
  EXPECT_EQ(platform::CurrentFolder(), "C:\\escolan");
  EXPECT_EQ(CodeOf([] { platform::SetCurrentFolder("C:\\NOEXISTE"); }), platform::kPathNotFound);
  EXPECT_EQ(CodeOf([] { platform::SetCurrentFolder("C:\\HTEMP\\SOLUC.DBF"); }), platform::kPathNotFound);
  EXPECT_EQ(CodeOf([] { platform::SetCurrentFolder("Q:\\"); }), platform::kInvalidDrive);
  EXPECT_EQ(platform::CurrentFolder(), "C:\\escolan");
}

TEST(FolderOperations, FileAndFolderExistenceAreApart) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/SOLUC.DBF", "");
  EXPECT_TRUE(platform::FileExists("C:\\HTEMP\\SOLUC.DBF"));
  EXPECT_FALSE(platform::FolderExists("C:\\HTEMP\\SOLUC.DBF"));
  EXPECT_TRUE(platform::FolderExists("C:\\HTEMP"));
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP"));
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\SOLUC.DBF\\X"));
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\a?b"));
  EXPECT_FALSE(platform::FileExists("Q:\\HTEMP"));
}

TEST(FolderOperations, CreateFoldersMakesEveryMissingParent) {
  TemporaryDrive drive;
  drive.MakeHostFolder("htemp");
  EXPECT_TRUE(platform::CreateFolders("C:\\HTEMP\\VALENCIA\\A\\B"));
  EXPECT_TRUE(fs::is_directory(drive.Host("htemp/VALENCIA/A/B")));
  EXPECT_TRUE(platform::CreateFolders("C:\\HTEMP\\VALENCIA"));
  drive.WriteHostFile("FICHERO", "");
  EXPECT_FALSE(platform::CreateFolders("C:\\FICHERO\\SUB"));
  EXPECT_FALSE(platform::CreateFolders("Q:\\X"));
}

TEST(FolderOperations, RemoveFileReportsSuccess) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/ASIGT.DBF", "x");
  drive.WriteHostFile("HTEMP/PROFT.DBF", "x");
  EXPECT_TRUE(platform::RemoveFile("c:\\htemp\\asigt.dbf"));
  EXPECT_FALSE(fs::exists(drive.Host("HTEMP/ASIGT.DBF")));
  EXPECT_FALSE(platform::RemoveFile("C:\\HTEMP\\ASIGT.DBF"));
  EXPECT_FALSE(platform::RemoveFile("C:\\HTEMP"));
  {
    platform::File open = platform::File::OpenExisting("C:\\HTEMP\\PROFT.DBF", platform::Access::kRead,
                                                       platform::Share::kDenyNone);
    EXPECT_FALSE(platform::RemoveFile("C:\\HTEMP\\PROFT.DBF"));
  }
  EXPECT_TRUE(platform::RemoveFile("C:\\HTEMP\\PROFT.DBF"));
}

TEST(FolderOperations, SubfoldersAreListedWithoutFilesInCaseBlindOrder) {
  TemporaryDrive drive;
  for (const char* name : {"ESCOLAN/beta", "ESCOLAN/Alfa", "ESCOLAN/GAMMA", "ESCOLAN/alfa2"}) drive.MakeHostFolder(name);
  drive.WriteHostFile("ESCOLAN/centro.dbf", "");
  EXPECT_EQ(platform::Subfolders("C:\\escolan"), (std::vector<std::string>{"Alfa", "alfa2", "beta", "GAMMA"}));
  EXPECT_TRUE(platform::Subfolders("C:\\NOEXISTE").empty());
}

// The running program's folder holds the program itself; the installed files are beside it on Windows and in
// ..\share\escolan-horvane on POSIX, where an installation under a prefix puts them.
TEST(ProgramFolder, HoldsTheRunningProgram) {
  const std::string folder = platform::ProgramFolder();
  ASSERT_TRUE(platform::FolderExists(folder)) << folder;
  bool found = false;
  for (const std::string& name : platform::FilesIn(folder)) {
    found = found || platform::SameName(name, "platform_tests") || platform::SameName(name, "platform_tests.exe");
  }
  EXPECT_TRUE(found) << folder;
#ifdef _WIN32
  EXPECT_EQ(platform::InstalledFilesFolder(), folder);
#else
  EXPECT_EQ(platform::InstalledFilesFolder(), platform::FullPath(folder).Parent().Text() + "\\share\\escolan-horvane");
#endif
}

}  // namespace
