#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <map>
#include <string>

#include "platform/qt/help_window.h"

namespace platform::qt {
namespace {

// The keywords the program's windows pass to the help.
constexpr const char* kProgramKeywords[] = {
    "CompanyManager", "CompanyOptions", "CustomerManager", "EditCustomer", "NewProduct", "InvoiceManager",
    "NewInvoice", "PaymentWizard", "ReportWizard", "InterestWizard", "LabelWizard", "FormWizard", "GetRepeat",
    "SetRepeat", "GetStatement", "ViewStatement", "FindData", "AgingChart", "VTCalendar", "EditTerms", "PwordSet",
    "backupdata", "How to use Help", "Getting started", "Main window", "Keyboard", "Rebuild Data Files",
    "Dates and amounts", "Frequent Asked Questions", "CheckBooks"};

QStringList PageFiles() {
  QStringList files;
  for (QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")}, QDir::Files); it.hasNext();) {
    files << it.nextFileInfo().fileName();
  }
  return files;
}

QString ReadPage(const QString& file) {
  QFile page(QStringLiteral(":/help/") + file);
  return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

QString Captured(const QString& html, const QString& pattern) {
  return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)
      .match(html)
      .captured(1)
      .simplified();
}

// Opens every entry of the contents list as a click would; page file → entry text.
std::map<QString, QString> OpenEachContentsEntry(THelpWindow& window) {
  std::map<QString, QString> entries;
  auto* tree = window.findChild<QTreeWidget*>();
  for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NoChildren); *it; ++it) {
    emit tree->itemClicked(*it, 0);
    entries[window.CurrentSource().fileName()] = (*it)->text(0);
  }
  return entries;
}

QStringList ListedTitles(const THelpWindow& window) {
  QStringList titles;
  const auto shownPages = QTreeWidgetItemIterator::NoChildren | QTreeWidgetItemIterator::NotHidden;
  for (QTreeWidgetItemIterator it(window.findChild<QTreeWidget*>(), shownPages); *it; ++it) titles << (*it)->text(0);
  return titles;
}

// Runs `inside` while a modal dialog is up over a main window, as the program's
// managers and their dialogs are.
void WhileAModalDialogIsOpen(const std::function<void()>& inside) {
  QWidget main;
  main.show();
  QDialog dialog(&main);
  QTimer::singleShot(0, &dialog, [&] {
    inside();
    dialog.reject();
  });
  dialog.exec();
}

// Input as the window system delivers it, which is where a modal dialog blocks it.
void Click(QPushButton* button) {
  QWidget* window = button->window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, button->mapTo(window, button->rect().center()));
}

QPushButton* ContentsButton(const THelpWindow& window) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    if (button->text() == "&Contents") return button;
  }
  return nullptr;
}

TEST(HelpWindowTest, EveryKeywordOpensALoadedPageAndTheProgramsOnesAPageOfTheirOwn) {
  THelpWindow window;
  for (const std::string& keyword : window.Keywords()) {
    window.ShowTopic(keyword);
    EXPECT_GT(window.findChild<QTextBrowser*>()->toPlainText().size(), 500) << keyword;
    EXPECT_TRUE(window.Note().isEmpty()) << keyword;
  }
  for (const char* keyword : kProgramKeywords) {
    window.ShowTopic(keyword);
    EXPECT_NE(window.CurrentTitle(), "Contents") << keyword;
  }
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "VT Quillary PRO Help");
}

TEST(HelpWindowTest, KeywordsAreMatchedIgnoringCase) {
  THelpWindow window;
  for (const auto& [asked, known] : {std::pair{"invoicemanager", "InvoiceManager"},
                                     {"BACKUPDATA", "backupdata"},
                                     {"frequent ASKED questions", "Frequent Asked Questions"}}) {
    window.ShowTopic(known);
    const QUrl expected = window.CurrentSource();
    window.ShowContents();
    window.ShowTopic(asked);
    EXPECT_EQ(window.CurrentSource(), expected) << asked;
  }
}

TEST(HelpWindowTest, UnknownKeywordOpensContentsWithANoteThatTheNextTopicClears) {
  THelpWindow window;
  for (int onContentsAlready = 0; onContentsAlready < 2; ++onContentsAlready) {
    window.ShowTopic("NoSuchWindow");
    EXPECT_EQ(window.CurrentTitle(), "Contents");
    EXPECT_TRUE(window.Note().contains("NoSuchWindow"));
  }
  window.ShowTopic("AgingChart");
  EXPECT_TRUE(window.Note().isEmpty());
  window.ShowTopic("");
  window.ShowContents();
  EXPECT_TRUE(window.Note().isEmpty());
}

