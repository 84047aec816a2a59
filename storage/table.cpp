// The table object: addressing, opening, the cursor, pending records and the conversions of field values.
#include <algorithm>
#include <bit>
#include <exception>
#include <utility>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "storage/code_page.h"
#include "storage/conversions.h"
#include "storage/cursor.h"
#include "storage/storage.h"
#include "storage/table_file.h"
#include "util/ascii.h"

namespace storage {
namespace {

const char* const kNotEditing = "La fuente de datos no está en modo de edición o inserción";
const char* const kClosed = "No se puede realizar esta operación con la tabla cerrada";
const char* const kOpen = "No se puede realizar esta operación con la tabla abierta";

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

bool IsIntegerType(DataType type) { return type == DataType::ftSmallint || type == DataType::ftInteger; }

std::string FormatDate(const Date& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day, date.month, date.year);
  return text;
}

std::optional<Date> ParseDate(std::string_view text) {
  int day = 0;
  int month = 0;
  int year = 0;
  char end = 0;
  std::string copy(text);
  if (std::sscanf(copy.c_str(), "%d/%d/%d%c", &day, &month, &year, &end) != 3) return std::nullopt;
  std::vector<std::byte> probe(9, std::byte{' '});
  dbf::Field field{"F", 'D', 1, 8, 0, false, DataType::ftDate};
  dbf::EncodeDate(field, Date{year, month, day}, probe);
  try {
    dbf::Value value = dbf::DecodeField(field, probe);
    if (const Date* valid = std::get_if<Date>(&value)) return *valid;
  } catch (const dbf::DbfFormatError&) {
  }
  return std::nullopt;
}

std::optional<bool> ParseBoolean(std::string_view text) {
  std::string lower = util::ToLowerAscii(text);
  for (const char* yes : {"true", "t", "verdadero", "s", "si", "sí", "y"}) {
    if (lower == yes) return true;
  }
  for (const char* no : {"false", "f", "falso", "n", "no"}) {
    if (lower == no) return false;
  }
  return std::nullopt;
}

// "FIELD= 'constant'": the field's name and the constant with its doubled quotes undone.
std::optional<std::pair<std::string, std::string>> ParseFilter(std::string_view expression) {
  std::size_t equals = expression.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view name = util::TrimBlanks(expression.substr(0, equals));
  std::string_view rest = util::TrimBlanks(expression.substr(equals + 1));
  if (name.empty() || rest.size() < 2 || rest.front() != '\'' || rest.back() != '\'') return std::nullopt;
  std::string_view inside = rest.substr(1, rest.size() - 2);
  if (inside.find('\'') == std::string_view::npos) return std::make_pair(std::string(name), std::string(inside));
  std::string constant;
  for (std::size_t i = 0; i < inside.size(); ++i) {
    if (inside[i] == '\'') {
      if (i + 1 >= inside.size() || inside[i + 1] != '\'') return std::nullopt;
      ++i;
    }
    constant += inside[i];
  }
  return std::make_pair(std::string(name), constant);
}

dbf::FieldSpec PhysicalField(const FieldDef& def) {
  std::string name = util::ToUpperAscii(def.name);
  switch (def.dataType) {
    case DataType::ftString: return {name, 'C', static_cast<std::uint32_t>(def.size), 0, false};
    case DataType::ftSmallint: return {name, 'N', 6, 0, false};
    case DataType::ftInteger: return {name, 'N', 9, 0, false};
    case DataType::ftFloat: return {name, 'N', 19, 4, false};  // 19: the widest every dBase III reader takes
    case DataType::ftBoolean: return {name, 'L', 1, 0, false};
    case DataType::ftDate: return {name, 'D', 8, 0, false};
    default: throw DatabaseError("Tipo de campo no admitido: " + def.name);
  }
}

bool ValidFieldName(std::string_view name) {
  if (name.empty() || name.size() > 10) return false;
  for (char c : name) {
    bool valid = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!valid) return false;
  }
  return true;
}

// The whole numbers a field can take: those its width holds, within its type's range.
std::pair<double, double> RangeOf(const dbf::Field& field) {
  auto [lowest, highest] = dbf::WidthRange(field);
  if (field.dataType == DataType::ftSmallint) return {std::max(lowest, -32768.0), std::min(highest, 32767.0)};
  if (field.dataType == DataType::ftInteger) return {std::max(lowest, double{INT32_MIN}), std::min(highest, double{INT32_MAX})};
  return {lowest, highest};
}

// Stored bytes are looked at eight at a time, as one word whose lowest byte is the first (where the host
// stores words so; elsewhere byte by byte).
constexpr bool kWordsByByte = std::endian::native == std::endian::little;

std::uint64_t EightBytesAt(std::string_view bytes, std::size_t at) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes.data() + at, 8);
  return word;
}

