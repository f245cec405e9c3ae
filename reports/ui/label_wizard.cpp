#include "reports/ui/label_wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRegularExpressionValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "files/company_files.h"
#include "model/whole_file.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/wait_cursor.h"
#include "reports/label_print.h"
#include "shell/ui/customer_manager.h"
#include "shell/ui/fonts.h"
#include "shell/ui/headers_dialog.h"
#include "shell/ui/storable_text.h"

namespace reports::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "LabelWizard";
constexpr std::string_view kOpenLayoutStatus = "Open a label layout file (Label Menu)...";
constexpr std::string_view kReadyStatus = "Ready. Add and remove records as needed or select print button.";
const char* const kLayoutFilter = "Label files (*.LBL)";
const char* const kListFilter = "Record List (*.LST)";

std::string Text(const QLineEdit* field) { return field->text().toStdString(); }

QLineEdit* NumberField(QWidget* parent, int capacity) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(capacity);
  field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(QString(capacity + 2, '0')) + 12);
  return field;
}

QLineEdit* TextField(QWidget* parent, int capacity) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(capacity);
  return field;
}

QToolButton* ToolButton(QWidget* parent, const QString& text, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolTip(hint);
  return button;
}

// The chosen file with `extension` added when the user typed none.
std::filesystem::path WithExtension(const QString& chosen, std::string_view extension) {
  std::filesystem::path path = chosen.toStdString();
  if (!path.has_extension()) path.replace_extension(extension);
  return path;
}

}  // namespace

Tlblwiz::Tlblwiz(shell::ui::AppServices& services, std::filesystem::path dataFolder, QWidget* parent)
    : QDialog(parent), services_(services), dataFolder_(std::move(dataFolder)) {
  setWindowTitle(ToQString(kLabelWizardCaption));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  BuildControls();
  BuildLayout();
  BuildMenu();
  ConnectSignals();
  shell::ui::KeepTextStorable(this);
  FormCreate();
}

void Tlblwiz::BuildControls() {
  LabelList_ = new QTreeWidget(this);
  LabelList_->setHeaderLabels({tr("Number"), tr("Customer Name"), tr("Sort Code"), tr("Customer Type")});
  LabelList_->setRootIsDecorated(false);
  LabelList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  AddOne_ = ToolButton(this, tr("Find"), tr("Find Customer"));
  SpeedButton2_ = ToolButton(this, tr("Delete"), tr("Delete Record"));
  LoadAllRecs_ = ToolButton(this, tr("All"), tr("Load All Customers"));
  SavetoFile_ = ToolButton(this, tr("Save"), tr("Save Records to File"));
  LoadFrmFile_ = ToolButton(this, tr("Load"), tr("Load Records from Saved File"));
  SpeedButton3_ = ToolButton(this, tr("Clear"), tr("Clear All Records"));
  zero30_ = new QPushButton(tr("0-30"), this);
  A3060_ = new QPushButton(tr("31-60"), this);
  A6090_ = new QPushButton(tr("61-90"), this);
  AOver90_ = new QPushButton(tr("Over 90"), this);
  PrnButn_ = new QPushButton(tr("&Print Labels"), this);
  SpeedButton4_ = new QPushButton(tr("Print S&etup"), this);
  FontButn_ = new QPushButton(tr("&Font"), this);
  BitMpButn_ = new QPushButton(tr("&Bitmap"), this);
  HelpButn_ = new QPushButton(tr("Help"), this);
  Edit1_ = TextField(this, 50);
  Edit1_->setMinimumWidth(Edit1_->fontMetrics().horizontalAdvance(QString(36, 'n')));
  LMargin_ = NumberField(this, 3);
  TMargin_ = NumberField(this, 3);
  ColAcross_ = NumberField(this, 1);
  RowsDown_ = NumberField(this, 2);
  LWdth_ = NumberField(this, 4);
  LHght_ = NumberField(this, 4);
  BMapName_ = TextField(this, 255);
  MaskEdit1_ = NumberField(this, 1);
  CaptName_ = TextField(this, 10);
  LblStart_ = NumberField(this, 3);
  LabelCopies_ = NumberField(this, 3);
  PLine_ = new QCheckBox(tr("Print line between addresses"), this);
  UseCmpAdd_ = new QCheckBox(tr("Print company return address"), this);
  CheckBox1_ = new QCheckBox(tr("Use Shipping Address"), this);
  StatusBar1_ = new QStatusBar(this);
  StatusBar1_->setSizeGripEnabled(false);
}

