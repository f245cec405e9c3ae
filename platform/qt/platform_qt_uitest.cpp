#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <thread>

#include <gtest/gtest.h>

#include "platform/qt/launcher.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/progress_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/single_instance.h"
#include "platform/testing/temp_folder.h"

namespace platform::qt {
namespace {

std::string OutputOf(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (const std::size_t read = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, read);
    pclose(pipe);
  }
  return output;
}

std::string TextOfPdf(const QString& path) {
  return OutputOf("pdftotext -layout '" + path.toStdString() + "' - 2>/dev/null");
}

// The size of a PDF's first page as pdfinfo reports it, for example "612 x 792 pts".
std::string PageSizeOfPdf(const QString& path) {
  const std::string info = OutputOf("pdfinfo '" + path.toStdString() + "' 2>/dev/null");
  const std::size_t label = info.find("Page size:");
  if (label == std::string::npos) return info;
  const std::size_t at = info.find_first_not_of(' ', label + std::string_view("Page size:").size());
  return info.substr(at, info.find('\n', at) - at);
}

TEST(PrinterCanvasTest, WithoutAPrinterThePageBecomesAPdfInPrintouts) {
  platform::testing::ScopedWorkingFolder folder;
  PrinterCanvas canvas(nullptr, PrintDestination::kPdf);
  ASSERT_TRUE(canvas.BeginDocument("Invoice - 100", Orientation::kPortrait));
  EXPECT_GT(canvas.PageWidth(), 7 * PageCanvas::kDotsPerInch);  // letter or A4, less the margins
  canvas.SetFont({"Arial", 12, 0, true});
  canvas.DrawText(300, 300, "Harbor Supply Invoice");
  EXPECT_GT(canvas.TextWidth("Harbor Supply Invoice"), canvas.TextWidth("Harbor"));
  canvas.DrawRectangle(200, 200, 3000, 400);
  canvas.NewPage();
  canvas.DrawText(300, 300, "Second page");
  ASSERT_TRUE(canvas.EndDocument());

  const QString pdf = QDir(folder.path().c_str()).absoluteFilePath("Printouts/Invoice - 100.pdf");
  EXPECT_EQ(canvas.OutputDescription(), pdf.toStdString());
  ASSERT_TRUE(QFile::exists(pdf));
  const std::string text = TextOfPdf(pdf);
  EXPECT_NE(text.find("Harbor Supply Invoice"), std::string::npos) << text;
  EXPECT_NE(text.find("Second page"), std::string::npos) << text;
}

TEST(PrinterCanvasTest, PrintoutsOfTheSameTitleNeverReplaceAnEarlierOne) {
  platform::testing::ScopedWorkingFolder folder;
  QStringList outputs;
  for (int job = 0; job < 3; ++job) {
    PrinterCanvas canvas(nullptr, PrintDestination::kPdf);
    ASSERT_TRUE(canvas.BeginDocument("Envelope", Orientation::kLandscape, PageSize::kEnvelope10));
    canvas.DrawText(100, 100, "Job " + std::to_string(job));
    ASSERT_TRUE(canvas.EndDocument());
    outputs << QString::fromStdString(canvas.OutputDescription());
  }
  const QDir printouts(QDir(folder.path().c_str()).absoluteFilePath("Printouts"));
  QStringList expected;
  for (const char* name : {"Envelope.pdf", "Envelope (2).pdf", "Envelope (3).pdf"}) {
    expected << printouts.absoluteFilePath(name);
  }
  EXPECT_EQ(outputs, expected);
  for (int job = 0; job < 3; ++job) {
    EXPECT_NE(TextOfPdf(outputs[job]).find("Job " + std::to_string(job)), std::string::npos);
  }
}

TEST(PrinterCanvasTest, EnvelopePrintsOnANumber10EnvelopeAndTheNextJobOnThePrintersPaper) {
  platform::testing::ScopedWorkingFolder folder;
  QPrinter printer(QPrinter::HighResolution);
  const QPageSize paper = printer.pageLayout().pageSize();
  PrinterCanvas canvas(&printer, PrintDestination::kPdf);

  ASSERT_TRUE(canvas.BeginDocument("Envelope", Orientation::kLandscape, PageSize::kEnvelope10));
  EXPECT_GT(canvas.PageWidth(), canvas.PageHeight());
  EXPECT_LE(canvas.PageHeight(), 4125 * PageCanvas::kDotsPerInch / 1000);
  canvas.DrawText(100, 100, "Ship Chandlers");
  ASSERT_TRUE(canvas.EndDocument());
  EXPECT_EQ(PageSizeOfPdf(QString::fromStdString(canvas.OutputDescription())), "684 x 297 pts");

  ASSERT_TRUE(canvas.BeginDocument("Customer List", Orientation::kPortrait));
  EXPECT_TRUE(printer.pageLayout().pageSize().isEquivalentTo(paper));
  EXPECT_GT(canvas.PageWidth(), 7 * PageCanvas::kDotsPerInch);
  ASSERT_TRUE(canvas.EndDocument());
}

TEST(PrinterCanvasTest, JobTitlesBecomeSafeFileNames) {
  EXPECT_EQ(PdfFileNameFor("Invoice - 100"), "Invoice - 100.pdf");
  EXPECT_EQ(PdfFileNameFor("../A/B"), "Printout.._A_B.pdf");
  EXPECT_EQ(PdfFileNameFor(""), "Printout.pdf");
}

// Answers the modal dialog that opens next, once it is up.
template <class Dialog>
void WhenShown(std::function<void(Dialog*)> act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<Dialog*>(widget); dialog != nullptr && dialog->isVisible()) {
        act(dialog);
        return;
      }
    }
  });
}

