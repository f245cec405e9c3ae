#include "reports/label_print.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "documents/form_head.h"
#include "model/text.h"
#include "reports/label_lists.h"
#include "shell/customers.h"

namespace reports {
namespace {

std::optional<int> WholeNumber(std::string_view text) {
  text = model::TrimBlanks(text);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool SheetDiffers(const documents::LabelLayout& a, const documents::LabelLayout& b) {
  return a.leftMargin != b.leftMargin || a.topMargin != b.topMargin || a.columns != b.columns || a.rows != b.rows ||
         a.labelWidth != b.labelWidth || a.labelHeight != b.labelHeight || a.returnAddress != b.returnAddress;
}

// Where the next label goes. Moving past the last row starts a new page, but only
// when a label is still to come, so a full last sheet leaves no blank page.
class SheetCursor {
 public:
  SheetCursor(const LabelSheet& sheet, platform::PageCanvas& canvas) : sheet_(sheet), canvas_(canvas) {}

  int x() const { return x_; }
  int y() const { return y_; }

  void Advance() {
    if (column_ < sheet_.columns) {
      ++column_;
      x_ += sheet_.width;
      return;
    }
    column_ = 1;
    x_ = sheet_.left;
    y_ += sheet_.height;
    ++row_;
  }
  void MakeRoom() {
    if (row_ <= sheet_.rows) return;
    canvas_.NewPage();
    x_ = sheet_.left;
    y_ = sheet_.top;
    row_ = 1;
  }

 private:
  const LabelSheet& sheet_;
  platform::PageCanvas& canvas_;
  int x_ = sheet_.left, y_ = sheet_.top;
  int column_ = 1, row_ = 1;
};

// The company's return address with its bitmap and rule; returns where the send-to
// block starts.
int DrawReturnAddress(const LabelRun& run, const LabelSheet& sheet, int x, int y, int lineHeight,
                      platform::PageCanvas& canvas) {
  int offset = 0;
  const std::string& bitmap = run.layout.bitmapName;
  std::error_code ignored;
  if (std::filesystem::is_regular_file(bitmap, ignored)) {
    if (const std::optional<documents::PictureSize> size = documents::PictureSizeOf(bitmap)) {
      canvas.DrawPicture(x, y, size->width, size->height, bitmap);
      offset = size->width + 25;
    }
  }
  const model::CompanyRecord& company = run.company;
  const std::string lines[] = {company.CompanyName.str(), company.CoAddr1.str(), company.CoAddr2.str(),
                               company.CoAddr3.str(), company.CoAddr4.str()};
  for (int i = 0; i < 5; ++i) canvas.DrawText(x + offset, y + i * lineHeight, lines[i]);
  if (run.layout.printLine) {
    const int ruleY = y + 5 * lineHeight + 20;
    canvas.SetPen(CountOf(run.layout.lineWidth));
    canvas.DrawLine(x - 25, ruleY, x + sheet.width / 10 * 8, ruleY);
  }
  return y + 6 * lineHeight;
}

void DrawLabel(const LabelRun& run, const LabelSheet& sheet, const model::CustomerRecord& customer, int x, int y,
               platform::PageCanvas& canvas) {
  const int lineHeight = canvas.TextHeight("MXjpy");
  if (run.layout.returnAddress) y = DrawReturnAddress(run, sheet, x, y, lineHeight, canvas);
  const std::string& caption = run.layout.sendToCaption;
  const int indent = canvas.TextWidth(caption + "X");
  canvas.DrawText(x, y, caption);
  canvas.DrawText(x + indent, y, customer.CustName.str());
  const bool ship = run.layout.useShipping;
  const std::string lines[] = {ship ? customer.ShipAddr1.str() : customer.BillAddr1.str(),
                               ship ? customer.ShipAddr2.str() : customer.BillAddr2.str(),
                               ship ? customer.ShipAddr3.str() : customer.BillAddr3.str(),
                               ship ? customer.ShipAddr4.str() : customer.BillAddr4.str()};
  for (int i = 0; i < 4; ++i) canvas.DrawText(x + indent, y + (i + 1) * lineHeight, lines[i]);
}

// Ticks every kRulerStep dots, longer every kRulerLabelStep with the distance written
// beside them, so a margin or label size can be read off in the dots a layout holds.
constexpr int kRulerStep = 50, kRulerLabelStep = 500, kShortTick = 40, kLongTick = 120;

int TickLength(int at) { return at % kRulerLabelStep == 0 ? kLongTick : at % 100 == 0 ? kShortTick * 2 : kShortTick; }

// Runs down the page from its top edge: for label heights and the top margin.
void DrawVerticalRuler(platform::PageCanvas& canvas, int x, int length) {
  canvas.DrawLine(x, 0, x, length);
  for (int at = 0; at <= length; at += kRulerStep) {
    canvas.DrawLine(x, at, x + TickLength(at), at);
    if (at % kRulerLabelStep == 0) canvas.DrawText(x + kLongTick + 20, at, std::to_string(at));
  }
}

// Runs across the page from its left edge: for label widths and the left margin.
void DrawHorizontalRuler(platform::PageCanvas& canvas, int y, int length) {
  canvas.DrawLine(0, y, length, y);
  for (int at = 0; at <= length; at += kRulerStep) {
    canvas.DrawLine(at, y, at, y - TickLength(at));
    if (at % kRulerLabelStep == 0) canvas.DrawText(at, y + 20, std::to_string(at));
  }
}

}  // namespace

std::optional<std::string> PrintCalibrationRuler(platform::PageCanvas& canvas, platform::Dialogs& dialogs) {
  if (!dialogs.confirm("Please Confirm",
                       "This feature will print the calibration ruler on your printer. You can use it to help you "
                       "calculate margin settings. Continue?")) {
    return std::nullopt;
  }
  if (!canvas.BeginDocument("Calibration Ruler")) return std::nullopt;
  canvas.SetFont(platform::FontSpec{});
  canvas.SetPen(1);
  const int textX = platform::PageCanvas::kDotsPerInch;
  const int textY = canvas.PageHeight() / 2;
  DrawVerticalRuler(canvas, 0, textY - platform::PageCanvas::kDotsPerInch / 2);
  canvas.DrawText(textX, textY,
                  "Use the top ruler for vertical height measurement and the bottom ruler to measure horizontal "
                  "width.");
  canvas.DrawText(textX, textY + documents::LineHeight(canvas),
                  "Be sure to include any spacing between labels in your height and width measurements.");
  DrawHorizontalRuler(canvas, canvas.PageHeight() - platform::PageCanvas::kDotsPerInch, canvas.PageWidth());
  canvas.EndDocument();
  return "Calibration ruler sent to printer.";
}

std::optional<LabelSheet> SheetOf(const documents::LabelLayout& layout) {
  const auto left = WholeNumber(layout.leftMargin), top = WholeNumber(layout.topMargin);
  const auto columns = WholeNumber(layout.columns), rows = WholeNumber(layout.rows);
  const auto width = WholeNumber(layout.labelWidth), height = WholeNumber(layout.labelHeight);
  if (!left || !top || !columns || !rows || !width || !height) return std::nullopt;
  return LabelSheet{*left, *top, std::max(*columns, 1), std::max(*rows, 1), *width, *height};
}

int CountOf(std::string_view text) {
  text = model::TrimBlanks(text);
  if (text.empty() || text.front() == '0') return 1;
  return std::max(WholeNumber(text).value_or(1), 1);
}

PrintCheck CheckBeforePrinting(const documents::LabelQueue& queue, const documents::LabelLayout& current,
                               const std::optional<documents::LabelLayout>& loaded, platform::Dialogs& dialogs) {
  if (queue.Empty()) {
    dialogs.inform(kLabelWizardCaption, "You do not have any customer records listed in the print queue.");
    return PrintCheck::kRefused;
  }
  if (!SheetOf(current)) {
    dialogs.inform(kLabelWizardCaption,
                   "You have an empty layout definition field. All six fields are required. Unable to print.");
    return PrintCheck::kRefused;
  }
  if (loaded && SheetDiffers(current, *loaded) &&
      dialogs.ask(kLabelWizardCaption,
                  "Your layout settings have changed. Do you want to save the changes before printing?",
                  platform::Buttons::kYesNo) == platform::Answer::kYes) {
    return PrintCheck::kSaveFirst;
  }
  return PrintCheck::kGo;
}

std::string PrintLabels(const LabelRun& run, documents::LabelQueue& queue, platform::PageCanvas& canvas) {
  const std::optional<LabelSheet> sheet = SheetOf(run.layout);
  if (!sheet || !canvas.BeginDocument("Mailing Labels")) return {};
  canvas.SetFont(run.layout.font);
  SheetCursor cursor(*sheet, canvas);
  for (int skipped = 1; skipped < CountOf(run.startLabel); ++skipped) cursor.Advance();
  const int copies = CountOf(run.copies);
  int printed = 0;
  for (const documents::LabelQueueEntry& entry : queue.Entries()) {
    engine::RecordNumber number = 0;
    model::CustomerRecord customer{};
    if (!shell::FindCustomerByNumber(run.customers, entry.caption, number, customer)) continue;
    for (int copy = 0; copy < copies; ++copy) {
      cursor.MakeRoom();
      DrawLabel(run, *sheet, customer, cursor.x(), cursor.y(), canvas);
      cursor.Advance();
      ++printed;
    }
  }
  canvas.EndDocument();
  queue.MarkDone();
  return "Complete. " + std::to_string(printed) + " label(s) sent to printer.";
}

}  // namespace reports
