// The .MDX production index: numeric keys, round trips through our own reader, the file's bookkeeping,
// the independent reader index_dump (libdbd-xbase-perl), and damaged files.
#include "storage/mdx_format.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <random>
#include <utility>

#include <gtest/gtest.h>

#include "tests/support/temporary_drive.h"

namespace {

using storage::mdx::BuildMdx;
using util::Date;
using storage::mdx::Key;
using storage::mdx::MdxFormatError;
using storage::mdx::NumericKey;
using storage::mdx::ReadMdxKeys;
using storage::mdx::ReadMdxTags;
using storage::mdx::TagInfo;
using storage::mdx::TagToWrite;
using testing_support::TemporaryDrive;

using Bytes = std::vector<std::byte>;
using KeyList = std::vector<std::pair<std::string, std::uint32_t>>;

constexpr Date kDate{2026, 3, 4};

// Keys of one 1024-byte node: items of 4 + key length bytes rounded up to 4, after an 8-byte node header
// and before the 4-byte trailing pointer.
std::size_t KeysPerNode(int keyLength) { return (1024 - 12) / ((4 + static_cast<std::size_t>(keyLength) + 3) / 4 * 4); }

// `count` character keys in index order, every value twice with ascending records, records otherwise
// scattered over the table.
std::vector<Key> CharacterKeys(std::size_t count, int width) {
  std::vector<Key> keys;
  for (std::size_t i = 0; i < count; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "K%06zu", i / 2);
    std::string bytes(text);
    bytes.resize(static_cast<std::size_t>(width), ' ');
    auto record = static_cast<std::uint32_t>((i / 2 * 7919 % 50000) * 2 + 1 + i % 2);
    keys.push_back({bytes, record});
  }
  return keys;
}

TagToWrite CharacterTag(std::string name, int width, std::size_t count) {
  return {name, name, 'C', width, CharacterKeys(count, width)};
}

// Numeric keys from negative to positive in quarter steps, so that the BCD bytes hold NUL, TAB and CR.
TagToWrite NumericTag(std::string name, std::size_t count) {
  TagToWrite tag{name, name, 'N', 12, {}};
  for (std::size_t i = 0; i < count; ++i) {
    double value = (static_cast<double>(i) - static_cast<double>(count) / 2) * 0.25;
    tag.keys.push_back({NumericKey(value), static_cast<std::uint32_t>(i + 1)});
  }
  return tag;
}

KeyList ListOf(const std::vector<Key>& keys) {
  KeyList list;
  for (const Key& key : keys) list.emplace_back(key.bytes, key.record);
  return list;
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (unsigned char c : bytes) {
    char text[4];
    std::snprintf(text, sizeof text, hex.empty() ? "%02X" : " %02X", c);
    hex += text;
  }
  return hex;
}

// Equal key lists, or where they first part (the lists run to thousands of keys).
testing::AssertionResult SameKeys(const KeyList& actual, const KeyList& expected) {
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    if (actual[i] != expected[i]) {
      return testing::AssertionFailure() << "key " << i << ": [" << Hex(actual[i].first) << "] " << actual[i].second
                                         << ", expected [" << Hex(expected[i].first) << "] " << expected[i].second;
    }
  }
  if (actual.size() != expected.size()) {
    return testing::AssertionFailure() << actual.size() << " keys, expected " << expected.size();
  }
  return testing::AssertionSuccess();
}

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

TagInfo InfoOf(const TagToWrite& tag) { return {UpperCase(tag.name), tag.expression, tag.keyType, tag.keyLength}; }

// Reads every tag and every key, as a program opening the file would.
void ReadEverything(const Bytes& file) {
  for (const TagInfo& tag : ReadMdxTags(file)) ReadMdxKeys(file, tag);
}

// Raw little-endian fields, for looking at the file's own bookkeeping and for damaging it.
std::uint32_t U32(const Bytes& file, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | std::to_integer<std::uint32_t>(file.at(offset + i));
  return value;
}
unsigned U16(const Bytes& file, std::size_t offset) {
  return std::to_integer<unsigned>(file.at(offset)) | std::to_integer<unsigned>(file.at(offset + 1)) << 8;
}
void PutU32(Bytes& file, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) file.at(offset + i) = static_cast<std::byte>(value >> (8 * i) & 0xFF);
}
void PutU16(Bytes& file, std::size_t offset, unsigned value) {
  file.at(offset) = static_cast<std::byte>(value & 0xFF);
  file.at(offset + 1) = static_cast<std::byte>(value >> 8 & 0xFF);
}