// The top bit of each byte of `word` that is not 0, the others clear.
std::uint64_t NonzeroBytes(std::uint64_t word) {
  constexpr std::uint64_t kLowSevenBits = 0x7f7f7f7f7f7f7f7full;
  return (((word & kLowSevenBits) + kLowSevenBits) | word) & ~kLowSevenBits;
}

// Stored text without the blanks and NULs that pad it, looked at from its end: text fields are mostly padding.
std::string_view WithoutPadding(std::string_view stored) {
  if constexpr (kWordsByByte) {
    while (stored.size() >= 8) {
      // A blank and a NUL both become 0, nothing else does.
      std::uint64_t kept = NonzeroBytes(EightBytesAt(stored, stored.size() - 8) & 0xdfdfdfdfdfdfdfdfull);
      if (kept != 0) {  // the padding is above the highest byte kept
        stored.remove_suffix(static_cast<std::size_t>(std::countl_zero(kept)) / 8);
        return stored;
      }
      stored.remove_suffix(8);
    }
  }
  return util::TrimTrailingBlanksAndNuls(stored);
}

// Stored bytes without the blanks in front of them: numbers stand right-justified in their fields.
std::string_view WithoutLeadingBlanks(std::string_view stored) {
  if constexpr (kWordsByByte) {
    while (stored.size() >= 8) {
      std::uint64_t kept = NonzeroBytes(EightBytesAt(stored, 0) ^ 0x2020202020202020ull);
      if (kept != 0) {  // the blanks are below the lowest byte kept
        stored.remove_prefix(static_cast<std::size_t>(std::countr_zero(kept)) / 8);
        return stored;
      }
      stored.remove_prefix(8);
    }
  }
  return util::TrimLeadingIf(stored, util::IsBlank);
}

// A stored number made of blanks, an optional minus and up to nine digits (what integer fields hold),
// read in one pass without going through floating point; nothing for anything else.
std::optional<std::int32_t> PlainWholeNumber(std::string_view stored) {
  stored = WithoutLeadingBlanks(stored);
  std::size_t at = 0;
  bool negative = !stored.empty() && stored.front() == '-';
  if (negative) ++at;
  std::int32_t value = 0;
  std::size_t digits = 0;
  for (; at < stored.size(); ++at, ++digits) {
    unsigned digit = static_cast<unsigned char>(stored[at]) - unsigned{'0'};
    if (digit > 9) break;
    if (digits == 9) return std::nullopt;  // a tenth digit
    value = value * 10 + static_cast<std::int32_t>(digit);
  }
  if (digits == 0) return std::nullopt;
  for (; at < stored.size(); ++at) {
    if (!util::IsBlank(stored[at])) return std::nullopt;
  }
  return negative ? -value : value;
}

// The full Windows path of a table's data file; a path that cannot be one is the file layer's error.
std::string FullDataPath(const std::string& path) {
  try {
    return platform::FullPath(path).Text();
  } catch (const platform::FileError& error) {
    ThrowFileError(error, path);
  }
}

}  // namespace

// The field a caller names, found by where the name lies when it was named from there before: the path of
// every field read and written, kept short enough to be inlined.
[[gnu::always_inline]] inline std::size_t Table::FieldIndex(std::string_view field) const {
  if (auto known = spelledNames_.FindPlaced(field); known && Active()) [[likely]] return *known;
  return LookUpField(field);
}

// ---------------------------------------------------------------------------------------------------------
// Engine

Engine::Engine(char decimalSeparator) : decimalSeparator_(decimalSeparator) {}
Engine::Engine() : Engine(platform::UserDecimalSeparator()) {}

Engine::~Engine() {
  for (auto& [key, held] : tables_) {
    try {
      held->Flush(held->data ? held->data->path : std::string());
    } catch (const DatabaseError&) {
    }
    held->Close();
  }
}

namespace {

// A table file that could not be opened, in the table layer's words.
[[noreturn]] void ThrowOpeningError(const platform::FileError& error, const std::string& path) {
  switch (error.code()) {
    case platform::kFileNotFound:
    case platform::kPathNotFound: ThrowTableError("La tabla no existe", path);
    case platform::kSharingViolation: ThrowTableHeldElsewhere(path);
    default: ThrowFileError(error, path);
  }
}

}  // namespace

