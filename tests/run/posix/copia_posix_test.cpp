// The copies under failures that only the host can stage: a full device, a file-size limit that makes a
// write short, a read-only source that root would read anyway (each in a child process).
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
  EXPECT_EQ(drive.HostEntries("HTEMP/VALENCIA"), (std::vector<std::string>{"horgrup.dbf"}));
}

}  // namespace