std::size_t TagEntry(std::size_t index) { return 544 + 32 * index; }
std::size_t TagHeader(const Bytes& file, std::size_t index) { return std::size_t{U32(file, TagEntry(index))} * 512; }
std::size_t RootNode(const Bytes& file, std::size_t index) { return std::size_t{U32(file, TagHeader(file, index))} * 512; }
std::size_t ItemLength(const Bytes& file, std::size_t index) { return U16(file, TagHeader(file, index) + 18); }

// The page a node's item `i` points to; i == count is the trailing pointer (0 in a leaf).
std::uint32_t Pointer(const Bytes& file, std::size_t node, std::size_t itemLength, std::size_t i) {
  return U32(file, node + 8 + i * itemLength);
}
bool IsLeaf(const Bytes& file, std::size_t node, std::size_t itemLength) {
  return Pointer(file, node, itemLength, U32(file, node)) == 0;
}

// The leaf page reached from the root by always taking the first (or the last) child, and the levels
// passed on the way.
std::pair<std::uint32_t, int> OuterLeaf(const Bytes& file, std::size_t tag, bool last) {
  std::size_t itemLength = ItemLength(file, tag);
  std::uint32_t page = U32(file, TagHeader(file, tag));
  int levels = 1;
  for (std::size_t node = std::size_t{page} * 512; !IsLeaf(file, node, itemLength); node = std::size_t{page} * 512) {
    page = Pointer(file, node, itemLength, last ? U32(file, node) : 0);
    ++levels;
  }
  return {page, levels};
}

// ---------------------------------------------------------------------------------------------------

TEST(MdxNumericKey, EncodesNumbersAsDbaseBcd) {
  struct Case {
    double value;
    std::string leading;  // the rest of the 12 bytes is zero
  } cases[] = {
      {1, "35 05 10"},        {-1, "35 85 10"},       {10, "36 09 10"},           {120, "37 0D 12"},
      {-123, "37 8D 12 30"},  {1000, "38 11 10"},     {123456789, "3D 25 12 34 56 78 90"},
      {0, "34 01"},           {-0.0, "34 01"},        {0.5, "34 05 50"},          {-0.5, "34 85 50"},
      {12.25, "36 11 12 25"}, {0.05, "33 05 50"},     {1234.5678, "38 21 12 34 56 78"},
      {0.1, "34 05 10"},      // the decimal digits, not the binary double's long expansion
      {1e19, "48 51 10"},     // twenty integer digits
      {1e25, "4E 51 10"},     // more integer digits than a key holds: twenty stored
  };
  for (const Case& c : cases) {
    std::string expected = c.leading;
    while (expected.size() < 12 * 3 - 1) expected += " 00";
    EXPECT_EQ(Hex(NumericKey(c.value)), expected) << c.value;
  }
}

TEST(MdxNumericKey, RefusesWhatHasNoKey) {
  for (double value : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity(), 1e300, 1e-300}) {
    EXPECT_THROW(NumericKey(value), MdxFormatError) << value;
  }
}

// ---------------------------------------------------------------------------------------------------

