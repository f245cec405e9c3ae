#include "shell/ui/company_options.h"

#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/side_files.h"
#include "platform/qt/help_key.h"
#include "shell/ui/headers_dialog.h"
#include "shell/ui/storable_text.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr QSize kPreviewSize(200, 150);

QLineEdit* AddEdit(QFormLayout* form, const QString& caption, const char* name) {
  auto* edit = new QLineEdit(form->parentWidget());
  edit->setObjectName(name);
  form->addRow(caption, edit);
  return edit;
}

template <class Button>
Button* AddButton(QBoxLayout* layout, const QString& caption, const char* name) {
  auto* button = new Button(caption, layout->parentWidget());
  button->setObjectName(name);
  layout->addWidget(button);
  return button;
}

QCheckBox* AddCheck(QBoxLayout* layout, const QString& caption, const char* name) {
  return AddButton<QCheckBox>(layout, caption, name);
}

// A radio pair in its own box, so it is exclusive on its own.
void AddChoice(QBoxLayout* layout, const QString& title, const QString& first, const char* firstName,
               const QString& second, const char* secondName) {
  auto* box = new QGroupBox(title, layout->parentWidget());
  auto* column = new QVBoxLayout(box);
  AddButton<QRadioButton>(column, first, firstName);
  AddButton<QRadioButton>(column, second, secondName);
  layout->addWidget(box);
}

// A page with a column of rows, and a form inside it for captioned edits.
struct Page {
  QWidget* widget;
  QVBoxLayout* column;
  QFormLayout* form;
};

Page NewPage(QWidget* parent) {
  auto* widget = new QWidget(parent);
  auto* column = new QVBoxLayout(widget);
  auto* formHolder = new QWidget(widget);
  auto* form = new QFormLayout(formHolder);
  form->setContentsMargins(0, 0, 0, 0);
  column->addWidget(formHolder);
  return {widget, column, form};
}

QLineEdit* AddFileName(QFormLayout* form, const char* name) {
  QLineEdit* edit = AddEdit(form, QObject::tr("File:"), name);
  edit->setReadOnly(true);
  return edit;
}

}  // namespace

