#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/qt/help_key.h"
#include "platform/testing/fake_desktop.h"

namespace platform::qt {
namespace {

using Topics = std::vector<std::string>;

void Press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
}

class HelpKeyTest : public ::testing::Test {
 protected:
  HelpKeyTest() {
    SetHelpKeyword(manager_, "CustomerManager");
    SetHelpKeyword(edit_, "EditCustomer");
  }

  platform::testing::RecordingHelp help_;
  HelpKey helpKey_{help_};
  QWidget manager_;
  QLineEdit* browser_ = new QLineEdit(&manager_);
  QDialog edit_{&manager_};
  QLineEdit* name_ = new QLineEdit(&edit_);
  QDialog message_{&edit_};  // a box with no topic of its own
  QPushButton* ok_ = new QPushButton(&message_);
};

TEST_F(HelpKeyTest, F1OpensTheTopicOfTheWindowItIsPressedIn) {
  manager_.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&manager_));
  browser_->setFocus();
  QTest::keyClick(manager_.windowHandle(), Qt::Key_F1);
  for (QWidget* widget : {static_cast<QWidget*>(name_), static_cast<QWidget*>(ok_)}) Press(widget, Qt::Key_F1);
  EXPECT_EQ(help_.topics, (Topics{"CustomerManager", "EditCustomer", "EditCustomer"}));
  EXPECT_EQ(HelpKeywordOf(ok_), "EditCustomer");
}

TEST_F(HelpKeyTest, WindowWithoutAnyTopicOpensTheContents) {
  QWidget stray;
  Press(&stray, Qt::Key_F1);
  EXPECT_EQ(help_.topics, Topics{"contents"});
}

TEST_F(HelpKeyTest, OtherKeysAndShiftedF1AreLeftToTheWindow) {
  Press(name_, Qt::Key_A, Qt::NoModifier, "a");
  Press(name_, Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_EQ(name_->text(), "a");
  EXPECT_TRUE(help_.topics.empty());
}

}  // namespace
}  // namespace platform::qt
