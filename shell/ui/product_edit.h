// The product edit dialog ("Edit Product"): code, description, sales price, the
// taxable box and notes, with the product's dates in its status bar. OK checks the
// entries against the product file; a refused entry keeps the dialog open on it.
#pragma once

#include <QDialog>
#include <functional>

#include "platform/help.h"
#include "shell/products.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace shell::ui {

class TEditProduct : public QDialog {
  Q_OBJECT

 public:
  explicit TEditProduct(platform::Help& help, QWidget* parent = nullptr);

  // The checks OK runs (CheckProduct over the caller's product file, looked up when
  // OK is pressed, never kept here).
  using Check = std::function<ProductField(ProductEntry& entry)>;

  // Before exec(): what the dialog shows, and the checks.
  void Prepare(const ProductDialog& dialog, Check check);
  // The entries as accepted, the price already made storable.
  ProductEntry Entry() const;

  QLineEdit* PNum() const { return PNum_; }
  QLineEdit* PDesc() const { return PDesc_; }
  QLineEdit* PSell() const { return PSell_; }
  QCheckBox* Taxable() const { return Taxable_; }
  QLineEdit* PNote() const { return PNote_; }
  QPushButton* OKButton() const { return OKButton_; }
  QPushButton* CancelButton() const { return CancelButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }
  QString SetupDateText() const;
  QString LastChangedText() const;

 private:
  void BuildLayout();
  void ConnectSignals();
  void OKButtonClick();
  void HelpButtonClick();

  platform::Help& help_;
  Check check_;
  QLineEdit* PNum_;
  QLineEdit* PDesc_;
  QLineEdit* PSell_;
  QCheckBox* Taxable_;
  QLineEdit* PNote_;
  QPushButton* OKButton_;
  QPushButton* CancelButton_;
  QPushButton* HelpButton_;
  QStatusBar* StatusBar1_;
  QLabel* SetupPanel_;
  QLabel* ChangedPanel_;
};

}  // namespace shell::ui
