// The "Company Options" dialog: every per-company option on seven tabs, filled from
// a company record and, on "&Save", stored back and added to or changed in the
// company list. A refused save keeps the dialog open with what was typed.
#pragma once

#include <QDialog>
#include <functional>
#include <string_view>

#include "shell/companies.h"
#include "shell/ui/app_services.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace shell::ui {

class THeadersDlg;

class TCoOptions : public QDialog {
  Q_OBJECT

 public:
  explicit TCoOptions(AppServices& services, QWidget* parent = nullptr);

  // Before exec(): the company to add to, or change in, the open company list.
  // What "&Save" does with the values (SaveCompany over the caller's company list,
  // looked up when it is pressed, never kept here).
  using Save = std::function<SaveOutcome(const CompanyOptions& options, CompanyEdit& edit)>;

  void Begin(const CompanyEdit& edit, Save save);
  // After Accepted: the record as stored, and its slot.
  const CompanyEdit& Edit() const { return edit_; }

  CompanyOptions ControlValues() const;
  void ShowControlValues(const CompanyOptions& options);

  QTabWidget* PageControl1() const { return PageControl1_; }
  QPushButton* SaveButton() const { return SaveButton_; }
  QPushButton* CancelButton() const { return CancelButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }
  QPushButton* HeadersButton() const { return HeadersButton_; }
  THeadersDlg* HeadersDialog() const { return HeadersDlg_; }
  QLabel* BackgroundPreview() const { return BackgroundPreview_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  QWidget* BuildAddressTab();
  QWidget* BuildInvoiceTab();
  QWidget* BuildGeneralTab();
  QWidget* BuildFormsTab();
  QWidget* BuildSalesMessageTab();
  QWidget* BuildGraphicsTab();
  QWidget* BuildEnvelopesTab();
  void ConnectSignals();
  void LoadTerms();
  void ShowCheck(const CheckControl<CompanyOptions>& control, bool checked);
  void ShowSamples();
  void ShowBackgroundPreview();

  void FormShow();
  void SaveButtonClick();
  void FocusControl(std::string_view name);
  void HelpButtonClick();
  void HeadersButtonClick();
  void LogoBitmapButtonClick();
  void BackBitmapButtonClick();
  void EditorFontButtonClick();
  void ManagerFontButtonClick();
  void EnvelopeFontButtonClick();
  // A chosen picture's name as stored, or empty when none was chosen.
  QString ChoosePicture();

  AppServices services_;
  Save save_;
  CompanyEdit edit_;
  CompanyOptions values_;  // what no control holds: the fonts and the headers
  QTabWidget* PageControl1_;
  QPushButton* SaveButton_;
  QPushButton* CancelButton_;
  QPushButton* HelpButton_;
  QPushButton* HeadersButton_ = nullptr;
  QPushButton* LogoBitmapButton_ = nullptr;
  QPushButton* BackBitmapButton_ = nullptr;
  QPushButton* EditorFontButton_ = nullptr;
  QPushButton* ManagerFontButton_ = nullptr;
  QPushButton* EnvelopeFontButton_ = nullptr;
  QLabel* EditorFontSample_ = nullptr;
  QLabel* ManagerFontSample_ = nullptr;
  QLabel* EnvelopeFontSample_ = nullptr;
  QLabel* BackgroundPreview_ = nullptr;
  THeadersDlg* HeadersDlg_;
};

}  // namespace shell::ui