TEST(MdxRoundTrip, ReadsBackTagsAndKeys) {
  struct Case {
    const char* label;
    std::vector<TagToWrite> tags;
  } cases[] = {
      {"no tags", {}},
      {"empty tag", {CharacterTag("VACIA", 8, 0)}},
      {"one key", {CharacterTag("CODIGO", 8, 1)}},
      {"one full node", {CharacterTag("CODIGO", 8, KeysPerNode(8))}},
      {"one more than a full node", {CharacterTag("CODIGO", 8, KeysPerNode(8) + 1)}},
      {"three levels", {CharacterTag("NOMBRE", 30, 5000)}},
      {"one-byte keys", {CharacterTag("TURNO", 1, 300)}},
      {"widest keys, four levels", {CharacterTag("OBSERV", 100, 1000)}},
      {"numeric", {NumericTag("HORAS", 300)}},
      {"two tags", {CharacterTag("CODIGO", 8, 70), NumericTag("HORAS", 70)}},
      {"three tags, lower-case name", {CharacterTag("nombre", 30, 900), NumericTag("HORAS", 10), CharacterTag("VACIA", 5, 0)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Bytes file = BuildMdx("asigvalt", c.tags, kDate);
    std::vector<TagInfo> tags = ReadMdxTags(file);
    ASSERT_EQ(tags.size(), c.tags.size());
    for (std::size_t i = 0; i < tags.size(); ++i) {
      TagInfo expected = InfoOf(c.tags[i]);
      EXPECT_EQ(tags[i].name, expected.name);
      EXPECT_EQ(tags[i].expression, expected.expression);
      EXPECT_EQ(tags[i].keyType, expected.keyType);
      EXPECT_EQ(tags[i].keyLength, expected.keyLength);
      EXPECT_TRUE(SameKeys(ListOf(ReadMdxKeys(file, tags[i])), ListOf(c.tags[i].keys))) << tags[i].name;
    }
  }
}

TEST(MdxRoundTrip, TreesGrowALevelWhenANodeOverflows) {
  struct Case {
    int width;
    std::size_t count;
    int levels;
  } cases[] = {{8, 0, 1},
               {8, KeysPerNode(8), 1},
               {8, KeysPerNode(8) + 1, 2},
               {30, KeysPerNode(30) * (KeysPerNode(30) + 1), 2},
               {30, KeysPerNode(30) * (KeysPerNode(30) + 1) + 1, 3},
               {30, 5000, 3}};
  for (const Case& c : cases) {
    Bytes file = BuildMdx("ASIGVALT", {CharacterTag("CODIGO", c.width, c.count)}, kDate);
    EXPECT_EQ(OuterLeaf(file, 0, false).second, c.levels) << c.width << " x " << c.count;
    EXPECT_EQ(OuterLeaf(file, 0, true).second, c.levels) << c.width << " x " << c.count;
  }
}

// The highest key under the node at `page`, checking on the way that every separator of an interior node
// is the highest key of the subtree on its left.
std::string HighestKeyChecked(const Bytes& file, std::size_t tag, std::uint32_t page, int keyLength) {
  std::size_t node = std::size_t{page} * 512;
  std::size_t itemLength = ItemLength(file, tag);
  std::size_t count = U32(file, node);
  auto keyOf = [&](std::size_t i) {
    return std::string(reinterpret_cast<const char*>(file.data()) + node + 8 + i * itemLength + 4,
                       static_cast<std::size_t>(keyLength));
  };
  if (IsLeaf(file, node, itemLength)) return count == 0 ? "" : keyOf(count - 1);
  for (std::size_t i = 0; i < count; ++i) {
    EXPECT_EQ(keyOf(i), HighestKeyChecked(file, tag, Pointer(file, node, itemLength, i), keyLength))
        << "separator " << i << " of page " << page;
  }
  return HighestKeyChecked(file, tag, Pointer(file, node, itemLength, count), keyLength);
}

TEST(MdxRoundTrip, SeparatorsAreTheHighestKeyOnTheirLeft) {
  std::vector<TagToWrite> tags = {CharacterTag("NOMBRE", 30, 5000), NumericTag("HORAS", 300),
                                  CharacterTag("OBSERV", 100, 1000)};
  Bytes file = BuildMdx("ASIGVALT", tags, kDate);
  for (std::size_t i = 0; i < tags.size(); ++i) {
    EXPECT_EQ(HighestKeyChecked(file, i, U32(file, TagHeader(file, i)), tags[i].keyLength), tags[i].keys.back().bytes);
  }
}

TEST(MdxRoundTrip, AMissingTagIsAnError) {
  Bytes file = BuildMdx("ASIGVALT", {CharacterTag("CODIGO", 8, 3)}, kDate);
  EXPECT_THROW(ReadMdxKeys(file, {"NOMBRE", "NOMBRE", 'C', 8}), MdxFormatError);
}

// ---------------------------------------------------------------------------------------------------

TEST(MdxBookkeeping, HeaderFieldsAgreeWithTheTreesWritten) {
  std::vector<TagToWrite> tags = {CharacterTag("NOMBRE", 30, 1000), NumericTag("HORAS", 100),
                                  CharacterTag("VACIA", 5, 0)};
  Bytes file = BuildMdx("asigvalt", tags, kDate);
  ASSERT_EQ(file.size() % 512, 0u);
  EXPECT_EQ(U32(file, 32), file.size() / 512) << "total pages";
  EXPECT_EQ(U16(file, 28), 3u) << "tags in use";
  EXPECT_EQ(std::to_integer<int>(file[30]), 4) << "next tag number";
  EXPECT_EQ(std::to_integer<int>(file[1]), 126);
  EXPECT_EQ(std::to_integer<int>(file[2]), 3);
  EXPECT_EQ(std::to_integer<int>(file[3]), 4);
  auto baseName = [](const Bytes& f) { return std::string(reinterpret_cast<const char*>(f.data()) + 4, 16); };
  EXPECT_EQ(baseName(file), std::string("ASIGVALT\0\0\0\0\0\0\0\0", 16));
  EXPECT_EQ(baseName(BuildMdx("asignaturas_valencia", {}, kDate)), "ASIGNATURAS_VALE");

  for (std::size_t i = 0; i < tags.size(); ++i) {
    SCOPED_TRACE(tags[i].name);
    std::size_t header = TagHeader(file, i);
    std::uint32_t headerPage = U32(file, TagEntry(i));
    std::uint32_t nextHeaderPage = i + 1 < tags.size() ? U32(file, TagEntry(i + 1)) : U32(file, 32);
    EXPECT_EQ(U32(file, header + 4), nextHeaderPage - headerPage - 2) << "pages allocated";
    EXPECT_GT(U32(file, header), headerPage) << "root after the tag header";
    EXPECT_LT(U32(file, header), nextHeaderPage) << "root inside the tag's own pages";
    EXPECT_EQ(U32(file, header + 248), OuterLeaf(file, i, false).first) << "first leaf";
    EXPECT_EQ(U32(file, header + 252), OuterLeaf(file, i, true).first) << "last leaf";
    EXPECT_EQ(U16(file, header + 14), KeysPerNode(tags[i].keyLength)) << "keys per node";
  }
}

TEST(MdxBookkeeping, TagTableThreadsFormASearchTreeOnTheNames) {
  struct Threads {
    int left, right, parent;
    bool operator==(const Threads&) const = default;
  };
  struct Case {
    std::vector<std::string> names;
    std::vector<Threads> threads;
  } cases[] = {
      {{"NOMBRE"}, {{0, 0, 0}}},
      {{"NOMBRE", "CODIGO", "TURNO"}, {{2, 3, 0}, {0, 0, 1}, {0, 0, 1}}},
      {{"A", "B", "C"}, {{0, 2, 0}, {0, 3, 1}, {0, 0, 2}}},
      {{"M", "C", "T", "E", "A"}, {{2, 3, 0}, {5, 4, 1}, {0, 0, 1}, {0, 0, 2}, {0, 0, 2}}},
      {{"m", "b", "Z"}, {{2, 3, 0}, {0, 0, 1}, {0, 0, 1}}},  // compared as stored, in upper case
  };
  for (const Case& c : cases) {
    std::vector<TagToWrite> tags;
    for (const std::string& name : c.names) tags.push_back(CharacterTag(name, 4, 1));
    Bytes file = BuildMdx("ASIGVALT", tags, kDate);
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      Threads stored{std::to_integer<int>(file[TagEntry(i) + 16]), std::to_integer<int>(file[TagEntry(i) + 17]),
                     std::to_integer<int>(file[TagEntry(i) + 18])};
      EXPECT_TRUE(stored == c.threads[i]) << c.names[0] << "... entry " << i + 1 << ": " << stored.left << " "
                                          << stored.right << " " << stored.parent;
    }
  }
}

TEST(MdxBuild, RefusesTagsItCannotWrite) {
  struct Case {
    const char* label;
    std::function<void(std::vector<TagToWrite>&)> spoil;
  } cases[] = {
      {"48 tags", [](auto& tags) { for (int i = 0; i < 47; ++i) tags.push_back(CharacterTag("T" + std::to_string(i), 4, 0)); }},
      {"empty name", [](auto& tags) { tags[0].name = ""; }},
      {"11-character name", [](auto& tags) { tags[0].name = "NOMBRELARGO"; }},
      {"same name twice, any case", [](auto& tags) { tags[1].name = "codigo"; }},
      {"no expression", [](auto& tags) { tags[0].expression = ""; }},
      {"date key", [](auto& tags) { tags[0].keyType = 'D'; }},
      {"character key of 101", [](auto& tags) { tags[0] = CharacterTag("CODIGO", 101, 1); }},
      {"character key of 0", [](auto& tags) { tags[0].keyLength = 0; }},
      {"numeric key of 8", [](auto& tags) { tags[1].keyLength = 8; }},
      {"key shorter than the tag's", [](auto& tags) { tags[0].keys[0].bytes.pop_back(); }},
      {"record 0", [](auto& tags) { tags[1].keys[0].record = 0; }},
  };
  for (const Case& c : cases) {
    std::vector<TagToWrite> tags = {CharacterTag("CODIGO", 8, 2), NumericTag("HORAS", 2)};
    c.spoil(tags);
    EXPECT_THROW(BuildMdx("ASIGVALT", tags, kDate), MdxFormatError) << c.label;
  }
  EXPECT_THROW(BuildMdx("", {}, kDate), MdxFormatError);
  EXPECT_THROW(BuildMdx("ASIGVALT", {}, {1899, 12, 31}), MdxFormatError);

  std::vector<TagToWrite> mostTags;
  for (int i = 0; i < 47; ++i) mostTags.push_back(CharacterTag("T" + std::to_string(i), 4, 1));
  EXPECT_EQ(ReadMdxTags(BuildMdx("ASIGVALT", mostTags, kDate)).size(), 47u);
}

#ifndef _WIN32
// ---------------------------------------------------------------------------------------------------
// index_dump reads the .MDX on its own (no .DBF beside it), picks the format by the extension, and takes
// tag names as stored (upper case).

class IndexDump : public testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v index_dump >/dev/null 2>&1") != 0) GTEST_SKIP() << "index_dump is not installed";
  }

  // index_dump's standard output for ASIGVALT.MDX holding `file`, given `arguments` after the file name
  // (a tag, "--start=VALUE TAG", or nothing for the tag names).
  std::string Dump(const Bytes& file, const std::string& arguments = "") {
    drive_.WriteHostFile("ASIGVALT.MDX", std::string(reinterpret_cast<const char*>(file.data()), file.size()));
    std::string command = "timeout 20 index_dump '" + drive_.Host("ASIGVALT.MDX") + "' " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("popen failed");
    std::string output;
    char buffer[65536];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, read);
    int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command << ": status " << status;
    return output;
  }

  TemporaryDrive drive_;
};

