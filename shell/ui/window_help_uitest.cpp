// F1 and the Help buttons of every window open the window's own help topic.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <memory>

#include <gtest/gtest.h>

#include "platform/qt/help_key.h"
#include "shell/ui/aging_chart.h"
#include "shell/ui/backup_panel.h"
#include "shell/ui/company_manager.h"
#include "shell/ui/company_options.h"
#include "shell/ui/customer_edit.h"
#include "shell/ui/customer_manager.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/find_box.h"
#include "shell/ui/headers_dialog.h"
#include "shell/ui/main_form.h"
#include "shell/ui/product_edit.h"
#include "shell/ui/product_manager.h"
#include "shell/ui/terms_edit.h"
#include "shell/ui/testing/window_fixture.h"

namespace shell::ui {
namespace {

using Topics = std::vector<std::string>;

// F1 where the user would press it: on the window's focus child, or on the window.
void PressF1(QWidget& window) {
  QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

// The window's own Help button, not one of a dialog or panel it holds that has a
// topic of its own.
QPushButton* HelpButtonOf(QWidget& window) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    const bool own = button->window() == &window &&
                     platform::qt::HelpKeywordOf(button->parentWidget()) == platform::qt::HelpKeywordOf(&window);
    if (button->text() == "Help" && own) return button;
  }
  return nullptr;
}

class WindowHelpTest : public shell::testing::WindowFixture {
 protected:
  platform::qt::HelpKey helpKey_{help_};
};

TEST_F(WindowHelpTest, F1OpensTheTopicOfEveryWindowAndItsHelpButtonTheSame) {
  struct Window {
    std::unique_ptr<QWidget> widget;
    const char* keyword;
  };
  Window windows[] = {
      {std::make_unique<TMainForm>(services_), "Main window"},
      {std::make_unique<TCoManager>(services_), "CompanyManager"},
      {std::make_unique<TCoOptions>(services_), "CompanyOptions"},
      {std::make_unique<THeadersDlg>(help_), "HeadersFontsColors"},
      {std::make_unique<TCustManager>(services_), "CustomerManager"},
      {std::make_unique<TEditRecord>(help_), "EditCustomer"},
      {std::make_unique<TProdManager>(services_), "ProductManager"},
      {std::make_unique<TEditProduct>(help_), "NewProduct"},
      {std::make_unique<TDateSel>(session_, help_), "VTCalendar"},
      {std::make_unique<TTermsEdit>(dialogs_), "EditTerms"},
      {std::make_unique<TFindBox>(dialogs_, help_), "FindData"},
      {std::make_unique<TBackupPanel>(dialogs_, help_), "backupdata"},
      {std::make_unique<TAgingChart>(help_), "AgingChart"},
  };
  for (Window& window : windows) {
    SCOPED_TRACE(window.keyword);
    help_.topics.clear();
    PressF1(*window.widget);
    if (QPushButton* help = HelpButtonOf(*window.widget)) help->click();
    const Topics expected(help_.topics.size(), window.keyword);
    EXPECT_FALSE(help_.topics.empty());
    EXPECT_EQ(help_.topics, expected);
  }
}

}  // namespace
}  // namespace shell::ui
