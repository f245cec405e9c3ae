#include "shell/ui/manager_frame.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "engine/browser_source.h"
#include "engine/ui/fvc_browser.h"
#include "platform/qt/progress_window.h"
#include "shell/ui/find_box.h"
#include "shell/ui/fonts.h"

namespace shell::ui {
namespace {

constexpr int kBrowserRows = 50;

}  // namespace

QFont ManagerFontOf(const model::CompanyRecord& company, const QFont& fallback) {
  QFont font = FontOf(company.ManagerFont, fallback);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

TManagerFrame::TManagerFrame(AppServices& services, QWidget* parent)
    : QWidget(parent),
      services_(services),
      CompanyLabel_(new QLabel(this)),
      Browser_(new TFvcBrowser(this)),
      StatusBar1_(new QStatusBar(this)),
      CountPanel_(new QLabel(this)),
      MessagePanel_(new QLabel(this)),
      ProgressWindow_(new platform::qt::TProgressWindow(this)) {
  StatusBar1_->setSizeGripEnabled(false);
  StatusBar1_->addWidget(CountPanel_);
  StatusBar1_->addWidget(MessagePanel_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(CompanyLabel_);
  layout->addWidget(Browser_, 1);
  layout->addWidget(StatusBar1_);
  Browser_->installEventFilter(this);
  Browser_->OnDblClick = [this] { emit rowChosen(); };
  ApplyCompanyFonts();
}

TManagerFrame::~TManagerFrame() { Close(); }

void TManagerFrame::ApplyCompanyFonts() {
  const model::CompanyRecord& company = services_.session.CurrentCompany;
  CompanyLabel_->setText(platform::qt::ToQString(company.CompanyName.str()) + "   #" +
                         platform::qt::ToQString(company.CompanyNo.str()));
  CompanyLabel_->setFont(FontOf(company.ScreenFont, font()));
  QPalette palette = CompanyLabel_->palette();
  palette.setColor(QPalette::WindowText, ColorOf(company.ScreenFont.Color));
  CompanyLabel_->setPalette(palette);
  Browser_->setFont(ManagerFontOf(company, font()));
}

bool TManagerFrame::Open(files::FileDescription description, engine::KeyNumber order, std::span<std::byte> record,
                         std::function<std::string()> buildRow) {
  Close();
  ApplyCompanyFonts();
  record_ = record;
  file_ = std::make_unique<files::KeyedFile>(services_.engine, services_.dialogs, *ProgressWindow_,
                                              std::move(description));
  if (!file_->Open()) return false;
  auto source = file_->BrowserOver(order, record, kBrowserRows);
  source->OnBuildRow = [buildRow = std::move(buildRow)](engine::RowRec& row) {
    // A record deleted since its key was met cannot be shown.
    row.elements.assign(1, row.readStatus == 0 ? buildRow() : std::string("****"));
    return 0;
  };
  Browser_->AttachDataSource(std::move(source));
  ShowCount();
  return true;
}

bool TManagerFrame::OpenOrEndProgram(files::FileDescription description, engine::KeyNumber order,
                                     std::span<std::byte> record, std::function<std::string()> buildRow,
                                     std::string_view refusal) {
  return OpenOrEndProgram(std::move(description), order, record, std::move(buildRow),
                          [refusal](int) { return std::string(refusal); });
}

bool TManagerFrame::OpenOrEndProgram(files::FileDescription description, engine::KeyNumber order,
                                     std::span<std::byte> record, std::function<std::string()> buildRow,
                                     const std::function<std::string(int status)>& refusal) {
  if (Open(std::move(description), order, record, std::move(buildRow))) return true;
  EndProgram(refusal(file_->FailureStatus()));
  return false;
}

void TManagerFrame::EndProgram(std::string_view refusal) {
  QWidget* manager = window();
  services_.dialogs.inform(manager->windowTitle().toStdString(), refusal, platform::Icon::kError);
  emit programMustEnd();
  if (auto* dialog = qobject_cast<QDialog*>(manager)) QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
}

void TManagerFrame::Close() {
  Browser_->AttachDataSource(nullptr);
  if (file_) file_->Close();
  file_.reset();
}

bool TManagerFrame::IsOpen() const { return file_ && file_->IsOpen(); }

void TManagerFrame::ShowCount() {
  std::int32_t count = 0;
  if (IsOpen()) {
    const engine::KeyNumber order = Order();
    count = order == 0 ? file_->UsedRecords() : file_->KeysInIndex(order);
  }
  CountPanel_->setText(countPrefix_ + QString::number(count));
}

void TManagerFrame::SetHeader(const QString& header) { Browser_->SetHeader(header); }
void TManagerFrame::SetMessage(const QString& text) { MessagePanel_->setText(text); }
QString TManagerFrame::Message() const { return MessagePanel_->text(); }
QString TManagerFrame::CountText() const { return CountPanel_->text(); }
QString TManagerFrame::CompanyCaption() const { return CompanyLabel_->text(); }
void TManagerFrame::SetCompanyCaption(const QString& caption) { CompanyLabel_->setText(caption); }
void TManagerFrame::AddStatusPanel(QWidget* panel) { StatusBar1_->addPermanentWidget(panel); }

engine::KeyNumber TManagerFrame::Order() const { return Browser_->KeyNumber(); }

void TManagerFrame::SetOrder(engine::KeyNumber order) {
  const engine::RecordNumber current = Browser_->CurrentRecordNumber();
  // The key is taken before the new order refills the rows, which overwrites the buffer.
  std::optional<engine::KeyString> key;
  if (current > 0 && Browser_->CurrentRecord()) key = file_->description().buildKey(record_, order);
  Browser_->SetKeyNumber(order);
  if (key) Browser_->PositionAtKey(*key, current);
  ShowCount();
}

void TManagerFrame::PositionOn(engine::RecordNumber number, const engine::KeyString& key) {
  Browser_->PositionAtKey(key, number);
  ShowCount();
}

void TManagerFrame::Refresh() {
  Browser_->Refresh();
  ShowCount();
}

bool TManagerFrame::ReadCurrent() { return Browser_->CurrentRecordNumber() > 0 && Browser_->CurrentRecord(); }

engine::RecordNumber TManagerFrame::CurrentRecordNumber() const { return Browser_->CurrentRecordNumber(); }

std::optional<FoundRow> TManagerFrame::FindRow(FindMode mode, const QString& title) {
  if (!IsOpen()) return std::nullopt;
  TFindBox box(services_.dialogs, services_.help, this);
  // The search looks the file up when it runs, never keeping it.
  box.SetSearch(
      mode, [this, mode](std::string_view text) { return FindRows(*file_, mode, text); }, title);
  if (box.exec() != TFindBox::kRowChosen) return std::nullopt;
  return box.SelectedRow();
}

bool TManagerFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Browser_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      emit rowChosen();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace shell::ui
