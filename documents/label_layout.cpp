#include "documents/label_layout.h"

#include <cstring>

namespace documents {
namespace {

template <std::size_t N>
bool Fits(const model::ShortString<N>& field) {
  return field.length <= N;
}

bool AllFieldsFit(const LabelLayoutRecord& r) {
  return Fits(r.Description) && Fits(r.LMargin) && Fits(r.TMargin) && Fits(r.ColAcross) && Fits(r.RowsDown) &&
         Fits(r.LWdth) && Fits(r.LHght) && Fits(r.Font.Name) && Fits(r.BMapName) && Fits(r.LineWidth) &&
         Fits(r.CaptName);
}

std::uint8_t StyleBits(const platform::FontSpec& font) {
  namespace style = model::font_style;
  return static_cast<std::uint8_t>((font.bold ? style::kBold : 0) | (font.italic ? style::kItalic : 0) |
                                   (font.underline ? style::kUnderline : 0) |
                                   (font.strikeOut ? style::kStrikeOut : 0));
}

platform::FontSpec FontOf(const LabelLayoutRecord& r) {
  namespace style = model::font_style;
  platform::FontSpec font;
  font.name = r.Font.Name.str();
  font.pointSize = r.Font.Size;
  font.color = static_cast<std::uint32_t>(static_cast<std::int32_t>(r.Font.Color));
  font.bold = (r.Font.Style & style::kBold) != 0;
  font.italic = (r.Font.Style & style::kItalic) != 0;
  font.underline = (r.Font.Style & style::kUnderline) != 0;
  font.strikeOut = (r.Font.Style & style::kStrikeOut) != 0;
  return font;
}

std::string_view AsBytes(const LabelLayoutRecord& record) {
  return {reinterpret_cast<const char*>(&record), sizeof record};
}

}  // namespace

std::string EncodeLabelLayout(const LabelLayout& layout) {
  LabelLayoutRecord r{};
  r.Description = layout.description;
  r.LMargin = layout.leftMargin;
  r.TMargin = layout.topMargin;
  r.ColAcross = layout.columns;
  r.RowsDown = layout.rows;
  r.LWdth = layout.labelWidth;
  r.LHght = layout.labelHeight;
  model::SetFont(r.Font, layout.font.name, layout.font.pointSize, layout.font.color, StyleBits(layout.font));
  r.UseShipping = layout.useShipping;
  r.ReturnAddress = layout.returnAddress;
  r.BMapName = layout.returnAddress ? std::string_view(layout.bitmapName) : std::string_view(" ");
  r.PrintLine = layout.returnAddress && layout.printLine;
  r.LineWidth = layout.lineWidth;
  r.CaptName = layout.sendToCaption;
  return std::string(AsBytes(r));
}

std::optional<LabelLayout> DecodeLabelLayout(std::string_view bytes, std::string& error) {
  if (bytes.size() != kLabelLayoutSize) {
    error = "holds " + std::to_string(bytes.size()) + " bytes where a label layout has " +
            std::to_string(kLabelLayoutSize) + ".";
    return std::nullopt;
  }
  LabelLayoutRecord r;
  std::memcpy(&r, bytes.data(), sizeof r);
  if (!AllFieldsFit(r)) {
    error = "has a value longer than its place in the layout.";
    return std::nullopt;
  }
  LabelLayout layout;
  layout.description = r.Description.str();
  layout.leftMargin = r.LMargin.str();
  layout.topMargin = r.TMargin.str();
  layout.columns = r.ColAcross.str();
  layout.rows = r.RowsDown.str();
  layout.labelWidth = r.LWdth.str();
  layout.labelHeight = r.LHght.str();
  layout.font = FontOf(r);
  layout.useShipping = r.UseShipping;
  layout.returnAddress = r.ReturnAddress;
  layout.bitmapName = r.BMapName.str();
  layout.printLine = r.PrintLine;
  layout.lineWidth = r.LineWidth.str();
  layout.sendToCaption = r.CaptName.str();
  return layout;
}

model::FileOutcome WriteLabelLayout(const std::filesystem::path& path, const LabelLayout& layout) {
  return model::WriteWholeFile(path, EncodeLabelLayout(layout));
}

model::FileOutcome ReadLabelLayout(const std::filesystem::path& path, LabelLayout& layout) {
  std::string bytes;
  if (model::FileOutcome read = model::ReadWholeFile(path, bytes); !read) return read;
  std::string error;
  std::optional<LabelLayout> decoded = DecodeLabelLayout(bytes, error);
  if (!decoded) return model::FileOutcome::Failure("The label layout file \"" + path.string() + "\" " + error);
  layout = std::move(*decoded);
  return {};
}

model::FileOutcome WriteLastLayoutPath(const std::filesystem::path& folder, const std::filesystem::path& layout) {
  std::string record(kLastLayoutSize, '\0');
  model::ShortString<kLastLayoutSize - 1> path;
  path = layout.string();
  std::memcpy(record.data(), &path, sizeof path);
  return model::WriteWholeFile(folder / kLastLayoutFile, record);
}

LastLayout ReadLastLayoutPath(const std::filesystem::path& folder, std::filesystem::path& layout) {
  const std::filesystem::path file = folder / kLastLayoutFile;
  std::string bytes;
  if (!model::ReadWholeFile(file, bytes) || bytes.size() != kLastLayoutSize) return LastLayout::kNone;
  model::ShortString<kLastLayoutSize - 1> path;
  std::memcpy(&path, bytes.data(), sizeof path);
  layout = path.str();
  std::error_code ignored;
  if (layout.empty() || !std::filesystem::is_regular_file(layout, ignored)) {
    model::RemoveFile(file);
    return LastLayout::kGone;
  }
  return LastLayout::kFound;
}

model::FileOutcome CopyLayoutToLabelDat(const std::filesystem::path& folder, std::string_view layoutBytes) {
  return model::WriteWholeFile(folder / kLayoutCopyFile, layoutBytes);
}

}  // namespace documents
