// Printing mailing labels for the queued customers on a sheet laid out in columns and
// rows, and the calibration ruler that helps measure a sheet.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/label_layout.h"
#include "documents/label_queue.h"
#include "files/keyed_file.h"
#include "model/records.h"
#include "platform/dialogs.h"
#include "platform/page_canvas.h"

namespace reports {

// The six sizes of a layout as whole printer dots.
struct LabelSheet {
  int left = 0, top = 0, columns = 1, rows = 1, width = 0, height = 0;
};
// nullopt when one of the six is blank or not a whole number.
std::optional<LabelSheet> SheetOf(const documents::LabelLayout& layout);

// Start label, copies and line width: blank, or beginning with "0", counts as 1.
int CountOf(std::string_view text);

enum class PrintCheck { kRefused, kSaveFirst, kGo };
// The checks before printing: an empty queue or layout refuses (with the message);
// changed settings ask whether to save them first.
PrintCheck CheckBeforePrinting(const documents::LabelQueue& queue, const documents::LabelLayout& current,
                               const std::optional<documents::LabelLayout>& loaded, platform::Dialogs& dialogs);

struct LabelRun {
  const documents::LabelLayout& layout;
  const model::CompanyRecord& company;
  files::KeyedFile& customers;
  std::string startLabel;
  std::string copies;
};

// Prints every queued customer found on file, `copies` labels each, from the start
// label on. Returns the status text; the queue counts as done.
std::string PrintLabels(const LabelRun& run, documents::LabelQueue& queue, platform::PageCanvas& canvas);

inline constexpr std::string_view kPrintingStatus = "Printing labels...";

// Asks first; nullopt when the user declined.
std::optional<std::string> PrintCalibrationRuler(platform::PageCanvas& canvas, platform::Dialogs& dialogs);

}  // namespace reports
