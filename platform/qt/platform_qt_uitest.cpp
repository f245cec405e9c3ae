#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include <gtest/gtest.h>

#include "platform/testing/temp_folder.h"
#include "platform/qt/launcher.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/progress_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/single_instance.h"

namespace platform::qt {
namespace {

std::string TextOfPdf(const QString& path) {
  const std::string command = "pdftotext -layout '" + path.toStdString() + "' - 2>/dev/null";
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (const std::size_t read = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, read);
    pclose(pipe);
  }
  return text;
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

TEST(LauncherTest, NoCalculatorFoundIsReported) {
  QtLauncher launcher(QStringList{"no-such-calculator-here"});
  EXPECT_FALSE(launcher.StartCalculator());
}

}  // namespace
}  // namespace platform::qt