void Tlblwiz::BuildLayout() {
  auto* queueTools = new QHBoxLayout;
  for (QToolButton* button : {AddOne_, SpeedButton2_, LoadAllRecs_, SavetoFile_, LoadFrmFile_, SpeedButton3_}) {
    queueTools->addWidget(button);
  }
  queueTools->addSpacing(12);
  for (QPushButton* button : {zero30_, A3060_, A6090_, AOver90_}) queueTools->addWidget(button);
  queueTools->addStretch();

  auto* sheet = new QGroupBox(tr("Label Layout"), this);
  auto* grid = new QGridLayout(sheet);
  const auto addField = [&](int row, int column, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption, sheet);
    label->setBuddy(field);
    grid->addWidget(label, row, column, Qt::AlignRight);
    grid->addWidget(field, row, column + 1, Qt::AlignLeft);
  };
  addField(0, 0, tr("Layout &Description:"), Edit1_);
  addField(1, 0, tr("Left Margin:"), LMargin_);
  addField(1, 2, tr("Top Margin:"), TMargin_);
  addField(2, 0, tr("Columns Across:"), ColAcross_);
  addField(2, 2, tr("Rows Down:"), RowsDown_);
  addField(3, 0, tr("Label Width:"), LWdth_);
  addField(3, 2, tr("Label Height:"), LHght_);
  addField(4, 0, tr("Send To Caption:"), CaptName_);
  addField(4, 2, tr("Line Width:"), MaskEdit1_);
  grid->addWidget(UseCmpAdd_, 5, 0, 1, 2);
  grid->addWidget(PLine_, 5, 2, 1, 2);
  grid->addWidget(CheckBox1_, 6, 0, 1, 2);
  grid->addWidget(BitMpButn_, 7, 0);
  grid->addWidget(BMapName_, 7, 1, 1, 3);
  grid->addWidget(FontButn_, 8, 0);
  grid->setColumnStretch(3, 1);

  auto* printing = new QHBoxLayout;
  const auto addCount = [&](const QString& caption, QLineEdit* field) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(field);
    printing->addWidget(label);
    printing->addWidget(field);
  };
  addCount(tr("&Start at Label:"), LblStart_);
  addCount(tr("Copies of each label:"), LabelCopies_);
  printing->addStretch();
  for (QPushButton* button : {PrnButn_, SpeedButton4_, HelpButn_}) printing->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(queueTools);
  layout->addWidget(LabelList_, 1);
  layout->addWidget(sheet);
  layout->addLayout(printing);
  layout->addWidget(StatusBar1_);
  resize(680, 640);
}

void Tlblwiz::BuildMenu() {
  auto* menuBar = new QMenuBar(this);
  QMenu* label = menuBar->addMenu(tr("&Label"));
  OpenItem_ = label->addAction(tr("&Open..."), this, [this] { OpenItemClick(); });
  SaveAsItem_ = label->addAction(tr("&Save As..."), this, [this] { SaveAsItemClick(); });
  label->addSeparator();
  RulerItem_ = label->addAction(tr("Calibration &Ruler"), this, [this] { RulerItemClick(); });
  label->addSeparator();
  CloseItem_ = label->addAction(tr("&Close"), this, &QDialog::reject);
  QMenu* records = menuBar->addMenu(tr("&Records"));
  records->addAction(tr("&Load All Customers"), this, [this] { LoadAllRecsClick(); });
  records->addAction(tr("Load 0-30 Days"), this, [this] { PullAging(AgingPull::kDays0to30); });
  records->addAction(tr("Load 31-60 Days"), this, [this] { PullAging(AgingPull::kDays31to60); });
  records->addAction(tr("Load 61-90 Days"), this, [this] { PullAging(AgingPull::kDays61to90); });
  records->addAction(tr("Load Over 90 Days"), this, [this] { PullAging(AgingPull::kOver90); });
  layout()->setMenuBar(menuBar);
}

