// Open files, their sharing rules, the file errors the user sees, and the regional decimal separator.
#include <cerrno>
#include <clocale>
#include <locale.h>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/posix/host.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_drive.h"

namespace {

using platform::Access;
using platform::File;
using platform::FileError;
using platform::Share;
using testing_support::TemporaryDrive;

// The code and message of the FileError that `action` raises.
std::pair<int, std::string> ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const FileError& error) {
    return {error.code(), error.what()};
  }
  return {0, ""};
}

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

TEST(FileErrors, HostErrorsMapOntoWindowsCodes) {
  struct Case {
    int err;
    bool parentExists;
    int code;
  } cases[] = {{ENOENT, true, 2},  {ENOENT, false, 3}, {ENOTDIR, true, 3}, {EMFILE, true, 4},
               {ENFILE, true, 4},  {EACCES, true, 5},  {EPERM, true, 5},   {EROFS, true, 5},
               {EISDIR, true, 5},  {ENOSPC, true, 112}, {EDQUOT, true, 112}, {EFBIG, true, 112},
               {EWOULDBLOCK, true, 32}, {EEXIST, true, 80}, {ENAMETOOLONG, true, 206}, {EIO, true, 1117},
               {ENOMEDIUM, true, 21}, {EPROTO, true, 31}};
  for (const Case& c : cases) {
    EXPECT_EQ(platform::host::CodeOfErrno(c.err, c.parentExists), c.code) << "errno " << c.err;
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

TEST(FileErrors, AReadOnlyFileCannotBeOpenedForWriting) {
  TemporaryDrive drive;
  drive.WriteHostFile("RO.DBF", "x");
  std::filesystem::permissions(drive.Host("RO.DBF"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::group_read |
                                                         std::filesystem::perms::others_read);
  std::filesystem::permissions(drive.Root(), std::filesystem::perms::all);
  int result = testing_support::RunInChild([] {
    if (::getuid() == 0 && ::setuid(testing_support::kNobody) != 0) return 3;
    auto [code, message] = ErrorOf([] { File::OpenExisting("C:\\RO.DBF", Access::kReadWrite, Share::kDenyNone); });
    File reading = File::OpenExisting("C:\\RO.DBF", Access::kRead, Share::kDenyNone);
    return code == 5 && message == "Acceso al archivo denegado" ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
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

TEST(FileContents, AFullDiskIsAnError) {
  TemporaryDrive drive;
  std::filesystem::create_symlink("/dev/full", drive.Host("FULL.DBF"));
  File file = File::OpenExisting("C:\\FULL.DBF", Access::kReadWrite, Share::kDenyNone);
  EXPECT_EQ(file.Write(Bytes("abc")), 0u);
  EXPECT_EQ(ErrorOf([&] { file.WriteAt(0, Bytes("abc")); }).first, 112);
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

TEST(DecimalSeparator, ComesFromTheLocale) {
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("C"), '.');
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("no_SUCH.locale"), '.');
  locale_t spanish = ::newlocale(LC_NUMERIC_MASK, "es_ES.UTF-8", static_cast<locale_t>(nullptr));
  if (spanish == static_cast<locale_t>(nullptr)) GTEST_SKIP() << "the es_ES.UTF-8 locale is not installed";
  ::freelocale(spanish);
  EXPECT_EQ(platform::DecimalSeparatorOfLocale("es_ES.UTF-8"), ',');
}

}  // namespace
