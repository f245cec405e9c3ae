#include "reports/ui/rt_report.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include "reports/testing/csv_reader.h"
#include "shell/ui/testing/window_fixture.h"

namespace reports::ui {
namespace {

Cells RegisterRow(const char* date, const char* invoice, const char* name, const char* customer, const char* net,
                  const char* tax, const char* total, const char* type = "I") {
  return {LeftField(date, 10), LeftField(invoice, 9), LeftField(name, 10), LeftField(customer, 8),
          RightField(net, 12), RightField(tax, 12),   RightField(total, 12), type};
}

// An Invoice Register of October and November 2026 as the generator builds it; one
// short name holds a comma, quotes and an accented letter.
Report RegisterReport() {
  Report report;
  report.kind = FindReport("Invoice Register");
  report.head1 = "Harbor Supply";
  report.head2 = "Date: Tuesday, December 8, 2026, 02:05 PM";
  report.head3 = "Selected records from 10/01/2026 to 11/30/2026";
  report.table.rows = {
      RegisterRow("Year/Mo/Dy", "Invoice#", "Short Name", "Customer#", "Net Amount", "Tax Amount", "Grand Total", "C"),
      RegisterRow("2026/11/30", "1003", "Bolt", "20", "10.00", "0.00", "10.00"),
      RegisterRow("2026/10/02", "1001", "Café,\"Bo\"", "10", "1,000.00", "5.00", "1,005.00"),
      RegisterRow("2026/11/30", "1004", "Anchor", "30", "2.50", "0.25", "2.75"),
      RegisterRow("2026/11/01", "1002", "bolt", "20", "4.00", "0.00", "4.00", "G"),
  };
  return report;
}

std::string FileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class RtReportTest : public shell::testing::WindowFixture {
 protected:
  QTableWidget* Grid() const { return window_.RptGrid(); }
  QString Text(int row, int column) const {
    const QTableWidgetItem* item = Grid()->item(row, column);
    return item == nullptr ? QString() : item->text();
  }
  // The rows below the heading in short: a data row by its invoice number, a total row
  // by its label and grand total, a blank row as "|".
  QString Rows() const {
    QString rows;
    for (int row = 1; row < Grid()->rowCount(); ++row) {
      if (Text(row, 1).startsWith("100")) {
        rows += Text(row, 1) + ";";
      } else if (Text(row, 3).isEmpty()) {
        rows += "|";
      } else {
        rows += Text(row, 3) + " " + Text(row, 6) + ";";
      }
    }
    return rows;
  }
  QStringList AllTexts() const {
    QStringList texts{window_.windowTitle()};
    for (int row = 0; row < Grid()->rowCount(); ++row) {
      for (int column = 0; column < Grid()->columnCount(); ++column) texts << Text(row, column);
    }
    return texts;
  }
  // "R" or "L" for each cell of a row.
  QString Alignments(int row) const {
    QString sides;
    for (int column = 0; column < Grid()->columnCount(); ++column) {
      sides += Grid()->item(row, column)->textAlignment() & Qt::AlignRight ? "R" : "L";
    }
    return sides;
  }
  void ChooseSortColumn(const QString& value) {
    window_.SortCol()->setCurrentText(value);
    emit window_.SortCol()->textActivated(value);
  }

  Trtreport window_{services_, RegisterReport()};
};

TEST_F(RtReportTest, OpensSortedOnTheDateWithSubTotalsAndMonthTotals) {
  EXPECT_EQ(window_.windowTitle(), "Invoice Register by Date");
  EXPECT_TRUE(window_.stotals()->isChecked());
  EXPECT_EQ(window_.Head3()->text(), "Selected records from 10/01/2026 to 11/30/2026");
  EXPECT_EQ(Rows(), "1001;** Totals 1,005.00;|Month Total 1,005.00;|1002;** Totals 4.00;|1003;1004;** Totals 12.75;|"
                    "Month Total 16.75;|Grand Total 1,021.75;");
  EXPECT_EQ(Grid()->currentColumn(), 0);
}

TEST_F(RtReportTest, SortColumnBringsTheColumnForwardAndTotalsEachName) {
  ChooseSortColumn("3");
  EXPECT_EQ(window_.windowTitle(), "Invoice Register by Short Name");
  EXPECT_EQ(Text(0, 0), "Short Name");
  EXPECT_EQ(Text(0, 2), "Year/Mo/Dy");
  // Names compare without case but group by their exact text; no month totals here.
  const QString byName =
      "1004;** Totals 2.75;|1002;** Totals 4.00;|1003;** Totals 10.00;|1001;** Totals 1,005.00;|Grand Total 1,021.75;";
  EXPECT_EQ(Rows(), byName);

  window_.stotals()->click();
  EXPECT_EQ(Rows(), "1004;1002;1003;1001;|Grand Total 1,021.75;");
  window_.stotals()->click();
  EXPECT_EQ(Rows(), byName);
}

TEST_F(RtReportTest, SortColumnOutsideOneToFourSortsOnColumnThree) {
  ChooseSortColumn("9");
  EXPECT_EQ(window_.SortCol()->currentText(), "3");
  EXPECT_EQ(window_.windowTitle(), "Invoice Register by Customer#");
}

TEST_F(RtReportTest, SortPastTheLastSortableColumnBeepsAndLeavesTheGridAlone) {
  int beeps = 0;
  window_.beep = [&beeps] { ++beeps; };
  const QStringList before = AllTexts();
  EXPECT_FALSE(window_.SpeedButton2Click(4));
  EXPECT_EQ(beeps, 1);
  emit Grid()->cellDoubleClicked(2, 5);
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(AllTexts(), before);
}

TEST_F(RtReportTest, NumberCellsAndTheAmountColumnsAreRightAligned) {
  // Columns 4 to 6 are amount columns, headings included; the rest are left-aligned.
  EXPECT_EQ(Alignments(0), "LLLLRRRL");
  EXPECT_EQ(Alignments(1), "LLLLRRRL");
  const int grandTotal = Grid()->rowCount() - 1;
  EXPECT_EQ(Text(grandTotal, 3), "Grand Total");
  EXPECT_EQ(Alignments(grandTotal), "LLLLRRRL");
}

TEST_F(RtReportTest, TextFileIsWindows1252WithCrLfLines) {
  ASSERT_TRUE(window_.SaveTo("Register.TXT"));
  const std::string bytes = FileBytes("Register.TXT");
  const std::string expectedStart =
      "Invoice Register by Date\r\n"
      "Harbor Supply\r\n"
      "Date: Tuesday, December 8, 2026, 02:05 PM\r\n"
      "Selected records from 10/01/2026 to 11/30/2026\r\n"
      " \r\n"
      " Year/Mo/Dy   Invoice#     Short Name   Customer#    Net Amount   Tax Amount   Grand Total  C           \r\n"
      " 2026/10/02   1001         Caf\xE9,\"Bo\"    10               1,000.00         5.00     1,005.00 I"
      "           \r\n";
  EXPECT_EQ(bytes.substr(0, expectedStart.size()), expectedStart);
  std::size_t lineEnds = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at " << i;
    ++lineEnds;
  }
  EXPECT_EQ(lineEnds, 5u + static_cast<std::size_t>(Grid()->rowCount()));
  const std::string blankCell = " " + std::string(12, ' ');
  const std::string grandTotal = " Grand Total      1,016.50         5.25     1,021.75";
  EXPECT_TRUE(bytes.ends_with(blankCell + blankCell + blankCell + grandTotal + blankCell + "\r\n"));
}

TEST_F(RtReportTest, CsvFileReadsBackWithCommaQuoteAndAccentIntact) {
  ChooseSortColumn("3");
  ASSERT_TRUE(window_.SaveTo("Register.csv"));
  const auto records = testing::ReadCsv(FileBytes("Register.csv"));
  ASSERT_EQ(records.size(), static_cast<std::size_t>(Grid()->rowCount()));
  EXPECT_EQ(records[0], (std::vector<std::string>{"Short Name", "Invoice#", "Year/Mo/Dy", "Customer#", "Net Amount",
                                                  "Tax Amount", "Grand Total", "C"}));
  const std::vector<std::string> cafe{"Café,\"Bo\"", "1001", "2026-10-02", "10", "1000.00", "5.00", "1005.00", "I"};
  EXPECT_NE(std::find(records.begin(), records.end(), cafe), records.end());
  EXPECT_EQ(records.back()[3], "Grand Total");
  EXPECT_EQ(records.back()[6], "1021.75");
}

TEST_F(RtReportTest, ChosenFontAndColourReachTheGridText) {
  window_.show();
  const QColor red(200, 0, 0);
  // Pixels of the chosen red inside the cell: the text of a name, or of an amount the
  // grid draws split at its point.
  const auto redPixels = [this, red](int row, int column) {
    Grid()->scrollToItem(Grid()->item(row, column));
    const QImage image = Grid()->viewport()->grab().toImage();
    const QRect cell = Grid()->visualItemRect(Grid()->item(row, column));
    int count = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
      for (int x = cell.left(); x <= cell.right(); ++x) count += image.pixelColor(x, y) == red;
    }
    return count;
  };
  EXPECT_EQ(redPixels(1, 2), 0);

