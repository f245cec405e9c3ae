#include "engine/ui/fvc_browser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QThread>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/test_support.h"

namespace {

using engine::KeyString;
using engine::testing::KeyedItem;

constexpr int kItems = 20;
constexpr int kRowsShown = 6;

std::string Code(int i) {
  char text[8];
  std::snprintf(text, sizeof text, "C%02d", i);
  return text;
}

template <class Done>
bool WaitUntil(Done done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return done();
}

// A browser six rows high over a file of the codes C00..C19, shown offscreen.
class FvcBrowserTest : public ::testing::Test {
 protected:
  FvcBrowserTest() {
    engine_.InitEngine(30);
    const engine::IndexSpec index[] = {{8, false}};
    engine_.CreateFileSet(folder_.Name("items"), sizeof(KeyedItem), index);
    file_ = engine_.OpenFileSet(folder_.Name("items"), false);
    for (int i = 0; i < kItems; ++i) Add(Code(i));
    browser_.OnError = [this](const std::string& text) { errors_.push_back(text); };
    browser_.OnRowChanged = [this] { ++rowChanges_; };
    ResizeToRows(kRowsShown);
    browser_.show();
  }
  ~FvcBrowserTest() override { engine_.CloseFileSet(file_); }

  void Add(const std::string& code) {
    const KeyedItem item = engine::testing::MakeKeyedItem(0, code, "", "");
    engine_.AddKey(file_, 1, engine_.AddRecord(file_, engine::RecordBytes(item)), code);
  }
  void Attach() {
    browser_.AttachDataSource(std::make_unique<engine::BrowserSource>(engine_, file_, 1, engine::RecordBytes(record_),
                                                                      KeyString(), KeyString(), 50));
  }
  int RowHeight() const { return QFontMetrics(browser_.font()).lineSpacing(); }
  void ResizeToRows(int rows) {
    const int chrome = 2 * browser_.frameWidth() + browser_.horizontalScrollBar()->sizeHint().height();
    browser_.resize(300, chrome + rows * RowHeight() + RowHeight() / 2);
  }
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&browser_, &event);
  }
  void Mouse(QEvent::Type type, int y, Qt::MouseButtons held = Qt::LeftButton) {
    const QPointF at(10, y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, browser_.viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(browser_.viewport(), &event);
  }
  int RowMiddle(int row) const { return row * RowHeight() + RowHeight() / 2; }
  std::string Current() const { return browser_.CurrentKey().str(); }
  std::string Shown(int row) const { return browser_.DataSource()->Row(row).key.str(); }
  int ScrollValue() const { return browser_.verticalScrollBar()->value(); }

  engine::testing::TempDir folder_;
  engine::Engine engine_;
  engine::FileBlock* file_ = nullptr;
  KeyedItem record_;
  std::vector<std::string> errors_;
  int rowChanges_ = 0;
  TFvcBrowser browser_;
};

