#include "reports/ui/letter_wizard.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "documents/rtf_reader.h"
#include "invoicing/ui/testing/invoice_window_fixture.h"
#include "model/whole_file.h"
#include "reports/letter_merge.h"

namespace reports::ui {
namespace {

class LetterWizardTest : public invoicing::ui::testing::InvoiceWindowFixture {
 protected:
  void SetUp() override {
    WriteHarborSupply();
    AddDocksideMarine();
    window_ = std::make_unique<TLetterWiz>(services_, Folder());
  }
  void TearDown() override {
    window_->RichEdit1()->document()->setModified(false);
    EXPECT_TRUE(dialogs_.AllAnswersUsed());
  }

  std::filesystem::path Folder() const { return std::filesystem::current_path(); }
  QTextEdit& Editor() { return *window_->RichEdit1(); }

  // A centred bold heading with a code in it, then a plain line with two codes.
  void WriteLetter() {
    QTextCursor cursor(Editor().document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText("Statement for QYCSTNAME", bold);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText("Account QYCSTNO, notes QYCSTNOTES.");
  }

  // The letter as saved to a file.
  std::string Saved() {
    const auto path = Folder() / "Saved.RTF";
    std::filesystem::remove(path);
    EXPECT_TRUE(window_->SaveLetterAs(path));
    std::string bytes;
    EXPECT_TRUE(model::ReadWholeFile(path, bytes));
    return bytes;
  }

  std::unique_ptr<TLetterWiz> window_;
};

TEST_F(LetterWizardTest, ANewLetterIsUntitledAndTheKeywordListShowsTheCodes) {
  EXPECT_EQ(window_->windowTitle(), "Form Letter Wizard - Untitled");
  EXPECT_EQ(window_->ComboBox1()->count(), 30);
  EXPECT_GE(window_->ComboBox1()->findText("QYCSTBAL - Customer Balance"), 0);
  EXPECT_EQ(window_->BoldButton()->toolTip(), "Bold");
}

TEST_F(LetterWizardTest, PrintingNeedsAQueueAndALetter) {
  int printed = 0;
  const auto count = [&printed](const QTextDocument&, const std::string&) { return ++printed > 0; };
  window_->PrintLetters(count);
  shell::AddToLabelQueue(labelQueue_, Customer());
  window_->PrintLetters(count);
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{
                                  "You do not have any customer records listed in the Label print queue.",
                                  "You do not have any text to print. You need to create or open an existing letter.",
                              }));
  EXPECT_EQ(dialogs_.Log()[0].caption, "Letter Wizard");
  EXPECT_EQ(printed, 0);
}

TEST_F(LetterWizardTest, ALetterSavedAsRtfOpensAgainWithItsFormatsAndCaption) {
  WriteLetter();
  const auto path = Folder() / "Reminder.RTF";
  ASSERT_TRUE(window_->SaveLetterAs(path));
  EXPECT_EQ(window_->windowTitle(), "Form Letter Wizard - Reminder.RTF");
  window_->FileNewItem()->trigger();
  EXPECT_EQ(Editor().toPlainText(), "");

  ASSERT_TRUE(window_->OpenLetter(path));
  const QTextBlock heading = Editor().document()->begin();
  EXPECT_EQ(heading.text(), "Statement for QYCSTNAME");
  EXPECT_EQ(heading.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(heading.begin().fragment().charFormat().fontWeight(), QFont::Bold);
  EXPECT_EQ(heading.next().text(), "Account QYCSTNO, notes QYCSTNOTES.");
  EXPECT_FALSE(Editor().document()->isModified());
}

TEST_F(LetterWizardTest, SavingOverAFileAsksFirstAndCancelKeepsIt) {
  const auto path = Folder() / "Old.RTF";
  ASSERT_TRUE(model::WriteWholeFile(path, "keep me"));
  WriteLetter();
  dialogs_.Answer(platform::Answer::kCancel);
  EXPECT_FALSE(window_->SaveLetterAs(path));
  EXPECT_EQ(dialogs_.Texts().back(), "OK to overwrite " + path.string());
  std::string bytes;
  ASSERT_TRUE(model::ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "keep me");
}

TEST_F(LetterWizardTest, ClosingAChangedLetterAsksAndCancelKeepsTheWindowOpen) {
  window_->show();
  WriteLetter();
  dialogs_.Answer(platform::Answer::kCancel);
  EXPECT_FALSE(window_->close());
  EXPECT_EQ(dialogs_.Texts().back(), "Save changes to Untitled?");
  dialogs_.Answer(platform::Answer::kNo);
  EXPECT_TRUE(window_->close());
}

TEST_F(LetterWizardTest, ATextFileAndADamagedRtfFileOpenAsFarAsTheyGo) {
  ASSERT_TRUE(model::WriteWholeFile(Folder() / "Note.TXT", "Dear QYCSTNAME,\nHello\n"));
  ASSERT_TRUE(window_->OpenLetter(Folder() / "Note.TXT"));
  EXPECT_EQ(Editor().toPlainText().toStdString(), "Dear QYCSTNAME,\nHello");
  ASSERT_TRUE(model::WriteWholeFile(Folder() / "Cut.RTF", "{\\rtf1\\ansi {\\b Half a le"));
  ASSERT_TRUE(window_->OpenLetter(Folder() / "Cut.RTF"));
  EXPECT_EQ(dialogs_.Log().back().icon, platform::Icon::kWarning);
  EXPECT_TRUE(Editor().toPlainText().startsWith("Half a le"));
}

// One merged copy a queued customer, each value in its code's format; the editor keeps
// the codes and the template file is gone afterwards.
TEST_F(LetterWizardTest, PrintingMergesEveryQueuedCustomerAndRestoresTheLetter) {
  model::CustomerRecord customer = Customer();
  customer.CustNotes = "Ask for QYCSTNO";
  shell::AddToLabelQueue(labelQueue_, customer);
  shell::AddToLabelQueue(labelQueue_, Customer());
  {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    engine::RecordNumber slot = 0;
    model::CustomerRecord stored{};
    ASSERT_TRUE(customers.Open() && shell::FindCustomerByNumber(customers, "C100", slot, stored));
    ASSERT_TRUE(customers.Update(slot, customer));
  }
  WriteLetter();
  ASSERT_TRUE(window_->SaveLetterAs(Folder() / "Reminder.RTF"));
  std::vector<std::string> texts, titles, progress;
  bool templateDuringRun = false;
  window_->PrintLetters([&](const QTextDocument& letter, const std::string& title) {
    progress.push_back(window_->ProcessingPanel()->text().toStdString());
    texts.push_back(letter.toPlainText().toStdString());
    titles.push_back(title);
    EXPECT_EQ(letter.begin().begin().fragment().charFormat().fontWeight(), QFont::Bold);
    templateDuringRun = std::filesystem::exists(Folder() / "QYLetter.TMP");
    return true;
  });
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Statement for Dockside Marine\nAccount C100, notes Ask for QYCSTNO.");
  EXPECT_EQ(titles[0], "Reminder");
  EXPECT_TRUE(templateDuringRun);
  EXPECT_EQ(progress, (std::vector<std::string>{"Processing letter 1 of 2...", "Processing letter 2 of 2..."}));
  EXPECT_FALSE(std::filesystem::exists(Folder() / "QYLetter.TMP"));
  EXPECT_EQ(Editor().document()->begin().text(), "Statement for QYCSTNAME");
  EXPECT_TRUE(Editor().isVisibleTo(window_.get()));
  EXPECT_FALSE(window_->ProcessingPanel()->isVisibleTo(window_.get()));
  EXPECT_EQ(window_->StatusBar1()->currentMessage(), "2 letter(s) printed.");
}

// Bold from the keyboard: on for a code, off after it; inside a word it takes the word.
TEST_F(LetterWizardTest, BoldGoesToWhatIsTypedNextOrToTheWordTheCursorIsIn) {
  window_->show();
  Editor().setFocus();
  QTest::keyClicks(&Editor(), "Account ");
  QTest::keyClick(window_->windowHandle(), Qt::Key_B, Qt::ControlModifier);
  QTest::keyClicks(&Editor(), "QYCSTNO");
  QTest::keyClick(window_->windowHandle(), Qt::Key_B, Qt::ControlModifier);
  QTest::keyClicks(&Editor(), " is due");
  Editor().moveCursor(QTextCursor::Left);
  QTest::keyClick(window_->windowHandle(), Qt::Key_I, Qt::ControlModifier);
  const documents::RtfReadResult saved = documents::ReadRtf(Saved());
  ASSERT_FALSE(saved.document.paragraphs.empty());
  std::vector<std::pair<std::string, bool>> runs;
  for (const documents::TextRun& run : saved.document.paragraphs[0].runs) {
    runs.emplace_back(run.text, run.bold || run.italic);
  }
  EXPECT_EQ(runs, (std::vector<std::pair<std::string, bool>>{
                      {"Account ", false}, {"QYCSTNO", true}, {" is ", false}, {"due", true}}));
}

}  // namespace
}  // namespace reports::ui