TEST(QtDialogsTest, PromptStartsEmptyEachTimeAndKeepsToItsLength) {
  QtDialogs dialogs;
  WhenShown<TPromptDlg>([](TPromptDlg* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Password Required");
    EXPECT_EQ(dialog->Password()->echoMode(), QLineEdit::Password);
    dialog->Password()->insert("a secret much longer than twenty");
    dialog->accept();
  });
  EXPECT_EQ(dialogs.prompt("Password Required", true, 20, "PwordSet"), "a secret much longer");

  WhenShown<TPromptDlg>([](TPromptDlg* dialog) {
    EXPECT_TRUE(dialog->Password()->text().isEmpty());
    dialog->reject();
  });
  EXPECT_EQ(dialogs.prompt("Password Required", true, 20, "PwordSet"), std::nullopt);
}

TEST(QtDialogsTest, EnterAnswersAQuestionWithItsDefaultYesUnlessItSaysNo) {
  QtDialogs qtDialogs;
  Dialogs& dialogs = qtDialogs;
  const auto pressEnter = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); };
  WhenShown<QMessageBox>(pressEnter);
  EXPECT_TRUE(dialogs.confirm("Customer List", "Do you want to include the customer addresses on this list?"));
  WhenShown<QMessageBox>([&pressEnter](QMessageBox* box) {
    EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::No);
    pressEnter(box);
  });
  EXPECT_FALSE(dialogs.confirm("Delete Customer 12", "Are you sure you want to delete this customer?", Answer::kNo));
}

TEST(ProgressWindowTest, ShowsCaptionAndThreeLines) {
  TProgressWindow window;
  window.Begin("Rebuild Status", "Customers");
  EXPECT_EQ(window.windowTitle(), "Rebuild Status");
  EXPECT_EQ(window.Caption(), "Customers");
  EXPECT_EQ(window.size(), QSize(256, 126));
  const std::string lines[] = {"Key number: 0", "Records read: 50", "Records written: 50"};
  window.Show(lines);
  EXPECT_EQ(window.Line(1), "Records read: 50");
  EXPECT_TRUE(window.Line(1).size() > 0 && window.isVisible());
  window.End();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(SingleInstanceTest, SecondCopyAsksTheFirstToComeForward) {
  platform::testing::TempDir folder;
  SingleInstance first(QString::fromStdString(folder.path().string()));
  ASSERT_TRUE(first.Claim());
  int activations = 0;
  QObject::connect(&first, &SingleInstance::activationRequested, [&activations] { ++activations; });

  SingleInstance second(QString::fromStdString(folder.path().string()));
  EXPECT_FALSE(second.Claim());
  for (int i = 0; i < 50 && activations == 0; ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(activations, 1);

  platform::testing::TempDir other;
  SingleInstance elsewhere(QString::fromStdString(other.path().string()));
  EXPECT_TRUE(elsewhere.Claim());
}

TEST(SingleInstanceTest, SecondCopyStartedWhileTheFirstIsStillStartingIsNotLost) {
  platform::testing::TempDir folder;
  const QString path = QString::fromStdString(folder.path().string());
  SingleInstance first(path);
  ASSERT_TRUE(first.Lock());  // started, not listening yet
  int activations = 0;
  QObject::connect(&first, &SingleInstance::activationRequested, [&activations] { ++activations; });

  bool secondIsFirst = true;
  std::thread second([&path, &secondIsFirst] {
    SingleInstance copy(path);
    secondIsFirst = copy.Claim();
  });
  QThread::msleep(300);
  ASSERT_TRUE(first.Listen());
  second.join();
  EXPECT_FALSE(secondIsFirst);
  for (int i = 0; i < 50 && activations == 0; ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(activations, 1);
}

TEST(SingleInstanceTest, TheFolderIsFreeAgainWhenTheFirstCopyEnds) {
  platform::testing::TempDir folder;
  const QString path = QString::fromStdString(folder.path().string());
  {
    SingleInstance first(path);
    ASSERT_TRUE(first.Claim());
  }
  SingleInstance next(path);
  EXPECT_TRUE(next.Claim());
}

TEST(LauncherTest, NoCalculatorFoundIsReported) {
  QtLauncher launcher(QStringList{"no-such-calculator-here"});
  EXPECT_FALSE(launcher.StartCalculator());
}

}  // namespace
}  // namespace platform::qt
