#include "invoicing/ui/view_invoice.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "invoicing/ui/labels.h"
#include "model/money.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "ViewInvoice";

enum LineColumn { kCode, kQuantity, kDescription, kPrice, kTaxable, kExtension, kColumnCount };

// Quantities and amounts sort by their value, the rest by their text.
class LineItem final : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;

  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
    if (column == kQuantity || column == kPrice || column == kExtension) {
      const auto a = model::ParseDecimal(text(column).toStdString());
      const auto b = model::ParseDecimal(other.text(column).toStdString());
      if (a && b) return Compare(*a, *b) < 0;
    }
    return QTreeWidgetItem::operator<(other);
  }

 private:
  // Exact decimals compared at the larger scale.
  static int Compare(const model::Decimal& a, const model::Decimal& b) {
    const int scale = std::max(a.scale, b.scale);
    const std::int64_t x = a.Rounded(scale);
    const std::int64_t y = b.Rounded(scale);
    return x < y ? -1 : x > y ? 1 : 0;
  }
};

QString Joined(const std::vector<std::string>& lines) {
  QStringList joined;
  for (const std::string& line : lines) joined << ToQString(line);
  return joined.join('\n');
}

}  // namespace

Trtedit::Trtedit(platform::Help& help, QWidget* parent)
    : QDialog(parent),
      help_(help),
      CustName_(ValueLabel(this, true)),
      BillTo_(ValueLabel(this)),
      ShipTo_(ValueLabel(this)),
      Details_(ValueLabel(this)),
      Description_(ValueLabel(this, true)),
      Banner_(ValueLabel(this, true)),
      LineList_(new QTreeWidget(this)),
      MemoText_(new QPlainTextEdit(this)),
      Notes_(ValueLabel(this)),
      CloseButton_(new QPushButton(tr("&Close"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  Banner_->setAlignment(Qt::AlignCenter);
  QPalette red = Banner_->palette();
  red.setColor(QPalette::WindowText, Qt::darkRed);
  Banner_->setPalette(red);
  Notes_->setWordWrap(true);

  LineList_->setColumnCount(kColumnCount);
  LineList_->setHeaderLabels({tr("Code"), tr("Quantity"), tr("Description"), tr("Unit Price"), tr("T"), tr("Amount")});
  LineList_->setRootIsDecorated(false);
  LineList_->setSortingEnabled(true);
  LineList_->sortByColumn(-1, Qt::AscendingOrder);  // in invoice order until a heading is clicked
  LineList_->setSelectionMode(QAbstractItemView::NoSelection);
  // Keys close the window; the list and the memo only show.
  LineList_->setFocusPolicy(Qt::NoFocus);
  MemoText_->setFocusPolicy(Qt::NoFocus);
  for (int column : {kQuantity, kPrice, kExtension}) {
    LineList_->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  }
  LineList_->header()->setSectionResizeMode(kDescription, QHeaderView::Stretch);
  LineList_->header()->setStretchLastSection(false);
  MemoText_->setReadOnly(true);
  MemoText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* addresses = new QHBoxLayout;
  auto* billing = new QVBoxLayout;
  billing->setSpacing(0);
  billing->addWidget(CustName_);
  billing->addWidget(BillTo_);
  billing->addStretch(1);
  addresses->addLayout(billing, 1);
  addresses->addWidget(ShipTo_, 1, Qt::AlignTop);
  addresses->addWidget(Details_, 1, Qt::AlignTop);

  auto* amounts = new QGridLayout;
  amounts->setColumnStretch(0, 1);
  for (std::size_t row = 0; row < AmountLabel_.size(); ++row) {
    const bool strong = row == 2 || row == 4;  // grand total and balance due
    AmountLabel_[row] = ValueLabel(this, strong);
    AmountValue_[row] = ValueLabel(this, strong);
    AmountValue_[row]->setAlignment(Qt::AlignRight);
    AmountValue_[row]->setMinimumWidth(110);
    amounts->addWidget(AmountLabel_[row], static_cast<int>(row), 1);
    amounts->addWidget(AmountValue_[row], static_cast<int>(row), 2);
  }
  auto* foot = new QHBoxLayout;
  foot->addWidget(Notes_, 1, Qt::AlignTop);
  foot->addLayout(amounts);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CloseButton_);
  buttons->addWidget(HelpButton_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(addresses);
  layout->addWidget(HorizontalRule(this));
  layout->addWidget(Banner_);
  layout->addWidget(Description_);
  layout->addWidget(LineList_, 1);
  layout->addWidget(MemoText_, 1);
  layout->addWidget(HorizontalRule(this));
  layout->addLayout(foot);
  layout->addLayout(buttons);

  CloseButton_->setDefault(true);
  connect(CloseButton_, &QPushButton::clicked, this, &Trtedit::CloseButtonClick);
  connect(HelpButton_, &QPushButton::clicked, this, &Trtedit::HelpButtonClick);
  // The list and the memo take keys and double-clicks themselves; they close the window too.
  for (QWidget* watched : std::initializer_list<QWidget*>{LineList_, LineList_->viewport(), MemoText_,
                                                          MemoText_->viewport(), CloseButton_, HelpButton_}) {
    watched->installEventFilter(this);
  }
  resize(780, 560);
}

void Trtedit::Show(const InvoiceViewContent& view) {
  setWindowTitle(ToQString(view.caption));
  CustName_->setText(ToQString(view.customerName));
  BillTo_->setText(Joined(view.billing));
  ShipTo_->setText(Joined(view.deliverTo));
  ShipTo_->setVisible(!view.deliverTo.empty());
  Details_->setText(Joined({view.date, view.number, view.account, view.terms, view.reference}));
  Description_->setText(ToQString(view.description));
  Banner_->setText(ToQString(view.banner));
  Banner_->setVisible(!view.banner.empty());

  LineList_->clear();
  LineList_->sortByColumn(-1, Qt::AscendingOrder);
  for (const PrintLine& line : view.lines) {
    auto* item = new LineItem(QStringList{ToQString(line.productCode), ToQString(line.quantity),
                                          ToQString(line.description), ToQString(line.unitPrice),
                                          ToQString(line.taxable), ToQString(line.extension)});
    for (int column : {kQuantity, kPrice, kExtension}) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(kTaxable, Qt::AlignCenter);
    LineList_->addTopLevelItem(item);
  }
  for (int column = 0; column < kColumnCount; ++column) {
    if (column != kDescription) LineList_->resizeColumnToContents(column);
  }
  LineList_->setVisible(!view.memoInvoice && !view.lines.empty());
  MemoText_->setPlainText(ToQString(view.memo));
  MemoText_->setVisible(view.memoInvoice);

  for (std::size_t row = 0; row < AmountLabel_.size(); ++row) {
    const bool shown = row < view.amounts.size();
    AmountLabel_[row]->setText(shown ? ToQString(view.amounts[row].label) : QString());
    AmountValue_[row]->setText(shown ? ToQString(view.amounts[row].value) : QString());
  }
  Notes_->setText(ToQString(view.notes));
  Notes_->setVisible(!view.notes.empty());
}

QStringList Trtedit::Texts() const {
  QStringList texts;
  for (const QLabel* label : {CustName_, BillTo_, ShipTo_, Details_, Banner_, Description_}) {
    if (!label->isHidden()) texts << label->text().split('\n');
  }
  for (std::size_t row = 0; row < AmountLabel_.size(); ++row) {
    texts << AmountLabel_[row]->text() + AmountValue_[row]->text();
  }
  if (!Notes_->isHidden()) texts << Notes_->text();
  return texts;
}

bool Trtedit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    accept();
    return true;
  }
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
    accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void Trtedit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    QDialog::keyPressEvent(event);
    return;
  }
  accept();
}

void Trtedit::mouseDoubleClickEvent(QMouseEvent*) { accept(); }

void Trtedit::CloseButtonClick() { accept(); }

void Trtedit::HelpButtonClick() { help_.ShowTopic(kHelpKeyword); }

}  // namespace invoicing::ui
