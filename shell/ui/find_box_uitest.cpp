#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/ui/find_box.h"

namespace shell::ui {
namespace {

class RecordingHelp final : public platform::Help {
 public:
  void ShowTopic(std::string_view keyword) override { topics.emplace_back(keyword); }
  void ShowContents() override {}
  std::vector<std::string> topics;
};

void Send(QWidget* to, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, at, to->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(to, &event);
}

// Customers in slot order: Mid (2), Adam (3), Zoe (1).
class FindBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    ASSERT_TRUE(customers_.Create() && customers_.Open());
    for (const auto& [name, number] : {std::pair{"Mid", "2"}, {"Adam", "3"}, {"Zoe", "1"}}) {
      model::CustomerRecord customer{};
      customer.CustName = name;
      customer.CustNo = number;
      customer.Phone1 = "555-0100";
      engine::RecordNumber added = 0;
      ASSERT_TRUE(customers_.Add(customer, added));
    }
    box_.SetSearch(
        FindMode::kCustomers, [this](std::string_view text) { return FindRows(customers_, FindMode::kCustomers, text); },
        "Find Customer");
    box_.show();
  }

  void Search(const QString& text) {
    box_.FindText()->setText(text);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(box_.FindText(), &enter);
  }
  QStringList Column(int column) const {
    QStringList texts;
    for (int row = 0; row < box_.ListView1()->topLevelItemCount(); ++row) {
      texts.append(box_.ListView1()->topLevelItem(row)->text(column));
    }
    return texts;
  }
  void ClickHeading(int column) {
    QHeaderView* header = box_.ListView1()->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    Send(header->viewport(), QEvent::MouseButtonPress, at);
    Send(header->viewport(), QEvent::MouseButtonRelease, at);
  }
  void DoubleClickRow(int row) {
    QTreeWidget* list = box_.ListView1();
    Send(list->viewport(), QEvent::MouseButtonDblClick, list->visualItemRect(list->topLevelItem(row)).center());
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  files::KeyedFile customers_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1")};
  RecordingHelp help_;
  TFindBox box_{dialogs_, help_};
};

TEST_F(FindBoxTest, FindIsEnabledOnlyWithTextAndNotAgainUntilTheTextChanges) {
  EXPECT_EQ(box_.windowTitle(), "Find Customer");
  EXPECT_EQ(box_.StatusText(), "Enter the text to search for then select Find button...");
  EXPECT_FALSE(box_.FindButton()->isEnabled());
  box_.FindText()->setText("   ");
  EXPECT_FALSE(box_.FindButton()->isEnabled());
  Search(" 555 ");
  EXPECT_FALSE(box_.FindButton()->isEnabled());
  box_.FindText()->setText("5550");
  EXPECT_TRUE(box_.FindButton()->isEnabled());
  box_.HelpButn()->click();
  EXPECT_EQ(help_.topics, std::vector<std::string>{"FindData"});
}

TEST_F(FindBoxTest, SearchListsMatchesInFileOrderUnderTheModesHeadings) {
  Search("d");
  EXPECT_EQ(Column(0), (QStringList{"Mid", "Adam"}));
  EXPECT_EQ(box_.ListView1()->headerItem()->text(2), "Phone Number");
  EXPECT_EQ(box_.StatusText(),
            "Search Complete. Found 2 items.  Double-click on first column to find matching record.");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(FindBoxTest, NoMatchIsToldInAMessageAndTheStatus) {
  Search("nobody");
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Text to Find");
  EXPECT_EQ(dialogs_.Log()[0].text, "No matching items were found.");
  EXPECT_EQ(dialogs_.Log()[0].icon, platform::Icon::kInformation);
  EXPECT_EQ(box_.StatusText(), "No items were found.");
  EXPECT_EQ(box_.ListView1()->topLevelItemCount(), 0);
}

TEST_F(FindBoxTest, HeadingClickSortsByTextAndDoubleClickClosesOnlyOnASelectedRow) {
  Search("555");
  ClickHeading(1);
  EXPECT_EQ(Column(0), (QStringList{"Zoe", "Mid", "Adam"}));
  ClickHeading(0);
  EXPECT_EQ(Column(0), (QStringList{"Adam", "Mid", "Zoe"}));
  DoubleClickRow(2);
  EXPECT_TRUE(box_.isVisible());
  box_.ListView1()->topLevelItem(2)->setSelected(true);
  DoubleClickRow(2);
  EXPECT_EQ(box_.result(), TFindBox::kRowChosen);
  EXPECT_EQ(box_.SelectedRow(), (FoundRow{"Zoe", {"1", "555-0100", "", "", "", ""}}));
}

TEST_F(FindBoxTest, ShowingAgainForAnotherModeDropsTheOldRows) {
  Search("555");
  box_.hide();
  box_.SetSearch(FindMode::kProducts, {});
  box_.show();
  EXPECT_EQ(box_.ListView1()->topLevelItemCount(), 0);
  EXPECT_EQ(box_.ListView1()->headerItem()->text(0), "Product#");
  EXPECT_EQ(box_.windowTitle(), "Find...");
  EXPECT_TRUE(box_.FindText()->text().isEmpty());
}

}  // namespace
}  // namespace shell::ui
