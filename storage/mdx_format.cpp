// The dBase IV production index (.MDX): writing a whole file from sorted keys, and reading back its tag
// table and the keys of a tag. Every read goes through a bounds-checked view, so a damaged file ends in
// MdxFormatError and never in a read outside the bytes.
#include "storage/mdx_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "storage/dbf_format.h"
#include "util/ascii.h"
#include "util/coding.h"

namespace storage::mdx {
namespace {

using util::Date;

constexpr std::size_t kPageSize = 512;
constexpr std::uint16_t kPagesPerBlock = 2;
constexpr std::size_t kBlockSize = kPageSize * kPagesPerBlock;
constexpr std::uint32_t kHeaderPages = 4;  // file header and tag table
constexpr std::size_t kTagTableOffset = 544;
constexpr std::size_t kTagEntryLength = 32;
constexpr std::size_t kTagSlots = 48;
constexpr std::size_t kMaxTags = 47;  // the 48th slot would run past page 3
constexpr std::size_t kMaxTagNameLength = 10;
constexpr std::size_t kBaseNameLength = 16;
constexpr std::size_t kPointerLength = 4;  // a page number or a record number
constexpr std::size_t kNodeHeaderLength = 8;
constexpr std::size_t kNodeTrailerLength = kPointerLength;  // the trailing child pointer
constexpr int kMaxCharacterKeyLength = 100;
constexpr int kNumericKeyLength = 12;
constexpr int kMaxStoredDigits = 20;
constexpr int kNumericExponentBias = 0x34;
constexpr std::uint8_t kKeyFormat = 0x10;
constexpr int kMaxTreeDepth = 32;
constexpr unsigned kVersion = 2;
constexpr unsigned kMarker = 0x1B;       // a byte that dBase IV sets in the file header and each tag header
constexpr unsigned kEntryMarker = 0x02;  // likewise in each tag-table entry

// Where the fields lie; the writer and the reader both go by these names.
// The file header, from the start of the file.
namespace file_at {
constexpr std::size_t kVersion = 0;
constexpr std::size_t kCreated = 1;  // date
constexpr std::size_t kBaseName = 4;  // kBaseNameLength bytes, NUL-padded
constexpr std::size_t kPagesPerBlock = 20;
constexpr std::size_t kBlockSize = 22;
constexpr std::size_t kProductionIndex = 24;
constexpr std::size_t kTagSlots = 25;
constexpr std::size_t kTagEntryLength = 26;
constexpr std::size_t kTagsInUse = 28;
constexpr std::size_t kNextTag = 30;
constexpr std::size_t kMarker = 31;
constexpr std::size_t kTotalPages = 32;
constexpr std::size_t kUpdated = 44;  // date
constexpr std::size_t kUnknownFlag = 529;  // 1 in the files of other writers; its meaning is not known
}  // namespace file_at

// A tag-table entry, from the entry's start.
namespace entry_at {
constexpr std::size_t kHeaderPage = 0;
constexpr std::size_t kName = 4;  // NUL-padded
constexpr std::size_t kKeyFormat = 15;
constexpr std::size_t kLeft = 16;  // the threads of the tree on the tag names
constexpr std::size_t kRight = 17;
constexpr std::size_t kParent = 18;
constexpr std::size_t kMarker = 19;
constexpr std::size_t kKeyType = 20;
}  // namespace entry_at

// A tag header, from the start of its block.
namespace tag_at {
constexpr std::size_t kRootPage = 0;
constexpr std::size_t kPages = 4;  // pages allocated to the tag's nodes
constexpr std::size_t kKeyFormat = 8;
constexpr std::size_t kKeyType = 9;
constexpr std::size_t kMarker = 11;
constexpr std::size_t kKeyLength = 12;
constexpr std::size_t kMaxKeys = 14;  // per node
constexpr std::size_t kItemLength = 18;
constexpr std::size_t kSerial = 20;
constexpr std::size_t kExpression = 24;  // NUL-terminated
constexpr std::size_t kHasFilter = 245;
constexpr std::size_t kHasKeys = 246;
constexpr std::size_t kFirstLeaf = 248;
constexpr std::size_t kLastLeaf = 252;
constexpr std::size_t kUpdated = 257;  // date
constexpr std::size_t kSingleField = 480;  // 1 when the key is a single field
}  // namespace tag_at

// A node, from the start of its block; each item is a pointer, then the key.
namespace node_at {
constexpr std::size_t kKeyCount = 0;
constexpr std::size_t kItems = kNodeHeaderLength;
}  // namespace node_at

// The key expression runs up to the has-filter flag, its NUL included.
constexpr std::size_t kMaxExpressionLength = tag_at::kHasFilter - tag_at::kExpression - 1;

// ---------------------------------------------------------------------------------------------------
// Writing

[[noreturn]] void Reject(const std::string& what) { throw MdxFormatError("No se puede escribir el índice: " + what); }

void PutU8(std::vector<std::byte>& file, std::size_t offset, unsigned value) {
  file[offset] = static_cast<std::byte>(value & 0xFF);
}

void PutU16(std::vector<std::byte>& file, std::size_t offset, std::size_t value) {
  util::EncodeFixed16(&file[offset], static_cast<std::uint16_t>(value));
}

void PutU32(std::vector<std::byte>& file, std::size_t offset, std::uint32_t value) {
  util::EncodeFixed32(&file[offset], value);
}

void PutText(std::vector<std::byte>& file, std::size_t offset, std::string_view text) {
  std::memcpy(file.data() + offset, text.data(), text.size());
}

void PutDate(std::vector<std::byte>& file, std::size_t offset, Date date) {
  dbf::EncodeHeaderDate(&file[offset], date);
}

std::size_t ItemLengthFor(std::size_t keyLength) { return (kPointerLength + keyLength + 3) / 4 * 4; }

std::size_t MaxKeysFor(std::size_t blockSize, std::size_t itemLength) {
  return (blockSize - kNodeHeaderLength - kNodeTrailerLength) / itemLength;
}

void CheckDate(Date date) {
  if (date.year < 1900 || date.year > 2155 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
    Reject("fecha fuera de rango");
  }
}

void CheckKeyShape(const TagToWrite& tag) {
  if (tag.keyType == 'C') {
    if (tag.keyLength < 1 || tag.keyLength > kMaxCharacterKeyLength) Reject("longitud de clave inválida en " + tag.name);
  } else if (tag.keyType == 'N') {
    if (tag.keyLength != kNumericKeyLength) Reject("longitud de clave inválida en " + tag.name);
  } else {
    Reject("tipo de clave no admitido en " + tag.name);
  }
}

void CheckKeys(const TagToWrite& tag) {
  for (const Key& key : tag.keys) {
    if (key.bytes.size() != static_cast<std::size_t>(tag.keyLength)) Reject("clave de longitud incorrecta en " + tag.name);
    if (key.record == 0) Reject("número de registro 0 en " + tag.name);
  }
}

void CheckTag(const TagToWrite& tag) {
  if (tag.name.empty() || tag.name.size() > kMaxTagNameLength) Reject("nombre de etiqueta inválido: " + tag.name);
  if (tag.expression.empty() || tag.expression.size() > kMaxExpressionLength) {
    Reject("expresión inválida en " + tag.name);
  }
  CheckKeyShape(tag);
  CheckKeys(tag);
}

void CheckTags(const std::string& dbfBaseName, const std::vector<TagToWrite>& tags) {
  if (dbfBaseName.empty()) Reject("falta el nombre de la tabla");
  if (tags.size() > kMaxTags) Reject("demasiadas etiquetas");
  std::vector<std::string> names;
  for (const TagToWrite& tag : tags) {
    CheckTag(tag);
    names.push_back(util::ToUpperAscii(tag.name));
  }
  std::sort(names.begin(), names.end());
  if (std::adjacent_find(names.begin(), names.end()) != names.end()) Reject("etiqueta repetida");
}

// A node already written: its page and the highest key below it.
struct WrittenNode {
  std::uint32_t page;
  const std::string* highestKey;
};

struct NodeShape {
  std::size_t keyLength;
  std::size_t itemLength;
  std::size_t maxKeys;
};

// Appends one zeroed block at the end of the file and gives its page.
std::uint32_t AppendBlock(std::vector<std::byte>& file) {
  auto page = static_cast<std::uint32_t>(file.size() / kPageSize);
  file.resize(file.size() + kBlockSize);
  return page;
}

std::size_t OffsetOfPage(std::uint32_t page) { return static_cast<std::size_t>(page) * kPageSize; }

void PutItem(std::vector<std::byte>& file, std::size_t node, const NodeShape& shape, std::size_t index,
             std::uint32_t pointer, const std::string& key) {
  std::size_t item = node + node_at::kItems + index * shape.itemLength;
  PutU32(file, item, pointer);
  PutText(file, item + kPointerLength, key);
}

// Sizes of the fewest groups of at most `capacity` that hold `count` items, as even as can be
// (one empty group when there is nothing).
std::vector<std::size_t> EvenGroupSizes(std::size_t count, std::size_t capacity) {
  std::size_t groups = std::max<std::size_t>(1, (count + capacity - 1) / capacity);
  std::vector<std::size_t> sizes(groups, count / groups);
  for (std::size_t i = 0; i < count % groups; ++i) ++sizes[i];
  return sizes;
}

std::vector<WrittenNode> WriteLeaves(std::vector<std::byte>& file, const NodeShape& shape,
                                     const std::vector<Key>& keys) {
  static const std::string kNoKey;  // the highest key of the one empty leaf of an empty tag
  std::vector<WrittenNode> leaves;
  std::size_t next = 0;
  for (std::size_t size : EvenGroupSizes(keys.size(), shape.maxKeys)) {
    std::uint32_t page = AppendBlock(file);
    std::size_t node = OffsetOfPage(page);
    PutU32(file, node + node_at::kKeyCount, static_cast<std::uint32_t>(size));
    for (std::size_t i = 0; i < size; ++i) PutItem(file, node, shape, i, keys[next + i].record, keys[next + i].bytes);
    next += size;
    leaves.push_back({page, size == 0 ? &kNoKey : &keys[next - 1].bytes});
  }
  return leaves;
}

// One interior node over `count` children from `first`: each child but the last with its highest key as
// the separator, the last one as the trailing pointer.
WrittenNode WriteInteriorNode(std::vector<std::byte>& file, const NodeShape& shape, const WrittenNode* first,
                              std::size_t count) {
  std::uint32_t page = AppendBlock(file);
  std::size_t node = OffsetOfPage(page);
  std::size_t keys = count - 1;
  PutU32(file, node + node_at::kKeyCount, static_cast<std::uint32_t>(keys));
  for (std::size_t i = 0; i < keys; ++i) PutItem(file, node, shape, i, first[i].page, *first[i].highestKey);
  PutU32(file, node + node_at::kItems + keys * shape.itemLength, first[keys].page);
  return {page, first[keys].highestKey};
}

std::vector<WrittenNode> WriteInteriorLevel(std::vector<std::byte>& file, const NodeShape& shape,
                                            const std::vector<WrittenNode>& children) {
  std::vector<WrittenNode> parents;
  std::size_t next = 0;
  for (std::size_t size : EvenGroupSizes(children.size(), shape.maxKeys + 1)) {
    parents.push_back(WriteInteriorNode(file, shape, &children[next], size));
    next += size;
  }
  return parents;
}

struct WrittenTree {
  std::uint32_t root;
  std::uint32_t firstLeaf;
  std::uint32_t lastLeaf;
  std::uint32_t pages;
};

// Writes the tree bottom-up at the end of the file: the leaves left to right, then each level above them.
WrittenTree WriteTree(std::vector<std::byte>& file, const NodeShape& shape, const std::vector<Key>& keys) {
  std::size_t start = file.size();
  std::vector<WrittenNode> level = WriteLeaves(file, shape, keys);
  WrittenTree tree{0, level.front().page, level.back().page, 0};
  while (level.size() > 1) level = WriteInteriorLevel(file, shape, level);
  tree.root = level.front().page;
  tree.pages = static_cast<std::uint32_t>((file.size() - start) / kPageSize);
  return tree;
}

void WriteTagHeader(std::vector<std::byte>& file, std::uint32_t headerPage, const TagToWrite& tag,
                    const NodeShape& shape, const WrittenTree& tree, Date date) {
  std::size_t header = OffsetOfPage(headerPage);
  PutU32(file, header + tag_at::kRootPage, tree.root);
  PutU32(file, header + tag_at::kPages, tree.pages);
  PutU8(file, header + tag_at::kKeyFormat, kKeyFormat);
  PutU8(file, header + tag_at::kKeyType, static_cast<unsigned char>(tag.keyType));
  PutU8(file, header + tag_at::kMarker, kMarker);
  PutU16(file, header + tag_at::kKeyLength, shape.keyLength);
  PutU16(file, header + tag_at::kMaxKeys, shape.maxKeys);
  PutU16(file, header + tag_at::kItemLength, shape.itemLength);
  PutU8(file, header + tag_at::kSerial, 1);
  PutText(file, header + tag_at::kExpression, tag.expression);
  PutU8(file, header + tag_at::kHasKeys, tag.keys.empty() ? 0 : 1);
  PutU32(file, header + tag_at::kFirstLeaf, tree.firstLeaf);
  PutU32(file, header + tag_at::kLastLeaf, tree.lastLeaf);
  PutDate(file, header + tag_at::kUpdated, date);
  PutU8(file, header + tag_at::kSingleField, 1);
}

// The tag header block and the tag's nodes, appended at the end; gives the tag header's page.
std::uint32_t WriteTag(std::vector<std::byte>& file, const TagToWrite& tag, Date date) {
  std::size_t keyLength = static_cast<std::size_t>(tag.keyLength);
  std::size_t itemLength = ItemLengthFor(keyLength);
  NodeShape shape{keyLength, itemLength, MaxKeysFor(kBlockSize, itemLength)};
  std::uint32_t headerPage = AppendBlock(file);
  WrittenTree tree = WriteTree(file, shape, tag.keys);
  WriteTagHeader(file, headerPage, tag, shape, tree, date);
  return headerPage;
}

// The left / right / parent threads of the tag table: a binary search tree on the names, built by
// inserting them in table order. Indexes are 1-based, 0 for none.
struct Threads {
  unsigned left = 0;
  unsigned right = 0;
  unsigned parent = 0;
};

std::vector<Threads> NameTreeThreads(const std::vector<std::string>& names) {
  std::vector<Threads> threads(names.size());
  for (std::size_t added = 1; added < names.size(); ++added) {
    std::size_t at = 0;
    for (;;) {
      unsigned& next = names[added] < names[at] ? threads[at].left : threads[at].right;
      if (next == 0) {
        next = static_cast<unsigned>(added + 1);
        threads[added].parent = static_cast<unsigned>(at + 1);
        break;
      }
      at = next - 1;
    }
  }
  return threads;
}

void WriteTagEntry(std::vector<std::byte>& file, std::size_t index, std::uint32_t headerPage,
                   const std::string& name, char keyType, const Threads& threads) {
  std::size_t entry = kTagTableOffset + index * kTagEntryLength;
  PutU32(file, entry + entry_at::kHeaderPage, headerPage);
  PutText(file, entry + entry_at::kName, name);
  PutU8(file, entry + entry_at::kKeyFormat, kKeyFormat);
  PutU8(file, entry + entry_at::kLeft, threads.left);
  PutU8(file, entry + entry_at::kRight, threads.right);
  PutU8(file, entry + entry_at::kParent, threads.parent);
  PutU8(file, entry + entry_at::kMarker, kEntryMarker);
  PutU8(file, entry + entry_at::kKeyType, static_cast<unsigned char>(keyType));
}

void WriteFileHeader(std::vector<std::byte>& file, const std::string& dbfBaseName, std::size_t tagCount,
                     Date date) {
  PutU8(file, file_at::kVersion, kVersion);
  PutDate(file, file_at::kCreated, date);
  PutText(file, file_at::kBaseName, util::ToUpperAscii(std::string_view(dbfBaseName).substr(0, kBaseNameLength)));
  PutU16(file, file_at::kPagesPerBlock, kPagesPerBlock);
  PutU16(file, file_at::kBlockSize, kBlockSize);
  PutU8(file, file_at::kProductionIndex, 1);
  PutU8(file, file_at::kTagSlots, kTagSlots);
  PutU8(file, file_at::kTagEntryLength, kTagEntryLength);
  PutU16(file, file_at::kTagsInUse, tagCount);
  PutU8(file, file_at::kNextTag, static_cast<unsigned>(tagCount + 1));
  PutU8(file, file_at::kMarker, kMarker);
  PutU32(file, file_at::kTotalPages, static_cast<std::uint32_t>(file.size() / kPageSize));
  PutDate(file, file_at::kUpdated, date);
  PutU8(file, file_at::kUnknownFlag, 1);
}

// ---------------------------------------------------------------------------------------------------
// Reading

[[noreturn]] void Damaged(const std::string& what) { throw MdxFormatError("Índice dañado: " + what); }

// The file's bytes, read only through bounds checks.
class Bytes {
 public:
  explicit Bytes(std::span<const std::byte> data) : data_(data) {}

