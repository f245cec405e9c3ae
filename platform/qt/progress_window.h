// The small status window of long runs ("Rebuild Status", "Aging"): a frame with a
// caption and three centred lines, the middle one bold, and the hourglass cursor
// while it shows. It offers no way to cancel.
#pragma once

#include <QDialog>

#include "platform/progress.h"

class QGroupBox;
class QLabel;

namespace platform::qt {

class TProgressWindow final : public QDialog, public ProgressSink {
  Q_OBJECT

 public:
  explicit TProgressWindow(QWidget* parent = nullptr);

  void Begin(std::string_view title, std::string_view caption) override;
  void Show(std::span<const std::string> lines) override;
  void KeepResponsive() override;
  void End() override;

  QString Line(int index) const;
  QString Caption() const;

 private:
  QGroupBox* Frame_;
  QLabel* Lines_[3];
  bool cursorSet_ = false;
};

}  // namespace platform::qt
