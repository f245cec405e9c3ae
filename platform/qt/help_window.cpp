#include "platform/qt/help_window.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cctype>

#include "platform/qt/help_key.h"

// The pages are compiled into the static library; this pulls them into the program.
// It must stand outside any namespace.
static void LinkHelpPages() { Q_INIT_RESOURCE(help); }

namespace platform::qt {

namespace {

struct HelpPage {
  const char* file;   // base name under qrc:/help/
  const char* title;  // the page's <title>, shown in the contents list
  const char* group;  // the contents heading it is listed under
};

constexpr std::array kPages{
    HelpPage{"contents", "Contents", "Getting started"},
    HelpPage{"how_to_use_help", "How to use Help", "Getting started"},
    HelpPage{"getting_started", "Getting started", "Getting started"},
    HelpPage{"main_window", "The main window", "Getting started"},
    HelpPage{"company_manager", "Company Manager", "Companies"},
    HelpPage{"company_options", "Company Options", "Companies"},
    HelpPage{"headers_fonts_colors", "Headers, Fonts and Colors", "Companies"},
    HelpPage{"customer_manager", "Customer Manager", "Customers"},
    HelpPage{"customer_edit", "Adding and editing a customer", "Customers"},
    HelpPage{"product_manager", "Product Manager", "Products"},
    HelpPage{"product_edit", "Adding and editing a product", "Products"},
    HelpPage{"invoice_manager", "Invoice Manager", "Invoices"},
    HelpPage{"invoice_entry", "Entering an invoice", "Invoices"},
    HelpPage{"transaction_types", "Transaction types", "Invoices"},
    HelpPage{"invoice_printing", "Printing and viewing invoices", "Invoices"},
    HelpPage{"repeat_setup", "Repeat Invoice Setup", "Invoices"},
    HelpPage{"repeat_wizard", "Repeat Billing Wizard", "Invoices"},
    HelpPage{"payment_wizard", "Payment Wizard", "Payments"},
    HelpPage{"deposits_and_credits", "Deposits, partial payments and credits", "Payments"},
    HelpPage{"customer_statement", "Customer Statement", "Statements and reports"},
    HelpPage{"statement_selection", "Statement Selection", "Statements and reports"},
    HelpPage{"report_wizard", "Report Wizard", "Statements and reports"},
    HelpPage{"aging_chart", "Aging and the Aging Chart", "Statements and reports"},
    HelpPage{"interest_wizard", "Interest Wizard", "Statements and reports"},
    HelpPage{"label_wizard", "Label Wizard / Print Queue", "Mailings"},
    HelpPage{"form_letters", "Form Letter Wizard", "Mailings"},
    HelpPage{"password", "Password Setup", "Maintenance"},
    HelpPage{"backup", "Backing up your data", "Maintenance"},
    HelpPage{"rebuild", "Rebuild Data Files", "Maintenance"},
    HelpPage{"books_check", "Check Books", "Maintenance"},
    HelpPage{"delete_paid", "Delete Paid Invoices", "Maintenance"},
    HelpPage{"payment_terms", "Edit Payment Terms", "Reference"},
    HelpPage{"calendar", "Date Selection and View Calendar", "Reference"},
    HelpPage{"find_box", "Finding a record", "Reference"},
    HelpPage{"keyboard", "Keys in the lists", "Reference"},
    HelpPage{"dates_and_amounts", "Dates and amounts", "Reference"},
    HelpPage{"faq", "Frequent Asked Questions", "Reference"},
};

struct HelpKeyword {
  const char* keyword;
  const char* file;
};

constexpr std::array kKeywords{
    HelpKeyword{"Contents", "contents"},
    HelpKeyword{"How to use Help", "how_to_use_help"},
    HelpKeyword{"Getting started", "getting_started"},
    HelpKeyword{"Main window", "main_window"},
    HelpKeyword{"CompanyManager", "company_manager"},
    HelpKeyword{"CompanyOptions", "company_options"},
    HelpKeyword{"HeadersFontsColors", "headers_fonts_colors"},
    HelpKeyword{"CustomerManager", "customer_manager"},
    HelpKeyword{"EditCustomer", "customer_edit"},
    HelpKeyword{"ProductManager", "product_manager"},
    HelpKeyword{"NewProduct", "product_edit"},
    HelpKeyword{"InvoiceManager", "invoice_manager"},
    HelpKeyword{"NewInvoice", "invoice_entry"},
    HelpKeyword{"TransactionTypes", "transaction_types"},
    HelpKeyword{"ViewInvoice", "invoice_printing"},
    HelpKeyword{"SetRepeat", "repeat_setup"},
    HelpKeyword{"GetRepeat", "repeat_wizard"},
    HelpKeyword{"PaymentWizard", "payment_wizard"},
    HelpKeyword{"PartialPayment", "deposits_and_credits"},
    HelpKeyword{"ViewStatement", "customer_statement"},
    HelpKeyword{"GetStatement", "statement_selection"},
    HelpKeyword{"ReportWizard", "report_wizard"},
    HelpKeyword{"AgingChart", "aging_chart"},
    HelpKeyword{"InterestWizard", "interest_wizard"},
    HelpKeyword{"LabelWizard", "label_wizard"},
    HelpKeyword{"FormWizard", "form_letters"},
    HelpKeyword{"CheckBooks", "books_check"},
    HelpKeyword{"PwordSet", "password"},
    HelpKeyword{"backupdata", "backup"},
    HelpKeyword{"Rebuild Data Files", "rebuild"},
    HelpKeyword{"DeletePaid", "delete_paid"},
    HelpKeyword{"EditTerms", "payment_terms"},
    HelpKeyword{"VTCalendar", "calendar"},
    HelpKeyword{"FindData", "find_box"},
    HelpKeyword{"Keyboard", "keyboard"},
    HelpKeyword{"Dates and amounts", "dates_and_amounts"},
    HelpKeyword{"Frequent Asked Questions", "faq"},
};

constexpr const char* kContentsFile = "contents";
constexpr int kPageRole = Qt::UserRole;

QUrl PageUrl(const char* file) { return QUrl(QStringLiteral("qrc:/help/%1.html").arg(QLatin1String(file))); }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

const HelpKeyword* FindKeyword(std::string_view keyword) {
  const auto found =
      std::ranges::find_if(kKeywords, [&](const HelpKeyword& k) { return SameIgnoringCase(k.keyword, keyword); });
  return found == kKeywords.end() ? nullptr : &*found;
}

QString PlainTextOf(const QUrl& page) {
  QFile file(QLatin1Char(':') + page.path());
  if (!file.open(QIODevice::ReadOnly)) return {};
  QTextDocument document;
  document.setHtml(QString::fromUtf8(file.readAll()));
  return document.toPlainText();
}

constexpr const char* kPageStyle =
    "body { font-size: 11pt; }"
    "h1 { color: #1f4e79; }"
    "h2 { color: #1f4e79; margin-top: 14px; }"
    "p.where { color: #555555; font-style: italic; }"
    "td, th { padding: 3px; }"
    "th { background-color: #e8eef4; text-align: left; }";

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  LinkHelpPages();
  // Help never keeps the program running: it ends with the main window.
  setAttribute(Qt::WA_QuitOnClose, false);
  SetHelpKeyword(*this, "How to use Help");
  setWindowTitle(QStringLiteral("VT Quillary PRO Help"));
  resize(980, 700);

