// The block copy and the replace-copy on a real temporary drive C:.
#include <filesystem>

#include <gtest/gtest.h>

#include "run/copia.h"
#include "tests/support/temporary_drive.h"

namespace {

namespace fs = std::filesystem;
using run::CopiarArchivo;
using run::CopiarReemplazando;
using testing_support::PatternBytes;
using testing_support::TemporaryDrive;
constexpr auto CodeOf = testing_support::FileErrorCodeOf;

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

TEST(CopiarReemplazando, AMissingSourceDeletesTheTarget) {
  TemporaryDrive drive;
  drive.WriteHostFile("HTEMP/VALENCIA/lhortipo.dbf", "stale");
  drive.MakeHostFolder("ESCOLAN");
  CopiarReemplazando("C:\\HTEMP\\VALENCIA\\lhortipo.dbf", "C:\\ESCOLAN\\lhortipo.dbf");
  EXPECT_FALSE(fs::exists(drive.Host("HTEMP/VALENCIA/lhortipo.dbf")));
  EXPECT_TRUE(drive.HostEntries("HTEMP/VALENCIA").empty());
}

TEST(CopiarReemplazando, ReplacesTheExistingEntryWhateverItsCase) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/GRUPOS.DBF", "new");
  drive.WriteHostFile("HTEMP/VALENCIA/grupos.dbf", "old, and longer than the new one");
  CopiarReemplazando("C:\\HTEMP\\VALENCIA\\GRUPOS.DBF", "C:\\escolan\\grupos.dbf");
  EXPECT_EQ(drive.HostEntries("HTEMP/VALENCIA"), (std::vector<std::string>{"grupos.dbf"}));
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/grupos.dbf"), "new");
}

TEST(CopiarReemplazando, ATargetEndingInASeparatorTakesTheSourceName) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/horprof.dbf", "horprof");
  drive.MakeHostFolder("HTEMP/VALENCIA");
  CopiarReemplazando("C:\\HTEMP\\VALENCIA\\", "C:\\ESCOLAN\\horprof.dbf");
  EXPECT_EQ(drive.HostEntries("HTEMP/VALENCIA"), (std::vector<std::string>{"horprof.dbf"}));
}

TEST(CopiarReemplazando, ATargetHeldOpenIsNotReplaced) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/centro.dbf", "new");
  drive.WriteHostFile("HTEMP/VALENCIA/centro.dbf", "old");
  platform::File held = platform::File::OpenExisting("C:\\HTEMP\\VALENCIA\\centro.dbf", platform::Access::kRead,
                                                     platform::Share::kExclusive);
  EXPECT_EQ(CodeOf([] { CopiarReemplazando("C:\\HTEMP\\VALENCIA\\centro.dbf", "C:\\ESCOLAN\\centro.dbf"); }), 32);
  held.Close();  // Windows lets no one read a file held exclusively, the test's own reading included
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/centro.dbf"), "old");
  EXPECT_EQ(drive.HostEntries("HTEMP/VALENCIA"), (std::vector<std::string>{"centro.dbf"}));
}

TEST(CopiarReemplazando, ATargetFolderThatIsMissingFails) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/centro.dbf", "x");
  EXPECT_EQ(CodeOf([] { CopiarReemplazando("C:\\HTEMP\\VALENCIA\\centro.dbf", "C:\\ESCOLAN\\centro.dbf"); }), 3);
}

}  // namespace

namespace {

// Sets a file-operation hook for the length of a test.
struct HookDuring {
  explicit HookDuring(platform::FileOperationHook hook) { platform::SetFileOperationHook(std::move(hook)); }
  ~HookDuring() { platform::SetFileOperationHook(nullptr); }
};

}  // namespace

TEST(CopiarReemplazando, ASourceThatVanishesOnceCheckedIsAnErrorAndTheTargetStays) {
  TemporaryDrive drive;
  drive.WriteHostFile("ESCOLAN/horgrup.dbf", "new");
  drive.WriteHostFile("HTEMP/VALENCIA/horgrup.dbf", "old");
  // The source goes the moment the copy opens it, after the replace-copy saw it there.
  HookDuring hook([&](platform::FileOperation operation, std::string_view path) {
    if (operation == platform::FileOperation::kOpen && platform::SameName(path, "C:\\ESCOLAN\\horgrup.dbf")) {
      fs::remove(drive.Host("ESCOLAN/horgrup.dbf"));
    }
  });
  EXPECT_EQ(CodeOf([] { CopiarReemplazando("C:\\HTEMP\\VALENCIA\\horgrup.dbf", "C:\\ESCOLAN\\horgrup.dbf"); }), 2);
  EXPECT_EQ(drive.ReadHostFile("HTEMP/VALENCIA/horgrup.dbf"), "old");
  EXPECT_EQ(drive.HostEntries("HTEMP/VALENCIA"), std::vector<std::string>{"horgrup.dbf"});
}