  std::size_t Size() const { return data_.size(); }

  unsigned U8(std::size_t offset) const {
    Require(offset, 1);
    return std::to_integer<unsigned>(data_[offset]);
  }
  unsigned U16(std::size_t offset) const {
    Require(offset, 2);
    return util::DecodeFixed16(&data_[offset]);
  }
  std::uint32_t U32(std::size_t offset) const {
    Require(offset, 4);
    return util::DecodeFixed32(&data_[offset]);
  }

  std::string Text(std::size_t offset, std::size_t length) const {
    Require(offset, length);
    return std::string(reinterpret_cast<const char*>(data_.data()) + offset, length);
  }

  // The text from `offset` up to its first NUL, at most `length` bytes.
  std::string TextToNul(std::size_t offset, std::size_t length) const {
    std::string text = Text(offset, length);
    return text.substr(0, text.find('\0'));
  }

 private:
  void Require(std::size_t offset, std::size_t length) const {
    if (offset > data_.size() || length > data_.size() - offset) Damaged("lectura fuera del archivo");
  }

  std::span<const std::byte> data_;
};

struct FileLayout {
  std::size_t blockSize;
  std::size_t tagCount;
};

// What the reader needs of a tag beyond TagInfo: where its tree is and how its nodes are cut.
struct StoredTag {
  TagInfo info;
  std::uint32_t headerPage;
  std::uint32_t rootPage;
  std::size_t itemLength;
  std::size_t maxKeys;
};

FileLayout ReadFileHeader(const Bytes& file) {
  if (file.Size() < kHeaderPages * kPageSize) Damaged("archivo demasiado corto");
  if (file.U8(file_at::kVersion) != kVersion) Damaged("versión desconocida");
  unsigned pagesPerBlock = file.U16(file_at::kPagesPerBlock);
  if (pagesPerBlock < 1 || pagesPerBlock > 32 || file.U16(file_at::kBlockSize) != pagesPerBlock * kPageSize) {
    Damaged("tamaño de bloque inválido");
  }
  if (file.U8(file_at::kTagEntryLength) != kTagEntryLength) Damaged("tabla de etiquetas inválida");
  std::size_t tagCount = file.U16(file_at::kTagsInUse);
  if (tagCount > kMaxTags || tagCount > file.U8(file_at::kTagSlots)) Damaged("demasiadas etiquetas");
  if (static_cast<std::uint64_t>(file.U32(file_at::kTotalPages)) * kPageSize > file.Size()) Damaged("archivo truncado");
  return {pagesPerBlock * kPageSize, tagCount};
}

// The offset of the block at `page`, which must lie past the header pages and wholly inside the file.
std::size_t BlockOffset(const Bytes& file, const FileLayout& layout, std::uint32_t page) {
  if (page < kHeaderPages) Damaged("página " + std::to_string(page) + " dentro de la cabecera");
  std::uint64_t offset = static_cast<std::uint64_t>(page) * kPageSize;
  if (offset > file.Size() || layout.blockSize > file.Size() - offset) {
    Damaged("página " + std::to_string(page) + " fuera del archivo");
  }
  return static_cast<std::size_t>(offset);
}

bool IsKnownKeyType(unsigned type) { return type == 'C' || type == 'N' || type == 'D'; }

StoredTag ReadTag(const Bytes& file, const FileLayout& layout, std::size_t index) {
  std::size_t entry = kTagTableOffset + index * kTagEntryLength;
  StoredTag tag{};
  tag.info.name = file.TextToNul(entry + entry_at::kName, kMaxTagNameLength + 1);
  if (tag.info.name.empty()) Damaged("etiqueta sin nombre");
  tag.headerPage = file.U32(entry + entry_at::kHeaderPage);
  std::size_t header = BlockOffset(file, layout, tag.headerPage);
  unsigned keyType = file.U8(header + tag_at::kKeyType);
  if (!IsKnownKeyType(keyType) || keyType != file.U8(entry + entry_at::kKeyType)) {
    Damaged("tipo de clave inválido en " + tag.info.name);
  }
  tag.info.keyType = static_cast<char>(keyType);
  tag.info.keyLength = static_cast<int>(file.U16(header + tag_at::kKeyLength));
  tag.info.expression =
      util::TrimTrailingBlanks(file.TextToNul(header + tag_at::kExpression, kMaxExpressionLength + 1));
  tag.rootPage = file.U32(header + tag_at::kRootPage);
  tag.itemLength = file.U16(header + tag_at::kItemLength);
  tag.maxKeys = file.U16(header + tag_at::kMaxKeys);
  std::size_t keyLength = static_cast<std::size_t>(tag.info.keyLength);
  if (keyLength == 0 || tag.itemLength < keyLength + kPointerLength || tag.itemLength > layout.blockSize) {
    Damaged("longitud de clave inválida en " + tag.info.name);
  }
  if (tag.maxKeys == 0 || tag.maxKeys > MaxKeysFor(layout.blockSize, tag.itemLength)) {
    Damaged("capacidad de nodo inválida en " + tag.info.name);
  }
  return tag;
}

std::vector<StoredTag> ReadStoredTags(const Bytes& file, const FileLayout& layout) {
  std::vector<StoredTag> tags;
  for (std::size_t i = 0; i < layout.tagCount; ++i) tags.push_back(ReadTag(file, layout, i));
  return tags;
}

// A depth-first walk of one tag's tree. Each page is entered at most once and the depth is bounded, so
// a damaged tree with loops or shared nodes ends in an error.
class TreeWalk {
 public:
  TreeWalk(const Bytes& file, const FileLayout& layout, const StoredTag& tag)
      : file_(file), layout_(layout), tag_(tag), entered_(file.Size() / kPageSize + 1, false) {
    entered_[tag.headerPage] = true;
  }

