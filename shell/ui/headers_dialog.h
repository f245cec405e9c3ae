// The "Headers, Fonts and Colors" dialog of the company options: the titles and
// column headings of the printed forms, the memo heading, the statement note and the
// six form fonts, each shown in a sample. Also the font and text-control helpers the
// company options dialog shares.
#pragma once

#include <QDialog>
#include <QFontDialog>
#include <QLabel>
#include <array>

#include "platform/help.h"
#include "shell/companies.h"
#include "shell/ui/fonts.h"

class QLineEdit;
class QPushButton;

namespace shell::ui {

// --- Shared with the company options ----------------------------------------------

// The font dialog, then the colour dialog; false when the font was not chosen. A
// cancelled colour keeps the old one.
bool ChooseFontAndColor(QWidget* parent, QFont& font, QColor& color, QFontDialog::FontDialogOptions options = {});

template <class Block>
bool ChooseStoredFont(QWidget* parent, Block& block, QFontDialog::FontDialogOptions options = {}) {
  QFont font = FontOf(block, parent->font());
  QColor color = ColorOf(block.Color);
  if (!ChooseFontAndColor(parent, font, color, options)) return false;
  StoreFont(block, font, color);
  return true;
}

void ShowFontSample(QLabel* sample, const QFont& font, const QColor& color);

template <class Block>
void ShowFontSample(QLabel* sample, const Block& block) {
  ShowFontSample(sample, FontOf(block, sample->font()), ColorOf(block.Color));
}

// The entry of a text control: a line edit, or the edit of an editable combo box.
QLineEdit* TextEditNamed(const QWidget& form, std::string_view name);

void ApplyTextRule(QLineEdit* edit, int capacity, bool digitsOnly);

// Length limits and the digits-only rule of each text control.
template <class Options>
void ApplyTextRules(const QWidget& form, const std::vector<TextControl<Options>>& controls) {
  for (const auto& control : controls) {
    ApplyTextRule(TextEditNamed(form, control.name), control.capacity, control.digitsOnly);
  }
}

template <class Options>
void ShowTexts(const QWidget& form, const std::vector<TextControl<Options>>& controls, const Options& values) {
  for (const auto& control : controls) {
    TextEditNamed(form, control.name)->setText(platform::qt::ToQString(values.*control.value));
  }
}

template <class Options>
void ReadTexts(const QWidget& form, const std::vector<TextControl<Options>>& controls, Options& values) {
  for (const auto& control : controls) values.*control.value = TextEditNamed(form, control.name)->text().toStdString();
}

// --- The dialog -------------------------------------------------------------------------

class THeadersDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr std::size_t kFontCount = 6;

  explicit THeadersDlg(platform::Help& help, QWidget* parent = nullptr);

  // Before exec(): the values to show. After Accepted: the values chosen.
  void SetValues(const HeaderOptions& headers);
  HeaderOptions Values() const;

  QPushButton* OKButton() const { return OKButton_; }
  QPushButton* CancelButton() const { return CancelButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }
  QPushButton* FontButton(model::FormFont font) const { return FontButtons_[font]; }
  QLabel* FontSample(model::FormFont font) const { return FontSamples_[font]; }

 private:
  void BuildLayout();
  QWidget* BuildTexts();
  QWidget* BuildFonts();
  void ConnectSignals();
  void FontButtonClick(model::FormFont font);
  void HelpButtonClick();
  void ShowSamples();

  platform::Help& help_;
  HeaderOptions values_;  // the fonts; the texts live in their edits
  std::array<QPushButton*, kFontCount> FontButtons_{};
  std::array<QLabel*, kFontCount> FontSamples_{};
  QPushButton* OKButton_;
  QPushButton* CancelButton_;
  QPushButton* HelpButton_;
};

}  // namespace shell::ui
