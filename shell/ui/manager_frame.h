// What every manager window shares: the company caption in the company's screen font,
// the keyed browser over the manager's file in its manager font, and a status bar
// whose first panel counts the records. The file is opened through the file-set
// routines (creating or rebuilding it when the user agrees) and closed again with
// the window.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "files/keyed_file.h"
#include "shell/find.h"
#include "shell/ui/app_services.h"

class QLabel;
class QStatusBar;

class TFvcBrowser;
namespace platform::qt {
class TProgressWindow;
}

namespace shell::ui {

class TManagerFrame : public QWidget {
  Q_OBJECT

 public:
  TManagerFrame(AppServices& services, QWidget* parent = nullptr);
  ~TManagerFrame() override;

  // Opens the file described and lists it in `order`; each row is read into `record`
  // and turned into text by `buildRow`. False when the file cannot be opened.
  bool Open(files::FileDescription description, engine::KeyNumber order, std::span<std::byte> record,
            std::function<std::string()> buildRow);
  // Opens as Open does. A manager cannot work without its file: when it cannot be
  // opened, `refusal` is told under the window's title, programMustEnd() is emitted
  // and the window closes as soon as it can.
  bool OpenOrEndProgram(files::FileDescription description, engine::KeyNumber order, std::span<std::byte> record,
                        std::function<std::string()> buildRow, std::string_view refusal);
  // The same, with the refusal made from the engine status the open failed with.
  bool OpenOrEndProgram(files::FileDescription description, engine::KeyNumber order, std::span<std::byte> record,
                        std::function<std::string()> buildRow, const std::function<std::string(int status)>& refusal);
  // Tells `refusal` under the window's title and ends the program, as a failed open does;
  // for managers that need files besides the listed one.
  void EndProgram(std::string_view refusal);
  void Close();
  bool IsOpen() const;
  files::KeyedFile& File() { return *file_; }
  ::TFvcBrowser* Browser() const { return Browser_; }

  // "Customers: " and the like, followed by the count of keys in the current order.
  void SetCountPrefix(const QString& prefix) { countPrefix_ = prefix; }
  void ShowCount();
  void SetHeader(const QString& header);
  void SetMessage(const QString& text);
  QString Message() const;
  QString CountText() const;
  QString CompanyCaption() const;
  // Replaces the caption the company's name and number make.
  void SetCompanyCaption(const QString& caption);
  // Adds a panel after the message panel of the status bar.
  void AddStatusPanel(QWidget* panel);

  // Lists the file in another order, keeping the current record in view.
  void SetOrder(engine::KeyNumber order);
  engine::KeyNumber Order() const;
  // Makes the record the current row and refreshes the page and the count.
  void PositionOn(engine::RecordNumber number, const engine::KeyString& key);
  void Refresh();
  // Reads the current row's record into the buffer given to Open; false without one.
  bool ReadCurrent();
  // The find box over the open file: the row the user chose, nullopt when none was.
  std::optional<FoundRow> FindRow(FindMode mode, const QString& title);
  engine::RecordNumber CurrentRecordNumber() const;

 signals:
  // Double-click or Enter on a row.
  void rowChosen();
  // The manager's file cannot be opened: the program cannot go on.
  void programMustEnd();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyCompanyFonts();

  AppServices& services_;
  QLabel* CompanyLabel_;
  TFvcBrowser* Browser_;
  QStatusBar* StatusBar1_;
  QLabel* CountPanel_;
  QLabel* MessagePanel_;
  platform::qt::TProgressWindow* ProgressWindow_;
  std::unique_ptr<files::KeyedFile> file_;
  std::span<std::byte> record_;
  QString countPrefix_;
};

// Only fixed-pitch fonts keep the browser's columns in line.
QFont ManagerFontOf(const model::CompanyRecord& company, const QFont& fallback);

}  // namespace shell::ui
