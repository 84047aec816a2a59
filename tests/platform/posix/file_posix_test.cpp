// The POSIX backend's files: host errors as Windows codes, failures staged through the host (a read-only
// file, opened by a child running as nobody since root ignores permissions; /dev/full), and the decimal
// separator of a locale named the POSIX way.
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/posix/host.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_drive.h"

namespace {

using platform::Access;
using platform::File;
using platform::Share;
using testing_support::TemporaryDrive;
constexpr auto ErrorOf = testing_support::FileErrorOf;

std::span<const std::byte> Bytes(std::string_view text) { return std::as_bytes(std::span(text)); }

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

// A file that the school's users share is replaced as they had it: its owner, group and permissions go over
// to the file that replaces it (the owner only where the host lets the mover give files away: as root).
TEST(MoveReplacing, TheTargetKeepsItsOwnerGroupAndPermissions) {
  TemporaryDrive drive;
  drive.WriteHostFile("horgrup.dbf", "old");
  drive.WriteHostFile("nuevo.tmp", "new");
  std::string target = drive.Host("horgrup.dbf");
  bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(target.c_str(), testing_support::kNobody, testing_support::kNobody), 0);
  }
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  struct stat before {};
  ASSERT_EQ(::stat(target.c_str(), &before), 0);

  platform::MoveReplacing("C:\\nuevo.tmp", "C:\\horgrup.dbf");

  struct stat after {};
  ASSERT_EQ(::stat(target.c_str(), &after), 0);
  EXPECT_EQ(drive.ReadHostFile("horgrup.dbf"), "new");
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_gid, before.st_gid);
  if (root) {
    EXPECT_EQ(after.st_uid, before.st_uid);
  }
}

TEST(FileContents, AFullDiskIsAnError) {
  TemporaryDrive drive;
  std::filesystem::create_symlink("/dev/full", drive.Host("FULL.DBF"));
  File file = File::OpenExisting("C:\\FULL.DBF", Access::kReadWrite, Share::kDenyNone);
  EXPECT_EQ(file.Write(Bytes("abc")), 0u);
  EXPECT_EQ(ErrorOf([&] { file.WriteAt(0, Bytes("abc")); }).first, 112);
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
