// The block copy and the replace-copy on a real temporary drive C:.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "run/copia.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_drive.h"

namespace {

namespace fs = std::filesystem;
using run::CopiarArchivo;
using run::CopiarReemplazando;
using testing_support::PatternBytes;
using testing_support::RunInChild;
using testing_support::TemporaryDrive;
constexpr auto CodeOf = testing_support::FileErrorCodeOf;

// The names in a host folder, to see that no temporary file was left behind.
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class CopyOfSize : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CopyOfSize, IsByteForByte) {
  TemporaryDrive drive;
  std::string contents = PatternBytes(GetParam());
  drive.WriteHostFile("ESCOLAN/alumnos.fpt", contents);
  drive.MakeHostFolder("HTEMP/VALENCIA");
  CopiarArchivo("C:\\HTEMP\\VALENCIA\\alumnos.fpt", "C:\\ESCOLAN\\alumnos.fpt");
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/alumnos.fpt"), contents);
  CopiarReemplazando("C:\\HTEMP\\VALENCIA\\copia.fpt", "C:\\ESCOLAN\\alumnos.fpt");
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/copia.fpt"), contents);
}

// Empty, one byte, just under/at/over one block, exactly two blocks, and a large odd size.
INSTANTIATE_TEST_SUITE_P(BlockBoundaries, CopyOfSize, ::testing::Values(0, 1, 2047, 2048, 2049, 4096, 100001));

TEST(CopiarArchivo, ATargetEndingInASeparatorTakesTheSourceName) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/grupos.dbf", "grupos");
  drive.MakeHostFolder("HTEMP");
  CopiarArchivo("C:\\HTEMP\\", "C:\\ESCOLAN\\grupos.dbf");
  EXPECT_EQ(drive.ReadHostFile("HTEMP/grupos.dbf"), "grupos");
  platform::SetCurrentFolder("C:\\HTEMP");
  CopiarArchivo("C:", "C:\\ESCOLAN\\grupos.dbf");
  EXPECT_EQ(drive.ReadHostFile("HTEMP/grupos.dbf"), "grupos");
}

TEST(CopiarArchivo, AMissingSourceLeavesTheTargetAlone) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/VALENCIA/lhortipo.dbf", "old");
  CopiarArchivo("C:\\HTEMP\\VALENCIA\\lhortipo.dbf", "C:\\ESCOLAN\\lhortipo.dbf");
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/lhortipo.dbf"), "old");
  CopiarArchivo("C:\\HTEMP\\VALENCIA\\nuevo.dbf", "C:\\ESCOLAN\\nuevo.dbf");
  EXPECT_FALSE(fs::exists(drive.Host("HTEMP/VALENCIA/nuevo.dbf")));
}

TEST(CopiarArchivo, AFolderIsNoSource) {
  TemporaryDrive drive;
  drive.MakeHostFolder("ESCOLAN/centro.dbf");
  drive.MakeHostFolder("HTEMP");
  CopiarArchivo("C:\\HTEMP\\centro.dbf", "C:\\ESCOLAN\\centro.dbf");
  EXPECT_FALSE(fs::exists(drive.Host("HTEMP/centro.dbf")));
}

TEST(CopiarArchivo, ATargetInAMissingFolderFails) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/centro.dbf", "x");
  EXPECT_EQ(CodeOf([] { CopiarArchivo("C:\\NOEXISTE\\centro.dbf", "C:\\ESCOLAN\\centro.dbf"); }), 3);
}

TEST(CopiarArchivo, AFullDiskIsReportedNotASilentlyShorterCopy) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/alumnos.dbf", PatternBytes(5000));
  fs::create_symlink("/dev/full", drive.Host("LLENO.DBF"));
  EXPECT_EQ(CodeOf([] { CopiarArchivo("C:\\LLENO.DBF", "C:\\ESCOLAN\\alumnos.dbf"); }), 112);
}

