// The dBase IV production index file (.MDX) as bytes: building one from sorted keys, and reading back its
// tags and keys. No file access: callers hand over and receive whole files as byte vectors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "util/date.h"

namespace storage::mdx {

// A damaged or unreadable .MDX, or tags that BuildMdx cannot write; what() says what is wrong, in Spanish.
class MdxFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One key of a tag: the key bytes (exactly keyLength bytes: for 'C' the field's stored bytes, blank
// padded; for 'N' the 12-byte BCD of NumericKey) and the 1-based record number in the .DBF.
struct Key {
  std::string bytes;
  std::uint32_t record = 0;
};

// One tag to write. `keys` must already be in index order (character keys: ascending bytes, numeric keys:
// ascending value; equal keys by ascending record number).
struct TagToWrite {
  std::string name;        // tag name; written upper case, at most 10 characters
  std::string expression;  // the key expression: the indexed field's name
  char keyType = 'C';      // 'C' or 'N'
  int keyLength = 0;       // 'C': the field's width (1-100); 'N': 12
  std::vector<Key> keys;
};

// The whole .MDX file for a table whose .DBF base name is `dbfBaseName` (e.g. "ASIGVALT"; stored upper case,
// cut to 16 characters), with one tag per entry of `tags` in that order (at most 47, names unique).
// Nodes are 1024-byte blocks, as dBase IV writes them. `date` (1900-2155) is stored as the creation and
// last-update date.
// Throws MdxFormatError for a tag it cannot write (bad name, key type or length, record number 0) or a date
// out of range.
std::vector<std::byte> BuildMdx(const std::string& dbfBaseName, const std::vector<TagToWrite>& tags,
                                util::Date date);

// What a reader needs to know of a tag.
struct TagInfo {
  std::string name;        // as stored (upper case)
  std::string expression;  // as stored, without trailing blanks
  char keyType = 'C';
  int keyLength = 0;
};

// The tags listed in a .MDX file, in tag-table order. Throws MdxFormatError for anything that is not a
// well-formed dBase IV .MDX header and tag table (never reads outside `file`).
std::vector<TagInfo> ReadMdxTags(std::span<const std::byte> file);

// The keys of the tag named `tag.name`, in stored order, walked from the tag's root page. Throws
// MdxFormatError on a damaged tree (bad page numbers, loops, key counts too large) without reading outside
// `file` and without looping forever.
std::vector<Key> ReadMdxKeys(std::span<const std::byte> file, const TagInfo& tag);

// The 12-byte dBase BCD key of a number: 0x34 + decimal exponent, (digits*4)|1 (+0x80 when negative),
// then up to 20 packed BCD digits, high nibble first. Zero is 34 01 00... The digits are the shortest
// decimal that reads back as `value` (0.1 stores 1); the count covers at least the integer digits (1000
// stores 4). Throws MdxFormatError for NaN, infinities and exponents the first byte cannot hold.
std::string NumericKey(double value);

}  // namespace storage::mdx