// index_dump's lines: the key at full width (numeric keys as their raw 12 bytes), a blank, the record.
KeyList ParseDump(const std::string& output, int keyLength) {
  KeyList list;
  auto width = static_cast<std::size_t>(keyLength);
  for (std::size_t at = 0; at < output.size();) {
    std::size_t end = output.find('\n', at + width);
    std::string record = end == std::string::npos ? "" : output.substr(at + width + 1, end - at - width - 1);
    if (record.empty() || output[at + width] != ' ' || record.find_first_not_of("0123456789") != std::string::npos) {
      ADD_FAILURE() << "unreadable line at byte " << at;
      break;
    }
    list.emplace_back(output.substr(at, width), static_cast<std::uint32_t>(std::stoul(record)));
    at = end + 1;
  }
  return list;
}

TEST_F(IndexDump, ListsEveryKeyInOurOrder) {
  std::vector<TagToWrite> tags = {CharacterTag("nombre", 30, 5000), NumericTag("HORAS", 300),
                                  CharacterTag("OBSERV", 100, 1000), CharacterTag("TURNO", 1, 200),
                                  CharacterTag("VACIA", 5, 0)};
  Bytes file = BuildMdx("ASIGVALT", tags, kDate);
  for (const TagToWrite& tag : tags) {
    std::string name = UpperCase(tag.name);
    EXPECT_TRUE(SameKeys(ParseDump(Dump(file, name), tag.keyLength), ListOf(tag.keys))) << name;
  }
}

