// "Label Wizard / Print Queue": the label print queue shared with the customer manager
// and batch runs, the layout of the label sheet, and printing. The window reads its
// controls into a LabelLayout; reports/label_lists and reports/label_print do the rest.
#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>

#include "documents/label_layout.h"
#include "reports/label_lists.h"
#include "shell/ui/app_services.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;
class QTreeWidget;

namespace reports::ui {

class Tlblwiz : public QDialog {
  Q_OBJECT

 public:
  // `dataFolder` holds "Lastlbl.DAT" and "Label.Dat".
  Tlblwiz(shell::ui::AppServices& services, std::filesystem::path dataFolder, QWidget* parent = nullptr);

  QTreeWidget* LabelList() const { return LabelList_; }
  QToolButton* AddOne() const { return AddOne_; }
  QToolButton* SpeedButton2() const { return SpeedButton2_; }
  QToolButton* LoadAllRecs() const { return LoadAllRecs_; }
  QToolButton* SavetoFile() const { return SavetoFile_; }
  QToolButton* LoadFrmFile() const { return LoadFrmFile_; }
  QToolButton* SpeedButton3() const { return SpeedButton3_; }
  QPushButton* zero30() const { return zero30_; }
  QPushButton* A3060() const { return A3060_; }
  QPushButton* A6090() const { return A6090_; }
  QPushButton* AOver90() const { return AOver90_; }
  QPushButton* PrnButn() const { return PrnButn_; }
  QPushButton* SpeedButton4() const { return SpeedButton4_; }
  QPushButton* FontButn() const { return FontButn_; }
  QPushButton* BitMpButn() const { return BitMpButn_; }
  QLineEdit* Edit1() const { return Edit1_; }
  QLineEdit* LMargin() const { return LMargin_; }
  QLineEdit* TMargin() const { return TMargin_; }
  QLineEdit* ColAcross() const { return ColAcross_; }
  QLineEdit* RowsDown() const { return RowsDown_; }
  QLineEdit* LWdth() const { return LWdth_; }
  QLineEdit* LHght() const { return LHght_; }
  QLineEdit* BMapName() const { return BMapName_; }
  QLineEdit* MaskEdit1() const { return MaskEdit1_; }
  QLineEdit* CaptName() const { return CaptName_; }
  QLineEdit* LblStart() const { return LblStart_; }
  QLineEdit* LabelCopies() const { return LabelCopies_; }
  QCheckBox* PLine() const { return PLine_; }
  QCheckBox* UseCmpAdd() const { return UseCmpAdd_; }
  QCheckBox* CheckBox1() const { return CheckBox1_; }
  QStatusBar* StatusBar1() const { return StatusBar1_; }
  QAction* OpenItem() const { return OpenItem_; }
  QAction* SaveAsItem() const { return SaveAsItem_; }
  QAction* RulerItem() const { return RulerItem_; }

  // The layout as the controls hold it.
  documents::LabelLayout Layout() const;
  // Opens a layout as the Open command does, with the path chosen.
  bool OpenLayout(const std::filesystem::path& path);
  bool SaveLayoutAs(const std::filesystem::path& path);
  void LoadRecordList(const std::filesystem::path& path);
  void SaveRecordList(const std::filesystem::path& path);
  // Prints on `canvas`; the window prints on the set-up printer otherwise.
  void PrintOn(platform::PageCanvas& canvas);
  void PrintRulerOn(platform::PageCanvas& canvas);

 private:
  void BuildControls();
  void BuildLayout();
  void BuildMenu();
  void ConnectSignals();
  void ShowLayout(const documents::LabelLayout& layout);
  // Save As through the file dialog; false when cancelled or not written.
  bool SaveLayoutThroughDialog();
  void ShowQueue();
  void ShowStatus(const std::string& text);
  void EnableQueue(bool enabled);
  std::optional<std::size_t> SelectedEntry() const;
  void PullAging(AgingPull pull);

  void FormCreate();
  void OpenItemClick();
  void SaveAsItemClick();
  void RulerItemClick();
  void AddOneClick();
  void SpeedButton2Click();
  void LoadAllRecsClick();
  void SavetoFileClick();
  void LoadFrmFileClick();
  void SpeedButton3Click();
  void PrnButnClick();
  void SpeedButton4Click();
  void FontButnClick();
  void BitMpButnClick();
  void UseCmpAddClick();

  shell::ui::AppServices& services_;
  std::filesystem::path dataFolder_;
  std::optional<documents::LabelLayout> loaded_;
  platform::FontSpec font_;
  QTreeWidget* LabelList_;
  QToolButton* AddOne_;
  QToolButton* SpeedButton2_;
  QToolButton* LoadAllRecs_;
  QToolButton* SavetoFile_;
  QToolButton* LoadFrmFile_;
  QToolButton* SpeedButton3_;
  QPushButton* zero30_;
  QPushButton* A3060_;
  QPushButton* A6090_;
  QPushButton* AOver90_;
  QPushButton* PrnButn_;
  QPushButton* SpeedButton4_;
  QPushButton* FontButn_;
  QPushButton* BitMpButn_;
  QPushButton* HelpButn_;
  QLineEdit* Edit1_;
  QLineEdit* LMargin_;
  QLineEdit* TMargin_;
  QLineEdit* ColAcross_;
  QLineEdit* RowsDown_;
  QLineEdit* LWdth_;
  QLineEdit* LHght_;
  QLineEdit* BMapName_;
  QLineEdit* MaskEdit1_;
  QLineEdit* CaptName_;
  QLineEdit* LblStart_;
  QLineEdit* LabelCopies_;
  QCheckBox* PLine_;
  QCheckBox* UseCmpAdd_;
  QCheckBox* CheckBox1_;
  QStatusBar* StatusBar1_;
  QAction* OpenItem_ = nullptr;
  QAction* SaveAsItem_ = nullptr;
  QAction* RulerItem_ = nullptr;
  QAction* CloseItem_ = nullptr;
};

}  // namespace reports::ui