  window_.chooseFontAndColor = [](QFont&, QColor&) { return false; };
  window_.SpeedButton1()->click();
  EXPECT_EQ(Grid()->font().pointSize(), 10);
  EXPECT_TRUE(Grid()->font().bold());

  window_.chooseFontAndColor = [red](QFont& font, QColor& color) {
    EXPECT_EQ(font.pointSize(), 10);
    font = QFont("DejaVu Sans", 16);
    color = red;
    return true;
  };
  window_.SpeedButton1()->click();
  EXPECT_EQ(Grid()->font().pointSize(), 16);
  EXPECT_GT(redPixels(1, 2), 0);
  EXPECT_GT(redPixels(1, 4), 0);
  // A new sort builds the rows again; they keep the colour.
  ChooseSortColumn("3");
  EXPECT_GT(redPixels(1, 2), 0);
}

// Runs `step` once the next modal window is up.
void WhenModalShows(std::function<void(QWidget&)> step) {
  QTimer::singleShot(0, [step = std::move(step)] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    step(*modal);
  });
}

// Types `name` into the save dialog and presses Save.
void SaveAs(QWidget& modal, const QString& name) {
  auto* dialog = qobject_cast<QFileDialog*>(&modal);
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QDir::current().absoluteFilePath(name));
  static_cast<QDialog*>(dialog)->accept();  // Save, as the button does
}