void Tlblwiz::ConnectSignals() {
  connect(AddOne_, &QToolButton::clicked, this, [this] { AddOneClick(); });
  connect(SpeedButton2_, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
  connect(LoadAllRecs_, &QToolButton::clicked, this, [this] { LoadAllRecsClick(); });
  connect(SavetoFile_, &QToolButton::clicked, this, [this] { SavetoFileClick(); });
  connect(LoadFrmFile_, &QToolButton::clicked, this, [this] { LoadFrmFileClick(); });
  connect(SpeedButton3_, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
  connect(zero30_, &QPushButton::clicked, this, [this] { PullAging(AgingPull::kDays0to30); });
  connect(A3060_, &QPushButton::clicked, this, [this] { PullAging(AgingPull::kDays31to60); });
  connect(A6090_, &QPushButton::clicked, this, [this] { PullAging(AgingPull::kDays61to90); });
  connect(AOver90_, &QPushButton::clicked, this, [this] { PullAging(AgingPull::kOver90); });
  connect(PrnButn_, &QPushButton::clicked, this, [this] { PrnButnClick(); });
  connect(SpeedButton4_, &QPushButton::clicked, this, [this] { SpeedButton4Click(); });
  connect(FontButn_, &QPushButton::clicked, this, [this] { FontButnClick(); });
  connect(BitMpButn_, &QPushButton::clicked, this, [this] { BitMpButnClick(); });
  connect(UseCmpAdd_, &QCheckBox::clicked, this, [this] { UseCmpAddClick(); });
  connect(HelpButn_, &QPushButton::clicked, this, [this] { services_.help.ShowTopic(kHelpKeyword); });
}

void Tlblwiz::FormCreate() {
  ShowQueue();
  EnableQueue(false);
  std::filesystem::path last;
  if (documents::ReadLastLayoutPath(dataFolder_, last) != documents::LastLayout::kFound || !OpenLayout(last)) {
    ShowStatus(std::string(kOpenLayoutStatus));
  }
}

// Printing and the queue wait for a layout: without one there is nothing to print on.
void Tlblwiz::EnableQueue(bool enabled) {
  for (QWidget* control : std::initializer_list<QWidget*>{AddOne_, SpeedButton2_, LoadAllRecs_, SavetoFile_,
                                                          LoadFrmFile_, SpeedButton3_, zero30_, A3060_, A6090_,
                                                          AOver90_, PrnButn_}) {
    control->setEnabled(enabled);
  }
}

documents::LabelLayout Tlblwiz::Layout() const {
  documents::LabelLayout layout;
  layout.description = Text(Edit1_);
  layout.leftMargin = Text(LMargin_);
  layout.topMargin = Text(TMargin_);
  layout.columns = Text(ColAcross_);
  layout.rows = Text(RowsDown_);
  layout.labelWidth = Text(LWdth_);
  layout.labelHeight = Text(LHght_);
  layout.font = font_;
  layout.useShipping = CheckBox1_->isChecked();
  layout.returnAddress = UseCmpAdd_->isChecked();
  layout.bitmapName = Text(BMapName_);
  layout.printLine = PLine_->isChecked();
  layout.lineWidth = Text(MaskEdit1_);
  layout.sendToCaption = Text(CaptName_);
  return layout;
}

void Tlblwiz::ShowLayout(const documents::LabelLayout& layout) {
  Edit1_->setText(ToQString(layout.description));
  LMargin_->setText(ToQString(layout.leftMargin));
  TMargin_->setText(ToQString(layout.topMargin));
  ColAcross_->setText(ToQString(layout.columns));
  RowsDown_->setText(ToQString(layout.rows));
  LWdth_->setText(ToQString(layout.labelWidth));
  LHght_->setText(ToQString(layout.labelHeight));
  font_ = layout.font;
  CheckBox1_->setChecked(layout.useShipping);
  UseCmpAdd_->setChecked(layout.returnAddress);
  BMapName_->setText(ToQString(layout.bitmapName));
  PLine_->setChecked(layout.printLine);
  MaskEdit1_->setText(ToQString(layout.lineWidth));
  CaptName_->setText(ToQString(layout.sendToCaption));
  UseCmpAddClick();
}

bool Tlblwiz::OpenLayout(const std::filesystem::path& path) {
  std::string bytes;
  model::FileOutcome read = model::ReadWholeFile(path, bytes);
  std::string error;
  std::optional<documents::LabelLayout> layout;
  if (read) layout = documents::DecodeLabelLayout(bytes, error);
  if (!layout) {
    const std::string message = read ? "The label layout file \"" + path.string() + "\" " + error : read.error;
    services_.dialogs.inform(kLabelWizardCaption, message, platform::Icon::kError);
    return false;
  }
  documents::WriteLastLayoutPath(dataFolder_, path);
  ShowLayout(*layout);
  loaded_ = layout;
  EnableQueue(true);
  documents::CopyLayoutToLabelDat(dataFolder_, bytes);
  ShowStatus(std::string(kReadyStatus));
  return true;
}

bool Tlblwiz::SaveLayoutAs(const std::filesystem::path& path) {
  const documents::LabelLayout layout = Layout();
  if (const model::FileOutcome written = documents::WriteLabelLayout(path, layout); !written) {
    services_.dialogs.inform(kLabelWizardCaption, written.error, platform::Icon::kError);
    return false;
  }
  documents::WriteLastLayoutPath(dataFolder_, path);
  loaded_ = layout;
  return true;
}

void Tlblwiz::ShowQueue() {
  LabelList_->clear();
  for (const documents::LabelQueueEntry& entry : services_.labelQueue.Entries()) {
    QStringList columns{ToQString(entry.caption)};
    for (const std::string& item : entry.subItems) columns << ToQString(item);
    LabelList_->addTopLevelItem(new QTreeWidgetItem(columns));
  }
}

void Tlblwiz::ShowStatus(const std::string& text) { StatusBar1_->showMessage(ToQString(text)); }

std::optional<std::size_t> Tlblwiz::SelectedEntry() const {
  QTreeWidgetItem* item = LabelList_->currentItem();
  if (item == nullptr || !item->isSelected()) return std::nullopt;
  return static_cast<std::size_t>(LabelList_->indexOfTopLevelItem(item));
}

void Tlblwiz::OpenItemClick() {
  const QString chosen = QFileDialog::getOpenFileName(this, tr("Open"), QString(), tr(kLayoutFilter));
  if (!chosen.isEmpty()) OpenLayout(WithExtension(chosen, ".LBL"));
}

void Tlblwiz::SaveAsItemClick() { SaveLayoutThroughDialog(); }

bool Tlblwiz::SaveLayoutThroughDialog() {
  const QString chosen = QFileDialog::getSaveFileName(this, tr("Save As"), QString(), tr(kLayoutFilter));
  return !chosen.isEmpty() && SaveLayoutAs(WithExtension(chosen, ".LBL"));
}

void Tlblwiz::RulerItemClick() {
  platform::qt::PrinterCanvas canvas(&services_.printer);
  PrintRulerOn(canvas);
}

void Tlblwiz::PrintRulerOn(platform::PageCanvas& canvas) {
  if (const std::optional<std::string> status = PrintCalibrationRuler(canvas, services_.dialogs)) ShowStatus(*status);
}

void Tlblwiz::AddOneClick() {
  const std::optional<model::CustomerRecord> chosen = shell::ui::TCustManager(services_, this).PickCustomer();
  if (!chosen) return;
  ShowStatus(AddFoundCustomer(services_.labelQueue, *chosen));
  ShowQueue();
}

void Tlblwiz::SpeedButton2Click() {
  DeleteQueueEntry(services_.labelQueue, SelectedEntry(), services_.dialogs);
  ShowQueue();
}

void Tlblwiz::LoadAllRecsClick() {
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  if (!customers.Open()) return;
  ShowStatus(LoadAllCustomers(customers, services_.labelQueue));
  ShowQueue();
}

void Tlblwiz::PullAging(AgingPull pull) {
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  if (!customers.Open()) return;
  const std::optional<std::string> status = LoadAgingBucket(customers, services_.labelQueue, pull, services_.dialogs);
  if (status) ShowStatus(*status);
  ShowQueue();
}

void Tlblwiz::SavetoFileClick() {
  if (!QueueCanBeSaved(services_.labelQueue, services_.dialogs)) return;
  const QString chosen = QFileDialog::getSaveFileName(this, tr("Save Records"), QString(), tr(kListFilter));
  if (!chosen.isEmpty()) SaveRecordList(WithExtension(chosen, ".LST"));
}

void Tlblwiz::SaveRecordList(const std::filesystem::path& path) {
  const std::string status = SaveQueue(services_.labelQueue, path, services_.dialogs);
  if (!status.empty()) ShowStatus(status);
}

void Tlblwiz::LoadFrmFileClick() {
  const QString chosen = QFileDialog::getOpenFileName(this, tr("Load Records"), QString(), tr(kListFilter));
  if (!chosen.isEmpty()) LoadRecordList(WithExtension(chosen, ".LST"));
}

void Tlblwiz::LoadRecordList(const std::filesystem::path& path) {
  const std::string status = LoadSavedQueue(services_.labelQueue, path, services_.dialogs);
  if (!status.empty()) ShowStatus(status);
  ShowQueue();
}

void Tlblwiz::SpeedButton3Click() {
  if (services_.labelQueue.Empty()) {
    QApplication::beep();
    return;
  }
  if (const std::optional<std::string> status = ClearQueue(services_.labelQueue, services_.dialogs)) {
    ShowStatus(*status);
  }
  ShowQueue();
}

void Tlblwiz::PrnButnClick() {
  platform::qt::PrinterCanvas canvas(&services_.printer);
  PrintOn(canvas);
}

void Tlblwiz::PrintOn(platform::PageCanvas& canvas) {
  switch (CheckBeforePrinting(services_.labelQueue, Layout(), loaded_, services_.dialogs)) {
    case PrintCheck::kRefused: return;
    case PrintCheck::kSaveFirst:
      // Cancelling the save the user asked for stops the run: the labels wait for the
      // layout they meant to keep.
      if (!SaveLayoutThroughDialog()) return;
      break;
    case PrintCheck::kGo: break;
  }
  ShowStatus(std::string(kPrintingStatus));
  const platform::qt::WaitCursor hourglass;
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  if (!customers.Open()) return;
  const documents::LabelLayout layout = Layout();
  const LabelRun run{layout, services_.session.CurrentCompany, customers, Text(LblStart_), Text(LabelCopies_)};
  const std::string status = PrintLabels(run, services_.labelQueue, canvas);
  if (!status.empty()) ShowStatus(status);
}

void Tlblwiz::SpeedButton4Click() {
  QPrintDialog dialog(&services_.printer, this);
  dialog.exec();
}

void Tlblwiz::FontButnClick() {
  QFont font = platform::qt::QFontOf(font_, this->font());
  QColor color = shell::ui::ColorOf(static_cast<std::int32_t>(font_.color));
  if (shell::ui::ChooseFontAndColor(this, font, color)) font_ = platform::qt::FontSpecOf(font, color);
}

void Tlblwiz::BitMpButnClick() {
  const QString chosen =
      QFileDialog::getOpenFileName(this, tr("Bitmap"), BMapName_->text(), tr("Windows Bitmap (*.BMP)"));
  if (!chosen.isEmpty()) BMapName_->setText(chosen);
}

// The rule and the bitmap belong to the return address.
void Tlblwiz::UseCmpAddClick() {
  const bool on = UseCmpAdd_->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{PLine_, MaskEdit1_, BMapName_, BitMpButn_}) {
    control->setEnabled(on);
  }
}

}  // namespace reports::ui