  auto* splitter = new QSplitter;
  splitter->addWidget(BuildContentsPane());
  splitter->addWidget(BuildPagePane());
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({320, 660});

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildButtonRow());
  layout->addWidget(splitter, 1);

  FillContentsList();
  LoadSearchTexts();
  ConnectSignals();
  OpenPage(PageUrl(kContentsFile));
}

void THelpWindow::ShowTopic(std::string_view keyword) {
  const HelpKeyword* known = FindKeyword(keyword);
  PresentPage(PageUrl(known ? known->file : kContentsFile));
  if (known) return;
  note_->setText(
      tr("There is no help page for \"%1\". Please choose a topic from the contents below or search for a word.")
          .arg(QString::fromUtf8(keyword.data(), static_cast<qsizetype>(keyword.size()))));
  note_->show();
}

void THelpWindow::ShowContents() { PresentPage(PageUrl(kContentsFile)); }

std::vector<std::string> THelpWindow::Keywords() const {
  std::vector<std::string> keywords;
  for (const HelpKeyword& k : kKeywords) keywords.emplace_back(k.keyword);
  return keywords;
}

QString THelpWindow::CurrentTitle() const { return browser_->documentTitle(); }

QUrl THelpWindow::CurrentSource() const { return browser_->source(); }

QString THelpWindow::Note() const { return note_->isHidden() ? QString() : note_->text(); }

QWidget* THelpWindow::BuildButtonRow() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  back_ = new QPushButton(tr("&Back"));
  forward_ = new QPushButton(tr("&Forward"));
  home_ = new QPushButton(tr("&Contents"));
  print_ = new QPushButton(tr("&Print"));
  back_->setObjectName(QStringLiteral("helpBack"));
  back_->setEnabled(false);
  forward_->setEnabled(false);
  for (QPushButton* button : {back_, forward_, home_, print_}) layout->addWidget(button);
  layout->addStretch();
  return row;
}

QWidget* THelpWindow::BuildContentsPane() {
  auto* pane = new QWidget;
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  search_ = new QLineEdit;
  search_->setObjectName(QStringLiteral("helpSearch"));
  search_->setPlaceholderText(tr("Search the pages for words..."));
  search_->setClearButtonEnabled(true);
  contents_ = new QTreeWidget;
  contents_->setHeaderHidden(true);
  layout->addWidget(search_);
  layout->addWidget(contents_);
  return pane;
}

