// VT Quillary PRO: the desktop program. Its working directory is the data folder.
#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <filesystem>
#include <memory>

#include "documents/label_queue.h"
#include "engine/engine.h"
#include "model/company_session.h"
#include "invoicing/ui/invoice_manager.h"
#include "invoicing/ui/pay_box.h"
#include "invoicing/ui/select_repeat.h"
#include "platform/clock.h"
#include "platform/progress.h"
#include "platform/qt/help_key.h"
#include "platform/qt/help_window.h"
#include "platform/qt/launcher.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/single_instance.h"
#include "reports/ui/interest_wizard.h"
#include "reports/ui/label_wizard.h"
#include "reports/ui/letter_wizard.h"
#include "reports/ui/rpt_select.h"
#include "reports/ui/statement_window.h"
#include "shell/ui/main_form.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("VT Quillary Pro");

  platform::qt::SingleInstance instance(QDir::currentPath());
  if (!instance.Claim()) return 0;

  engine::Engine engine;
  platform::qt::THelpWindow help;
  platform::qt::HelpKey helpKey(help);
  platform::qt::QtDialogs dialogs([&help](std::string_view keyword) { help.ShowTopic(keyword); });
  platform::SystemClock clock;
  platform::qt::QtLauncher launcher;
  QPrinter printer(QPrinter::HighResolution);
  model::CompanySession session;
  platform::SilentProgress noProgress;  // each window shows its runs in its own progress window
  documents::LabelQueue labelQueue;

  shell::ui::TMainForm form({{engine, dialogs, noProgress, clock, session}, help, launcher, printer, labelQueue});
  if (!form.LoadCompany()) return 1;
  QObject::connect(&instance, &platform::qt::SingleInstance::activationRequested, &form,
                   &shell::ui::TMainForm::BringToFront);
  QObject::connect(&form, &shell::ui::TMainForm::programMustEnd, &application, [&form] {
    form.hide();
    QApplication::exit(1);
  });
  reports::ui::ConnectStatementCommands(form.Services());
  // Made once, so the invoice entry's work timer runs on between showings.
  std::unique_ptr<invoicing::ui::Tinvlist> invoiceManager;
  form.SetOpener(shell::ui::Command::kInvoiceManager, [&form, &invoiceManager] {
    if (!invoiceManager) {
      invoiceManager = std::make_unique<invoicing::ui::Tinvlist>(form.Services(), &form);
      QObject::connect(invoiceManager.get(), &invoicing::ui::Tinvlist::programMustEnd, &form,
                       &shell::ui::TMainForm::programMustEnd);
    }
    invoiceManager->exec();
  });
  // Made for each use: every payment starts from empty lists.
  form.SetOpener(shell::ui::Command::kPaymentWizard, [&form] {
    invoicing::ui::TPayBox wizard(form.Services(), &form);
    QObject::connect(&wizard, &invoicing::ui::TPayBox::programMustEnd, &form, &shell::ui::TMainForm::programMustEnd);
    wizard.exec();
  });
  // Made for each use: every run starts from today and an empty list.
  form.SetOpener(shell::ui::Command::kRepeatBillingWizard, [&form] {
    invoicing::ui::TSelectRepeat wizard(form.Services(), &form);
    wizard.exec();
  });
  // Made for each use, so the dates start again from "Month to Date".
  form.SetOpener(shell::ui::Command::kReportWizard, [&form] {
    reports::ui::TRptSelect wizard(form.Services(), &form);
    wizard.exec();
  });
  // Made for each use, so the options start again from the company's stored settings.
  form.SetOpener(shell::ui::Command::kInterestWizard, [&form] {
    reports::ui::TInterestWiz wizard(form.Services(), &form);
    wizard.exec();
  });
  // The queue outlives the window; the layout files live in the data folder.
  form.SetOpener(shell::ui::Command::kLabelWizard, [&form] {
    reports::ui::Tlblwiz wizard(form.Services(), std::filesystem::current_path(), &form);
    wizard.exec();
  });
  // Made for each use: every session starts on a new, untitled letter.
  form.SetOpener(shell::ui::Command::kFormLetterWizard, [&form] {
    reports::ui::TLetterWiz wizard(form.Services(), std::filesystem::current_path(), &form);
    wizard.exec();
  });
  form.show();
  const int status = QApplication::exec();
  help.close();
  return status;
}