  std::vector<Key> Keys() {
    Enter(tag_.rootPage, 0);
    return std::move(keys_);
  }

 private:
  void Enter(std::uint32_t page, int depth) {
    if (depth > kMaxTreeDepth) Damaged("árbol demasiado profundo en " + tag_.info.name);
    std::size_t node = BlockOffset(file_, layout_, page);
    if (entered_[page]) Damaged("el árbol de " + tag_.info.name + " vuelve a la página " + std::to_string(page));
    entered_[page] = true;
    std::size_t count = file_.U32(node + node_at::kKeyCount);
    if (count > tag_.maxKeys) Damaged("demasiadas claves en la página " + std::to_string(page));
    std::uint32_t trailing = file_.U32(ItemOffset(node, count));
    if (trailing == 0) {
      ReadLeaf(node, count);
    } else {
      for (std::size_t i = 0; i < count; ++i) Enter(file_.U32(ItemOffset(node, i)), depth + 1);
      Enter(trailing, depth + 1);
    }
  }

  void ReadLeaf(std::size_t node, std::size_t count) {
    std::size_t keyLength = static_cast<std::size_t>(tag_.info.keyLength);
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t item = ItemOffset(node, i);
      keys_.push_back({file_.Text(item + kPointerLength, keyLength), file_.U32(item)});
    }
  }