TCoOptions::TCoOptions(AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      PageControl1_(new QTabWidget(this)),
      SaveButton_(new QPushButton(tr("&Save"), this)),
      CancelButton_(new QPushButton(tr("&Cancel"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)),
      HeadersDlg_(new THeadersDlg(services.help, this)) {
  setWindowTitle(tr("Company Options"));
  platform::qt::SetHelpKeyword(*this, "CompanyOptions");
  BuildLayout();
  resize(std::max(sizeHint().width(), 820), sizeHint().height());
  ApplyTextRules(*this, CompanyTextControls());
  ConnectSignals();
  KeepTextStorable(this);
}

void TCoOptions::BuildLayout() {
  PageControl1_->addTab(BuildAddressTab(), tr("Address/Taxes"));
  PageControl1_->addTab(BuildInvoiceTab(), tr("Invoice Options"));
  PageControl1_->addTab(BuildGeneralTab(), tr("General"));
  PageControl1_->addTab(BuildFormsTab(), tr("Forms Setup"));
  PageControl1_->addTab(BuildSalesMessageTab(), tr("Sales Message"));
  PageControl1_->addTab(BuildGraphicsTab(), tr("System Graphics"));
  PageControl1_->addTab(BuildEnvelopesTab(), tr("Envelopes"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {SaveButton_, CancelButton_, HelpButton_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1_);
  layout->addLayout(buttons);
}

QWidget* TCoOptions::BuildAddressTab() {
  Page page = NewPage(PageControl1_);
  AddEdit(page.form, tr("Company Name:"), "CName");
  AddEdit(page.form, tr("Number:"), "CoNumb");
  auto* address = new QGroupBox(tr("Company Address / Phone:"), page.widget);
  auto* lines = new QVBoxLayout(address);
  for (const char* name : {"CAdd1", "CAdd2", "CAdd3", "CAdd4", "ExtraAdd1"}) {
    auto* edit = new QLineEdit(address);
    edit->setObjectName(name);
    lines->addWidget(edit);
  }
  page.column->addWidget(address);
  AddCheck(page.column, tr("Calculate Taxes"), "CalcTaxes");
  auto* taxes = new QWidget(page.widget);
  auto* taxForm = new QFormLayout(taxes);
  AddEdit(taxForm, tr("Tax Rate:"), "TaxCRate");
  AddEdit(taxForm, tr("Tax Heading:"), "TaxName");
  page.column->addWidget(taxes);
  page.column->addStretch();
  return page.widget;
}

QWidget* TCoOptions::BuildInvoiceTab() {
  Page page = NewPage(PageControl1_);
  AddEdit(page.form, tr("Next Invoice Number:"), "NextIno");
  AddEdit(page.form, tr("Default Invoice Quantity:"), "DefInvQuan");
  auto* terms = new QComboBox(page.widget);
  terms->setObjectName("DFTerms");
  terms->setEditable(true);
  terms->setInsertPolicy(QComboBox::NoInsert);
  page.form->addRow(tr("Default Invoice Terms:"), terms);
  AddCheck(page.column, tr("Print \"Duplicate Invoice\" on reprinted invoices"), "PrintDupOnInv");
  AddCheck(page.column, tr("Pre-fix invoices numbers with year and month "), "YYMMonInv");
  AddCheck(page.column, tr("Set new invoice default print flag ON"), "PFlag");
  AddChoice(page.column, tr("Default Invoice Style"), tr("Line-Item Invoice"), "DProd", tr("Memo Invoice"), "DMemo");
  auto* copies = new QGroupBox(tr("Print With Invoices"), page.widget);
  auto* copyColumn = new QVBoxLayout(copies);
  AddCheck(copyColumn, tr("Packing Slip"), "PSlip");
  AddCheck(copyColumn, tr("File/Remittance Copy"), "FileCpy");
  auto* count = new QWidget(copies);
  AddEdit(new QFormLayout(count), tr("Number copies:"), "NumCpys");
  copyColumn->addWidget(count);
  page.column->addWidget(copies);
  AddCheck(page.column, tr("On new invoices, copy customer to label queue"), "CpyToLQue");
  AddCheck(page.column, tr("On batch print, copy customer to label queue"), "BatchLabels");
  page.column->addStretch();
  return page.widget;
}

QWidget* TCoOptions::BuildGeneralTab() {
  Page page = NewPage(PageControl1_);
  AddChoice(page.column, tr("Date Format"), tr("MM/DD/YY"), "MMDDYY", tr("DD/MM/YY"), "DDMMYY");
  AddCheck(page.column, tr("Show Aging Chart after Calculation"), "AgeRecap");
  AddCheck(page.column, tr("Maximize Product Manager Window"), "CMaxProdWin");
  AddCheck(page.column, tr("Maximize Invoice Manager Window"), "CMaxInvWin");
  AddCheck(page.column, tr("Maximize Customer Manager Window"), "CMaxCustWin");
  AddCheck(page.column, tr("Show button hints (used only at startup)"), "SHints");
  auto* customers = new QWidget(page.widget);
  AddEdit(new QFormLayout(customers), tr("Next Customer Number:"), "CNxtCustNo");
  page.column->addWidget(customers);
  AddCheck(page.column, tr("Auto-copy Billing Address to Shipping"), "ACBillAdd");
  AddCheck(page.column, tr("Require System Audit Trail"), "AuditCB");
  page.column->addStretch();
  return page.widget;
}

QWidget* TCoOptions::BuildFormsTab() {
  Page page = NewPage(PageControl1_);
  auto* checks = new QWidget(page.widget);
  auto* grid = new QGridLayout(checks);
  const std::pair<const char*, const char*> boxes[] = {
      {"Vertical Lines", "HorLCB"},
      {"Horizontal Lines", "VLineCB"},
      {"Shading (laser)", "ShadeCB"},
      {"Letterhead Style", "CheckBox5"},
      {"Box around invoices", "IBoxCB"},
      {"Box around statements", "SBoxCB"},
      {"Product Codes on invoices", "PConICB"},
      {"Move down totals for blank lines", "MoveDwnCB"},
      {"Customer Aging", "CAgeCB"},
      {"Sales Message", "SMsgCB"},
  };
  int cell = 0;
  for (const auto& [caption, name] : boxes) {
    auto* box = new QCheckBox(tr(caption), checks);
    box->setObjectName(name);
    grid->addWidget(box, cell / 2, cell % 2);
    ++cell;
  }
  page.column->addWidget(checks);
  AddEdit(page.form, tr("Line Widths:"), "LineWidthVal");
  auto* logo = new QHBoxLayout;
  page.column->addLayout(logo);
  AddCheck(logo, tr("Print bitmap logo"), "UseBmpCB");
  LogoBitmapButton_ = AddButton<QPushButton>(logo, tr("Bitmap Image"), "LogoBitmapButton");
  auto* sizes = new QWidget(page.widget);
  auto* sizeForm = new QFormLayout(sizes);
  AddFileName(sizeForm, "LogoFileName");
  AddEdit(sizeForm, tr("Box Top:"), "BigBxTop");
  AddEdit(sizeForm, tr("Top Margin:"), "TopFormMar");
  AddEdit(sizeForm, tr("Left Margin:"), "LeftFormMar");
  AddEdit(sizeForm, tr("Max Lines:"), "MaxLines");
  page.column->addWidget(sizes);
  AddCheck(page.column, tr("Don't Print Company Name and Address"), "CNameOnForm");
  auto* indent = new QWidget(page.widget);
  AddEdit(new QFormLayout(indent), tr("Move Addresses to Right an Additional:"), "PushAddr");
  page.column->addWidget(indent);
  HeadersButton_ = AddButton<QPushButton>(page.column, tr("Headers/Fonts/Colors"), "HeadersButton");
  page.column->addStretch();
  return page.widget;
}

QWidget* TCoOptions::BuildSalesMessageTab() {
  Page page = NewPage(PageControl1_);
  page.form->addRow(new QLabel(tr("Enter a sales message to appear on your invoices:"), page.widget));
  for (const char* name : {"SM1", "SM2", "SM3", "SM4"}) {
    auto* edit = new QLineEdit(page.widget);
    edit->setObjectName(name);
    page.form->addRow(edit);
  }
  page.column->addStretch();
  return page.widget;
}

QWidget* TCoOptions::BuildGraphicsTab() {
  Page page = NewPage(PageControl1_);
  auto* background = new QHBoxLayout;
  page.column->addLayout(background);
  AddCheck(background, tr("Main screen bitmap background"), "TCBitmaps");
  BackBitmapButton_ = AddButton<QPushButton>(background, tr("Bitmap Image"), "BackBitmapButton");
  AddFileName(page.form, "BackgroundFileName");
  BackgroundPreview_ = new QLabel(page.widget);
  BackgroundPreview_->setObjectName("BackgroundPreview");
  BackgroundPreview_->setFixedSize(kPreviewSize);
  BackgroundPreview_->setFrameShape(QFrame::Box);
  BackgroundPreview_->setAlignment(Qt::AlignCenter);
  page.column->addWidget(BackgroundPreview_);

  auto* fonts = new QGridLayout;
  page.column->addLayout(fonts);
  EditorFontButton_ = new QPushButton(tr("Invoice Editor Font/Color"), page.widget);
  EditorFontSample_ = new QLabel(tr("Editor Font Style"), page.widget);
  ManagerFontButton_ = new QPushButton(tr("Managers Font/Color"), page.widget);
  ManagerFontSample_ = new QLabel(tr("Managers Font Style"), page.widget);
  fonts->addWidget(EditorFontButton_, 0, 0);
  fonts->addWidget(EditorFontSample_, 0, 1);
  fonts->addWidget(ManagerFontButton_, 1, 0);
  fonts->addWidget(ManagerFontSample_, 1, 1);
  fonts->addWidget(new QLabel(tr("( Managers fonts are limited to the fixed-pitch fonts on your system )"),
                              page.widget),
                   2, 0, 1, 2);
  page.column->addStretch();
  return page.widget;
}

QWidget* TCoOptions::BuildEnvelopesTab() {
  Page page = NewPage(PageControl1_);
  auto* font = new QHBoxLayout;
  page.column->insertLayout(0, font);
  EnvelopeFontButton_ = AddButton<QPushButton>(font, tr("Font"), "EnvelopeFontButton");
  EnvelopeFontSample_ = new QLabel(tr("Current Font"), page.widget);
  font->addWidget(EnvelopeFontSample_, 1);
  AddEdit(page.form, tr("Line Spacing:"), "ELineSpace");
  AddEdit(page.form, tr("Left Margin:"), "LMarSet");
  AddEdit(page.form, tr("Top Margin:"), "TopMarSet");
  AddEdit(page.form, tr("Send Address Left: "), "SendAddLeft");
  AddCheck(page.column, tr("Print Envelope in Landscape Mode"), "LandSCB");
  AddCheck(page.column, tr("Use Ship-To Address"), "UseShipAdd");
  AddCheck(page.column, tr("Print Company Return Address"), "PCoAddr");
  page.column->addStretch();
  return page.widget;
}

void TCoOptions::ConnectSignals() {
  connect(SaveButton_, &QPushButton::clicked, this, &TCoOptions::SaveButtonClick);
  connect(CancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TCoOptions::HelpButtonClick);
  connect(HeadersButton_, &QPushButton::clicked, this, &TCoOptions::HeadersButtonClick);
  connect(LogoBitmapButton_, &QPushButton::clicked, this, &TCoOptions::LogoBitmapButtonClick);
  connect(BackBitmapButton_, &QPushButton::clicked, this, &TCoOptions::BackBitmapButtonClick);
  connect(EditorFontButton_, &QPushButton::clicked, this, &TCoOptions::EditorFontButtonClick);
  connect(ManagerFontButton_, &QPushButton::clicked, this, &TCoOptions::ManagerFontButtonClick);
  connect(EnvelopeFontButton_, &QPushButton::clicked, this, &TCoOptions::EnvelopeFontButtonClick);
}

void TCoOptions::Begin(const CompanyEdit& edit, Save save) {
  save_ = std::move(save);
  edit_ = edit;
  setWindowTitle(edit.adding ? tr("Company Options") : tr("Edit Company"));
  LoadTerms();
  ShowControlValues(OptionsOf(edit.record));
  TextEditNamed(*this, "CoNumb")->setEnabled(edit.adding);
  PageControl1_->setCurrentIndex(0);
}

void TCoOptions::LoadTerms() {
  std::vector<std::string> terms;
  const model::FileOutcome loaded = model::LoadTerms(terms);
  if (!loaded) services_.dialogs.inform("Company Options", loaded.error, platform::Icon::kError);
  auto* combo = findChild<QComboBox*>("DFTerms");
  combo->clear();
  for (const std::string& term : terms) combo->addItem(ToQString(term));
}

CompanyOptions TCoOptions::ControlValues() const {
  CompanyOptions options = values_;
  ReadTexts(*this, CompanyTextControls(), options);
  for (const auto& control : CompanyCheckControls()) {
    options.*control.value = findChild<QAbstractButton*>(ToQString(control.name))->isChecked();
  }
  return options;
}

void TCoOptions::ShowControlValues(const CompanyOptions& options) {
  values_ = options;
  ShowTexts(*this, CompanyTextControls(), options);
  for (const auto& control : CompanyCheckControls()) ShowCheck(control, options.*control.value);
  ShowSamples();
  ShowBackgroundPreview();
}

// An exclusive radio button cannot be unchecked itself: its partner is checked instead.
void TCoOptions::ShowCheck(const CheckControl<CompanyOptions>& control, bool checked) {
  const bool byPartner = !checked && !control.partner.empty();
  const std::string_view name = byPartner ? control.partner : control.name;
  findChild<QAbstractButton*>(ToQString(name))->setChecked(byPartner || checked);
}

void TCoOptions::ShowSamples() {
  ShowFontSample(EditorFontSample_, values_.ScreenFont);
  ShowFontSample(ManagerFontSample_, values_.ManagerFont);
  ShowFontSample(EnvelopeFontSample_, values_.EnvelopeFont);
}

void TCoOptions::ShowBackgroundPreview() {
  const QPixmap picture(TextEditNamed(*this, "BackgroundFileName")->text());
  if (picture.isNull()) {
    BackgroundPreview_->clear();
  } else {
    BackgroundPreview_->setPixmap(picture.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
}

void TCoOptions::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

// The name comes first also when adding: the number is already offered.
void TCoOptions::FormShow() { TextEditNamed(*this, "CName")->setFocus(); }

void TCoOptions::SaveButtonClick() {
  if (!save_) return;
  const SaveOutcome outcome = save_(ControlValues(), edit_);
  if (outcome) {
    accept();
  } else if (!outcome.refusedControl.empty()) {
    FocusControl(outcome.refusedControl);
  }
}

void TCoOptions::FocusControl(std::string_view name) {
  auto* control = findChild<QWidget*>(ToQString(name));
  if (control == nullptr) return;
  for (int tab = 0; tab < PageControl1_->count(); ++tab) {
    if (PageControl1_->widget(tab)->isAncestorOf(control)) PageControl1_->setCurrentIndex(tab);
  }
  control->setFocus();
}

void TCoOptions::HelpButtonClick() { services_.help.ShowTopic(platform::qt::HelpKeywordOf(this)); }

void TCoOptions::HeadersButtonClick() {
  HeadersDlg_->SetValues(values_.Headers);
  if (HeadersDlg_->exec() == QDialog::Accepted) values_.Headers = HeadersDlg_->Values();
}

QString TCoOptions::ChoosePicture() {
  const QString chosen =
      QFileDialog::getOpenFileName(this, tr("Bitmap Image"), QString(), tr("Bitmap images (*.bmp)"));
  if (chosen.isEmpty()) return {};
  const std::optional<std::string> stored = PictureFileName(chosen.toStdString(), services_.dialogs);
  return stored ? ToQString(*stored) : QString();
}

void TCoOptions::LogoBitmapButtonClick() {
  const QString picture = ChoosePicture();
  if (!picture.isEmpty()) TextEditNamed(*this, "LogoFileName")->setText(picture);
}

void TCoOptions::BackBitmapButtonClick() {
  const QString picture = ChoosePicture();
  if (picture.isEmpty()) return;
  TextEditNamed(*this, "BackgroundFileName")->setText(picture);
  ShowBackgroundPreview();
}

void TCoOptions::EditorFontButtonClick() {
  if (ChooseStoredFont(this, values_.ScreenFont)) ShowSamples();
}

void TCoOptions::ManagerFontButtonClick() {
  if (ChooseStoredFont(this, values_.ManagerFont, QFontDialog::MonospacedFonts)) ShowSamples();
}

void TCoOptions::EnvelopeFontButtonClick() {
  if (ChooseStoredFont(this, values_.EnvelopeFont)) ShowSamples();
}

}  // namespace shell::ui
