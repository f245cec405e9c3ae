// "&About": the program's name, version and purpose, and where its data lives.
#pragma once

#include <QDialog>

namespace shell::ui {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  static constexpr const char* kVersion = "1.0";
};

}  // namespace shell::ui
