// The keyed browser: the list control in which the manager windows show a file one
// row per record, in the order of one index. It paints, scrolls and takes keys and
// the mouse; the attached data source does every engine call and keeps the rows.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "engine/browser_source.h"

class TFvcBrowser : public QAbstractScrollArea {
  Q_OBJECT
  Q_PROPERTY(QString Header READ Header WRITE SetHeader)
  Q_PROPERTY(QString Footer READ Footer WRITE SetFooter)
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(QColor HeaderColor READ HeaderColor WRITE SetHeaderColor)
  Q_PROPERTY(QColor FooterColor READ FooterColor WRITE SetFooterColor)
  Q_PROPERTY(QColor HeaderTxtColor READ HeaderTxtColor WRITE SetHeaderTxtColor)
  Q_PROPERTY(QColor FooterTxtColor READ FooterTxtColor WRITE SetFooterTxtColor)
  Q_PROPERTY(QColor HighlightColor READ HighlightColor WRITE SetHighlightColor)
  Q_PROPERTY(QColor HighlightTxtColor READ HighlightTxtColor WRITE SetHighlightTxtColor)
  Q_PROPERTY(int HorizOfs READ HorizOfs WRITE SetHorizOfs)
  Q_PROPERTY(bool UseSeparator READ UseSeparator WRITE SetUseSeparator)
  Q_PROPERTY(bool FilterEnabled READ FilterEnabled WRITE SetFilterEnabled)

 public:
  enum class Border { kNone, kSingle };
  static constexpr int kNoKeyNumber = 65535;
  static constexpr int kRowWidthInCharacters = 128;

  explicit TFvcBrowser(QWidget* parent = nullptr);
  ~TFvcBrowser() override;

  // --- The data source ------------------------------------------------------
  // Replaces (and frees) the previous one, fills the first page and, the first time,
  // fires OnFirstUserInit. Set the data source's row events before attaching it.
  void AttachDataSource(std::unique_ptr<engine::BrowserSource> source);
  engine::BrowserSource* DataSource() const { return source_.get(); }

  int KeyNumber() const;  // kNoKeyNumber when no data source is attached
  void SetKeyNumber(engine::KeyNumber keyNumber);
  void PositionAtKey(const engine::KeyString& key, engine::RecordNumber number);
  // Reads the current row's record into the data source's record buffer.
  bool CurrentRecord();
  engine::KeyString CurrentKey() const;
  engine::RecordNumber CurrentRecordNumber() const;
  void Refresh();
  int VisibleRowCount() const;

  // --- Published properties -----------------------------------------------------
  Border BorderStyle() const { return border_; }
  void SetBorderStyle(Border border);
  bool FilterEnabled() const { return filterEnabled_; }
  void SetFilterEnabled(bool enabled);
  QString Header() const { return header_; }
  void SetHeader(const QString& header);
  QString Footer() const { return footer_; }
  void SetFooter(const QString& footer);
  QColor Color() const { return color_; }
  void SetColor(const QColor& color) { SetColour(color_, color); }
  QColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(const QColor& color) { SetColour(headerColor_, color); }
  QColor FooterColor() const { return footerColor_; }
  void SetFooterColor(const QColor& color) { SetColour(footerColor_, color); }
  QColor HeaderTxtColor() const { return headerTxtColor_; }
  void SetHeaderTxtColor(const QColor& color) { SetColour(headerTxtColor_, color); }
  QColor FooterTxtColor() const { return footerTxtColor_; }
  void SetFooterTxtColor(const QColor& color) { SetColour(footerTxtColor_, color); }
  QColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(const QColor& color) { SetColour(highlightColor_, color); }
  QColor HighlightTxtColor() const { return highlightTxtColor_; }
  void SetHighlightTxtColor(const QColor& color) { SetColour(highlightTxtColor_, color); }
  int HorizOfs() const;
  void SetHorizOfs(int offset);
  bool UseSeparator() const { return useSeparator_; }
  void SetUseSeparator(bool use);

  // --- Events ---------------------------------------------------------------------
  std::function<void()> OnRowChanged;     // after every move, before the scroll bar follows
  std::function<void()> OnFirstUserInit;  // once, when the first data source is attached
  std::function<void()> OnDblClick;       // a double click on a row: "choose"
  // An engine failure in words; by default a warning box.
  std::function<void(const std::string& text)> OnError;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  enum class Drag { kNone, kUp, kDown };

  void VertScrollBarActionTriggered(int action);
  void VertScrollBarSliderReleased();
  void DragTimerTimeout();

  // Moves and their aftermath: the error report, OnRowChanged and the scroll bar.
  void FinishMove(engine::StatusClass outcome);
  void Report(engine::StatusClass outcome);
  void UpdateVerticalScrollBar();
  bool MoveByKey(const QKeyEvent& event);
  bool ScrollByKey(const QKeyEvent& event);
  bool SearchByKey(const QKeyEvent& event);
  bool SelectRowAt(int y);

  // Layout.
  void LayOut();
  int RowHeight() const;
  int AverageCharWidth() const;
  int HeaderLines() const { return header_.isEmpty() ? 0 : 1; }
  int FooterLines() const { return footer_.isEmpty() ? 0 : 1; }
  int RowsTop() const { return HeaderLines() * RowHeight(); }
  int RowsBottom() const { return RowsTop() + VisibleRowCount() * RowHeight(); }
  int RowAt(int y) const;
  void SetColour(QColor& property, const QColor& color);

  // Painting.
  void PaintLine(QPainter& painter, int top, const QString& text, const QColor& background,
                 const QColor& foreground) const;
  void PaintSeparator(QPainter& painter, int y, const QColor& color) const;
  QString RowText(int row) const;

  std::unique_ptr<engine::BrowserSource> source_;
  bool firstUserInitDone_ = false;
  Border border_ = Border::kSingle;
  bool filterEnabled_ = false;
  QString header_;
  QString footer_;
  QColor color_;
  QColor headerColor_;
  QColor footerColor_;
  QColor headerTxtColor_;
  QColor footerTxtColor_;
  QColor highlightColor_;
  QColor highlightTxtColor_;
  bool useSeparator_ = true;
  Drag drag_ = Drag::kNone;
  QTimer dragTimer_;
};
