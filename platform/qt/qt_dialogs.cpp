#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"

namespace platform::qt {
namespace {

QMessageBox::Icon IconOf(Icon icon) {
  switch (icon) {
    case Icon::kNone: return QMessageBox::NoIcon;
    case Icon::kInformation: return QMessageBox::Information;
    case Icon::kWarning: return QMessageBox::Warning;
    case Icon::kError: return QMessageBox::Critical;
    case Icon::kQuestion: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk: return QMessageBox::Ok;
    case Buttons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// Closing the box with Escape or the title bar gives the most cautious answer.
Answer AnswerOf(int button, Buttons buttons) {
  switch (button) {
    case QMessageBox::Ok: return Answer::kOk;
    case QMessageBox::Yes: return Answer::kYes;
    case QMessageBox::No: return Answer::kNo;
    default: return buttons == Buttons::kYesNo ? Answer::kNo : Answer::kCancel;
  }
}

// Without a default the box makes its first button (OK or Yes) the default.
int ShowBox(std::string_view caption, std::string_view text, Icon icon, Buttons buttons,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
  QMessageBox box(IconOf(icon), ToQString(caption), ToQString(text), ButtonsOf(buttons),
                  QApplication::activeWindow());
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  return box.exec();
}

}  // namespace

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

TPromptDlg::TPromptDlg(QWidget* parent) : QDialog(parent), Prompt_(new QLabel(this)), Password_(new QLineEdit(this)) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  HelpButton_ = buttons->addButton(QObject::tr("Help"), QDialogButtonBox::HelpRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TPromptDlg::HelpButtonClick);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Prompt_);
  layout->addWidget(Password_);
  layout->addWidget(buttons);
  setMinimumWidth(320);
}

std::optional<std::string> TPromptDlg::Ask(std::string_view caption, bool secret, int maxLength,
                                           std::string_view helpKeyword,
                                           const std::function<void(std::string_view)>& showHelp) {
  setWindowTitle(ToQString(caption));
  // The caption says what to type; shown in the box too, as not every desktop draws titles.
  Prompt_->setText(ToQString(caption) + ':');
  Password_->clear();
  Password_->setEchoMode(secret ? QLineEdit::Password : QLineEdit::Normal);
  Password_->setMaxLength(maxLength);
  helpKeyword_ = helpKeyword;
  showHelp_ = showHelp;
  HelpButton_->setVisible(!helpKeyword_.empty() && showHelp_);
  SetHelpKeyword(*this, helpKeyword_);
  Password_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Password_->text().toStdString();
}

void TPromptDlg::HelpButtonClick() {
  if (showHelp_) showHelp_(helpKeyword_);
}

void QtDialogs::inform(std::string_view caption, std::string_view text, Icon icon) {
  ShowBox(caption, text, icon, Buttons::kOk);
}

bool QtDialogs::confirm(std::string_view caption, std::string_view text, Answer defaultAnswer) {
  const QMessageBox::StandardButton defaultButton = defaultAnswer == Answer::kNo ? QMessageBox::No : QMessageBox::Yes;
  return AnswerOf(ShowBox(caption, text, Icon::kQuestion, Buttons::kYesNo, defaultButton), Buttons::kYesNo) ==
         Answer::kYes;
}

Answer QtDialogs::ask(std::string_view caption, std::string_view text, Buttons buttons, Icon icon) {
  return AnswerOf(ShowBox(caption, text, icon, buttons), buttons);
}

std::optional<std::string> QtDialogs::prompt(std::string_view caption, bool secret, int maxLength,
                                             std::string_view helpKeyword) {
  TPromptDlg dialog(QApplication::activeWindow());
  return dialog.Ask(caption, secret, maxLength, helpKeyword, showHelp_);
}

}  // namespace platform::qt