// index_dump --start descends through the separators to the first key not below the value given.
TEST_F(IndexDump, SearchesThroughOurSeparators) {
  TagToWrite tag = CharacterTag("OBSERV", 100, 400);  // nine keys a node: three levels
  Bytes file = BuildMdx("ASIGVALT", {tag}, kDate);
  for (std::string start : {"A", "K000000", "K000004", "K0000045", "K000013", "K000058", "K000100", "K000142",
                            "K000187", "K000199"}) {
    std::string padded = start;
    padded.resize(100, ' ');
    auto first = std::find_if(tag.keys.begin(), tag.keys.end(), [&](const Key& key) { return key.bytes >= padded; });
    KeyList listed = ParseDump(Dump(file, "--start=" + start + " OBSERV"), 100);
    ASSERT_FALSE(listed.empty()) << start;
    EXPECT_EQ(listed.front(), std::make_pair(first->bytes, first->record)) << start;
    EXPECT_EQ(listed.size(), static_cast<std::size_t>(tag.keys.end() - first)) << start;
  }
}

TEST_F(IndexDump, ListsTheTagNames) {
  Bytes file = BuildMdx("ASIGVALT", {CharacterTag("nombre", 30, 3), NumericTag("HORAS", 3), CharacterTag("CODIGO", 8, 0)}, kDate);
  EXPECT_EQ(Dump(file), "CODIGO\nHORAS\nNOMBRE\n");  // index_dump sorts them
}