  std::size_t ItemOffset(std::size_t node, std::size_t index) const {
    return node + node_at::kItems + index * tag_.itemLength;
  }

  const Bytes& file_;
  const FileLayout& layout_;
  const StoredTag& tag_;
  std::vector<bool> entered_;
  std::vector<Key> keys_;
};

// ---------------------------------------------------------------------------------------------------
// Numeric keys

// A positive number as 0.digits × 10^exponent, with the fewest digits that read back as the same double.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

Decimal ShortestDecimal(double positive) {
  char text[64];
  auto [end, error] = std::to_chars(text, text + sizeof text, positive, std::chars_format::scientific);
  if (error != std::errc()) throw MdxFormatError("Número no válido para una clave");
  std::string_view written(text, static_cast<std::size_t>(end - text));
  std::size_t e = written.find('e');
  Decimal decimal;
  for (char c : written.substr(0, e)) {
    if (c != '.') decimal.digits += c;
  }
  decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
  std::string_view exponent = written.substr(e + 1);
  if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.exponent);
  decimal.exponent += 1;
  return decimal;
}

}  // namespace

std::vector<std::byte> BuildMdx(const std::string& dbfBaseName, const std::vector<TagToWrite>& tags, Date date) {
  CheckDate(date);
  CheckTags(dbfBaseName, tags);
  std::vector<std::byte> file(kHeaderPages * kPageSize);
  std::vector<std::string> names;
  for (const TagToWrite& tag : tags) names.push_back(util::ToUpperAscii(tag.name));
  std::vector<Threads> threads = NameTreeThreads(names);
  for (std::size_t i = 0; i < tags.size(); ++i) {
    std::uint32_t headerPage = WriteTag(file, tags[i], date);
    WriteTagEntry(file, i, headerPage, names[i], tags[i].keyType, threads[i]);
  }
  WriteFileHeader(file, dbfBaseName, tags.size(), date);
  return file;
}

