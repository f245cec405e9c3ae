#include "shell/ui/headers_dialog.h"
#include "shell/ui/storable_text.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"

namespace shell::ui {
namespace {

struct Caption {
  const char* name;
  const char* text;
};

// In the order of HeaderTextControls().
constexpr Caption kTextCaptions[] = {
    {"InvCapData", "Invoice Title:"},         {"StmntCapData", "Statement Title:"},
    {"PackSHeadData", "Packing Slip Title:"}, {"FCHeadData", "File Copy Title:"},
    {"PrCdhead", "Product Code Heading:"},    {"QuanHead", "Quantity Heading:"},
    {"DescHead", "Description Heading:"},     {"Edit8", "Unit Price Heading:"},
    {"ExtHead", "Extension Heading:"},        {"MemoHeadr", "Memo Invoice Heading:"},
    {"StmntNote", "Statement Note:"},
};

struct FontChoice {
  const char* button;
  const char* sample;
};

// In the order of CompanyRecord::FormFonts.
constexpr FontChoice kFontChoices[] = {
    {"Invoice Body Font...", "Invoice body text"},
    {"Captions Font...", "INVOICE"},
    {"Customer Heading Font...", "Customer Name"},
    {"Company Heading Font...", "Company Name"},
    {"Column Headings Font...", "Quantity  Description"},
    {"Sales Message Font...", "Thank you for your business!"},
};

}  // namespace

bool ChooseFontAndColor(QWidget* parent, QFont& font, QColor& color, QFontDialog::FontDialogOptions options) {
  bool chosen = false;
  const QFont picked = QFontDialog::getFont(&chosen, font, parent, QString(), options);
  if (!chosen) return false;
  font = picked;
  const QColor pickedColor = QColorDialog::getColor(color, parent);
  if (pickedColor.isValid()) color = pickedColor;
  return true;
}

void ShowFontSample(QLabel* sample, const QFont& font, const QColor& color) {
  sample->setFont(font);
  QPalette palette = sample->palette();
  palette.setColor(QPalette::WindowText, color);
  sample->setPalette(palette);
}

QLineEdit* TextEditNamed(const QWidget& form, std::string_view name) {
  const QString objectName = platform::qt::ToQString(name);
  if (auto* combo = form.findChild<QComboBox*>(objectName)) return combo->lineEdit();
  return form.findChild<QLineEdit*>(objectName);
}

void ApplyTextRule(QLineEdit* edit, int capacity, bool digitsOnly) {
  edit->setMaxLength(capacity);
  if (digitsOnly) edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
}

THeadersDlg::THeadersDlg(platform::Help& help, QWidget* parent)
    : QDialog(parent),
      help_(help),
      OKButton_(new QPushButton(tr("&OK"), this)),
      CancelButton_(new QPushButton(tr("&Cancel"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setWindowTitle(tr("Headers, Fonts and Colors"));
  platform::qt::SetHelpKeyword(*this, "HeadersFontsColors");
  BuildLayout();
  ApplyTextRules(*this, HeaderTextControls());
  ConnectSignals();
  KeepTextStorable(this);
}

void THeadersDlg::BuildLayout() {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKButton_, CancelButton_, HelpButton_}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  columns->addWidget(BuildTexts(), 1);
  columns->addWidget(BuildFonts());
  layout->addLayout(columns);
  layout->addLayout(buttons);
  OKButton_->setDefault(true);
}

QWidget* THeadersDlg::BuildTexts() {
  auto* box = new QGroupBox(tr("Form Headings"), this);
  auto* form = new QFormLayout(box);
  for (const Caption& caption : kTextCaptions) {
    auto* edit = new QLineEdit(box);
    edit->setObjectName(caption.name);
    form->addRow(tr(caption.text), edit);
  }
  return box;
}

QWidget* THeadersDlg::BuildFonts() {
  auto* box = new QGroupBox(tr("Form Fonts and Colors"), this);
  auto* grid = new QGridLayout(box);
  for (std::size_t i = 0; i < kFontCount; ++i) {
    FontButtons_[i] = new QPushButton(tr(kFontChoices[i].button), box);
    FontSamples_[i] = new QLabel(tr(kFontChoices[i].sample), box);
    grid->addWidget(FontButtons_[i], static_cast<int>(i), 0);
    grid->addWidget(FontSamples_[i], static_cast<int>(i), 1);
  }
  return box;
}

void THeadersDlg::ConnectSignals() {
  for (std::size_t i = 0; i < kFontCount; ++i) {
    connect(FontButtons_[i], &QPushButton::clicked, this,
            [this, i] { FontButtonClick(static_cast<model::FormFont>(i)); });
  }
  connect(OKButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &THeadersDlg::HelpButtonClick);
}

void THeadersDlg::SetValues(const HeaderOptions& headers) {
  values_ = headers;
  ShowTexts(*this, HeaderTextControls(), values_);
  ShowSamples();
}

HeaderOptions THeadersDlg::Values() const {
  HeaderOptions headers = values_;
  ReadTexts(*this, HeaderTextControls(), headers);
  return headers;
}

void THeadersDlg::FontButtonClick(model::FormFont font) {
  if (ChooseStoredFont(this, values_.FormFonts[font])) ShowSamples();
}

void THeadersDlg::ShowSamples() {
  for (std::size_t i = 0; i < kFontCount; ++i) ShowFontSample(FontSamples_[i], values_.FormFonts[i]);
}

void THeadersDlg::HelpButtonClick() { help_.ShowTopic(platform::qt::HelpKeywordOf(this)); }

}  // namespace shell::ui
