#include "documents/list_report.h"

#include <algorithm>

namespace documents {
namespace {

constexpr int kMargin = platform::PageCanvas::kDotsPerInch / 2;
constexpr int kGap = platform::PageCanvas::kDotsPerInch / 10;

const platform::FontSpec kTitleFont{"Arial", 14, 0, true};
const platform::FontSpec kHeadingFont{"Arial", 10};
const platform::FontSpec kNameFont{"Arial", 10, 0, true};
const platform::FontSpec kBodyFont{"Arial", 9};

class ListPrinter {
 public:
  ListPrinter(const ListReport& report, platform::PageCanvas& canvas) : report_(report), canvas_(canvas) {}

  bool Print() {
    if (!canvas_.BeginDocument(report_.title, platform::Orientation::kPortrait)) return false;
    StartPage();
    PrintHeadings();
    for (const ListEntry& entry : report_.entries) PrintEntry(entry);
    PrintPageNumber();
    return canvas_.EndDocument();
  }

 private:
  void StartPage() {
    y_ = kMargin;
    canvas_.SetFont(kTitleFont);
    canvas_.DrawText(kMargin, y_, report_.title);
    y_ += LineHeight() + kGap;
  }

  void PrintHeadings() {
    canvas_.SetFont(kHeadingFont);
    for (const std::string& heading : report_.headings) {
      canvas_.DrawText(kMargin, y_, heading);
      y_ += LineHeight();
    }
    y_ += kGap;
    canvas_.DrawLine(kMargin, y_, canvas_.PageWidth() - kMargin, y_);
    y_ += kGap;
  }

  void PrintEntry(const ListEntry& entry) {
    canvas_.SetFont(kBodyFont);
    const int rows = static_cast<int>((entry.fields.size() + 1) / 2 + entry.lines.size()) + 1;
    if (y_ + rows * LineHeight() + kGap > canvas_.PageHeight() - 2 * kMargin) NewPage();
    canvas_.SetFont(kNameFont);
    canvas_.DrawText(kMargin, y_, entry.name);
    y_ += LineHeight();
    canvas_.SetFont(kBodyFont);
    PrintFields(entry.fields);
    for (const std::string& line : entry.lines) {
      canvas_.DrawText(kMargin + kGap * 2, y_, line);
      y_ += LineHeight();
    }
    y_ += kGap;
  }

  // Two columns of "Label value"; values line up within each column.
  void PrintFields(const std::vector<std::pair<std::string, std::string>>& fields) {
    const int columnWidth = (canvas_.PageWidth() - 2 * kMargin) / 2;
    int labelWidth = 0;
    for (const auto& [label, value] : fields) labelWidth = std::max(labelWidth, canvas_.TextWidth(label));
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const int x = kMargin + kGap * 2 + static_cast<int>(i % 2) * columnWidth;
      canvas_.DrawText(x, y_, fields[i].first);
      canvas_.DrawText(x + labelWidth + kGap, y_, fields[i].second);
      if (i % 2 == 1 || i + 1 == fields.size()) y_ += LineHeight();
    }
  }

  void NewPage() {
    PrintPageNumber();
    canvas_.NewPage();
    ++page_;
    StartPage();
  }

  void PrintPageNumber() {
    canvas_.SetFont(kHeadingFont);
    const std::string text = "Page " + std::to_string(page_);
    canvas_.DrawText(canvas_.PageWidth() - kMargin - canvas_.TextWidth(text), canvas_.PageHeight() - kMargin, text);
  }

  int LineHeight() const { return canvas_.TextHeight("MXjpy"); }

  const ListReport& report_;
  platform::PageCanvas& canvas_;
  int y_ = 0;
  int page_ = 1;
};

}  // namespace

bool PrintListReport(const ListReport& report, platform::PageCanvas& canvas) {
  return ListPrinter(report, canvas).Print();
}

}  // namespace documents
