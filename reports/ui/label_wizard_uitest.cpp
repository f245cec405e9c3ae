#include "reports/ui/label_wizard.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "invoicing/ui/testing/invoice_window_fixture.h"
#include "invoicing/ui/testing/keyboard.h"
#include "platform/testing/recording_canvas.h"

namespace reports::ui {
namespace {

documents::LabelLayout TwoAcross() {
  documents::LabelLayout layout;
  layout.description = "Two across";
  layout.leftMargin = "100";
  layout.topMargin = "200";
  layout.columns = "2";
  layout.rows = "5";
  layout.labelWidth = "2000";
  layout.labelHeight = "1200";
  layout.font.pointSize = 10;
  layout.bitmapName = " ";
  layout.sendToCaption = "To:";
  return layout;
}

class LabelWizardTest : public invoicing::ui::testing::InvoiceWindowFixture {
 protected:
  void SetUp() override {
    WriteHarborSupply();
    AddDocksideMarine();
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  std::filesystem::path Folder() const { return std::filesystem::current_path(); }
  std::filesystem::path SavedLayout() {
    const auto path = Folder() / "TWO.LBL";
    EXPECT_TRUE(documents::WriteLabelLayout(path, TwoAcross()));
    EXPECT_TRUE(documents::WriteLastLayoutPath(Folder(), path));
    return path;
  }
};

TEST_F(LabelWizardTest, WithoutALastLayoutItAsksForOneAndKeepsTheQueueShut) {
  Tlblwiz window(services_, Folder());
  EXPECT_EQ(window.windowTitle(), "Label Wizard / Print Queue");
  EXPECT_EQ(window.StatusBar1()->currentMessage(), "Open a label layout file (Label Menu)...");
  EXPECT_FALSE(window.PrnButn()->isEnabled());
  EXPECT_FALSE(window.LoadAllRecs()->isEnabled());
  EXPECT_EQ(window.AddOne()->toolTip(), "Find Customer");
}

TEST_F(LabelWizardTest, TheLastLayoutIsOpenedIntoTheControlsAndCopiedToLabelDat) {
  const auto path = SavedLayout();
  Tlblwiz window(services_, Folder());
  EXPECT_EQ(window.StatusBar1()->currentMessage(),
            "Ready. Add and remove records as needed or select print button.");
  EXPECT_EQ(window.Edit1()->text(), "Two across");
  EXPECT_EQ(window.LWdth()->text(), "2000");
  EXPECT_FALSE(window.PLine()->isEnabled());
  EXPECT_EQ(window.Layout(), TwoAcross());
  std::string original, copy;
  ASSERT_TRUE(model::ReadWholeFile(path, original));
  ASSERT_TRUE(model::ReadWholeFile(Folder() / "Label.Dat", copy));
  EXPECT_EQ(copy, original);
}

TEST_F(LabelWizardTest, ADamagedLayoutIsRefusedAndTheControlsStayEmpty) {
  const auto path = Folder() / "BAD.LBL";
  ASSERT_TRUE(model::WriteWholeFile(path, std::string(100, '\x7f')));
  ASSERT_TRUE(documents::WriteLastLayoutPath(Folder(), path));
  Tlblwiz window(services_, Folder());
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].text,
            "The label layout file \"" + path.string() + "\" holds 100 bytes where a label layout has 444.");
  EXPECT_EQ(window.Edit1()->text(), "");
  EXPECT_EQ(window.StatusBar1()->currentMessage(), "Open a label layout file (Label Menu)...");
}

TEST_F(LabelWizardTest, LoadAllThenPrintShowsTheCountAndClearsThePendingFlag) {
  SavedLayout();
  Tlblwiz window(services_, Folder());
  window.LoadAllRecs()->click();
  EXPECT_EQ(window.StatusBar1()->currentMessage(), "1 records were added.");
  ASSERT_EQ(window.LabelList()->topLevelItemCount(), 1);
  EXPECT_EQ(window.LabelList()->topLevelItem(0)->text(1), "Dockside Marine");
  window.LabelCopies()->setText("3");
  platform::testing::RecordingCanvas canvas;
  window.PrintOn(canvas);
  EXPECT_EQ(window.StatusBar1()->currentMessage(), "Complete. 3 label(s) sent to printer.");
  EXPECT_FALSE(labelQueue_.Pending());
}

TEST_F(LabelWizardTest, ChangedSettingsAreOfferedForSavingBeforePrinting) {
  SavedLayout();
  Tlblwiz window(services_, Folder());
  window.LoadAllRecs()->click();
  window.TMargin()->setText("250");
  dialogs_.Answer(platform::Answer::kNo);
  platform::testing::RecordingCanvas canvas;
  window.PrintOn(canvas);
  EXPECT_EQ(dialogs_.Log().back().text,
            "Your layout settings have changed. Do you want to save the changes before printing?");
  EXPECT_EQ(canvas.Find("Dockside Marine")->y, 250);
}

TEST_F(LabelWizardTest, CancellingTheSaveAskedForBeforePrintingPrintsNothing) {
  SavedLayout();
  Tlblwiz window(services_, Folder());
  window.LoadAllRecs()->click();
  window.TMargin()->setText("250");
  dialogs_.Answer(platform::Answer::kYes);
  bool saveDialogShown = false;
  invoicing::ui::testing::WhenModalShows([&saveDialogShown] {
    QWidget* modal = QApplication::activeModalWidget();
    saveDialogShown = qobject_cast<QFileDialog*>(modal) != nullptr;
    if (modal != nullptr) modal->close();
  });
  platform::testing::RecordingCanvas canvas;
  window.PrintOn(canvas);
  EXPECT_TRUE(saveDialogShown);
  EXPECT_FALSE(canvas.Find("Dockside Marine"));
  EXPECT_TRUE(labelQueue_.Pending());
}

TEST_F(LabelWizardTest, DeleteWithoutASelectionExplainsHowToSelect) {
  SavedLayout();
  Tlblwiz window(services_, Folder());
  window.LoadAllRecs()->click();
  window.SpeedButton2()->click();
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Delete Record");
  window.LabelList()->setCurrentItem(window.LabelList()->topLevelItem(0));
  window.SpeedButton2()->click();
  EXPECT_EQ(window.LabelList()->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace reports::ui
