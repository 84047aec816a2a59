// The table object against a second process, staged by forking: a change made by another program while no
// table object of ours has the table open (inside a run of the engine too), a new file put in the place of one
// the engine keeps, and an exclusive opening refusing one from another process.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/storage/table_fixture.h"
#include "tests/support/child_process.h"

namespace {

using namespace table_testing;

// Inside a run the engine keeps the file open after its table objects close; the check must see through that.
TEST_F(TableTest, RecordsInMemoryAreCheckedAgainstTheFileAtEachOpening) {
  for (bool inARun : {false, true}) {
    SCOPED_TRACE(inARun ? "in a run" : "outside a run");
    CreateSample();
    std::optional<storage::Engine::Run> run;
    if (inARun) run.emplace(engine_);
    {
      auto table = OpenSample();
      AddRecords(*table, {{"A", 1}});
    }
    // Another program changes the file while no table object of ours has it open.
    int child = testing_support::RunInChild([] {
      storage::Engine other('.');
      Table table(other);
      table.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
      table.Open();
      table.Edit();
      table.SetAsString("COD", "Z");
      table.Post();
      return 0;
    });
    ASSERT_EQ(child, 0);
    auto reopened = OpenSample();
    EXPECT_EQ(Walk(*reopened), (std::vector<std::string>{"Z"}));
  }
}

// Inside a run the engine keeps the file open after its table objects close. Another program that puts a new
// file in its place, of the same size and time, must not leave the engine on the old one.
TEST_F(TableTest, AFilePutInThePlaceOfOneTheEngineKeepsIsReadAtTheNextOpening) {
  CreateSample();
  CreateSample("NUEVA");
  {
    auto nueva = OpenSample("NUEVA");
    AddRecords(*nueva, {{"Z", 9}});
  }
  storage::Engine::Run run(engine_);
  {
    auto table = OpenSample();
    AddRecords(*table, {{"A", 1}});
  }
  std::string kept = drive_.Host("HTEMP/MUESTRA.DBF");
  std::string replacement = drive_.Host("HTEMP/NUEVA.DBF");
  int child = testing_support::RunInChild([&] {
    struct stat old {};
    if (::stat(kept.c_str(), &old) != 0) return 1;
    const timespec times[2] = {old.st_atim, old.st_mtim};
    if (::utimensat(AT_FDCWD, replacement.c_str(), times, 0) != 0) return 2;
    return ::rename(replacement.c_str(), kept.c_str()) == 0 ? 0 : 3;
  });
  ASSERT_EQ(child, 0);
  auto reopened = OpenSample();
  EXPECT_EQ(Walk(*reopened), (std::vector<std::string>{"Z"}));
}

TEST_F(TableTest, AnExclusiveTableRefusesEveryOtherOpening) {
  CreateSample();
  Table exclusive(engine_);
  exclusive.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
  exclusive.SetExclusive(true);
  exclusive.Open();
  std::string inUse = "La tabla está en uso: C:\\HTEMP\\MUESTRA.DBF";
  EXPECT_EQ(ErrorOf([&] { OpenSample(); }), "La tabla está en uso: C:\\htemp\\MUESTRA.DBF");
  int fromChild = testing_support::RunInChild([] {
    storage::Engine engine('.');
    Table table(engine);
    table.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
    try {
      table.Open();
    } catch (const DatabaseError& error) {
      return std::string(error.what()) == "La tabla está en uso: C:\\HTEMP\\MUESTRA.DBF" ? 0 : 1;
    }
    return 2;
  });
  EXPECT_EQ(fromChild, 0);
  exclusive.Close();
  auto shared = OpenSample();
  Table second(engine_);
  second.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
  second.SetExclusive(true);
  EXPECT_EQ(ErrorOf([&] { second.Open(); }), inUse);
}

}  // namespace
