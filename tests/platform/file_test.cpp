// Open files, their sharing rules, the view of a file's start, and the file errors the user sees.
#include <cstring>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "tests/support/temporary_drive.h"

namespace {

using platform::Access;
using platform::File;
using platform::FileError;
using platform::Share;
using testing_support::TemporaryDrive;
constexpr auto ErrorOf = testing_support::FileErrorOf;

std::span<const std::byte> Bytes(std::string_view text) { return std::as_bytes(std::span(text)); }

TEST(FileErrors, CarryTheMessagesTheUserReads) {
  struct Case {
    int code;
    const char* message;
  } cases[] = {{2, "No se encuentra el archivo"},   {3, "Nombre de archivo inválido"},
               {4, "Demasiados archivos abiertos"}, {5, "Acceso al archivo denegado"},
               {32, "Error de E/S 32"},             {112, "Error de E/S 112"},
               {0, "Error de E/S 0"},               {1117, "Error de E/S 1117"}};
  for (const Case& c : cases) {
    EXPECT_EQ(platform::FileErrorMessage(c.code), c.message);
    EXPECT_STREQ(FileError(c.code).what(), c.message);
    EXPECT_EQ(FileError(c.code).code(), c.code);
  }
}

TEST(FileErrors, RealFailuresRaiseTheirCodes) {
  TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP");
  auto open = [](const char* path) { File::OpenExisting(path, Access::kRead, Share::kDenyNone); };
  EXPECT_EQ(ErrorOf([&] { open("C:\\HTEMP\\SOLUC.DBF"); }),
            (std::pair<int, std::string>{2, "No se encuentra el archivo"}));
  EXPECT_EQ(ErrorOf([&] { open("C:\\NOEXISTE\\SOLUC.DBF"); }),
            (std::pair<int, std::string>{3, "Nombre de archivo inválido"}));
  EXPECT_EQ(ErrorOf([&] { open("C:\\HTEMP"); }), (std::pair<int, std::string>{5, "Acceso al archivo denegado"}));
  EXPECT_EQ(ErrorOf([&] { File::Create("C:\\NOEXISTE\\X.DBF", Share::kDenyNone); }).first, 3);
  EXPECT_EQ(ErrorOf([&] { open("Q:\\X.DBF"); }).first, platform::kInvalidDrive);
}

// An open file is still at its path however the path is spelled, even while opened exclusively; not at
// another file's path, nor once it was deleted (where the host lets an open file be deleted).
TEST(FileIdentity, AnOpenFileIsStillAtItsPathUntilAnotherFileIsThere) {
  TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP");
  drive.WriteHostFile("HTEMP/PROFT.DBF", "x");
  drive.WriteHostFile("HTEMP/AULAT.DBF", "y");
  File file = File::OpenExisting("C:\\HTEMP\\PROFT.DBF", Access::kReadWrite, Share::kExclusive);
  EXPECT_TRUE(file.IsStillAt("C:\\HTEMP\\PROFT.DBF"));
  EXPECT_TRUE(file.IsStillAt("c:\\htemp\\proft.dbf"));
  EXPECT_FALSE(file.IsStillAt("C:\\HTEMP\\AULAT.DBF"));
  EXPECT_FALSE(file.IsStillAt("C:\\HTEMP\\NINGUNA.DBF"));
  EXPECT_FALSE(file.IsStillAt("Q:\\PROFT.DBF"));
  EXPECT_FALSE(File().IsStillAt("C:\\HTEMP\\PROFT.DBF"));
  std::error_code error;
  if (std::filesystem::remove(drive.Host("HTEMP/PROFT.DBF"), error)) {
    EXPECT_FALSE(file.IsStillAt("C:\\HTEMP\\PROFT.DBF"));
  }
}

TEST(Sharing, AnExclusiveOpeningShutsOutEveryOtherOne) {
  TemporaryDrive drive;
  drive.WriteHostFile("CENTRO.DBF", "x");
  {
    File exclusive = File::OpenExisting("C:\\CENTRO.DBF", Access::kReadWrite, Share::kExclusive);
    EXPECT_EQ(ErrorOf([] { File::OpenExisting("C:\\centro.dbf", Access::kRead, Share::kDenyNone); }),
              (std::pair<int, std::string>{32, "Error de E/S 32"}));
    EXPECT_EQ(ErrorOf([] { File::Create("C:\\CENTRO.DBF", Share::kDenyNone); }).first, 32);
  }
  EXPECT_EQ(drive.ReadHostFile("CENTRO.DBF"), "x");  // the refused Create truncated nothing
  File shared1 = File::OpenExisting("C:\\CENTRO.DBF", Access::kRead, Share::kDenyNone);
  File shared2 = File::OpenExisting("C:\\CENTRO.DBF", Access::kRead, Share::kDenyNone);
  EXPECT_EQ(ErrorOf([] { File::OpenExisting("C:\\CENTRO.DBF", Access::kRead, Share::kExclusive); }).first, 32);
}

TEST(FileContents, PositionedReadsAndWrites) {
  TemporaryDrive drive;
  File file = File::Create("C:\\T.DBF", Share::kExclusive);
  file.WriteAt(0, Bytes("0123456789"));
  file.WriteAt(4, Bytes("ab"));
  EXPECT_EQ(file.Size(), 10u);
  std::string read(20, '\0');
  EXPECT_EQ(file.ReadAt(2, std::as_writable_bytes(std::span(read))), 8u);
  EXPECT_EQ(read.substr(0, 8), "23ab6789");
  file.Truncate(3);
  EXPECT_EQ(file.Size(), 3u);
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(drive.ReadHostFile("T.DBF"), "012");
}

// The files of these tests are opened shared: Windows lets no one else read a file opened exclusively, and the
// test reads it from the host while it is open.
TEST(FileContents, TheViewOfTheStartIsTheFileItself) {
  TemporaryDrive drive;
  File file = File::Create("C:\\T.DBF", Share::kDenyNone);
  file.WriteAt(0, Bytes("0123456789"));
  std::span<std::byte> view = file.MapStart(4);
  ASSERT_EQ(view.size(), 4u);
  std::memcpy(view.data(), "abcd", 4);
  EXPECT_EQ(drive.ReadHostFile("T.DBF"), "abcd456789");  // in the file with no write and no close
  file.WriteAt(1, Bytes("X"));
  EXPECT_EQ(static_cast<char>(file.MapStart(4)[1]), 'X');
  EXPECT_EQ(ErrorOf([&] { file.MapStart(11); }).first, platform::kInvalidParameter);  // more than the file holds
}

// The way a table is emptied: its start is written through the view, the file is cut back to the header and
// grows again, and the next view must be the file once more.
TEST(FileContents, TruncatingEndsTheViewAndTheNextOneWritesThrough) {
  TemporaryDrive drive;
  File file = File::Create("C:\\T.DBF", Share::kDenyNone);
  file.WriteAt(0, Bytes("0123456789"));
  std::memcpy(file.MapStart(8).data(), "abcdefgh", 8);
  file.Truncate(4);
  EXPECT_EQ(drive.ReadHostFile("T.DBF"), "abcd");
  EXPECT_EQ(ErrorOf([&] { file.MapStart(8); }).first, platform::kInvalidParameter);  // the old view is gone
  std::memcpy(file.MapStart(4).data(), "WXYZ", 4);
  file.WriteAt(4, Bytes("!"));
  EXPECT_EQ(drive.ReadHostFile("T.DBF"), "WXYZ!");

  file.Truncate(0);
  file.WriteAt(0, Bytes("0123456789"));
  std::memcpy(file.MapStart(8).data(), "ABCDEFGH", 8);
  file.Close();
  EXPECT_EQ(drive.ReadHostFile("T.DBF"), "ABCDEFGH89");
}

// Moving hands the opening over, view included; assigning over an open File closes the one it had, and so
// does the destructor: its exclusive hold on the file ends.
TEST(FileLifetime, MovingHandsTheOpeningOverAndAssigningOrDestroyingClosesIt) {
  TemporaryDrive drive;
  drive.WriteHostFile("A.DBF", "a");
  drive.WriteHostFile("B.DBF", "b");
  auto openExclusive = [](const char* path) { return File::OpenExisting(path, Access::kReadWrite, Share::kExclusive); };
  auto held = [](const char* path) {
    auto open = [&] { File::OpenExisting(path, Access::kRead, Share::kDenyNone); };
    return ErrorOf(open).first == platform::kSharingViolation;
  };

  File first = openExclusive("C:\\A.DBF");
  std::span<std::byte> view = first.MapStart(1);
  File second = std::move(first);
  EXPECT_FALSE(first.IsOpen());
  EXPECT_TRUE(second.IsOpen());
  view[0] = std::byte{'x'};
  std::string read(1, '\0');
  EXPECT_EQ(second.ReadAt(0, std::as_writable_bytes(std::span(read))), 1u);
  EXPECT_EQ(read, "x");
  EXPECT_TRUE(held("C:\\A.DBF"));

  second = openExclusive("C:\\B.DBF");
  EXPECT_FALSE(held("C:\\A.DBF"));
  EXPECT_EQ(drive.ReadHostFile("A.DBF"), "x");  // read once the exclusive opening is over (Windows lets no one in before)
  EXPECT_TRUE(held("C:\\B.DBF"));
  {
    File last = std::move(second);
  }
  EXPECT_FALSE(held("C:\\B.DBF"));
  EXPECT_FALSE(second.IsOpen());
  second.Close();  // closing a closed File does nothing
}

TEST(CreateUnique, GivesAFreshNameEachTime) {
  TemporaryDrive drive;
  drive.MakeHostFolder("HTEMP");
  std::string first = File::CreateUnique("C:\\htemp", "~t-");
  std::string second = File::CreateUnique("C:\\htemp", "~t-");
  EXPECT_NE(first, second);
  EXPECT_TRUE(first.starts_with("C:\\htemp\\~t-"));
  EXPECT_TRUE(platform::FileExists(first));
  EXPECT_EQ(ErrorOf([] { File::CreateUnique("C:\\NOEXISTE", "~t-"); }).first, 3);
}

// ---------------------------------------------------------------------------------------------------------
// Moving a file over another one

class MoveReplacingTest : public ::testing::Test {
 protected:
  MoveReplacingTest() {
    drive_.WriteHostFile("ESCOLAN/horgrup.dbf", "old");
    drive_.WriteHostFile("ESCOLAN/nuevo.tmp", "new");
  }

