#include "platform/qt/progress_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/qt_dialogs.h"

namespace platform::qt {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 126;

}  // namespace

TProgressWindow::TProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), Frame_(new QGroupBox(this)) {
  setFixedSize(kWidth, kHeight);
  setModal(true);
  auto* frameLayout = new QVBoxLayout(Frame_);
  for (int i = 0; i < 3; ++i) {
    Lines_[i] = new QLabel(Frame_);
    Lines_[i]->setAlignment(Qt::AlignCenter);
    frameLayout->addWidget(Lines_[i]);
  }
  QFont bold = Lines_[1]->font();
  bold.setBold(true);
  Lines_[1]->setFont(bold);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Frame_);
}

void TProgressWindow::Begin(std::string_view title, std::string_view caption) {
  setWindowTitle(ToQString(title));
  Frame_->setTitle(ToQString(caption));
  for (QLabel* line : Lines_) line->clear();
  if (QScreen* screen = QApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
  if (!cursorSet_) QApplication::setOverrideCursor(Qt::WaitCursor);
  cursorSet_ = true;
  show();
  QApplication::processEvents();
}

void TProgressWindow::Show(std::span<const std::string> lines) {
  for (std::size_t i = 0; i < 3; ++i) Lines_[i]->setText(i < lines.size() ? ToQString(lines[i]) : QString());
}

void TProgressWindow::KeepResponsive() { QApplication::processEvents(); }

void TProgressWindow::End() {
  hide();
  if (cursorSet_) QApplication::restoreOverrideCursor();
  cursorSet_ = false;
}

QString TProgressWindow::Line(int index) const { return Lines_[index]->text(); }
QString TProgressWindow::Caption() const { return Frame_->title(); }

}  // namespace platform::qt