// A file-size limit makes the third 2048-byte write a short one, as a disk that fills up does.
TEST(CopiarArchivo, AShortWriteIsReported) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/alumnos.dbf", PatternBytes(10000));
  drive.MakeHostFolder("HTEMP");
  int result = RunInChild([] {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{5000, 5000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return CodeOf([] { CopiarArchivo("C:\\HTEMP\\alumnos.dbf", "C:\\ESCOLAN\\alumnos.dbf"); }) == 112 ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
}

TEST(CopiarArchivo, AReadOnlySourceCopies) {
  TemporaryDrive drive;
  std::string contents = PatternBytes(3000);
  drive.WriteHostFile("ESCOLAN/asignat.dbf", contents);
  drive.MakeHostFolder("HTEMP");
  fs::permissions(drive.Host("ESCOLAN/asignat.dbf"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(drive.Root(), fs::perms::all);
  fs::permissions(drive.Host("HTEMP"), fs::perms::all);
  int result = RunInChild([] {
    if (::getuid() == 0 && ::setuid(testing_support::kNobody) != 0) return 3;
    return CodeOf([] { CopiarArchivo("C:\\HTEMP\\asignat.dbf", "C:\\ESCOLAN\\asignat.dbf"); });
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(drive.ReadHostFile("HTEMP/asignat.dbf"), contents);
}

TEST(CopiarReemplazando, AMissingSourceDeletesTheTarget) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/VALENCIA/lhortipo.dbf", "stale");
  drive.MakeHostFolder("ESCOLAN");
  CopiarReemplazando("C:\\HTEMP\\VALENCIA\\lhortipo.dbf", "C:\\ESCOLAN\\lhortipo.dbf");
  EXPECT_FALSE(fs::exists(drive.Host("HTEMP/VALENCIA/lhortipo.dbf")));
  EXPECT_TRUE(Entries(drive.Host("HTEMP/VALENCIA")).empty());
}

TEST(CopiarReemplazando, ReplacesTheExistingEntryWhateverItsCase) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/GRUPOS.DBF", "new");
  drive.WriteHostFile("HTEMP/VALENCIA/grupos.dbf", "old, and longer than the new one");
  CopiarReemplazando("C:\\HTEMP\\VALENCIA\\GRUPOS.DBF", "C:\\escolan\\grupos.dbf");
  EXPECT_EQ(Entries(drive.Host("HTEMP/VALENCIA")), (std::vector<std::string>{"grupos.dbf"}));
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/grupos.dbf"), "new");
}

TEST(CopiarReemplazando, ATargetEndingInASeparatorTakesTheSourceName) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/horprof.dbf", "horprof");
  drive.MakeHostFolder("HTEMP/VALENCIA");
  CopiarReemplazando("C:\\HTEMP\\VALENCIA\\", "C:\\ESCOLAN\\horprof.dbf");
  EXPECT_EQ(Entries(drive.Host("HTEMP/VALENCIA")), (std::vector<std::string>{"horprof.dbf"}));
}

TEST(CopiarReemplazando, AFailedCopyLeavesTheOldTargetWhole) {
  TemporaryDrive drive;
  std::string old = PatternBytes(3000, 7);
  drive.WriteHostFile("ESCOLAN/horgrup.dbf", PatternBytes(10000, 8));
  drive.WriteHostFile("HTEMP/VALENCIA/horgrup.dbf", old);
  int result = RunInChild([] {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{5000, 5000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return CodeOf([] { CopiarReemplazando("C:\\HTEMP\\VALENCIA\\horgrup.dbf", "C:\\ESCOLAN\\horgrup.dbf"); }) == 112
               ? 0
               : 1;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/horgrup.dbf"), old);
  EXPECT_EQ(Entries(drive.Host("HTEMP/VALENCIA")), (std::vector<std::string>{"horgrup.dbf"}));
}

TEST(CopiarReemplazando, ATargetHeldOpenIsNotReplaced) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/centro.dbf", "new");
  drive.WriteHostFile("HTEMP/VALENCIA/centro.dbf", "old");
  platform::File held = platform::File::OpenExisting("C:\\HTEMP\\VALENCIA\\centro.dbf", platform::Access::kRead,
                                                     platform::Share::kExclusive);
  EXPECT_EQ(CodeOf([] { CopiarReemplazando("C:\\HTEMP\\VALENCIA\\centro.dbf", "C:\\ESCOLAN\\centro.dbf"); }), 32);
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/centro.dbf"), "old");
  EXPECT_EQ(Entries(drive.Host("HTEMP/VALENCIA")), (std::vector<std::string>{"centro.dbf"}));
}

TEST(CopiarReemplazando, ATargetFolderThatIsMissingFails) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/centro.dbf", "x");
  EXPECT_EQ(CodeOf([] { CopiarReemplazando("C:\\HTEMP\\VALENCIA\\centro.dbf", "C:\\ESCOLAN\\centro.dbf"); }), 3);
}

}  // namespace
