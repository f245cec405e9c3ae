#include "engine/ui/fvc_browser.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kInitialWidth = 200;
constexpr int kInitialHeight = 100;
constexpr int kMaxLineText = 255;
constexpr int kTextMargin = 2;
constexpr int kCharsPerWordStep = 10;  // Ctrl+Left / Ctrl+Right
constexpr int kDragIntervalMs = 50;
constexpr int kThumbPageStep = 8;
constexpr int kWheelUnitsPerRow = 40;  // three rows per notch of 120

std::string ErrorText(engine::StatusClass statusClass, int status) {
  char text[64];
  std::snprintf(text, sizeof text, "Class %d error.  Isam Error %d", engine::ClassNumber(statusClass), status);
  return text;
}

}  // namespace

TFvcBrowser::TFvcBrowser(QWidget* parent) : QAbstractScrollArea(parent) {
  const QPalette& colours = palette();
  color_ = colours.color(QPalette::Base);
  headerColor_ = footerColor_ = colours.color(QPalette::Button);
  headerTxtColor_ = footerTxtColor_ = colours.color(QPalette::ButtonText);
  highlightColor_ = colours.color(QPalette::Highlight);
  highlightTxtColor_ = colours.color(QPalette::HighlightedText);
  OnError = [this](const std::string& text) {
    QMessageBox::warning(this, "VT Quillary PRO", QString::fromStdString(text));
  };

  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  verticalScrollBar()->setRange(0, engine::kScrollScale);
  verticalScrollBar()->setPageStep(kThumbPageStep);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &TFvcBrowser::VertScrollBarActionTriggered);
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, &TFvcBrowser::VertScrollBarSliderReleased);
  dragTimer_.setInterval(kDragIntervalMs);
  connect(&dragTimer_, &QTimer::timeout, this, &TFvcBrowser::DragTimerTimeout);
  setFocusPolicy(Qt::StrongFocus);
  resize(kInitialWidth, kInitialHeight);
  SetBorderStyle(Border::kSingle);
}

TFvcBrowser::~TFvcBrowser() = default;

// --- The data source -------------------------------------------------------------

void TFvcBrowser::AttachDataSource(std::unique_ptr<engine::BrowserSource> source) {
  source_ = std::move(source);
  if (!source_) {
    UpdateVerticalScrollBar();
    viewport()->update();
    return;
  }
  source_->SetFilterEnabled(filterEnabled_);
  source_->SetVisibleRows(VisibleRowCount());
  FinishMove(source_->First());
  if (firstUserInitDone_) return;
  firstUserInitDone_ = true;
  if (OnFirstUserInit) OnFirstUserInit();
}

int TFvcBrowser::KeyNumber() const { return source_ ? source_->CurrentKeyNumber() : kNoKeyNumber; }

void TFvcBrowser::SetKeyNumber(engine::KeyNumber keyNumber) {
  if (source_) FinishMove(source_->SetKeyNumber(keyNumber));
}

void TFvcBrowser::PositionAtKey(const engine::KeyString& key, engine::RecordNumber number) {
  if (source_) FinishMove(source_->PositionAtKey(key, number));
}

bool TFvcBrowser::CurrentRecord() {
  if (!source_) return false;
  const engine::StatusClass read = source_->ReadCurrentRecord();
  Report(read);
  return read == engine::StatusClass::kSuccess;
}

engine::KeyString TFvcBrowser::CurrentKey() const { return source_ ? source_->CurrentKey() : engine::KeyString(); }

engine::RecordNumber TFvcBrowser::CurrentRecordNumber() const {
  return source_ ? source_->CurrentRecordNumber() : 0;
}

void TFvcBrowser::Refresh() {
  if (source_) FinishMove(source_->Refresh());
}

// --- Moves --------------------------------------------------------------------------

void TFvcBrowser::FinishMove(engine::StatusClass outcome) {
  Report(outcome);
  viewport()->update();
  if (OnRowChanged) OnRowChanged();
  if (!engine::Failed(outcome)) UpdateVerticalScrollBar();
}

void TFvcBrowser::Report(engine::StatusClass outcome) {
  if (engine::Failed(outcome) && OnError) OnError(ErrorText(outcome, source_->LastStatus()));
}

// The bar shows where the current entry lies; while the thumb is dragged it follows
// the hand instead.
void TFvcBrowser::UpdateVerticalScrollBar() {
  if (verticalScrollBar()->isSliderDown()) return;
  std::int32_t position = 0;
  if (source_) Report(source_->ScrollPosition(position));
  const QSignalBlocker blocker(verticalScrollBar());
  verticalScrollBar()->setValue(position);
}