TEST_F(FvcBrowserTest, KeyboardTable) {
  Attach();
  ASSERT_EQ(browser_.VisibleRowCount(), kRowsShown);
  for (int i = 1; i < kRowsShown; ++i) Press(Qt::Key_Down);
  EXPECT_EQ(Current(), Code(kRowsShown - 1));
  EXPECT_EQ(Shown(0), "C00");
  Press(Qt::Key_Down);
  EXPECT_EQ(Current(), Code(kRowsShown));
  EXPECT_EQ(Shown(0), "C01");
  Press(Qt::Key_PageDown);
  EXPECT_EQ(Current(), Code(2 * kRowsShown));
  Press(Qt::Key_PageUp);
  EXPECT_EQ(Current(), Code(kRowsShown));
  Press(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Current(), Code(kItems - 1));
  EXPECT_EQ(ScrollValue(), engine::kScrollScale);
  Press(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(Current(), "C00");
  EXPECT_EQ(ScrollValue(), 0);
  EXPECT_EQ(rowChanges_, 1 + kRowsShown + 4);

  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  Add("C01A");
  Press(Qt::Key_Plus, Qt::NoModifier, "+");
  EXPECT_EQ(Current(), "C02");
  EXPECT_EQ(Shown(1), "C01A");
  for (const char* code : {"K1", "KA", "M"}) Add(code);
  Press(Qt::Key_K, Qt::NoModifier, "k");
  EXPECT_EQ(Current(), "K1");
  Press(Qt::Key_L, Qt::NoModifier, "l");
  EXPECT_EQ(Current(), "M");

  const int average = QFontMetrics(browser_.font()).averageCharWidth();
  const int widest = browser_.horizontalScrollBar()->maximum();
  EXPECT_EQ(widest, TFvcBrowser::kRowWidthInCharacters * average - browser_.viewport()->width());
  Press(Qt::Key_Right);
  Press(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(browser_.HorizOfs(), 11 * average);
  Press(Qt::Key_End);
  EXPECT_EQ(browser_.HorizOfs(), widest);
  Press(Qt::Key_Home);
  EXPECT_EQ(browser_.HorizOfs(), 0);
  EXPECT_EQ(Current(), "M");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(FvcBrowserTest, ClickSelectsARowAndDraggingBelowKeepsMoving) {
  Attach();
  int chosen = 0;
  browser_.OnDblClick = [&] { ++chosen; };
  const int changesBefore = rowChanges_;
  Mouse(QEvent::MouseButtonPress, RowMiddle(2));
  EXPECT_EQ(Current(), "C02");
  EXPECT_EQ(rowChanges_, changesBefore + 1);
  Mouse(QEvent::MouseMove, RowMiddle(kRowsShown));
  EXPECT_TRUE(WaitUntil([&] { return Current() >= Code(kRowsShown + 2); }, 3000)) << Current();
  Mouse(QEvent::MouseButtonRelease, RowMiddle(kRowsShown), Qt::NoButton);
  const std::string stopped = Current();
  WaitUntil([] { return false; }, 150);
  EXPECT_EQ(Current(), stopped);
  Mouse(QEvent::MouseButtonDblClick, RowMiddle(0));
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(Current(), Shown(0));
}

TEST_F(FvcBrowserTest, ScrollBarFollowsMovesAndItsThumbPositions) {
  Attach();
  QScrollBar& bar = *browser_.verticalScrollBar();
  bar.triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Current(), Code(kItems - 1));
  EXPECT_EQ(bar.value(), engine::kScrollScale);
  bar.setSliderPosition(32);
  EXPECT_NEAR(std::stoi(Current().substr(1)), kItems / 2, 2);
  EXPECT_NEAR(bar.value(), 32, 3);
  bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_NEAR(std::stoi(Current().substr(1)), kItems / 2 - 1, 2);
}

TEST_F(FvcBrowserTest, FailingReadShowsClassAndEngineStatus) {
  Attach();
  engine::FileBlock* closing = file_;
  engine_.CloseFileSet(closing);
  Press(Qt::Key_Plus, Qt::NoModifier, "+");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Class 4 error.  Isam Error 10445");
}

TEST_F(FvcBrowserTest, MovesPastTheEndsAreNoErrorButARetryableFailureIsReported) {
  Attach();
  Press(Qt::Key_Up);
  Press(Qt::Key_End, Qt::ControlModifier);
  Press(Qt::Key_Down);
  EXPECT_EQ(Current(), Code(kItems - 1));
  EXPECT_EQ(ScrollValue(), engine::kScrollScale);
  EXPECT_TRUE(errors_.empty());

  browser_.DataSource()->OnBuildRow = [](engine::RowRec&) { return engine::status::kReadOnly; };
  Press(Qt::Key_Plus, Qt::NoModifier, "+");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Class 2 error.  Isam Error 10065");
}

TEST_F(FvcBrowserTest, HeaderAndFooterEachTakeARowButOneRowAlwaysShows) {
  EXPECT_EQ(browser_.KeyNumber(), TFvcBrowser::kNoKeyNumber);
  int initialisations = 0;
  browser_.OnFirstUserInit = [&] { ++initialisations; };
  Attach();
  Attach();
  EXPECT_EQ(initialisations, 1);
  EXPECT_EQ(browser_.KeyNumber(), 1);
  browser_.SetHeader("Code");
  EXPECT_EQ(browser_.VisibleRowCount(), kRowsShown - 1);
  browser_.SetFooter("End of list");
  EXPECT_EQ(browser_.VisibleRowCount(), kRowsShown - 2);
  EXPECT_EQ(browser_.DataSource()->RowCount(), kRowsShown - 2);
  ResizeToRows(1);
  EXPECT_EQ(browser_.VisibleRowCount(), 1);
  EXPECT_EQ(browser_.DataSource()->RowCount(), 1);
  EXPECT_EQ(Shown(0), "C00");
}

TEST_F(FvcBrowserTest, PaintsHeaderCurrentRowAndFooterInTheirColours) {
  Attach();
  browser_.SetHeader("Code");
  browser_.SetFooter("End of list");
  browser_.SetHeaderColor(Qt::red);
  browser_.SetHighlightColor(Qt::blue);
  browser_.SetFooterColor(Qt::green);
  Press(Qt::Key_Down);
  const QImage image = browser_.viewport()->grab().toImage();
  const int right = image.width() - 3;
  EXPECT_EQ(image.pixelColor(right, RowMiddle(0)), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(right, RowMiddle(1)), browser_.Color());
  EXPECT_EQ(image.pixelColor(right, RowMiddle(2)), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(right, RowMiddle(kRowsShown - 1)), QColor(Qt::green));
}

}  // namespace