TEST_F(RtReportTest, SaveDialogAsksBeforeReplacingTheFileTheExtensionNames) {
  { std::ofstream("Invoice Register.TXT") << "old"; }
  QString question;
  WhenModalShows([&question](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Save As");
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    WhenModalShows([&question](QWidget& box) {
      auto* message = qobject_cast<QMessageBox*>(&box);
      ASSERT_NE(message, nullptr);
      question = message->text();
      message->button(QMessageBox::Yes)->click();
    });
    SaveAs(modal, "Invoice Register");
  });
  window_.SaveButn()->click();
  EXPECT_EQ(question, "Invoice Register.TXT already exists.\nDo you want to replace it?");
  EXPECT_TRUE(FileBytes("Invoice Register.TXT").starts_with("Invoice Register by Date\r\n"));
  EXPECT_FALSE(QFileInfo::exists("Invoice Register"));
}

TEST_F(RtReportTest, NameWithoutExtensionTakesTheChosenFileType) {
  WhenModalShows([](QWidget& modal) {
    auto* types = modal.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_Down);
    ASSERT_EQ(types->currentText(), "CSV File (*.CSV)");
    SaveAs(modal, "Sales");
  });
  window_.SaveButn()->click();
  EXPECT_TRUE(FileBytes("Sales.CSV").starts_with("Year/Mo/Dy,Invoice#,Short Name,"));
  EXPECT_TRUE(dialogs_.Log().empty());
}

}  // namespace
}  // namespace reports::ui
