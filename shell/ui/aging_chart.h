// The aging chart panel of the main window: the result of an aging run as four
// coloured bars stacked in a frame, one per age bucket, each as high as its share of
// the receivables, with the amounts as hints.
#pragma once

#include <QFrame>
#include <array>

#include "platform/help.h"
#include "shell/aging_chart.h"

class QLabel;
class QPushButton;

namespace shell::ui {

class TAgingChart : public QFrame {
  Q_OBJECT

 public:
  explicit TAgingChart(platform::Help& help, QWidget* parent = nullptr);

  // Sizes the bars for these totals, shows the panel and says how to read it.
  // `asOf` names the past day the totals were taken at; empty for today's aging.
  void ShowTotals(const AgingTotals& totals, const QString& asOf = {});

  QFrame* ChartFrame() const { return ChartFrame_; }
  QFrame* Bar(AgingBucket bucket) const { return Bars_[static_cast<std::size_t>(bucket)]; }
  QPushButton* CloseChartButton() const { return CloseChartButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }
  QPushButton* AsOfButton() const { return AsOfButton_; }
  QLabel* AsOfLabel() const { return AsOfLabel_; }

 signals:
  // Status panel 1 of the main window.
  void statusChanged(const QString& text);
  // "As Of...": the main window asks for the day and shows the aging as it stood then.
  void asOfRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayoutBars();
  void CloseChartButtonClick();
  void HelpButtonClick();

  platform::Help& help_;
  AgingTotals totals_;
  QLabel* AgingLabel_;
  QLabel* ChartLabel_;
  QFrame* ChartFrame_;
  std::array<QFrame*, kAgingBucketCount> Bars_{};
  QLabel* AsOfLabel_;
  QPushButton* AsOfButton_;
  QPushButton* CloseChartButton_;
  QPushButton* HelpButton_;
};

}  // namespace shell::ui