HeldTable& Engine::Hold(const std::string& path, bool exclusive, bool withRecords) {
  std::unique_ptr<HeldTable>& slot = tables_[platform::FoldedName(path)];
  if (!slot) slot = std::make_unique<HeldTable>();
  HeldTable& held = *slot;
  if (held.users > 0) {
    // Every opening of the file shares the engine's one: the sharing modes are settled here, as the file's
    // own lock settles them between processes.
    if (exclusive || held.exclusiveUser) ThrowTableError("La tabla está en uso", path);
  } else {
    try {
      if (held.IsOpen() && !held.IsStillAt(path)) {
        // Another program put another file in its place: what the engine has is of the old one.
        Settle(held, path, true);
        held.data.reset();
      }
      if (held.IsOpen() && held.OpenedExclusive() != exclusive) Settle(held, path, true);
      if (!held.IsOpen()) held.Open(path, exclusive);
      held.Refresh(path, withRecords);
    } catch (const platform::FileError& error) {
      held.Close();
      ThrowOpeningError(error, path);
    } catch (...) {
      held.Close();
      throw;
    }
  }
  ++held.users;
  held.exclusiveUser = held.exclusiveUser || exclusive;
  return held;
}

std::uint32_t Engine::CountRecords(const std::string& path) {
  auto found = tables_.find(platform::FoldedName(path));
  if (found != tables_.end() && found->second->users > 0) {
    const TableData& data = *found->second->data;
    std::uint32_t visible = 0;
    for (std::uint32_t record = 1; record <= data.recordCount; ++record) visible += !dbf::IsDeleted(data.Record(record));
    return visible;
  }
  platform::File file;
  try {
    file = platform::File::OpenExisting(path, platform::Access::kRead, platform::Share::kDenyNone);
  } catch (const platform::FileError& error) {
    ThrowOpeningError(error, path);
  }
  // The header checked as an opening checks it; then the records read a block at a time into one buffer,
  // only their deletion flags looked at.
  std::uint32_t visible = 0;
  try {
    const dbf::Layout layout = TableFile::Load(path, file, file.CurrentStamp(), false)->layout;
    const std::size_t length = layout.recordLength;
    if (length == 0) return 0;
    std::vector<std::byte> block(length * std::max<std::size_t>(1, (64 * 1024) / length));
    std::uint64_t at = layout.headerLength;
    const std::uint64_t end = at + std::uint64_t{layout.recordCount} * length;
    while (at < end) {
      std::span<std::byte> part(block.data(), static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), end - at)));
      if (file.ReadAt(at, part) < part.size()) ThrowTableError("La tabla está dañada (el archivo es más corto de lo que indica la cabecera)", path);
      for (std::size_t record = 0; record < part.size(); record += length) visible += part[record] != std::byte{'*'};
      at += part.size();
    }
  } catch (const platform::FileError& error) {
    ThrowFileError(error, path);
  }
  return visible;
}

void Engine::RequireNotInUse(const std::string& path) {
  auto held = tables_.find(platform::FoldedName(path));
  if (held != tables_.end() && held->second->users > 0) ThrowTableError("La tabla está en uso", path);
  try {
    platform::File::OpenExisting(path, platform::Access::kRead, platform::Share::kExclusive);
  } catch (const platform::FileError& error) {
    if (error.code() == platform::kSharingViolation) ThrowTableHeldElsewhere(path);
    ThrowFileError(error, path);
  }
}

void Engine::Leave(HeldTable& held, const std::string& path) {
  if (--held.users == 0) held.exclusiveUser = false;
  if (held.users > 0 || runs_ > 0) return;
  try {
    held.Flush(path);
  } catch (const DatabaseError&) {
  }
  held.Close();
}

void Engine::Settle(HeldTable& held, const std::string& path, bool letGo) {
  try {
    held.Flush(path);
  } catch (...) {
    if (letGo && held.users == 0) held.Close();
    throw;
  }
  if (letGo && held.users == 0) held.Close();
}

void Engine::Forget(const std::string& path) {
  auto found = tables_.find(platform::FoldedName(path));
  if (found == tables_.end() || found->second->users > 0) return;  // an open table: the new file is refused
  try {
    found->second->Flush(path);
  } catch (const DatabaseError&) {
  }
  tables_.erase(found);
}

void Engine::Release(std::string_view path) {
  std::string full = FullDataPath(std::string(path));
  auto found = tables_.find(platform::FoldedName(full));
  if (found != tables_.end()) Settle(*found->second, full, true);
}

void Engine::ReleaseAll() { SettleAll(true); }