void TFvcBrowser::VertScrollBarActionTriggered(int action) {
  if (!source_) return;
  engine::StatusClass moved = engine::StatusClass::kSuccess;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: moved = source_->MoveDown(); break;
    case QAbstractSlider::SliderSingleStepSub: moved = source_->MoveUp(); break;
    case QAbstractSlider::SliderPageStepAdd: moved = source_->PageDown(); break;
    case QAbstractSlider::SliderPageStepSub: moved = source_->PageUp(); break;
    case QAbstractSlider::SliderToMinimum: moved = source_->First(); break;
    case QAbstractSlider::SliderToMaximum: moved = source_->Last(); break;
    case QAbstractSlider::SliderMove: moved = source_->PositionAtScroll(verticalScrollBar()->sliderPosition()); break;
    default: return;
  }
  FinishMove(moved);
}

void TFvcBrowser::VertScrollBarSliderReleased() { UpdateVerticalScrollBar(); }

void TFvcBrowser::DragTimerTimeout() {
  if (!source_ || drag_ == Drag::kNone) {
    dragTimer_.stop();
    return;
  }
  FinishMove(drag_ == Drag::kUp ? source_->MoveUp() : source_->MoveDown());
}

// --- Keyboard and mouse ----------------------------------------------------------------

void TFvcBrowser::keyPressEvent(QKeyEvent* event) {
  if (source_ && (MoveByKey(*event) || ScrollByKey(*event) || SearchByKey(*event))) {
    event->accept();
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

bool TFvcBrowser::MoveByKey(const QKeyEvent& event) {
  const bool control = event.modifiers() & Qt::ControlModifier;
  engine::StatusClass moved = engine::StatusClass::kSuccess;
  switch (event.key()) {
    case Qt::Key_Down: moved = source_->MoveDown(); break;
    case Qt::Key_Up: moved = source_->MoveUp(); break;
    case Qt::Key_PageDown: moved = source_->PageDown(); break;
    case Qt::Key_PageUp: moved = source_->PageUp(); break;
    case Qt::Key_Home:
      if (!control) return false;
      moved = source_->First();
      break;
    case Qt::Key_End:
      if (!control) return false;
      moved = source_->Last();
      break;
    case Qt::Key_Plus: moved = source_->Refresh(); break;
    default: return false;
  }
  FinishMove(moved);
  return true;
}

bool TFvcBrowser::ScrollByKey(const QKeyEvent& event) {
  const bool control = event.modifiers() & Qt::ControlModifier;
  const int step = AverageCharWidth() * (control ? kCharsPerWordStep : 1);
  int offset = HorizOfs();
  switch (event.key()) {
    case Qt::Key_Home: offset = 0; break;
    case Qt::Key_End: offset = horizontalScrollBar()->maximum(); break;
    case Qt::Key_Left: offset -= step; break;
    case Qt::Key_Right: offset += step; break;
    default: return false;
  }
  SetHorizOfs(offset);
  return true;
}

bool TFvcBrowser::SearchByKey(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.size() != 1) return false;
  const std::optional<engine::KeyString> key = engine::TypedSearchKey(text.at(0).unicode());
  if (!key) return false;
  PositionAtKey(*key, 0);
  return true;
}

bool TFvcBrowser::SelectRowAt(int y) {
  const int row = RowAt(y);
  return row >= 0 && source_->SelectRow(row);
}

void TFvcBrowser::mousePressEvent(QMouseEvent* event) {
  if (!source_ || event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
  } else if (SelectRowAt(event->position().toPoint().y())) {
    FinishMove(engine::StatusClass::kSuccess);
  }
}

// Held outside the rows, the button keeps the highlight moving one row per pass.
void TFvcBrowser::mouseMoveEvent(QMouseEvent* event) {
  if (!source_ || !(event->buttons() & Qt::LeftButton)) {
    QAbstractScrollArea::mouseMoveEvent(event);
    return;
  }
  const int y = event->position().toPoint().y();
  drag_ = y < RowsTop() ? Drag::kUp : (y >= RowsBottom() ? Drag::kDown : Drag::kNone);
  if (drag_ != Drag::kNone) {
    if (!dragTimer_.isActive()) dragTimer_.start();
    return;
  }
  dragTimer_.stop();
  const int before = source_->CurrentRow();
  if (SelectRowAt(y) && source_->CurrentRow() != before) FinishMove(engine::StatusClass::kSuccess);
}

void TFvcBrowser::mouseReleaseEvent(QMouseEvent* event) {
  drag_ = Drag::kNone;
  dragTimer_.stop();
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TFvcBrowser::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!source_ || event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mouseDoubleClickEvent(event);
  } else if (SelectRowAt(event->position().toPoint().y())) {
    FinishMove(engine::StatusClass::kSuccess);
    if (OnDblClick) OnDblClick();
  }
}

