#include "shell/ui/find_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/text.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr int kRowIndexRole = Qt::UserRole;
constexpr std::string_view kHelpKeyword = "FindData";

QStringList HeadingsOf(FindMode mode) {
  QStringList headings;
  for (std::string_view heading : FindColumnHeadings(mode)) headings.append(ToQString(heading));
  return headings;
}

QTreeWidgetItem* ItemOf(const FoundRow& row, std::size_t index) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, ToQString(row.caption));
  for (std::size_t i = 0; i < row.subItems.size(); ++i) item->setText(static_cast<int>(i + 1), ToQString(row.subItems[i]));
  item->setData(0, kRowIndexRole, QVariant::fromValue(static_cast<qulonglong>(index)));
  return item;
}

}  // namespace

TFindBox::TFindBox(platform::Dialogs& dialogs, platform::Help& help, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      help_(help),
      FindText_(new QLineEdit(this)),
      FindButton_(new QPushButton(tr("Find"), this)),
      Button1_(new QPushButton(tr("&Exit"), this)),
      HelpButn_(new QPushButton(tr("Help"), this)),
      ListView1_(new QTreeWidget(this)),
      StatusBar1_(new QStatusBar(this)) {
  setWindowTitle(tr("Find..."));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  FindText_->setMaxLength(kFindTextMaxLength);
  // Enter in the text runs Find; it must never press Exit instead.
  for (QPushButton* button : {FindButton_, Button1_, HelpButn_}) button->setAutoDefault(false);
  ListView1_->setColumnCount(static_cast<int>(kFindColumnCount));
  ListView1_->setRootIsDecorated(false);
  ListView1_->setAllColumnsShowFocus(true);
  ListView1_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Sorting is not switched on: rows stay in file order until a heading is clicked.
  ListView1_->header()->setSectionsClickable(true);
  StatusBar1_->setSizeGripEnabled(false);
  BuildLayout();
  ConnectSignals();
  resize(760, 420);
}

void TFindBox::BuildLayout() {
  auto* search = new QHBoxLayout;
  search->addWidget(new QLabel(tr("Text to Find :"), this));
  search->addWidget(FindText_, 1);
  search->addWidget(FindButton_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(HelpButn_);
  buttons->addWidget(Button1_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(search);
  layout->addWidget(ListView1_, 1);
  layout->addLayout(buttons);
  layout->addWidget(StatusBar1_);
}

void TFindBox::ConnectSignals() {
  connect(FindText_, &QLineEdit::textChanged, this, &TFindBox::FindTextChange);
  connect(FindText_, &QLineEdit::returnPressed, this, &TFindBox::FindTextReturn);
  connect(FindButton_, &QPushButton::clicked, this, &TFindBox::FindButtonClick);
  connect(Button1_, &QPushButton::clicked, this, &TFindBox::reject);
  connect(HelpButn_, &QPushButton::clicked, this, &TFindBox::HelpButnClick);
  connect(ListView1_->header(), &QHeaderView::sectionClicked, this, &TFindBox::ListView1ColumnClick);
  // A double-click on the empty part of the list must beep too, and the list only
  // reports double-clicks on rows.
  ListView1_->viewport()->installEventFilter(this);
}

void TFindBox::SetSearch(FindMode mode, Search search, const QString& title) {
  mode_ = mode;
  search_ = std::move(search);
  setWindowTitle(title);
}

std::optional<FoundRow> TFindBox::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = ListView1_->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return rows_.at(selected.front()->data(0, kRowIndexRole).toULongLong());
}

QString TFindBox::StatusText() const { return StatusBar1_->currentMessage(); }

void TFindBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

bool TFindBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    ListView1DblClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

// The box is shown again for other files and modes, so the rows of the last search
// go too: they would stand under another file's headings.
void TFindBox::FormShow() {
  FindText_->clear();
  FindTextChange();
  rows_.clear();
  ListView1_->clear();
  ListView1_->setHeaderLabels(HeadingsOf(mode_));
  ShowStatus(tr("Enter the text to search for then select Find button..."));
  FindText_->setFocus();
}

void TFindBox::FindTextChange() {
  FindButton_->setEnabled(!model::TrimBlanks(FindText_->text().toStdString()).empty());
}

void TFindBox::FindTextReturn() {
  if (FindButton_->isEnabled()) FindButtonClick();
}

void TFindBox::FindButtonClick() {
  rows_.clear();
  ListView1_->clear();
  ShowStatus(tr("Searching..."));
  StatusBar1_->repaint();  // the search runs before the next paint
  if (search_) rows_ = search_(SearchTextOf(FindText_->text().toStdString()));
  ShowRows();
  ReportCount();
}

void TFindBox::ShowRows() {
  QList<QTreeWidgetItem*> items;
  for (std::size_t i = 0; i < rows_.size(); ++i) items.append(ItemOf(rows_[i], i));
  ListView1_->addTopLevelItems(items);
}

void TFindBox::ReportCount() {
  FindButton_->setEnabled(false);
  ShowStatus(tr("Search Complete. Found %1 items.  Double-click on first column to find matching record.")
                 .arg(rows_.size()));
  if (!rows_.empty()) return;
  dialogs_.inform("Text to Find", "No matching items were found.", platform::Icon::kInformation);
  ShowStatus(tr("No items were found."));
}

void TFindBox::ListView1DblClick() {
  if (ListView1_->selectedItems().isEmpty()) {
    QApplication::beep();
    return;
  }
  done(kRowChosen);
}

void TFindBox::ListView1ColumnClick(int column) { ListView1_->sortItems(column, Qt::AscendingOrder); }

void TFindBox::HelpButnClick() { help_.ShowTopic(kHelpKeyword); }

void TFindBox::ShowStatus(const QString& text) { StatusBar1_->showMessage(text); }

}  // namespace shell::ui