TEST(HelpWindowTest, EveryLinkInEveryPageLeadsToAnExistingPageAndAnchor) {
  const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
  for (const QString& file : PageFiles()) {
    for (const QRegularExpressionMatch& link : href.globalMatch(ReadPage(file))) {
      SCOPED_TRACE((file + ": " + link.captured(1)).toStdString());
      const QUrl target = QUrl(QStringLiteral("qrc:/help/") + file).resolved(QUrl(link.captured(1)));
      ASSERT_EQ(target.scheme(), "qrc");
      const QString targetHtml = ReadPage(target.fileName());
      EXPECT_FALSE(targetHtml.isEmpty());
      if (target.hasFragment()) {
        EXPECT_TRUE(targetHtml.contains(QStringLiteral("name=\"%1\"").arg(target.fragment())));
      }
    }
  }
}

TEST(HelpWindowTest, ContentsListOpensEveryPageUnderItsOwnTitle) {
  THelpWindow window;
  const std::map<QString, QString> entries = OpenEachContentsEntry(window);
  const QStringList files = PageFiles();
  ASSERT_EQ(entries.size(), static_cast<size_t>(files.size()));
  for (const QString& file : files) {
    const QString html = ReadPage(file);
    const QString title = Captured(html, QStringLiteral("<title>(.*)</title>"));
    ASSERT_TRUE(entries.contains(file)) << file.toStdString();
    EXPECT_EQ(entries.at(file), title) << file.toStdString();
    EXPECT_EQ(Captured(html, QStringLiteral("<h1>(.*)</h1>")), title) << file.toStdString();
  }
}

TEST(HelpWindowTest, SearchListsOnlyPagesMentioningAllTheWords) {
  THelpWindow window;
  auto* search = window.findChild<QLineEdit*>(QStringLiteral("helpSearch"));
  search->setText("DEPOSIT account");
  const QStringList found = ListedTitles(window);
  EXPECT_TRUE(found.contains("Payment Wizard"));
  EXPECT_TRUE(found.contains("Deposits, partial payments and credits"));
  EXPECT_FALSE(found.contains("Keys in the lists"));
  search->setText("xyzzy");
  EXPECT_TRUE(ListedTitles(window).isEmpty());
  search->setText("calibration ruler");
  emit search->returnPressed();
  EXPECT_EQ(window.CurrentTitle(), "Label Wizard / Print Queue");
  window.ShowTopic("AgingChart");
  EXPECT_EQ(ListedTitles(window).size(), PageFiles().size());
}

TEST(HelpWindowTest, ContentsSelectionFollowsThePageShownAlsoWhenGoingBack) {
  THelpWindow window;
  auto* tree = window.findChild<QTreeWidget*>();
  window.ShowTopic("AgingChart");
  window.ShowTopic("EditTerms");
  EXPECT_EQ(tree->currentItem()->text(0), "Edit Payment Terms");
  window.findChild<QPushButton*>(QStringLiteral("helpBack"))->click();
  EXPECT_EQ(window.CurrentTitle(), "Aging and the Aging Chart");
  EXPECT_EQ(tree->currentItem()->text(0), "Aging and the Aging Chart");
}

TEST(HelpWindowTest, HelpOpenedFromAModalDialogComesToTheFrontAndCanBeUsed) {
  THelpWindow window;
  WhileAModalDialogIsOpen([&window] {
    window.ShowTopic("AgingChart");
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    Click(ContentsButton(window));
    EXPECT_EQ(window.CurrentTitle(), "Contents");
  });
  EXPECT_TRUE(window.isVisible());  // the dialog is gone, help stays
}

TEST(HelpWindowTest, HelpAlreadyOpenStaysUsableWhenAModalDialogOpens) {
  THelpWindow window;
  window.ShowTopic("AgingChart");
  WhileAModalDialogIsOpen([&window] {
    QApplication::processEvents();
    Click(ContentsButton(window));
    EXPECT_EQ(window.CurrentTitle(), "Contents");
  });
}

TEST(HelpWindowTest, EscapeClosesHelp) {
  THelpWindow window;
  window.ShowTopic("AgingChart");
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

TEST(HelpWindowTest, PagesSpeakOfThisDesktopOnly) {
  const QRegularExpression foreign(QStringLiteral("Windows|\\.hlp|calc\\.exe|drive A|\\bA:"));
  for (const QString& file : PageFiles()) {
    EXPECT_FALSE(ReadPage(file).contains(foreign)) << file.toStdString();
  }
}

}  // namespace
}  // namespace platform::qt