// The wheel moves rows: the scroll bar's own steps would jump whole fractions of a file.
void TFvcBrowser::wheelEvent(QWheelEvent* event) {
  if (!source_) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  const int rows = event->angleDelta().y() / kWheelUnitsPerRow;
  engine::StatusClass moved = engine::StatusClass::kSuccess;
  for (int step = 0; step < std::abs(rows) && moved == engine::StatusClass::kSuccess; ++step) {
    moved = rows < 0 ? source_->MoveDown() : source_->MoveUp();
  }
  FinishMove(moved);
  event->accept();
}

// --- Properties --------------------------------------------------------------------------

void TFvcBrowser::SetBorderStyle(Border border) {
  border_ = border;
  setFrameStyle(border == Border::kSingle ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
  LayOut();
}

void TFvcBrowser::SetFilterEnabled(bool enabled) {
  filterEnabled_ = enabled;
  if (!source_) return;
  source_->SetFilterEnabled(enabled);
  Refresh();
}

void TFvcBrowser::SetHeader(const QString& header) {
  header_ = header.left(kMaxLineText);
  LayOut();
}

void TFvcBrowser::SetFooter(const QString& footer) {
  footer_ = footer.left(kMaxLineText);
  LayOut();
}

void TFvcBrowser::SetColour(QColor& property, const QColor& color) {
  property = color;
  viewport()->update();
}

int TFvcBrowser::HorizOfs() const { return horizontalScrollBar()->value(); }

// The scroll bar holds the offset; moving it repaints through scrollContentsBy.
void TFvcBrowser::SetHorizOfs(int offset) { horizontalScrollBar()->setValue(offset); }

void TFvcBrowser::SetUseSeparator(bool use) {
  useSeparator_ = use;
  viewport()->update();
}

// --- Layout --------------------------------------------------------------------------------

void TFvcBrowser::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  LayOut();
}

void TFvcBrowser::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) LayOut();
}

void TFvcBrowser::scrollContentsBy(int, int) { viewport()->update(); }

void TFvcBrowser::LayOut() {
  if (source_) Report(source_->SetVisibleRows(VisibleRowCount()));
  const int clientWidth = maximumViewportSize().width();
  QScrollBar* bar = horizontalScrollBar();
  bar->setRange(0, std::max(kRowWidthInCharacters * AverageCharWidth() - clientWidth, 0));
  bar->setSingleStep(AverageCharWidth());
  bar->setPageStep(std::max(clientWidth, 1));
  viewport()->update();
}

// The viewport's size from the widget's own, so that it is right before the first show.
int TFvcBrowser::VisibleRowCount() const {
  const int fitting = maximumViewportSize().height() / RowHeight() - HeaderLines() - FooterLines();
  return std::max(fitting, 1);
}

int TFvcBrowser::RowHeight() const { return std::max(QFontMetrics(font()).lineSpacing(), 1); }

int TFvcBrowser::AverageCharWidth() const { return std::max(QFontMetrics(font()).averageCharWidth(), 1); }

int TFvcBrowser::RowAt(int y) const {
  if (y < RowsTop() || y >= RowsBottom()) return -1;
  return (y - RowsTop()) / RowHeight();
}

// --- Painting ------------------------------------------------------------------------------

void TFvcBrowser::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setFont(font());
  painter.fillRect(viewport()->rect(), color_);
  if (HeaderLines() > 0) {
    PaintLine(painter, 0, header_, headerColor_, headerTxtColor_);
    if (useSeparator_) PaintSeparator(painter, RowHeight() - 1, headerTxtColor_);
  }
  const QColor textColor = palette().color(QPalette::Text);
  for (int row = 0; row < VisibleRowCount(); ++row) {
    const bool current = source_ && row == source_->CurrentRow();
    PaintLine(painter, RowsTop() + row * RowHeight(), RowText(row), current ? highlightColor_ : color_,
              current ? highlightTxtColor_ : textColor);
  }
  if (FooterLines() > 0) {
    PaintLine(painter, RowsBottom(), footer_, footerColor_, footerTxtColor_);
    if (useSeparator_) PaintSeparator(painter, RowsBottom(), footerTxtColor_);
  }
  if (source_) source_->MarkPainted();
}

void TFvcBrowser::PaintLine(QPainter& painter, int top, const QString& text, const QColor& background,
                            const QColor& foreground) const {
  const int height = RowHeight();
  painter.fillRect(0, top, viewport()->width(), height, background);
  painter.setPen(foreground);
  const QRect textArea(kTextMargin - HorizOfs(), top, kRowWidthInCharacters * AverageCharWidth(), height);
  painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void TFvcBrowser::PaintSeparator(QPainter& painter, int y, const QColor& color) const {
  painter.setPen(color);
  painter.drawLine(0, y, viewport()->width(), y);
}

// Row text is UTF-8, as every text the program stores.
QString TFvcBrowser::RowText(int row) const {
  if (!source_ || row >= source_->RowCount()) return {};
  std::string text;
  for (const engine::BRLRowEltString& element : source_->Row(row).elements) text += element;
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
