// The table object against a second process, staged by forking: a change made by another program while no
// table object of ours has the table open (inside a run of the engine too), and an exclusive opening refusing
// one from another process.
#include <gtest/gtest.h>

#include <optional>

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
