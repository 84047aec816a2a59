// The command line's table inspector.
#include <gtest/gtest.h>

#include <sstream>

#include "app/table_dump.h"
#include "tests/support/temporary_drive.h"

namespace {

using storage::DataType;

class TableDump : public ::testing::Test {
 protected:
  TableDump() {
    drive_.MakeHostFolder("HTEMP");
    storage::Table table(engine_);
    table.SetTableName("C:\\HTEMP\\PROFT.DBF");
    table.AddFieldDef("ABREV", DataType::ftString, 4);
    table.AddFieldDef("DNI", DataType::ftInteger);
    table.AddFieldDef("HORAS", DataType::ftFloat);
    table.AddFieldDef("ACTIVO", DataType::ftBoolean);
    table.AddFieldDef("ALTA", DataType::ftDate);
    table.AddIndexDef("ABREV", "ABREV");
    table.CreateTable();
    table.Open();
    table.Append();
    table.SetAsString("ABREV", "MÓN");
    table.SetAsInteger("DNI", 12345678);
    table.SetAsFloat("HORAS", 2.5);
    table.SetAsBoolean("ACTIVO", true);
    table.SetAsString("ALTA", "01/09/2026");
    table.Post();
    table.Append();
    table.SetAsString("ABREV", "ANA");
    table.Post();
  }

  std::string Dump(const app::DumpOptions& options) {
    std::ostringstream out;
    app::DumpTable(engine_, options, out);
    return out.str();
  }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{'.'};
};

TEST_F(TableDump, PrintsOneJsonObjectPerRecordWithEmptyValuesAsNull) {
  EXPECT_EQ(Dump({"C:\\HTEMP\\PROFT.DBF", "", ""}),
            "{\"ABREV\":\"MÓN\",\"DNI\":12345678,\"HORAS\":2.5,\"ACTIVO\":true,\"ALTA\":\"2026-09-01\"}\n"
            "{\"ABREV\":\"ANA\",\"DNI\":null,\"HORAS\":null,\"ACTIVO\":null,\"ALTA\":null}\n");
}

TEST_F(TableDump, WalksAnIndexOrAFilterAndTakesHostPaths) {
  std::string byIndex = Dump({drive_.Host("HTEMP/PROFT.DBF"), "ABREV", ""});
  EXPECT_EQ(byIndex.find("ANA"), 10u);
  EXPECT_EQ(Dump({"C:\\HTEMP\\PROFT.DBF", "", "ABREV= 'ANA'"}),
            "{\"ABREV\":\"ANA\",\"DNI\":null,\"HORAS\":null,\"ACTIVO\":null,\"ALTA\":null}\n");
}

TEST_F(TableDump, BadInputIsTheEnginesError) {
  drive_.WriteHostFile("HTEMP/NOTAS.TXT", "esto no es una tabla, sino unas notas de texto");
  struct Case {
    app::DumpOptions options;
    const char* message;
  } cases[] = {{{"C:\\HTEMP\\NADA.DBF", "", ""}, "La tabla no existe: C:\\HTEMP\\NADA.DBF"},
               {{"C:\\HTEMP\\NOTAS.TXT", "", ""}, "La tabla está dañada (no es una tabla dBase): C:\\HTEMP\\NOTAS.TXT"},
               {{"C:\\HTEMP\\PROFT.DBF", "DNI", ""}, "No existe el índice 'DNI': C:\\HTEMP\\PROFT.DBF"},
               {{"C:\\HTEMP\\PROFT.DBF", "", "DNI 12"}, "Expresión de filtro no válida 'DNI 12': C:\\HTEMP\\PROFT.DBF"}};
  for (const Case& c : cases) {
    try {
      Dump(c.options);
      ADD_FAILURE() << c.message;
    } catch (const std::exception& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

}  // namespace