std::vector<TagInfo> ReadMdxTags(std::span<const std::byte> file) {
  Bytes bytes(file);
  std::vector<TagInfo> tags;
  for (StoredTag& tag : ReadStoredTags(bytes, ReadFileHeader(bytes))) tags.push_back(std::move(tag.info));
  return tags;
}

std::vector<Key> ReadMdxKeys(std::span<const std::byte> file, const TagInfo& tag) {
  Bytes bytes(file);
  FileLayout layout = ReadFileHeader(bytes);
  for (const StoredTag& stored : ReadStoredTags(bytes, layout)) {
    if (stored.info.name == tag.name) return TreeWalk(bytes, layout, stored).Keys();
  }
  throw MdxFormatError("El índice no tiene la etiqueta " + tag.name);
}

std::string NumericKey(double value) {
  if (!std::isfinite(value)) throw MdxFormatError("Número no válido para una clave");
  std::string key(kNumericKeyLength, '\0');
  if (value == 0) {
    key[0] = static_cast<char>(kNumericExponentBias);
    key[1] = 0x01;
    return key;
  }
  Decimal decimal = ShortestDecimal(std::fabs(value));
  int biased = kNumericExponentBias + decimal.exponent;
  if (biased < 0 || biased > 0xFF) throw MdxFormatError("Número fuera del rango de una clave");
  int stored = std::min(kMaxStoredDigits, std::max(static_cast<int>(decimal.digits.size()), decimal.exponent));
  key[0] = static_cast<char>(biased);
  key[1] = static_cast<char>((stored * 4) | 0x01 | (value < 0 ? 0x80 : 0));
  for (std::size_t i = 0; i < decimal.digits.size(); ++i) {
    int digit = decimal.digits[i] - '0';
    char& packed = key[2 + i / 2];
    packed = static_cast<char>(packed | (i % 2 == 0 ? digit << 4 : digit));
  }
  return key;
}

}  // namespace storage::mdx
