#include "storage/table_file.h"

#include <algorithm>
#include <utility>

#include "storage/mdx_format.h"
#include "storage/memo_format.h"
#include "util/ascii.h"

namespace storage {
namespace {

std::vector<std::byte> ReadWholeFile(const platform::File& file) {
  std::vector<std::byte> bytes(file.Size());
  bytes.resize(file.ReadAt(0, bytes));
  return bytes;
}

// dBase IV keeps its production index in a .MDX; FoxPro's .CDX is not read.
bool MayHaveMdx(const dbf::Layout& layout) { return !layout.VisualFoxPro() && layout.version != 0xF5 && layout.version != 0xFB; }

std::optional<std::vector<mdx::TagInfo>> ReadIndexTags(const std::string& dataPath) {
  std::string indexPath = SiblingPath(dataPath, ".MDX");
  // A table marked as indexed often comes without its .MDX: asked first, a missing one costs no failed opening.
  if (!platform::FileExists(indexPath)) return std::nullopt;
  try {
    platform::File file = platform::File::OpenExisting(indexPath, platform::Access::kRead, platform::Share::kDenyNone);
    return mdx::ReadMdxTags(ReadWholeFile(file));
  } catch (const platform::FileError&) {
  } catch (const mdx::MdxFormatError&) {
  }
  return std::nullopt;
}

// The tags of the production index: those its .MDX lists, or, when the .MDX is missing or damaged, one per
// field that the data file marks as indexed.
std::vector<Tag> TagsOf(const std::string& path, TableData& data) {
  std::vector<Tag> tags;
  if (!MayHaveMdx(data.layout)) return tags;
  bool marked = (data.layout.productionIndexFlag & 1) != 0 ||
                std::any_of(data.layout.fields.begin(), data.layout.fields.end(), [](const dbf::Field& f) { return f.indexed; });
  if (!marked) return tags;
  if (auto listed = ReadIndexTags(path)) {
    for (const mdx::TagInfo& info : *listed) tags.push_back(Tag{info.name, data.FieldIndex(info.expression)});
    return tags;
  }
  for (std::size_t i = 0; i < data.layout.fields.size(); ++i) {
    if (data.layout.fields[i].indexed) tags.push_back(Tag{data.layout.fields[i].name, i});
  }
  return tags;
}

std::string KeyOf(const TableData& data, std::size_t field, std::uint32_t recordNumber) {
  const dbf::Field& descriptor = data.layout.fields[field];
  std::span<const std::byte> record = data.Record(recordNumber);
  if (descriptor.type != 'N' && descriptor.type != 'F') return std::string(dbf::FieldBytes(descriptor, record));
  double number = 0;
  try {
    dbf::Value value = dbf::DecodeField(descriptor, record);
    if (const double* stored = std::get_if<double>(&value)) number = *stored;
  } catch (const dbf::DbfFormatError&) {
  }
  return mdx::NumericKey(number);
}

std::string BaseNameOf(const std::string& path) {
  std::string name(platform::FileNamePart(path));
  return util::ToUpperAscii(name.substr(0, name.find('.')));
}

void WriteTableFile(const std::string& path, std::span<const std::byte> bytes) {
  try {
    platform::WriteWholeFile(path, bytes);
  } catch (const platform::FileError& error) {
    if (error.code() == platform::kSharingViolation) ThrowTableHeldElsewhere(path);
    ThrowFileError(error, path);
  }
}

}  // namespace

void ThrowTableError(const std::string& what, const std::string& path) { throw DatabaseError(what + ": " + path); }

void ThrowTableHeldElsewhere(const std::string& path) {
  throw DatabaseError("La tabla está en uso: " + path, platform::kSharingViolation, path);
}

void ThrowFileError(const platform::FileError& error, const std::string& path) {
  throw DatabaseError(std::string(error.what()) + ": " + path, error.code(), path);
}

std::string SiblingPath(const std::string& dataPath, std::string_view extension) {
  std::string_view name = platform::FileNamePart(dataPath);
  std::size_t dot = name.find('.');
  std::size_t cut = dataPath.size() - name.size() + (dot == std::string_view::npos ? name.size() : dot);
  return dataPath.substr(0, cut) + std::string(extension);
}

std::shared_ptr<TableData> TableFile::Load(const std::string& path, const platform::File& file,
                                           const platform::File::Stamp& stamp, bool withRecords) {
  auto data = std::make_shared<TableData>();
  data->path = path;
  try {
    std::vector<std::byte> prefix(dbf::kPrefixLength);
    prefix.resize(file.ReadAt(0, prefix));
    data->header.resize(dbf::HeaderLengthOf(prefix));
    if (file.ReadAt(0, data->header) < data->header.size()) throw dbf::DbfFormatError("la cabecera está incompleta");
    data->layout = dbf::ParseHeader(data->header);
    // Every record the header counts must be in the file; the end marker after them may be missing, and
    // bytes past them (another program's leftovers) are not read.
    std::uint64_t recordsEnd = std::uint64_t{data->layout.headerLength} +
                               std::uint64_t{data->layout.recordCount} * data->layout.recordLength;
    if (recordsEnd > stamp.size) throw dbf::DbfFormatError("el archivo es más corto de lo que indica la cabecera");
  } catch (const dbf::DbfUnreadableError& error) {
    ThrowTableError(std::string("No se puede leer la tabla (") + error.what() + ")", path);
  } catch (const dbf::DbfFormatError& error) {
    ThrowTableError(std::string("La tabla está dañada (") + error.what() + ")", path);
  }
  data->codePage = &CodePage::ForLanguageDriver(data->layout.languageDriver);
  data->tags = TagsOf(path, *data);
  if (!withRecords) return data;  // no records, and no stamp: they are not the file's
  data->recordCount = data->layout.recordCount;
  data->recordsInFile = data->recordCount;
  data->records.resize(std::size_t{data->recordCount} * data->layout.recordLength);
  file.ReadAt(data->layout.headerLength, data->records);
  data->stamp = stamp;
  data->stampKnown = true;
  return data;
}

// ---------------------------------------------------------------------------------------------------------
// The engine's hold on a file

void HeldTable::Open(const std::string& path, bool exclusive) {
  platform::Share share = exclusive ? platform::Share::kExclusive : platform::Share::kDenyNone;
  try {
    file_ = platform::File::OpenExisting(path, platform::Access::kReadWrite, share);
    readOnly_ = false;
  } catch (const platform::FileError& error) {
    if (error.code() != platform::kAccessDenied) throw;
    file_ = platform::File::OpenExisting(path, platform::Access::kRead, share);
    readOnly_ = true;
  }
  exclusive_ = exclusive;
}

void HeldTable::Refresh(const std::string& path, bool withRecords) {
  if (data && data->Unwritten()) return;
  platform::File::Stamp stamp = file_.CurrentStamp();
  if (data && data->stampKnown && data->stamp == stamp) return;
  data = TableFile::Load(path, file_, stamp, withRecords);
}

namespace {

// The records of `data` from number `first` to `last`, as stored.
std::span<const std::byte> RecordRun(const TableData& data, std::uint32_t first, std::uint32_t last) {
  std::size_t length = data.layout.recordLength;
  return std::span<const std::byte>(data.records).subspan((first - 1) * length, (last - first + 1) * length);
}

std::uint64_t PlaceOf(const TableData& data, std::uint32_t recordNumber) {
  return data.layout.headerLength + std::uint64_t{recordNumber - 1} * data.layout.recordLength;
}

// The changed records that the file holds, each run of consecutive numbers in one write.
void WriteChangedRecords(platform::File& file, TableData& data) {
  std::vector<std::uint32_t>& changed = data.changedRecords;
  std::sort(changed.begin(), changed.end());
  changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
  for (std::size_t i = 0; i < changed.size();) {
    std::size_t j = i + 1;
    while (j < changed.size() && changed[j] == changed[j - 1] + 1) ++j;
    file.WriteAt(PlaceOf(data, changed[i]), RecordRun(data, changed[i], changed[j - 1]));
    i = j;
  }
  changed.clear();
}

// The records past those the file holds, in one write, and the end marker after them.
void WriteAppendedRecords(platform::File& file, TableData& data) {
  if (data.recordCount == data.recordsInFile) return;
  file.WriteAt(PlaceOf(data, data.recordsInFile + 1), RecordRun(data, data.recordsInFile + 1, data.recordCount));
  file.WriteAt(PlaceOf(data, data.recordCount + 1), std::span(&dbf::kEndOfFile, 1));
  data.recordsInFile = data.recordCount;
}

}  // namespace

void HeldTable::Flush(const std::string& path) {
  if (!data || !data->Unwritten()) return;
  // The records first, the count that announces them last.
  try {
    WriteChangedRecords(file_, *data);
    WriteAppendedRecords(file_, *data);
    dbf::StampHeader(data->header, data->recordCount, platform::Today());
    file_.WriteAt(0, std::span<const std::byte>(data->header).first(dbf::kStampedLength));
    data->headerChanged = false;
    data->stamp = file_.CurrentStamp();
    data->stampKnown = true;
  } catch (const platform::FileError& error) {
    ThrowFileError(error, path);
  }
}

void HeldTable::Empty(const std::string& path) {
  try {
    data->Clear();
    dbf::StampHeader(data->header, 0, platform::Today());
    file_.WriteAt(0, std::span<const std::byte>(data->header).first(dbf::kStampedLength));
    file_.Truncate(data->layout.headerLength);
    file_.WriteAt(data->layout.headerLength, std::span(&dbf::kEndOfFile, 1));
    data->headerChanged = false;
    data->stamp = file_.CurrentStamp();
    data->stampKnown = true;
  } catch (const platform::FileError& error) {
    data->stampKnown = false;
    ThrowFileError(error, path);
  }
}

void HeldTable::Close() {
  file_ = platform::File();
  if (data && data->Unwritten()) data.reset();
}

// ---------------------------------------------------------------------------------------------------------
// A table object's opening

TableFile::TableFile(Engine& engine, std::string path, bool exclusive, bool withRecords)
    : engine_(engine), path_(std::move(path)), held_(&engine_.Hold(path_, exclusive, withRecords)) {}

TableFile::~TableFile() {
  if (held_) engine_.Leave(*held_, path_);
}

void TableFile::RequireWritable() const {
  if (held_->ReadOnly()) ThrowTableError("La tabla es de sólo lectura", path_);
}

void TableFile::Update(std::uint32_t recordNumber, std::span<const std::byte> record) {
  RequireWritable();
  Data().Store(recordNumber, record.first(Data().layout.recordLength));
}

std::uint32_t TableFile::Append(std::span<const std::byte> record) {
  RequireWritable();
  return Data().Add(record);
}

void TableFile::Empty() {
  RequireWritable();
  held_->Empty(path_);
}

void TableFile::Close(bool withIndex) {
  try {
    held_->Flush(path_);
    if (withIndex) WriteIndexFileIfStale();
  } catch (...) {
    engine_.Leave(*std::exchange(held_, nullptr), path_);
    throw;
  }
  engine_.Leave(*std::exchange(held_, nullptr), path_);
}

void TableFile::WriteIndexFileIfStale() {
  TableData& data = Data();
  if (!data.indexFileStale || data.tags.empty() || held_->ReadOnly()) return;
  WriteTableFile(SiblingPath(path_, ".MDX"), IndexFileBytes(data));
  data.indexFileStale = false;
}

std::optional<std::string> TableFile::ReadMemo(std::uint32_t block) const {
  auto kind = memo::KindOfVersion(Data().layout.version);
  if (!kind) return std::nullopt;
  if (!memoFile_) {
    try {
      platform::File file = platform::File::OpenExisting(SiblingPath(path_, memo::Extension(*kind)),
                                                         platform::Access::kRead, platform::Share::kDenyNone);
      memoFile_ = ReadWholeFile(file);
    } catch (const platform::FileError&) {
      memoFile_ = std::vector<std::byte>();
    }
  }
  return memo::MemoAt(*memoFile_, block, *kind);
}

std::vector<std::byte> IndexFileBytes(TableData& data) {
  std::vector<mdx::TagToWrite> tags;
  for (const Tag& tag : data.tags) {
    if (!tag.field) continue;
    const dbf::Field& field = data.layout.fields[*tag.field];
    bool numeric = field.type == 'N' || field.type == 'F';
    if (!numeric && field.length > 100) continue;  // longer than any dBase IV key
    mdx::TagToWrite written{util::ToUpperAscii(tag.name), field.name, numeric ? 'N' : 'C',
                            numeric ? 12 : static_cast<int>(field.length), {}};
    for (std::uint32_t number : data.Order(*tag.field)) written.keys.push_back({KeyOf(data, *tag.field, number), number});
    tags.push_back(std::move(written));
  }
  return mdx::BuildMdx(BaseNameOf(data.path), tags, platform::Today());
}

void WriteNewTable(const std::string& path, const std::vector<dbf::FieldSpec>& fields,
                   const std::vector<IndexDef>& indexes) {
  TableData data;
  data.path = path;
  data.header = dbf::BuildHeader(fields, kLanguageDriverOfNewTables, platform::Today(), !indexes.empty());
  data.layout = dbf::ParseHeader(data.header);
  std::vector<std::byte> bytes = data.header;
  bytes.push_back(dbf::kEndOfFile);
  WriteTableFile(path, bytes);
  std::string indexPath = SiblingPath(path, ".MDX");
  if (indexes.empty()) {
    platform::RemoveFile(indexPath);
    return;
  }
  for (const IndexDef& index : indexes) data.tags.push_back(Tag{index.name, data.FieldIndex(index.field)});
  WriteTableFile(indexPath, IndexFileBytes(data));
}

}  // namespace storage