void Engine::SettleAll(bool letGo) {
  std::exception_ptr first;
  for (auto& [key, held] : tables_) {
    try {
      Settle(*held, held->data ? held->data->path : std::string(), letGo);
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

Engine::Run::Run(Engine& engine) : engine_(engine) { ++engine_.runs_; }

Engine::Run::~Run() {
  try {
    Finish();
  } catch (const std::exception&) {
  }
}

void Engine::Run::Finish() {
  if (std::exchange(finished_, true)) return;
  // The outermost run lets go of the files; one inside another only puts the records in them.
  engine_.SettleAll(--engine_.runs_ == 0);
}

// ---------------------------------------------------------------------------------------------------------
// Addressing, creating, emptying

Table::Table(Engine& engine, std::string name) : engine_(engine), name_(std::move(name)) {}

Table::~Table() {
  try {
    Close();
  } catch (const std::exception&) {
  }
}

void Table::Fail(const std::string& message) const {
  throw DatabaseError(name_.empty() ? message : name_ + ": " + message);
}

void Table::RequireClosed() const {
  if (Active()) Fail(kOpen);
}

void Table::RequireOpen() const {
  if (!Active()) Fail(kClosed);
}

void Table::SetDatabaseName(std::string folder) {
  RequireClosed();
  databaseName_ = std::move(folder);
  fullPath_.clear();
}

void Table::SetTableName(std::string name) {
  RequireClosed();
  tableName_ = std::move(name);
  fullPath_.clear();
}

void Table::SetDbfExtensionImplied(bool implied) {
  RequireClosed();
  dbfExtensionImplied_ = implied;
  fullPath_.clear();
}

void Table::SetExclusive(bool exclusive) {
  RequireClosed();
  exclusive_ = exclusive;
}

void Table::ClearFieldDefs() { fieldDefs_.clear(); }

void Table::AddFieldDef(std::string name, DataType type, int size) { fieldDefs_.push_back({std::move(name), type, size}); }

void Table::ClearIndexDefs() { indexDefs_.clear(); }

void Table::AddIndexDef(std::string name, std::string field) { indexDefs_.push_back({std::move(name), std::move(field)}); }

// A path naming its drive and starting from its root: one whose full form the current folder does not change.
static bool StartsAtARoot(std::string_view path) {
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

const std::string& Table::FullDataFilePath() {
  if (!fullPath_.empty()) return fullPath_;
  std::string path = DataFilePath();
  std::string full = FullDataPath(path);
  if (!StartsAtARoot(path)) {
    fullPathOnce_ = std::move(full);
    return fullPathOnce_;
  }
  fullPath_ = std::move(full);
  return fullPath_;
}

std::string Table::DataFilePath() const {
  std::string name = tableName_;
  if (platform::FileNamePart(name).find('.') == std::string_view::npos && dbfExtensionImplied_) name += ".DBF";
  if (databaseName_.empty()) return name;
  char last = databaseName_.back();
  return databaseName_ + (last == '\\' || last == '/' || last == ':' ? "" : "\\") + name;
}

void Table::CreateTable() {
  RequireClosed();
  std::string path = FullDataPath(DataFilePath());
  if (fieldDefs_.empty()) ThrowTableError("La tabla no tiene campos", path);
  std::vector<dbf::FieldSpec> fields;
  for (const FieldDef& def : fieldDefs_) {
    if (!ValidFieldName(def.name)) ThrowTableError("Nombre de campo no válido '" + def.name + "'", path);
    if (def.dataType == DataType::ftString && (def.size < 1 || def.size > 254)) {
      ThrowTableError("Tamaño no válido para el campo '" + def.name + "'", path);
    }
    fields.push_back(PhysicalField(def));
  }
  for (const IndexDef& index : indexDefs_) {
    auto field = std::find_if(fields.begin(), fields.end(), [&](const dbf::FieldSpec& f) { return util::EqualsIgnoreAsciiCase(f.name, index.field); });
    if (field == fields.end()) Fail("No se encuentra el campo " + Quoted(index.field));
    if (field->type == 'C' && field->length > 100) {
      ThrowTableError("La clave del índice " + Quoted(index.name) + " pasa de 100 caracteres", path);
    }
    field->indexed = true;
  }
  engine_.Forget(path);
  WriteNewTable(path, fields, indexDefs_);
}

void Table::EmptyTable() {
  if (Active()) {
    SettlePending();
    file_->Empty();
    wrote_ = true;
    cursor_->First();
    return;
  }
  TableFile file(engine_, FullDataFilePath(), true, false);  // its records are not needed
  file.Empty();
  file.Close(true);
}

// ---------------------------------------------------------------------------------------------------------
// Opening and closing

void Table::SetIndexName(std::string indexName) {
  if (Active()) {
    std::optional<std::size_t> field;
    if (!indexName.empty()) field = ResolveIndex(indexName);
    cursor_->SetIndex(field);
    indexField_ = field;
  }
  indexName_ = std::move(indexName);
}

std::size_t Table::ResolveIndex(const std::string& indexName) const {
  TableData& data = *data_;
  auto tag = data.TagIndex(indexName);
  if (!tag) ThrowTableError("No existe el índice " + Quoted(indexName), file_->Path());
  if (!data.tags[*tag].field) ThrowTableError("La expresión del índice " + Quoted(indexName) + " no se admite", file_->Path());
  return *data.tags[*tag].field;
}

void Table::SetFilter(std::string expression) {
  filter_ = std::move(expression);
  if (Active() && filtered_) Refilter();
}

void Table::SetFiltered(bool filtered) {
  bool changed = filtered != filtered_;
  filtered_ = filtered;
  if (Active() && changed) Refilter();
}

void Table::Refilter() {
  SettlePending();
  cursor_->SetFilter(ResolveFilter());
  cursor_->First();
}

std::optional<RecordFilter> Table::ResolveFilter() {
  if (!filtered_ || filter_.empty()) return std::nullopt;
  auto parsed = ParseFilter(filter_);
  if (!parsed) ThrowTableError("Expresión de filtro no válida " + Quoted(filter_), file_->Path());
  TableData& data = *data_;
  auto field = data.FieldIndex(parsed->first);
  if (!field) Fail("No se encuentra el campo " + Quoted(parsed->first));
  std::vector<std::byte>& probe = Probe();
  dbf::EncodeText(data.layout.fields[*field], data.codePage->Encode(parsed->second), probe);
  return RecordFilter{*field, std::string(data.MatchKey(*field, probe))};
}

void Table::Open() {
  if (Active()) return;
  file_ = std::make_unique<TableFile>(engine_, FullDataFilePath(), exclusive_);
  data_ = &file_->Data();
  try {
    TakeShape();
    indexField_.reset();
    if (!indexName_.empty()) indexField_ = ResolveIndex(indexName_);
    cursor_ = std::make_unique<Cursor>(*data_, indexField_, ResolveFilter());
  } catch (...) {
    file_.reset();
    data_ = nullptr;
    throw;
  }
  mode_ = Mode::kBrowse;
  wrote_ = false;
  cursor_->First();
}

void Table::TakeShape() {
  // Opened again on the same records, the object keeps what it took from their layout.
  std::shared_ptr<TableData> data = file_->SharedData();
  if (shapeOf_.lock() == data) return;
  shapeOf_ = data;
  fields_.clear();
  for (const dbf::Field& field : data->layout.fields) {
    fields_.push_back({field.name, field.dataType, field.type, static_cast<int>(field.length), field.decimals});
  }
  blank_ = dbf::BlankRecord(data->layout);
  spelledNames_.Clear();
  integerRanges_.clear();
  for (const dbf::Field& field : data->layout.fields) integerRanges_.push_back(RangeOf(field));
}

std::vector<std::byte>& Table::Probe() {
  probe_.assign(blank_.begin(), blank_.end());
  return probe_;
}

void Table::Close() {
  if (!Active()) return;
  mode_ = Mode::kBrowse;
  pending_.clear();
  std::unique_ptr<TableFile> file = std::move(file_);
  data_ = nullptr;
  cursor_.reset();
  file->Close(wrote_);
}

bool Table::Active() const { return file_ != nullptr; }

// ---------------------------------------------------------------------------------------------------------
// Walking and pending records

void Table::SettlePending() {
  if (mode_ == Mode::kBrowse) return;
  if (pendingChanged_) {
    Post();
  } else {
    Cancel();
  }
}

void Table::First() {
  RequireOpen();
  SettlePending();
  cursor_->First();
}

void Table::Next() {
  RequireOpen();
  SettlePending();
  cursor_->Next();
}

bool Table::Eof() const {
  RequireOpen();
  return cursor_->Eof();
}

std::uint32_t Table::RecNo() const {
  RequireOpen();
  return mode_ == Mode::kAppend ? 0 : cursor_->Current();
}

std::uint32_t Table::RecordCount() const {
  RequireOpen();
  return data_->recordCount;
}

void Table::Append() {
  RequireOpen();
  SettlePending();
  pending_ = blank_;
  pendingChanged_ = false;
  mode_ = Mode::kAppend;
}

void Table::Edit() {
  RequireOpen();
  if (mode_ != Mode::kBrowse) return;
  if (cursor_->Current() == 0) return Append();
  std::span<const std::byte> record = data_->Record(cursor_->Current());
  pending_.assign(record.begin(), record.end());
  pendingChanged_ = false;
  mode_ = Mode::kEdit;
}

void Table::Post() {
  RequireOpen();
  if (mode_ == Mode::kBrowse) Fail(kNotEditing);
  if (mode_ == Mode::kAppend) {
    cursor_->MoveTo(file_->Append(pending_));
  } else {
    file_->Update(cursor_->Current(), pending_);
  }
  wrote_ = true;
  mode_ = Mode::kBrowse;
  pending_.clear();
}

void Table::Cancel() {
  RequireOpen();
  mode_ = Mode::kBrowse;
  pending_.clear();
}

bool Table::Modified() const { return mode_ != Mode::kBrowse && pendingChanged_; }

bool Table::Editing() const { return mode_ != Mode::kBrowse; }

bool Table::FindKey(std::string_view key) {
  RequireOpen();
  SettlePending();
  if (indexName_.empty()) ThrowTableError("No hay un índice activo", file_->Path());
  TableData& data = *data_;
  const dbf::Field& descriptor = data.layout.fields[*indexField_];
  std::vector<std::byte>& probe = Probe();
  if (descriptor.type == 'N' || descriptor.type == 'F') {
    auto number = ParseFloat(key, engine_.DecimalSeparator());
    if (!number || !dbf::EncodeNumber(descriptor, *number, probe)) return false;
  } else if (IsAscii(key)) {
    dbf::EncodeText(descriptor, key, probe);  // the same bytes in every code page here
  } else {
    dbf::EncodeText(descriptor, data.codePage->Encode(key), probe);
  }
  return cursor_->Find(probe);
}

void Table::GoToRecord(std::uint32_t recordNumber) {
  RequireOpen();
  SettlePending();
  if (!cursor_->Visible(recordNumber)) ThrowTableError("No existe el registro " + std::to_string(recordNumber), file_->Path());
  cursor_->MoveTo(recordNumber);
}

// ---------------------------------------------------------------------------------------------------------
// Reading fields

const std::vector<FieldInfo>& Table::Fields() const {
  RequireOpen();
  return fields_;
}

bool Table::HasField(std::string_view field) const {
  RequireOpen();
  return data_->FieldIndex(field).has_value();
}

std::size_t Table::LookUpField(std::string_view field) const {
  if (auto known = spelledNames_.Find(field); known && Active()) return *known;
  RequireOpen();
  auto index = data_->FieldIndex(field);
  if (!index) Fail("No se encuentra el campo " + Quoted(field));
  spelledNames_.Remember(field, *index);
  return *index;
}

std::span<const std::byte> Table::CurrentRecord() const {
  if (mode_ != Mode::kBrowse) return pending_;
  if (cursor_->Current() == 0) return blank_;
  return data_->Record(cursor_->Current());
}

const dbf::Field& Table::Descriptor(std::size_t index) const { return data_->layout.fields[index]; }

dbf::Value Table::Stored(std::size_t index) const {
  try {
    return dbf::DecodeField(Descriptor(index), CurrentRecord());
  } catch (const dbf::DbfFormatError& error) {
    ThrowTableError("Valor no válido en el campo " + Quoted(Descriptor(index).name) + " (" + error.what() + ")",
                    file_->Path());
  }
}

void Table::Unsupported(std::size_t index, const char* kind) const {
  ThrowTableError("No se puede acceder al campo " + Quoted(Descriptor(index).name) + " como " + kind, file_->Path());
}

dbf::Value Table::Value(std::size_t fieldIndex) const {
  RequireOpen();
  dbf::Value value = Stored(fieldIndex);
  if (auto* text = std::get_if<std::string>(&value)) *text = data_->codePage->Decode(*text);
  return value;
}

std::optional<std::string> Table::MemoText(std::string_view field) const {
  std::size_t index = FieldIndex(field);
  dbf::Value value = Stored(index);
  const auto* reference = std::get_if<dbf::MemoRef>(&value);
  if (!reference) return std::nullopt;
  auto stored = file_->ReadMemo(reference->block);
  if (!stored) return std::nullopt;
  return data_->codePage->Decode(*stored);
}

bool Table::IsNull(std::string_view field) const {
  dbf::Value value = Stored(FieldIndex(field));
  const auto* text = std::get_if<std::string>(&value);
  return std::holds_alternative<std::monostate>(value) || (text && text->empty());
}

std::string Table::AsString(std::string_view field) const {
  std::size_t index = FieldIndex(field);
  const dbf::Field& descriptor = Descriptor(index);
  if (descriptor.type == 'C' && !descriptor.nullBit) {  // the common case, read without building a stored value
    return data_->codePage->Decode(WithoutPadding(dbf::FieldBytes(descriptor, CurrentRecord())));
  }
  dbf::Value value = Stored(index);
  if (std::holds_alternative<std::monostate>(value)) return {};
  switch (Descriptor(index).dataType) {
    case DataType::ftString: return data_->codePage->Decode(std::get<std::string>(value));
    case DataType::ftSmallint:
    case DataType::ftInteger:
    case DataType::ftFloat: return FormatGeneral(std::get<double>(value), engine_.DecimalSeparator());
    case DataType::ftBoolean: return std::get<bool>(value) ? "True" : "False";
    case DataType::ftDate: return FormatDate(std::get<Date>(value));
    case DataType::ftDateTime: {
      const dbf::DateTime& stamp = std::get<dbf::DateTime>(value);
      int seconds = stamp.milliseconds / 1000;
      char time[24];
      int length = std::snprintf(time, sizeof time, " %02d:%02d:%02d", seconds / 3600 % 100, seconds / 60 % 60,
                                 seconds % 60);
      if (int milliseconds = stamp.milliseconds % 1000; milliseconds != 0) {
        std::snprintf(time + length, sizeof time - static_cast<std::size_t>(length), ".%03d", milliseconds);
      }
      return FormatDate(stamp.date) + time;
    }
    case DataType::ftMemo: return MemoText(field).value_or("");
    default: return {};
  }
}

std::string Table::DisplayText(std::string_view field) const {
  try {
    return AsString(field);
  } catch (const DatabaseError&) {
  }
  const dbf::Field& descriptor = Descriptor(FieldIndex(field));
  if (!std::strchr("CNFDL", descriptor.type)) return {};
  std::string_view stored = WithoutPadding(dbf::FieldBytes(descriptor, CurrentRecord()));
  while (!stored.empty() && stored.front() == ' ') stored.remove_prefix(1);
  return data_->codePage->Decode(stored);
}

std::int32_t Table::AsInteger(std::string_view field) const {
  std::size_t index = FieldIndex(field);
  const dbf::Field& descriptor = Descriptor(index);
  DataType type = descriptor.dataType;
  if (type == DataType::ftString) {
    std::string text = AsString(field);
    auto number = ParseInteger(text);
    if (!number) throw DatabaseError(Quoted(text) + " no es un valor entero válido");
    return *number;
  }
  if (!IsIntegerType(type) && type != DataType::ftFloat) Unsupported(index, "entero");
  if (auto whole = descriptor.nullBit ? std::nullopt : PlainWholeNumber(dbf::FieldBytes(descriptor, CurrentRecord()))) {
    return *whole;
  }
  dbf::Value value = Stored(index);
  if (std::holds_alternative<std::monostate>(value)) return 0;
  double rounded = RoundHalfEven(std::get<double>(value));
  // Written so that a NaN (a Visual FoxPro double field can hold one) fails too: no cast outside the range.
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) {
    throw DatabaseError(Quoted(FormatGeneral(std::get<double>(value), engine_.DecimalSeparator())) +
                        " no es un valor entero válido");
  }
  return static_cast<std::int32_t>(rounded);
}

double Table::AsFloat(std::string_view field) const {
  std::size_t index = FieldIndex(field);
  DataType type = Descriptor(index).dataType;
  if (type == DataType::ftString) {
    std::string text = AsString(field);
    auto number = ParseFloat(text, engine_.DecimalSeparator());
    if (!number) throw DatabaseError(Quoted(text) + " no es un valor punto flotante válido");
    return *number;
  }
  if (!IsIntegerType(type) && type != DataType::ftFloat) Unsupported(index, "punto flotante");
  dbf::Value value = Stored(index);
  return std::holds_alternative<std::monostate>(value) ? 0 : std::get<double>(value);
}

Date Table::AsDate(std::string_view field) const {
  std::size_t index = FieldIndex(field);
  dbf::Value value = Stored(index);
  if (Descriptor(index).dataType == DataType::ftDate) return std::holds_alternative<Date>(value) ? std::get<Date>(value) : Date{};
  if (Descriptor(index).dataType == DataType::ftDateTime) {
    return std::holds_alternative<dbf::DateTime>(value) ? std::get<dbf::DateTime>(value).date : Date{};
  }
  Unsupported(index, "fecha");
}

bool Table::AsBoolean(std::string_view field) const {
  std::size_t index = FieldIndex(field);
  if (Descriptor(index).dataType != DataType::ftBoolean) Unsupported(index, "lógico");
  dbf::Value value = Stored(index);
  return std::holds_alternative<bool>(value) && std::get<bool>(value);
}

// ---------------------------------------------------------------------------------------------------------
// Writing fields of the pending record

namespace {

// Whether the engine writes a field as its table's program would: the text forms of dBase, not the binary
// numbers, dates and times, varchars or null flags that only other programs write.
bool WrittenHere(const dbf::Field& field) {
  return std::strchr("CNFLDM", field.type) != nullptr && !field.lengthBit && !field.nullBit;
}

}  // namespace

std::size_t Table::WritableFieldIndex(std::string_view field) {
  std::size_t index = FieldIndex(field);
  if (mode_ == Mode::kBrowse) Fail(kNotEditing);
  const dbf::Field& descriptor = Descriptor(index);
  if (!WrittenHere(descriptor)) {
    ThrowTableError("No se puede escribir en el campo " + Quoted(descriptor.name) + " de tipo " +
                        std::string(1, descriptor.type) + (descriptor.nullBit ? " que admite nulos" : ""),
                    file_->Path());
  }
  return index;
}

std::pair<double, double> Table::IntegerRange(std::size_t index) const { return integerRanges_[index]; }

void Table::ThrowOutOfRange(std::size_t index, double value) const {
  auto [lowest, highest] = IntegerRange(index);
  char separator = engine_.DecimalSeparator();
  throw DatabaseError(FormatGeneral(value, separator) + " no es un valor permitido para el campo " +
                      Quoted(Descriptor(index).name) + ". El rango válido es de " + FormatGeneral(lowest, separator) +
                      " a " + FormatGeneral(highest, separator));
}

void Table::RequireInIntegerRange(std::size_t index, double value) const {
  if (!IsIntegerType(Descriptor(index).dataType)) return;
  auto [lowest, highest] = IntegerRange(index);
  if (value < lowest || value > highest) ThrowOutOfRange(index, value);
}

void Table::WriteNumber(std::size_t index, double value) {
  RequireInIntegerRange(index, value);
  if (!dbf::EncodeNumber(Descriptor(index), value, pending_)) ThrowOutOfRange(index, value);
}

void Table::WriteText(std::size_t index, std::string_view text) {
  if (IsAscii(text)) return dbf::EncodeText(Descriptor(index), text, pending_);  // the same bytes in every code page here
  dbf::EncodeText(Descriptor(index), data_->codePage->Encode(text), pending_);
}

void Table::StoreString(std::size_t index, std::string_view value) {
  const dbf::Field& descriptor = Descriptor(index);
  if (value.empty()) return dbf::EncodeEmpty(descriptor, pending_);
  auto shown = [&] { return Quoted(value); };
  switch (descriptor.dataType) {
    case DataType::ftString: return WriteText(index, value);
    case DataType::ftSmallint:
    case DataType::ftInteger: {
      auto number = ParseInteger(value);
      if (!number) throw DatabaseError(shown() + " no es un valor entero válido para el campo " + Quoted(descriptor.name));
      return WriteNumber(index, *number);
    }
    case DataType::ftFloat: {
      auto number = ParseFloat(value, engine_.DecimalSeparator());
      if (!number) {
        throw DatabaseError(shown() + " no es un valor punto flotante válido para el campo " + Quoted(descriptor.name));
      }
      return WriteNumber(index, *number);
    }
    case DataType::ftBoolean: {
      auto flag = ParseBoolean(value);
      if (!flag) throw DatabaseError(shown() + " no es un valor lógico válido para el campo " + Quoted(descriptor.name));
      return dbf::EncodeBoolean(descriptor, *flag, pending_);
    }
    case DataType::ftDate: {
      auto date = ParseDate(value);
      if (!date) throw DatabaseError(shown() + " no es una fecha válida para el campo " + Quoted(descriptor.name));
      return dbf::EncodeDate(descriptor, *date, pending_);
    }
    default: Unsupported(index, "texto");
  }
}

void Table::StoreInteger(std::size_t index, std::int32_t value) {
  const dbf::Field& field = Descriptor(index);
  DataType type = field.dataType;
  if (type == DataType::ftString) return WriteText(index, std::to_string(value));
  if (!IsIntegerType(type) && type != DataType::ftFloat) Unsupported(index, "entero");
  if (field.decimals != 0) return WriteNumber(index, value);
  // WriteNumber's checks and digits, the number kept whole all the way.
  RequireInIntegerRange(index, value);
  if (!dbf::EncodeWholeNumber(field, value, pending_)) ThrowOutOfRange(index, value);
}

void Table::StoreFloat(std::size_t index, double value) {
  DataType type = Descriptor(index).dataType;
  if (type == DataType::ftString) return WriteText(index, FormatGeneral(value, engine_.DecimalSeparator()));
  if (IsIntegerType(type)) return WriteNumber(index, RoundHalfEven(value));
  if (type != DataType::ftFloat) Unsupported(index, "punto flotante");
  WriteNumber(index, value);
}

void Table::StoreBoolean(std::size_t index, bool value) {
  if (Descriptor(index).dataType != DataType::ftBoolean) Unsupported(index, "lógico");
  dbf::EncodeBoolean(Descriptor(index), value, pending_);
}

// A write that fails leaves the pending record as it was, and unchanged if nothing was written before.
void Table::SetAsString(std::string_view field, std::string_view value) {
  std::size_t index = WritableFieldIndex(field);
  const dbf::Field& descriptor = Descriptor(index);
  if (descriptor.dataType == DataType::ftString && IsAscii(value)) [[likely]] {
    dbf::EncodeText(descriptor, value, pending_);  // text in text, the same bytes in every code page here
  } else {
    StoreString(index, value);
  }
  pendingChanged_ = true;
}

void Table::SetAsInteger(std::string_view field, std::int32_t value) {
  StoreInteger(WritableFieldIndex(field), value);
  pendingChanged_ = true;
}

void Table::SetAsFloat(std::string_view field, double value) {
  StoreFloat(WritableFieldIndex(field), value);
  pendingChanged_ = true;
}

void Table::SetAsBoolean(std::string_view field, bool value) {
  StoreBoolean(WritableFieldIndex(field), value);
  pendingChanged_ = true;
}

void Table::Clear(std::string_view field) {
  dbf::EncodeEmpty(Descriptor(WritableFieldIndex(field)), pending_);
  pendingChanged_ = true;
}

}  // namespace storage