QWidget* THelpWindow::BuildPagePane() {
  browser_ = new QTextBrowser;
  browser_->document()->setDefaultStyleSheet(QLatin1String(kPageStyle));
  browser_->setOpenExternalLinks(false);
  note_ = new QLabel;
  note_->setWordWrap(true);
  note_->setStyleSheet(QStringLiteral("background: #fff4c2; padding: 6px;"));
  note_->hide();

  auto* pane = new QWidget;
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(note_);
  layout->addWidget(browser_);
  return pane;
}

void THelpWindow::FillContentsList() {
  QTreeWidgetItem* group = nullptr;
  for (const HelpPage& page : kPages) {
    if (!group || group->text(0) != QLatin1String(page.group)) {
      group = new QTreeWidgetItem(contents_, {QLatin1String(page.group)});
      group->setFlags(Qt::ItemIsEnabled);
    }
    auto* entry = new QTreeWidgetItem(group, {QLatin1String(page.title)});
    entry->setData(0, kPageRole, PageUrl(page.file));
  }
  contents_->expandAll();
}

void THelpWindow::LoadSearchTexts() {
  for (const HelpPage& page : kPages) {
    const QUrl url = PageUrl(page.file);
    searchTexts_.insert(url, (QLatin1String(page.title) + QLatin1Char('\n') + PlainTextOf(url)).toLower());
  }
}

void THelpWindow::ConnectSignals() {
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(home_, &QPushButton::clicked, this, [this] { OpenPage(PageUrl(kContentsFile)); });
  connect(print_, &QPushButton::clicked, this, &THelpWindow::PrintPage);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& page) {
    note_->hide();
    SelectContentsEntry(page);
  });
  connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { OpenContentsEntry(item); });
  connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OpenContentsEntry(item); });
  connect(search_, &QLineEdit::textChanged, this, &THelpWindow::FilterContents);
  connect(search_, &QLineEdit::returnPressed, this, &THelpWindow::OpenFirstListedPage);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

void THelpWindow::OpenPage(const QUrl& page) {
  note_->hide();
  if (browser_->source() == page) {
    SelectContentsEntry(page);
    return;
  }
  browser_->setSource(page);
}

void THelpWindow::PresentPage(const QUrl& page) {
  search_->clear();
  OpenPage(page);
  FollowModalWindow();
  show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

// A modal dialog blocks every window but its own, and help is asked for from modal
// dialogs most of all. Made transient for the dialog in front, help stays usable
// there without becoming its child, so closing the dialog never takes help with it.
void THelpWindow::FollowModalWindow() {
  winId();  // the native window that takes the transient parent
  QWidget* modal = QApplication::activeModalWidget();
  QWindow* owner = modal != nullptr && modal != this ? modal->window()->windowHandle() : nullptr;
  if (windowHandle()->transientParent() != owner) windowHandle()->setTransientParent(owner);
}

// Help already open when a dialog comes up follows it too; after the event, as the
// blocking is still being worked out while it is delivered.
bool THelpWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowBlocked && isVisible()) {
    QTimer::singleShot(0, this, &THelpWindow::FollowModalWindow);
  }
  return QWidget::event(event);
}

void THelpWindow::SelectContentsEntry(const QUrl& page) {
  const QUrl withoutAnchor = page.adjusted(QUrl::RemoveFragment);
  for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
    if ((*it)->data(0, kPageRole).toUrl() == withoutAnchor) {
      contents_->setCurrentItem(*it);
      return;
    }
  }
}

void THelpWindow::OpenContentsEntry(QTreeWidgetItem* item) {
  const QUrl page = item ? item->data(0, kPageRole).toUrl() : QUrl();
  if (page.isValid()) OpenPage(page);
}

void THelpWindow::FilterContents(const QString& words) {
  const QStringList wanted = words.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (int g = 0; g < contents_->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = contents_->topLevelItem(g);
    bool anyShown = false;
    for (int e = 0; e < group->childCount(); ++e) {
      QTreeWidgetItem* entry = group->child(e);
      const bool shown = PageMentionsAll(entry->data(0, kPageRole).toUrl(), wanted);
      entry->setHidden(!shown);
      anyShown = anyShown || shown;
    }
    group->setHidden(!anyShown);
  }
}

bool THelpWindow::PageMentionsAll(const QUrl& page, const QStringList& words) const {
  const QString text = searchTexts_.value(page);
  return std::ranges::all_of(words, [&](const QString& word) { return text.contains(word); });
}

void THelpWindow::OpenFirstListedPage() {
  for (QTreeWidgetItemIterator it(contents_, QTreeWidgetItemIterator::NotHidden); *it; ++it) {
    if ((*it)->data(0, kPageRole).toUrl().isValid()) {
      OpenContentsEntry(*it);
      return;
    }
  }
}

void THelpWindow::PrintPage() {
  QPrinter printer;
  printer.setDocName(CurrentTitle());
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) browser_->print(&printer);
}

}  // namespace platform::qt
