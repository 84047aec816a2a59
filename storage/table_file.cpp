#include "storage/table_file.h"

#include <algorithm>

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
  try {
    platform::File file = platform::File::OpenExisting(SiblingPath(dataPath, ".MDX"), platform::Access::kRead,
                                                       platform::Share::kDenyNone);
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
    if (error.code() == platform::kSharingViolation) ThrowTableError("La tabla está en uso", path);
    ThrowFileError(error, path);
  }
}

}  // namespace

void ThrowTableError(const std::string& what, const std::string& path) { throw DatabaseError(what + ": " + path); }

void ThrowFileError(const platform::FileError& error, const std::string& path) {
  throw DatabaseError(std::string(error.what()) + ": " + path);
}

std::string SiblingPath(const std::string& dataPath, std::string_view extension) {
  std::string_view name = platform::FileNamePart(dataPath);
  std::size_t dot = name.find('.');
  std::size_t cut = dataPath.size() - name.size() + (dot == std::string_view::npos ? name.size() : dot);
  return dataPath.substr(0, cut) + std::string(extension);
}

std::shared_ptr<TableData> TableFile::Load(const std::string& path, const platform::File& file) {
  auto data = std::make_shared<TableData>();
  data->path = path;
  platform::File::Stamp stamp;
  try {
    std::vector<std::byte> prefix(dbf::kPrefixLength);
    prefix.resize(file.ReadAt(0, prefix));
    data->header.resize(dbf::HeaderLengthOf(prefix));
    if (file.ReadAt(0, data->header) < data->header.size()) throw dbf::DbfFormatError("la cabecera está incompleta");
    data->layout = dbf::ParseHeader(data->header);
    // Every record the header counts must be in the file; the end marker after them may be missing, and
    // bytes past them (another program's leftovers) are not read.
    stamp = file.CurrentStamp();
    std::uint64_t recordsEnd = std::uint64_t{data->layout.headerLength} +
                               std::uint64_t{data->layout.recordCount} * data->layout.recordLength;
    if (recordsEnd > stamp.size) throw dbf::DbfFormatError("el archivo es más corto de lo que indica la cabecera");
  } catch (const dbf::DbfFormatError& error) {
    ThrowTableError(std::string("La tabla está dañada (") + error.what() + ")", path);
  }
  data->recordCount = data->layout.recordCount;
  data->records.resize(std::size_t{data->recordCount} * data->layout.recordLength);
  file.ReadAt(data->layout.headerLength, data->records);
  data->codePage = &CodePage::ForLanguageDriver(data->layout.languageDriver);
  data->tags = TagsOf(path, *data);
  data->stamp = stamp;
  data->stampKnown = true;
  return data;
}

TableFile::TableFile(Engine& engine, std::string path, bool exclusive) : engine_(engine), path_(std::move(path)) {
  platform::Share share = exclusive ? platform::Share::kExclusive : platform::Share::kDenyNone;
  try {
    path_ = platform::FullPath(path_).Text();
    try {
      file_ = platform::File::OpenExisting(path_, platform::Access::kReadWrite, share);
    } catch (const platform::FileError& error) {
      if (error.code() != platform::kAccessDenied) throw;
      file_ = platform::File::OpenExisting(path_, platform::Access::kRead, share);
      readOnly_ = true;
    }
    data_ = engine_.Share(path_, file_);
  } catch (const platform::FileError& error) {
    switch (error.code()) {
      case platform::kFileNotFound:
      case platform::kPathNotFound: ThrowTableError("La tabla no existe", path_);
      case platform::kSharingViolation: ThrowTableError("La tabla está en uso", path_);
      default: ThrowFileError(error, path_);
    }
  }
  ++data_->users;
  today_ = platform::Today();
}

TableFile::~TableFile() {
  --data_->users;
  if (!wrote_) return;
  try {
    data_->stamp = file_.CurrentStamp();
    data_->stampKnown = true;
  } catch (const platform::FileError&) {
  }
}

void TableFile::RequireWritable() const {
  if (readOnly_) ThrowTableError("La tabla es de sólo lectura", path_);
}

void TableFile::RememberWrite() {
  data_->stampKnown = false;
  wrote_ = true;
}

void TableFile::WriteHeaderPrefix() {
  dbf::StampHeader(data_->header, data_->recordCount, today_);
  // Through a view of the file's start: one system call per appended record (its own write), not two. The
  // view is asked for at each write, as Empty's truncation ends it.
  std::span<std::byte> start = file_.MapStart(dbf::kStampedLength);
  std::copy_n(data_->header.begin(), dbf::kStampedLength, start.begin());
}

void TableFile::Update(std::uint32_t recordNumber, std::span<const std::byte> record) {
  RequireWritable();
  const dbf::Layout& layout = data_->layout;
  try {
    file_.WriteAt(layout.headerLength + std::uint64_t{recordNumber - 1} * layout.recordLength,
                  record.first(layout.recordLength));
    data_->Store(recordNumber, record);
    if (!wrote_) WriteHeaderPrefix();
  } catch (const platform::FileError& error) {
    ThrowFileError(error, path_);
  }
  RememberWrite();
}

std::uint32_t TableFile::Append(std::span<const std::byte> record) {
  RequireWritable();
  const dbf::Layout& layout = data_->layout;
  appended_.assign(record.begin(), record.begin() + layout.recordLength);
  appended_.push_back(dbf::kEndOfFile);
  std::uint32_t number = 0;
  try {
    file_.WriteAt(layout.headerLength + std::uint64_t{data_->recordCount} * layout.recordLength, appended_);
    number = data_->Add(record);
    WriteHeaderPrefix();
  } catch (const platform::FileError& error) {
    ThrowFileError(error, path_);
  }
  RememberWrite();
  return number;
}

void TableFile::Empty() {
  RequireWritable();
  try {
    data_->Clear();
    WriteHeaderPrefix();
    file_.Truncate(data_->layout.headerLength);
    file_.WriteAt(data_->layout.headerLength, std::span(&dbf::kEndOfFile, 1));
  } catch (const platform::FileError& error) {
    ThrowFileError(error, path_);
  }
  RememberWrite();
}

void TableFile::WriteIndexFileIfStale() {
  if (!data_->indexFileStale || data_->tags.empty() || readOnly_) return;
  WriteTableFile(SiblingPath(path_, ".MDX"), IndexFileBytes(*data_));
  data_->indexFileStale = false;
}

std::optional<std::string> TableFile::ReadMemo(std::uint32_t block) const {
  auto kind = memo::KindOfVersion(data_->layout.version);
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
