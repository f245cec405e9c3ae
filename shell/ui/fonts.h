// The company's stored fonts and colours as Qt sees them.
#pragma once

#include <QColor>
#include <QFont>

#include "model/fields.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/qt_dialogs.h"

namespace shell::ui {

// Colours are stored as 0x00BBGGRR in a signed field.
inline QColor ColorOf(std::int32_t bgr) { return platform::qt::ColorOfStored(static_cast<std::uint32_t>(bgr)); }
inline std::int32_t StoredColorOf(const QColor& color) {
  return static_cast<std::int32_t>(platform::qt::StoredColorOf(color));
}

// An empty name or size keeps the fallback's.
template <class Block>
QFont FontOf(const Block& block, const QFont& fallback) {
  QFont font = fallback;
  if (!block.Name.empty()) font.setFamily(platform::qt::ToQString(block.Name.str()));
  if (block.Size > 0) font.setPointSize(block.Size);
  font.setBold(block.Style & model::font_style::kBold);
  font.setItalic(block.Style & model::font_style::kItalic);
  font.setUnderline(block.Style & model::font_style::kUnderline);
  font.setStrikeOut(block.Style & model::font_style::kStrikeOut);
  return font;
}

template <class Block>
void StoreFont(Block& block, const QFont& font, const QColor& color) {
  std::uint8_t style = 0;
  if (font.bold()) style |= model::font_style::kBold;
  if (font.italic()) style |= model::font_style::kItalic;
  if (font.underline()) style |= model::font_style::kUnderline;
  if (font.strikeOut()) style |= model::font_style::kStrikeOut;
  model::SetFont(block, font.family().toStdString(), font.pointSize(), static_cast<std::uint32_t>(StoredColorOf(color)),
                 style);
}

}  // namespace shell::ui
