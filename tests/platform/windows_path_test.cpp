// Parsing Windows paths, file-name parts and case-blind name comparison.
#include <gtest/gtest.h>

#include "tests/support/temporary_drive.h"

namespace {

using platform::FileError;
using platform::FullPath;

struct PathCase {
  const char* given;
  const char* expected;
  friend void PrintTo(const PathCase& c, std::ostream* out) { *out << '"' << c.given << '"'; }
};

class FullPathTest : public ::testing::TestWithParam<PathCase> {
 protected:
  void SetUp() override {
    drive_.MakeHostFolder("ESCOLAN/2024");
    platform::SetCurrentFolder("C:\\ESCOLAN");
  }
  testing_support::TemporaryDrive drive_;
};

TEST_P(FullPathTest, ResolvesAgainstTheCurrentFolder) {
  EXPECT_EQ(FullPath(GetParam().given).Text(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsRules, FullPathTest,
    ::testing::Values(PathCase{"C:\\HTEMP\\VALENCIA\\grupos.dbf", "C:\\HTEMP\\VALENCIA\\grupos.dbf"},
                      PathCase{"c:\\htemp\\valencia", "C:\\htemp\\valencia"},
                      PathCase{"C:/HTEMP/SOLUC.DBF", "C:\\HTEMP\\SOLUC.DBF"},
                      PathCase{"C:\\HTEMP\\", "C:\\HTEMP"},
                      PathCase{"C:\\HTEMP\\\\VALENCIA", "C:\\HTEMP\\VALENCIA"},
                      PathCase{"C:\\", "C:\\"},
                      PathCase{"C:\\..\\..", "C:\\"},
                      PathCase{"C:\\ESCOLAN\\2024\\..\\centro.dbf", "C:\\ESCOLAN\\centro.dbf"},
                      PathCase{"C:\\ESCOLAN\\.\\centro.dbf", "C:\\ESCOLAN\\centro.dbf"},
                      PathCase{"centro.dbf", "C:\\ESCOLAN\\centro.dbf"},
                      PathCase{"2024\\", "C:\\ESCOLAN\\2024"},
                      PathCase{"..\\HTEMP", "C:\\HTEMP"},
                      PathCase{"\\grupos.dbf", "C:\\grupos.dbf"},
                      PathCase{"C:grupos.dbf", "C:\\ESCOLAN\\grupos.dbf"},
                      PathCase{"C:", "C:\\ESCOLAN"},
                      PathCase{"D:", "D:\\"},
                      PathCase{"z:\\tmp", "Z:\\tmp"},
                      PathCase{"C:\\HTEMP\\NOTAS. ", "C:\\HTEMP\\NOTAS"}));

TEST(FullPath, RejectsWhatNoWindowsPathCanBe) {
  testing_support::TemporaryDrive drive;
  struct Case {
    const char* path;
    int code;
  } cases[] = {{"", platform::kPathNotFound},
               {"\\\\servidor\\datos", platform::kPathNotFound},
               {"C:\\HTEMP\\a?b.dbf", platform::kInvalidName},
               {"C:\\HTEMP\\a*", platform::kInvalidName},
               {"C:\\HTEMP\\a:b", platform::kInvalidName},
               {"C:\\HTEMP\\<x>", platform::kInvalidName},
               {"1:\\HTEMP", platform::kInvalidName}};
  for (const Case& c : cases) {
    try {
      FullPath(c.path);
      ADD_FAILURE() << c.path << " was accepted";
    } catch (const FileError& error) {
      EXPECT_EQ(error.code(), c.code) << c.path;
    }
  }
}

TEST(FileNamePart, IsTheTextAfterTheLastSeparatorOrColon) {
  EXPECT_EQ(platform::FileNamePart("C:\\HTEMP\\SOLUC.DBF"), "SOLUC.DBF");
  EXPECT_EQ(platform::FileNamePart("C:SOLUC.DBF"), "SOLUC.DBF");
  EXPECT_EQ(platform::FileNamePart("SOLUC.DBF"), "SOLUC.DBF");
  EXPECT_EQ(platform::FileNamePart("C:\\HTEMP\\"), "");
  EXPECT_EQ(platform::FileNamePart("A:"), "");
  EXPECT_EQ(platform::FileNamePart(""), "");
}

TEST(SameName, IgnoresTheCaseOfAsciiAndAccentedLetters) {
  EXPECT_TRUE(platform::SameName("Plantilla.DBF", "PLANTILLA.dbf"));
  EXPECT_TRUE(platform::SameName("VALENCIÁ", "valenciá"));
  EXPECT_TRUE(platform::SameName("AÑO_ÇÜ", "año_çü"));
  EXPECT_TRUE(platform::SameName("ŁÓDŹ", "łódź"));
  EXPECT_FALSE(platform::SameName("VALENCIA", "valenciá"));
  EXPECT_FALSE(platform::SameName("grupos.dbf", "grupos.dbf "));
  EXPECT_FALSE(platform::SameName("a", "ab"));
  EXPECT_TRUE(platform::SameName("\xff\xfe", "\xff\xfe"));  // bytes that are no UTF-8 compare as they are
}

}  // namespace
