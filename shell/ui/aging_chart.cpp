#include "shell/ui/aging_chart.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr int kChartWidth = 90;
constexpr int kChartHeight = 240;
// Green to red as the money gets older; each readable on the frame's white.
constexpr std::array<const char*, kAgingBucketCount> kBarColours = {"#2e8b57", "#e0b000", "#e06c00", "#c0392b"};

void Fill(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QLabel* CaptionLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setAlignment(Qt::AlignHCenter);
  return label;
}

}  // namespace

TAgingChart::TAgingChart(platform::Help& help, QWidget* parent)
    : QFrame(parent),
      help_(help),
      AgingLabel_(CaptionLabel(tr("Aging"), this)),
      ChartLabel_(CaptionLabel(tr("Chart"), this)),
      ChartFrame_(new QFrame(this)),
      AsOfLabel_(new QLabel(this)),
      AsOfButton_(new QPushButton(tr("As &Of..."), this)),
      CloseChartButton_(new QPushButton(tr("Close Chart"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  platform::qt::SetHelpKeyword(*this, "AgingChart");
  ChartFrame_->setFrameShape(QFrame::Box);
  ChartFrame_->setFixedSize(kChartWidth, kChartHeight);
  Fill(ChartFrame_, Qt::white);
  ChartFrame_->installEventFilter(this);
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) {
    Bars_[i] = new QFrame(ChartFrame_);
    Fill(Bars_[i], QColor(kBarColours[i]));
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(AgingLabel_);
  layout->addWidget(ChartLabel_);
  layout->addWidget(ChartFrame_, 0, Qt::AlignHCenter);
  layout->addWidget(AsOfLabel_, 0, Qt::AlignHCenter);
  layout->addWidget(AsOfButton_);
  layout->addWidget(CloseChartButton_);
  layout->addWidget(HelpButton_);
  connect(CloseChartButton_, &QPushButton::clicked, this, &TAgingChart::CloseChartButtonClick);
  connect(HelpButton_, &QPushButton::clicked, this, &TAgingChart::HelpButtonClick);
  connect(AsOfButton_, &QPushButton::clicked, this, &TAgingChart::asOfRequested);
  AsOfButton_->setToolTip(tr("The aging as it stood at the end of a past day"));
  AsOfLabel_->hide();
}

void TAgingChart::ShowTotals(const AgingTotals& totals, const QString& asOf) {
  totals_ = totals;
  AsOfLabel_->setText(tr("As of %1").arg(asOf));
  AsOfLabel_->setVisible(!asOf.isEmpty());
  setToolTip(ToQString(AgingTotalHint(totals_)));
  const auto hints = AgingBarHints(totals_);
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) Bars_[i]->setToolTip(ToQString(hints[i]));
  show();
  LayoutBars();
  emit statusChanged(ToQString(kChartShownStatus));
}

bool TAgingChart::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ChartFrame_ && event->type() == QEvent::Resize) LayoutBars();
  return QFrame::eventFilter(watched, event);
}

void TAgingChart::LayoutBars() {
  const QRect inside = ChartFrame_->contentsRect();
  const auto spans = AgingBarSpans(totals_, inside.height());
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) {
    Bars_[i]->setGeometry(inside.left(), inside.top() + spans[i].top, inside.width(), spans[i].height);
    Bars_[i]->setVisible(spans[i].height > 0);
  }
}

void TAgingChart::CloseChartButtonClick() {
  hide();
  emit statusChanged(ToQString(files::kStatusReady));
}

void TAgingChart::HelpButtonClick() { help_.ShowTopic(platform::qt::HelpKeywordOf(this)); }

}  // namespace shell::ui
