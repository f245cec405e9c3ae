// Label layout files: the 444-byte ".LBL" record that holds a sheet of labels (margins,
// label size, font, return address, bitmap, send-to caption), "Lastlbl.DAT" naming the
// layout last used, and "Label.Dat", the copy of the layout last opened.
//
// OFFSET SIZE MEANING (strings: one length byte, then the characters, zeros after)
//      0   51 description, at most 50        117  1 use shipping address
//     51    4 left margin, at most 3         118  1 print company return address
//     55    4 top margin, at most 3          119 256 bitmap file name, at most 255
//     59    2 columns across, 1              375  51 zero
//     61    3 rows down, at most 2           426  1 print line between addresses
//     64    5 label width, at most 4         427  2 line width, 1
//     69    5 label height, at most 4        429  2 zero
//     74   33 font name, at most 32          431 11 send-to caption, at most 10
//    107    1 zero; 108 font size, 112 colour, 116 style bits   442  2 zero
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/fields.h"
#include "model/whole_file.h"
#include "platform/page_canvas.h"

namespace documents {

#pragma pack(push, 1)
struct LabelLayoutRecord {
  model::ShortString<50> Description;
  model::ShortString<3> LMargin;
  model::ShortString<3> TMargin;
  model::ShortString<1> ColAcross;
  model::ShortString<2> RowsDown;
  model::ShortString<4> LWdth;
  model::ShortString<4> LHght;
  model::FontBlock<32, 1> Font;
  model::BoolByte UseShipping;
  model::BoolByte ReturnAddress;
  model::ShortString<255> BMapName;
  model::Reserved<51> gap1;
  model::BoolByte PrintLine;
  model::ShortString<1> LineWidth;
  model::Reserved<2> gap2;
  model::ShortString<10> CaptName;
  model::Reserved<2> gap3;
};
#pragma pack(pop)

inline constexpr std::size_t kLabelLayoutSize = 444;
static_assert(sizeof(LabelLayoutRecord) == kLabelLayoutSize);

// A layout as the window's controls hold it. The six sizes stay text because the
// controls may be blank, which printing refuses.
struct LabelLayout {
  std::string description;
  std::string leftMargin, topMargin, columns, rows, labelWidth, labelHeight;
  platform::FontSpec font;
  bool useShipping = false;
  bool returnAddress = false;
  std::string bitmapName;
  bool printLine = false;
  std::string lineWidth;
  std::string sendToCaption;
  friend bool operator==(const LabelLayout&, const LabelLayout&) = default;
};

// The record for `layout`. With the return address off, the bitmap name is a single
// blank and the line flag clear, whatever the controls hold.
std::string EncodeLabelLayout(const LabelLayout& layout);

// nullopt, with the reason in `error`, when the bytes are not exactly one record or a
// length byte claims more than its field holds.
std::optional<LabelLayout> DecodeLabelLayout(std::string_view bytes, std::string& error);

model::FileOutcome WriteLabelLayout(const std::filesystem::path& path, const LabelLayout& layout);
// A missing, short, long or damaged file fails with a message naming it.
model::FileOutcome ReadLabelLayout(const std::filesystem::path& path, LabelLayout& layout);

inline constexpr std::string_view kLastLayoutFile = "Lastlbl.DAT";
inline constexpr std::string_view kLayoutCopyFile = "Label.Dat";
inline constexpr std::size_t kLastLayoutSize = 256;

model::FileOutcome WriteLastLayoutPath(const std::filesystem::path& folder, const std::filesystem::path& layout);

enum class LastLayout { kNone, kGone, kFound };
// The layout last used, from "Lastlbl.DAT" in `folder`. A path that names no existing
// file deletes "Lastlbl.DAT" (kGone); a missing or damaged one is kNone.
LastLayout ReadLastLayoutPath(const std::filesystem::path& folder, std::filesystem::path& layout);

// Copies the layout file's bytes to "Label.Dat" in `folder`, over any older copy.
model::FileOutcome CopyLayoutToLabelDat(const std::filesystem::path& folder, std::string_view layoutBytes);

}  // namespace documents
