// The small pieces the read-only invoice windows are built of: a label that shows a
// value as plain text the user may select and copy, and a sunken rule between parts.
#pragma once

#include <QFrame>
#include <QLabel>

namespace invoicing::ui {

inline QLabel* ValueLabel(QWidget* parent, bool bold = false) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

inline QFrame* HorizontalRule(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace invoicing::ui