#endif  // index_dump and its shell are Debian's: not in the Windows build

// ---------------------------------------------------------------------------------------------------

// The text of the MdxFormatError that reading the whole file raises; empty when it reads.
std::string ErrorOf(const Bytes& file) {
  try {
    ReadEverything(file);
  } catch (const MdxFormatError& error) {
    return error.what();
  }
  return "";
}

// A valid file to damage: a three-level character tree, a two-level numeric one and an empty tag.
class DamagedMdx : public testing::Test {
 protected:
  static constexpr int kWidth = 30;
  Bytes file_ = BuildMdx("ASIGVALT", {CharacterTag("NOMBRE", kWidth, 1000), NumericTag("HORAS", 100),
                                      CharacterTag("VACIA", 5, 0)}, kDate);

  std::uint32_t Pages() const { return static_cast<std::uint32_t>(file_.size() / 512); }
  std::size_t Root() const { return RootNode(file_, 0); }
  std::uint32_t RootPage() const { return U32(file_, TagHeader(file_, 0)); }
  // Item `i` of the character tree's root, and of the first node below it.
  std::size_t RootItem(std::size_t i) const { return Root() + 8 + i * ItemLength(file_, 0); }
  std::size_t SecondLevelItem(std::size_t i) const {
    return std::size_t{U32(file_, RootItem(0))} * 512 + 8 + i * ItemLength(file_, 0);
  }
  std::size_t FirstLeaf() const { return std::size_t{OuterLeaf(file_, 0, false).first} * 512; }
};

