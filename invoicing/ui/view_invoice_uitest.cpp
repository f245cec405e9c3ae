#include "invoicing/ui/view_invoice.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "invoicing/ui/testing/keyboard.h"
#include "platform/testing/fake_desktop.h"

namespace invoicing::ui {
namespace {

using testing::Settle;

InvoiceViewContent LineItemView() {
  InvoiceViewContent view;
  view.caption = "View Invoice# 1043";
  view.customerName = "Dockside Marine";
  view.billing = {"4 Quay Street", "Portsmouth"};
  view.date = "Date: 12/08/2026";
  view.description = "Product Code Invoice";
  view.lines = {{"A1", "10", "Anchor", "2.50", "Y", "25.00"},
                {"B2", "1,234", "Bolt", "0.75", "N", "925.50"},
                {"C3", "2", "Chain", "100.00", "Y", "200.00"}};
  view.amounts = {{"Total:", "1,150.50"}, {"Tax: ", "0.00"}, {"Grand Total:", "1,150.50"},
                  {"Paid Amount: ", "0.00"}, {"Balance Due:", "1,150.50"}};
  view.notes = "Back door";
  return view;
}

QStringList Column(const QTreeWidget& list, int column) {
  QStringList texts;
  for (int row = 0; row < list.topLevelItemCount(); ++row) texts << list.topLevelItem(row)->text(column);
  return texts;
}

class ViewInvoiceTest : public ::testing::Test {
 protected:
  void Open(const InvoiceViewContent& view) {
    window_.Show(view);
    window_.show();
    Settle();
  }

  platform::testing::RecordingHelp help_;
  Trtedit window_{help_};
};

TEST_F(ViewInvoiceTest, ShowsTheInvoiceAndSortsItsLinesByValue) {
  Open(LineItemView());
  EXPECT_EQ(window_.windowTitle(), "View Invoice# 1043");
  const QStringList texts = window_.Texts();
  for (const char* shown : {"Dockside Marine", "Portsmouth", "Date: 12/08/2026", "Product Code Invoice",
                            "Grand Total:1,150.50", "Back door"}) {
    EXPECT_TRUE(texts.contains(shown)) << shown;
  }
  QTreeWidget& list = *window_.LineList();
  EXPECT_TRUE(list.isVisible());
  EXPECT_FALSE(window_.MemoText()->isVisible());
  EXPECT_EQ(Column(list, 1), (QStringList{"10", "1,234", "2"}));  // invoice order at first

  QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(list.header()->sectionViewportPosition(1) + 5, list.header()->height() / 2));
  EXPECT_EQ(Column(list, 1), (QStringList{"2", "10", "1,234"}));
  list.sortByColumn(5, Qt::DescendingOrder);
  EXPECT_EQ(Column(list, 5), (QStringList{"925.50", "200.00", "25.00"}));
  list.sortByColumn(2, Qt::AscendingOrder);
  EXPECT_EQ(Column(list, 2), (QStringList{"Anchor", "Bolt", "Chain"}));
  EXPECT_TRUE(window_.isVisible());  // sorting does not close it
}

TEST_F(ViewInvoiceTest, DoubleClickAnywhereOrAnyKeyCloses) {
  Open(LineItemView());
  QTest::mouseDClick(window_.LineList()->viewport(), Qt::LeftButton);
  Settle();
  EXPECT_FALSE(window_.isVisible());

  for (Qt::Key key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Down}) {
    Open(LineItemView());
    QTest::keyClick(&window_, key);
    Settle();
    EXPECT_FALSE(window_.isVisible()) << key;
  }
  Open(LineItemView());
  window_.CloseButton()->click();
  EXPECT_FALSE(window_.isVisible());
}

}  // namespace
}  // namespace invoicing::ui
