// The command line's table inspector.
#include <gtest/gtest.h>

#include <sstream>

#include "app/table_dump.h"
#include "tests/storage/foreign_tables.h"
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
#ifdef _WIN32
  // A host path is a Windows path on Windows: the drive's own path is the one to give.
  std::string byIndex = Dump({"C:\\HTEMP\\PROFT.DBF", "ABREV", ""});
#else
  std::string byIndex = Dump({drive_.Host("HTEMP/PROFT.DBF"), "ABREV", ""});
#endif
  EXPECT_EQ(byIndex.find("ANA"), 10u);
  EXPECT_EQ(Dump({"C:\\HTEMP\\PROFT.DBF", "", "ABREV= 'ANA'"}),
            "{\"ABREV\":\"ANA\",\"DNI\":null,\"HORAS\":null,\"ACTIVO\":null,\"ALTA\":null}\n");
}

// Another program may write any number that fits the width into an integer field: "1e99" takes four characters.
class StoredNumbers : public TableDump {
 protected:
  // Puts `text`, right-justified, into the first record's DNI field (N 9,0) of the file.
  void StoreDni(const std::string& text) {
    std::string file = drive_.ReadHostFile("HTEMP/PROFT.DBF");
    std::size_t headerLength = static_cast<unsigned char>(file[8]) | std::size_t{static_cast<unsigned char>(file[9])} << 8;
    std::size_t dni = headerLength + 1 + 4;  // after the deletion flag and ABREV
    file.replace(dni, 9, std::string(9 - text.size(), ' ') + text);
    drive_.WriteHostFile("HTEMP/PROFT.DBF", file);
  }

  // Dumps through an engine of its own, which reads the changed file afresh.
  std::string DumpChanged() {
    storage::Engine engine('.');
    std::ostringstream out;
    app::DumpTable(engine, {"C:\\HTEMP\\PROFT.DBF", "", ""}, out);
    return out.str();
  }
};

TEST_F(StoredNumbers, BeyondTheRangeOf64BitIntegersArePrintedAsTheNumbersTheyAre) {
  struct Case {
    const char* stored;
    const char* printed;
  } cases[] = {{"1e99", "1e+99"},
               {"-1e99", "-1e+99"},
               {"-9.3e18", "-9.3e+18"},
               {"9.3e18", "9.3e+18"},
               {"9.2e18", "9200000000000000000"},
               {"-9.2e18", "-9200000000000000000"}};
  for (const Case& c : cases) {
    StoreDni(c.stored);
    EXPECT_EQ(DumpChanged(),
              std::string("{\"ABREV\":\"MÓN\",\"DNI\":") + c.printed +
                  ",\"HORAS\":2.5,\"ACTIVO\":true,\"ALTA\":\"2026-09-01\"}\n"
                  "{\"ABREV\":\"ANA\",\"DNI\":null,\"HORAS\":null,\"ACTIVO\":null,\"ALTA\":null}\n")
        << c.stored;
  }
}

TEST_F(StoredNumbers, NoNumberAndBeyondEveryDoubleAreTheEnginesError) {
  for (const char* stored : {"nan", "inf", "-infinity", "1e999"}) {
    StoreDni(stored);
    try {
      DumpChanged();
      ADD_FAILURE() << stored;
    } catch (const std::exception& error) {
      EXPECT_EQ(std::string(error.what()), std::string("Valor no válido en el campo 'DNI' (valor numérico no válido: ") +
                                               stored + "): C:\\HTEMP\\PROFT.DBF");
    }
  }
}

// Tables other programs write: each value as its program stored it.
TEST_F(TableDump, ShowsVarcharsMillisecondsAndTablesWithoutFields) {
  using foreign_tables::StoredField;
  // Julian day 2460370 is 2024-02-29; 49,507,123 ms is 13:45:07.123.
  std::string day = foreign_tables::Le(2460370, 4);
  std::vector<StoredField> visualFoxPro = {
      {"NOMBRE", 'V', 8, 0, 0x02}, {"ALTA", 'T', 8}, {"_NullFlags", '0', 1, 0, 0x05}};
  std::vector<StoredField> dBase7 = {{"NOMBRE_COMPLETO", 'C', 4}, {"PUNTOS", 'I', 4}, {"MEDIA", 'O', 8}};
  struct Case {
    const char* what;
    std::string bytes;
    const char* dump;
  } cases[] = {
      {"Visual FoxPro",
       foreign_tables::XBaseTable(
           0x32, visualFoxPro,
           {" " + std::string("Mar\xEDn \0\x06", 8) + day + foreign_tables::Le(49507123, 4) + "\x01",
            " " + std::string("Completo") + day + foreign_tables::Le(49507000, 4) + std::string(1, '\0'),
            " " + std::string(8, '\0') + std::string(8, '\0') + "\x02"}),
       "{\"NOMBRE\":\"Marín \",\"ALTA\":\"2024-02-29T13:45:07.123\"}\n"
       "{\"NOMBRE\":\"Completo\",\"ALTA\":\"2024-02-29T13:45:07\"}\n"
       "{\"NOMBRE\":null,\"ALTA\":null}\n"},
      {"dBase 7",
       foreign_tables::DBase7Table(0x04, dBase7,
                                   {" Ana " + foreign_tables::DBase7Long(-7) + foreign_tables::DBase7Double(2.25)}),
       "{\"NOMBRE_COMPLETO\":\"Ana\",\"PUNTOS\":-7,\"MEDIA\":2.25}\n"},
      {"without fields", foreign_tables::XBaseTable(0x03, {}, {" ", "*", " "}), "{}\n{}\n"},
  };
  for (const Case& c : cases) {
    drive_.WriteHostFile("HTEMP/OTRO.DBF", c.bytes);
    EXPECT_EQ(Dump({"C:\\HTEMP\\OTRO.DBF", "", ""}), c.dump) << c.what;
  }
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