TEST_F(DamagedMdx, EachDamageIsReported) {
  ASSERT_EQ(ErrorOf(file_), "");
  ASSERT_EQ(OuterLeaf(file_, 0, false).second, 3);
  struct Case {
    const char* label;
    std::function<void(Bytes&)> spoil;
    const char* message;
  } cases[] = {
      {"no bytes", [](Bytes& f) { f.clear(); }, "demasiado corto"},
      {"cut inside the tag table", [](Bytes& f) { f.resize(1500); }, "demasiado corto"},
      {"cut inside a node", [](Bytes& f) { f.resize(f.size() - 700); }, "truncado"},
      {"cut, with the page total cut to match",
       [](Bytes& f) { f.resize(f.size() - 1024); PutU32(f, 32, static_cast<std::uint32_t>(f.size() / 512)); },
       "fuera del archivo"},
      {"version 3", [](Bytes& f) { f[0] = std::byte{3}; }, "versión"},
      {"block size not two pages", [](Bytes& f) { PutU16(f, 22, 512); }, "bloque"},
      {"48 tags in use", [](Bytes& f) { PutU16(f, 28, 48); }, "demasiadas etiquetas"},
      {"tag header past the end", [](Bytes& f) { PutU32(f, TagEntry(1), 0xFFFFFFFF); }, "fuera del archivo"},
      {"tag header inside the file header", [](Bytes& f) { PutU32(f, TagEntry(1), 2); }, "dentro de la cabecera"},
      {"tag table and tag header disagree on the type", [](Bytes& f) { f[TagEntry(1) + 20] = std::byte{'C'}; }, "tipo"},
      {"key length 0", [](Bytes& f) { PutU16(f, TagHeader(f, 0) + 12, 0); }, "longitud de clave"},
      {"more keys per node than a block holds", [](Bytes& f) { PutU16(f, TagHeader(f, 0) + 14, 29); }, "capacidad"},
      {"root past the end", [this](Bytes& f) { PutU32(f, TagHeader(f, 0), Pages() + 10); }, "fuera del archivo"},
      {"huge key count", [this](Bytes& f) { PutU32(f, Root(), 0xFFFFFFFF); }, "demasiadas claves"},
      {"one key more than a leaf holds",
       [this](Bytes& f) { PutU32(f, FirstLeaf(), static_cast<std::uint32_t>(KeysPerNode(kWidth) + 1)); },
       "demasiadas claves"},
      {"child pointing to its own node", [this](Bytes& f) { PutU32(f, RootItem(0), RootPage()); }, "vuelve"},
      {"child pointing to page 0", [this](Bytes& f) { PutU32(f, RootItem(0), 0); }, "dentro de la cabecera"},
      {"child pointing back to the root", [this](Bytes& f) { PutU32(f, SecondLevelItem(1), RootPage()); }, "vuelve"},
      {"two children sharing a leaf",
       [this](Bytes& f) { PutU32(f, SecondLevelItem(1), U32(f, SecondLevelItem(0))); }, "vuelve"},
      {"child pointing to the tag header",
       [this](Bytes& f) { PutU32(f, RootItem(0), U32(f, TagEntry(0))); }, "vuelve"},
      {"numeric root's last child past the end",
       [this](Bytes& f) { PutU32(f, RootNode(f, 1) + 8 + U32(f, RootNode(f, 1)) * 16, Pages() + 1); },
       "fuera del archivo"},
  };
  for (const Case& c : cases) {
    Bytes damaged = file_;
    c.spoil(damaged);
    std::string error = ErrorOf(damaged);
    EXPECT_NE(error.find(c.message), std::string::npos) << c.label << ": \"" << error << "\"";
  }
}

// Damages a few places, most of them where the structure lives (the header pages, the start of a
// block, a pointer-sized field set to a plausible page), and now and then cuts the file short.
void Damage(Bytes& file, std::mt19937& random) {
  auto below = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  for (std::size_t flips = 1 + below(4); flips > 0; --flips) {
    std::size_t blockStart = below(file.size() / 1024) * 1024;
    switch (below(4)) {
      case 0:
        file[below(file.size())] = static_cast<std::byte>(below(256));
        break;
      case 1:
        file[below(2048)] = static_cast<std::byte>(below(2) == 0 ? 0x00 : 0xFF);
        break;
      case 2:
        file[blockStart + below(32)] = static_cast<std::byte>(below(256));
        break;
      default:
        PutU32(file, blockStart + 4 * below(64), static_cast<std::uint32_t>(below(file.size() / 512 + 4)));
    }
  }
  if (below(8) == 0) file.resize(below(file.size() + 1));
}

TEST(DamagedMdxAtRandom, EndsInMdxFormatErrorOrInKeys) {
  const Bytes valid = BuildMdx("ASIGVALT", {CharacterTag("OBSERV", 100, 200), NumericTag("HORAS", 100),
                                            CharacterTag("VACIA", 5, 0)}, kDate);
  std::mt19937 random(20260304);
  for (int round = 0; round < 2000; ++round) {
    Bytes damaged = valid;
    Damage(damaged, random);
    try {
      ReadEverything(damaged);
    } catch (const MdxFormatError&) {
    } catch (const std::exception& error) {
      ADD_FAILURE() << "round " << round << ": " << error.what();
    }
  }
}

}  // namespace
