#include "app/table_dump.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "platform/platform.h"
#include "platform/drive_map.h"  // a host path typed for a table

namespace app {
namespace {

std::string IsoDate(const storage::Date& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

// With the milliseconds when there are any (Visual FoxPro keeps them).
std::string IsoDateTime(const storage::dbf::DateTime& stamp) {
  int seconds = stamp.milliseconds / 1000;
  char time[24];
  int length = std::snprintf(time, sizeof time, "T%02d:%02d:%02d", seconds / 3600 % 100, seconds / 60 % 60, seconds % 60);
  if (int milliseconds = stamp.milliseconds % 1000; milliseconds != 0) {
    std::snprintf(time + length, sizeof time - static_cast<std::size_t>(length), ".%03d", milliseconds);
  }
  return IsoDate(stamp.date) + time;
}

// The number of an integer field ("N" without decimals, Visual FoxPro's "I"): a JSON integer within
// std::int64_t's range. An "N" field holds whatever number its width takes ("1e99" takes four characters), so
// a finite number past that range is printed as the double it is, and one that is not finite as null (JSON
// cannot write it); neither goes through the cast, which would be undefined for them.
nlohmann::ordered_json WholeNumberJson(double number) {
  constexpr double kBeyondInt64 = 0x1p63;  // 2^63, the first number past std::int64_t's range
  if (!std::isfinite(number)) return nullptr;
  if (number >= kBeyondInt64 || number < -kBeyondInt64) return number;
  return static_cast<std::int64_t>(number);
}

nlohmann::ordered_json JsonOf(const storage::Table& table, std::size_t index) {
  const storage::FieldInfo& field = table.Fields()[index];
  storage::dbf::Value value = table.Value(index);
  if (const auto* text = std::get_if<std::string>(&value)) return text->empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(*text);
  if (const auto* number = std::get_if<double>(&value)) {
    bool whole = field.dataType == storage::DataType::ftSmallint || field.dataType == storage::DataType::ftInteger;
    return whole ? WholeNumberJson(*number) : nlohmann::ordered_json(*number);
  }
  if (const auto* flag = std::get_if<bool>(&value)) return *flag;
  if (const auto* date = std::get_if<storage::Date>(&value)) return IsoDate(*date);
  if (const auto* stamp = std::get_if<storage::dbf::DateTime>(&value)) return IsoDateTime(*stamp);
  if (std::holds_alternative<storage::dbf::MemoRef>(value)) {
    auto memo = table.MemoText(field.name);
    return memo && !memo->empty() ? nlohmann::ordered_json(*memo) : nlohmann::ordered_json();
  }
  return nullptr;
}

}  // namespace

void DumpTable(storage::Engine& engine, const DumpOptions& options, std::ostream& out) {
  storage::Table table(engine);
  table.SetTableName(options.path.starts_with("/") ? platform::WindowsPathOfHost(options.path) : options.path);
  table.SetIndexName(options.index);
  if (!options.filter.empty()) {
    table.SetFilter(options.filter);
    table.SetFiltered(true);
  }
  table.Open();
  for (table.First(); !table.Eof(); table.Next()) {
    nlohmann::ordered_json record = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < table.Fields().size(); ++i) record[table.Fields()[i].name] = JsonOf(table, i);
    out << record.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  }
}

}  // namespace app
