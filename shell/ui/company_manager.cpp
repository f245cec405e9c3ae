#include "shell/ui/company_manager.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include "files/company_files.h"
#include "model/keys.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/companies.h"
#include "shell/ui/company_options.h"
#include "shell/ui/find_box.h"
#include "shell/ui/manager_frame.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kManagerCaption = "Company Manager";

}  // namespace

TCoManager::TCoManager(AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      Frame_(new TManagerFrame(services_, this)),
      CoOptions_(new TCoOptions(services_, this)),
      ByNumber_(new QRadioButton(tr("By &Number"), this)),
      ByName_(new QRadioButton(tr("By Na&me"), this)),  // Alt+A is for "&Add"
      AddButton_(new QPushButton(tr("&Add"), this)),
      EditButton_(new QPushButton(tr("&Edit"), this)),
      DeleteButton_(new QPushButton(tr("&Delete"), this)),
      SetDefaultButton_(new QPushButton(tr("&Set As Default"), this)),
      FindButton_(new QPushButton(tr("&Find"), this)),
      ListButton_(new QPushButton(tr("Company &List"), this)),
      PrintWindowButton_(new QPushButton(tr("Print &Window"), this)),
      CloseButton_(new QPushButton(tr("&Close"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setWindowTitle(ToQString(kManagerCaption));
  connect(Frame_, &TManagerFrame::programMustEnd, this, &TCoManager::programMustEnd);
  platform::qt::SetHelpKeyword(*this, "CompanyManager");
  ByNumber_->setChecked(true);
  Frame_->SetCountPrefix(ToQString(kCompanyCountPrefix));
  Frame_->SetHeader(ToQString(CompanyBrowserHeader()));
  BuildLayout();
  ConnectSignals();
}

TCoManager::~TCoManager() = default;

void TCoManager::BuildLayout() {
  auto* order = new QGroupBox(tr("Order"), this);
  auto* orderRow = new QHBoxLayout(order);
  orderRow->addWidget(ByNumber_);
  orderRow->addWidget(ByName_);
  orderRow->addStretch();

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {AddButton_, EditButton_, DeleteButton_, SetDefaultButton_, FindButton_, ListButton_,
                              PrintWindowButton_, CloseButton_, HelpButton_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch();

  auto* left = new QVBoxLayout;
  left->addWidget(order);
  left->addWidget(Frame_, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  resize(780, 480);
}

void TCoManager::ConnectSignals() {
  connect(ByNumber_, &QRadioButton::toggled, this, &TCoManager::OrderClick);
  connect(AddButton_, &QPushButton::clicked, this, &TCoManager::AddButtonClick);
  connect(EditButton_, &QPushButton::clicked, this, &TCoManager::EditButtonClick);
  connect(DeleteButton_, &QPushButton::clicked, this, &TCoManager::DeleteButtonClick);
  connect(SetDefaultButton_, &QPushButton::clicked, this, &TCoManager::SetDefaultButtonClick);
  connect(FindButton_, &QPushButton::clicked, this, &TCoManager::FindButtonClick);
  connect(ListButton_, &QPushButton::clicked, this, &TCoManager::ListButtonClick);
  connect(PrintWindowButton_, &QPushButton::clicked, this, &TCoManager::PrintWindowButtonClick);
  connect(CloseButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TCoManager::HelpButtonClick);
  // A double-click or Enter on a company opens it for editing.
  connect(Frame_, &TManagerFrame::rowChosen, this, &TCoManager::EditButtonClick);
}

int TCoManager::exec() {
  if (!OpenCompanyList()) return QDialog::Rejected;
  return QDialog::exec();
}

void TCoManager::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TCoManager::FormShow() {
  if (!Frame_->IsOpen()) OpenCompanyList();
}

bool TCoManager::OpenCompanyList() {
  if (Frame_->IsOpen()) return true;
  currentCompanyEdited_ = false;
  return Frame_->OpenOrEndProgram(files::DescribeFile(files::CompanyFile::kCompanyList), ChosenOrder(),
                                  engine::RecordBytes(record_), [this] { return CompanyBrowserRow(record_); },
                                  kUnableToOpenCompanies);
}

void TCoManager::done(int result) {
  Frame_->Close();
  QDialog::done(result);
}

engine::KeyNumber TCoManager::ChosenOrder() const {
  return ByName_->isChecked() ? model::company_key::kName : model::company_key::kNumber;
}

void TCoManager::ShowStored(engine::RecordNumber number, const model::CompanyRecord& company) {
  Frame_->PositionOn(number, model::BuildKey(company, ChosenOrder()));
}

void TCoManager::OrderClick() {
  if (Frame_->IsOpen()) Frame_->SetOrder(ChosenOrder());
}

TCoOptions::Save TCoManager::OptionsSave() {
  return [this](const CompanyOptions& options, CompanyEdit& edit) {
    if (!Frame_->IsOpen()) return SaveOutcome{};
    return SaveCompany(Frame_->File(), services_.dialogs, options, edit);
  };
}

void TCoManager::AddButtonClick() {
  if (!Frame_->IsOpen()) return;
  CoOptions_->Begin(BeginNewCompany(Frame_->File(), services_.session.CurrentCompany), OptionsSave());
  if (CoOptions_->exec() != QDialog::Accepted) return;
  ShowStored(CoOptions_->Edit().number, CoOptions_->Edit().record);
}

void TCoManager::EditButtonClick() {
  if (!Frame_->IsOpen() || !Frame_->ReadCurrent()) return;
  // A copy: the browser reads rows into its buffer while a message is open.
  const model::CompanyRecord stored = record_;
  const CompanyEdit edit = BeginEditCompany(Frame_->CurrentRecordNumber(), stored, services_.dialogs);
  CoOptions_->Begin(edit, OptionsSave());
  if (CoOptions_->exec() != QDialog::Accepted) return;
  if (SameCompanyNumber(edit.record, services_.session.CurrentCompany)) currentCompanyEdited_ = true;
  ShowStored(CoOptions_->Edit().number, CoOptions_->Edit().record);
}

void TCoManager::DeleteButtonClick() {
  if (!Frame_->IsOpen() || !Frame_->ReadCurrent()) return;
  const model::CompanyRecord company = record_;
  if (DeleteCompany(Frame_->File(), services_.dialogs, services_.session.CurrentCompany,
                    Frame_->CurrentRecordNumber(), company)) {
    Frame_->Refresh();
  }
}

void TCoManager::SetDefaultButtonClick() {
  if (!Frame_->IsOpen() || !Frame_->ReadCurrent()) return;
  chosen_ = record_;
  if (CanBeDefault(chosen_, services_.dialogs)) accept();
}

void TCoManager::FindButtonClick() {
  if (!Frame_->IsOpen()) return;
  const std::optional<FoundRow> row = Frame_->FindRow(FindMode::kCompanies, tr("Find Company"));
  if (!row || row->subItems.empty()) return;
  engine::RecordNumber number = 0;
  model::CompanyRecord found{};
  if (LocateCompany(Frame_->File(), row->subItems.front(), number, found)) ShowStored(number, found);
}

void TCoManager::ListButtonClick() {
  if (!Frame_->IsOpen()) return;
  platform::qt::PrinterCanvas canvas(&services_.printer);
  const bool printed = PrintCompanyList(Frame_->File(), services_.dialogs, services_.clock, canvas);
  Frame_->SetMessage(platform::qt::PrintoutStatus(printed, canvas));
}

void TCoManager::PrintWindowButtonClick() {
  platform::qt::PrinterCanvas canvas(&services_.printer);
  Frame_->SetMessage(
      platform::qt::PrintoutStatus(platform::qt::PrintWindowPicture(*this, kManagerCaption, canvas), canvas));
}

void TCoManager::HelpButtonClick() { services_.help.ShowTopic(platform::qt::HelpKeywordOf(this)); }

}  // namespace shell::ui
