// The table inspector of the command line: a table's visible records as JSON Lines.
#pragma once

#include <ostream>
#include <string>

#include "storage/storage.h"

namespace app {

struct DumpOptions {
  std::string path;  // a Windows path, or a host path starting with "/"
  std::string index;
  std::string filter;
};

// Writes one JSON object per visible record in walk order: keys are the field names as stored; text is a
// string, numbers are numbers (an integer field's as an integer when std::int64_t holds it), logicals
// true/false, dates "YYYY-MM-DD", memos their text when the memo file is there; empty values are null.
// Throws what the table layer or the file layer throws.
void DumpTable(storage::Engine& engine, const DumpOptions& options, std::ostream& out);

}  // namespace app