  TemporaryDrive drive_;
};

TEST_F(MoveReplacingTest, TheTargetTakesTheNewContentsAndKeepsItsSpelling) {
  platform::MoveReplacing("C:\\escolan\\NUEVO.TMP", "C:\\ESCOLAN\\HORGRUP.DBF");
  EXPECT_EQ(drive_.HostEntries("ESCOLAN"), (std::vector<std::string>{"horgrup.dbf"}));
  EXPECT_EQ(drive_.ReadHostFile("ESCOLAN/horgrup.dbf"), "new");

  drive_.WriteHostFile("ESCOLAN/nuevo.tmp", "newer");
  platform::MoveReplacing("C:\\ESCOLAN\\nuevo.tmp", "C:\\ESCOLAN\\Horprof.Dbf");  // a missing target is named as given
  EXPECT_EQ(drive_.HostEntries("ESCOLAN"), (std::vector<std::string>{"Horprof.Dbf", "horgrup.dbf"}));
  EXPECT_EQ(drive_.ReadHostFile("ESCOLAN/Horprof.Dbf"), "newer");
}

// Each refusal leaves both files as they were.
TEST_F(MoveReplacingTest, RefusesWithTheCodeOfTheReasonAndChangesNothing) {
  namespace fs = std::filesystem;
  drive_.MakeHostFolder("ESCOLAN/CARPETA");
  struct Case {
    const char* reason;
    const char* from;
    const char* to;
    int code;
    std::function<void()> before;  // stages the reason, for the length of the move
    std::function<void()> after;
  };
  File held;
  Case cases[] = {
      {"a read-only target", "C:\\ESCOLAN\\nuevo.tmp", "C:\\ESCOLAN\\horgrup.dbf", platform::kAccessDenied,
       [&] {
         fs::permissions(drive_.Host("ESCOLAN/horgrup.dbf"),
                         fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         EXPECT_TRUE(platform::IsReadOnly("C:\\ESCOLAN\\HORGRUP.DBF"));
       },
       [&] { fs::permissions(drive_.Host("ESCOLAN/horgrup.dbf"), fs::perms::owner_write, fs::perm_options::add); }},
      {"a target this program holds open", "C:\\ESCOLAN\\nuevo.tmp", "C:\\ESCOLAN\\horgrup.dbf",
       platform::kSharingViolation,
       [&] { held = File::OpenExisting("C:\\ESCOLAN\\Horgrup.dbf", Access::kRead, Share::kDenyNone); },
       [&] { held.Close(); }},
      {"a folder as the target", "C:\\ESCOLAN\\nuevo.tmp", "C:\\ESCOLAN\\CARPETA", platform::kAccessDenied, [] {},
       [] {}},
      {"a missing source", "C:\\ESCOLAN\\otro.tmp", "C:\\ESCOLAN\\horgrup.dbf", platform::kFileNotFound, [] {}, [] {}},
      {"a missing target folder", "C:\\ESCOLAN\\nuevo.tmp", "C:\\NOEXISTE\\horgrup.dbf", platform::kPathNotFound,
       [] {}, [] {}},
  };
  for (const Case& c : cases) {
    c.before();
    EXPECT_EQ(ErrorOf([&] { platform::MoveReplacing(c.from, c.to); }).first, c.code) << c.reason;
    c.after();
    EXPECT_EQ(drive_.ReadHostFile("ESCOLAN/horgrup.dbf"), "old") << c.reason;
    EXPECT_EQ(drive_.ReadHostFile("ESCOLAN/nuevo.tmp"), "new") << c.reason;
  }
  EXPECT_FALSE(platform::IsReadOnly("C:\\ESCOLAN\\horgrup.dbf"));
  EXPECT_FALSE(platform::IsReadOnly("C:\\ESCOLAN\\CARPETA"));
  EXPECT_FALSE(platform::IsReadOnly("C:\\ESCOLAN\\otro.tmp"));
}

}  // namespace
