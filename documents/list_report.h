// Printed lists of records (customers, companies, products): a title and heading
// lines, then one block per record — its name in bold and its labelled values in two
// columns, with any free lines (addresses) below — flowing over as many pages as
// needed, each page numbered.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/page_canvas.h"

namespace documents {

struct ListEntry {
  std::string name;
  std::vector<std::pair<std::string, std::string>> fields;  // label ("Number:"), value
  std::vector<std::string> lines;                           // printed whole, below the fields
};

struct ListReport {
  std::string title;                  // the print job's title too
  std::vector<std::string> headings;  // under the title, on the first page
  std::vector<ListEntry> entries;
};

// False when the print job could not start or finish; nothing is half reported.
bool PrintListReport(const ListReport& report, platform::PageCanvas& canvas);

}  // namespace documents
