#include "invoicing/invoice_books.h"

#include <algorithm>
#include <functional>
#include <type_traits>
#include <vector>

#include "books/aging.h"
#include "books/invoice_records.h"
#include "books/posting.h"
#include "files/table.h"
#include "invoicing/invoice_entry.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/money.h"
#include "model/text.h"
#include "shell/customers.h"

namespace invoicing {
namespace {

constexpr std::string_view kAddCaption = "Add Invoice";
constexpr std::string_view kEditCaption = "Edit Invoice";
constexpr std::string_view kDeleteCaption = "Delete Invoice";
constexpr std::string_view kRepeatCaption = "Repeat Billing Setup";
constexpr std::string_view kNoteCaption = "Please Note";
constexpr std::string_view kConfirmCaption = "Please Confirm";
constexpr std::string_view kAuditTrailCaption = "Audit Trail";
constexpr std::string_view kPaidItemCaption = "Paid Item";

constexpr std::string_view kZeroAmount = "0.00";
constexpr std::string_view kOneBlank = " ";  // the open marks of an edited record
constexpr std::string_view kRepeatLineStyle = "R";

constexpr std::string_view kRepeatMasterEditNote =
    "This is a repeat billing master record.  Changes to this record will be reflected in future generated "
    "invoices.";
constexpr std::string_view kRepeatMasterDeleteNote =
    "This is a repeat billing master record. If you delete this master record, no further invoices will be "
    "generated.";

// LineText's columns, without separators.
constexpr std::size_t kQuantityWidth = 10;
constexpr std::size_t kDescriptionWidth = 32;
constexpr std::size_t kUnitPriceWidth = 10;
constexpr std::size_t kTaxableWidth = 1;
constexpr std::size_t kExtensionWidth = 10;
constexpr std::size_t kDescriptionStart = kQuantityWidth;
constexpr std::size_t kUnitPriceStart = kDescriptionStart + kDescriptionWidth;
constexpr std::size_t kTaxableStart = kUnitPriceStart + kUnitPriceWidth;
constexpr std::size_t kExtensionStart = kTaxableStart + kTaxableWidth;
constexpr std::size_t kLineTextWidth = kExtensionStart + kExtensionWidth;
static_assert(kLineTextWidth == 63);

static_assert(model::MemoRecord::kLines == kStoredMemoLines);
static_assert(std::remove_extent_t<decltype(model::MemoRecord::MemoLine)>::kCapacity == kStoredMemoWidth);

using Grid = std::array<GridLine, kLineCount>;

// --- Text ----------------------------------------------------------------------------

// A typed amount as LineText keeps it: blanks around and thousands separators gone.
std::string PlainAmount(std::string_view typed) {
  std::string plain(model::TrimBlanks(typed));
  std::erase(plain, ',');
  return plain;
}

std::string WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && model::IsBlankOrControl(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string NumberOf(const model::TransactionRecord& header) {
  return std::string(model::TrimBlanks(header.InvoiceNo.str()));
}

std::vector<std::string> MemoLines(std::string_view memo) {
  std::vector<std::string> lines;
  while (lines.size() < static_cast<std::size_t>(kStoredMemoLines)) {
    const std::size_t end = memo.find('\n');
    std::string_view line = memo.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(model::FirstCharacters(line, kStoredMemoWidth));
    if (end == std::string_view::npos) break;
    memo.remove_prefix(end + 1);
  }
  return lines;
}

// --- Amounts -------------------------------------------------------------------------

bool IsRepeatMaster(const model::TransactionRecord& header) { return TypeOf(header) == TransactionType::kRepeatMaster; }

}  // namespace

std::optional<model::Money> OpenAmount(const model::TransactionRecord& header) {
  if (IsRepeatMaster(header)) return model::Money();
  const std::optional<model::Money> total = model::ReadMoney(header.TotalAmount);
  const std::optional<model::Money> paid = model::ReadMoney(header.PaidAmount);
  if (!total || !paid) return std::nullopt;
  return *total - *paid;
}

namespace {

bool PaidAboveZero(const model::TransactionRecord& header) {
  const std::optional<model::Money> paid = model::ReadMoney(header.PaidAmount);
  return paid && *paid > model::Money();
}

books::AgingBucket BucketOf(const files::Services& services, const model::TransactionRecord& header) {
  return books::BucketOfTransaction(header, model::TodayOf(services.clock), services.session.DateOrder());
}

// --- The header ----------------------------------------------------------------------

// Stores the form's amounts and the balance due; false, with nothing stored, when one
// does not read or does not fit its field.
bool StoreAmounts(model::TransactionRecord& header, const InvoiceForm& form) {
  const std::optional<model::Money> net = model::ParseMoney(form.net);
  const std::optional<model::Money> tax = model::ParseMoney(form.tax);
  const std::optional<model::Money> total = model::ParseMoney(form.total);
  const std::optional<model::Money> paid = model::ParseMoney(form.paid);
  if (!net || !tax || !total || !paid) return false;
  model::TransactionRecord stored = header;
  if (!model::StoreMoney(stored.NetAmount, *net) || !model::StoreMoney(stored.TaxAmount, *tax) ||
      !model::StoreMoney(stored.TotalAmount, *total) || !model::StoreMoney(stored.PaidAmount, *paid) ||
      !model::StoreMoney(stored.BalanceDue, *total - *paid)) {
    return false;
  }
  header = stored;
  return true;
}

// The form's values over `header`, as both a new and an edited invoice take them; the
// type and the paid marks are left to the caller.
bool FillHeader(model::TransactionRecord& header, const InvoiceForm& form, const model::CompanyRecord& company) {
  if (!form.customer) return false;
  header.InvoiceNo = model::Folded(form.number);
  header.TransDate = form.date;
  if (!model::SplitTransactionDate(header, model::DateOrderFromCode(company.DateOrder.raw()))) return false;
  header.InvNotes = form.notes;
  header.Terms = form.terms;
  header.StatementNote = form.statementNote;
  header.CustNo.SetRaw(form.customer->CustNo.raw());
  header.ShortName.SetRaw(form.customer->ShortName.raw());
  header.KeyCode = form.keyCode;
  if (!StoreAmounts(header, form)) return false;
  header.CompanyNo.SetRaw(company.CompanyNo.raw());
  header.BodyStyle = std::string(1, BodyStyleLetter(form.kind));
  return true;
}

// A record with nothing due is paid on its own date; an open one carries `openMark` in
// both marks (empty on a new record, one blank after an edit).
void MarkPaidState(model::TransactionRecord& header, std::string_view openMark) {
  const std::optional<model::Money> balance = model::ReadMoney(header.BalanceDue);
  if (balance && balance->IsZero()) {
    header.PaidFlag = "P";
    header.PaidSortDate.SetRaw(header.SortDate.raw());
  } else {
    header.PaidFlag = openMark;
    header.PaidSortDate = openMark;
  }
}

std::optional<model::TransactionRecord> EditedHeader(const model::TransactionRecord& snapshot, const InvoiceForm& form,
                                                     const model::CompanyRecord& company) {
  model::TransactionRecord header = snapshot;
  if (!FillHeader(header, form, company)) return std::nullopt;
  if (IsRepeatMaster(header)) {
    header.BalanceDue = kZeroAmount;
    header.PaidAmount = kZeroAmount;
    header.PaidFlag = kOneBlank;
    header.PaidSortDate = kOneBlank;
  } else {
    MarkPaidState(header, kOneBlank);
  }
  return header;
}

// The date field of an edit, put together from the stored parts in the company's order.
std::string DateOfParts(const model::TransactionRecord& header, model::DateOrder order) {
  const std::string month = header.DateMonth.str();
  const std::string day = header.DateDay.str();
  const std::string year = header.DateYear.str();
  return order == model::DateOrder::kDayFirst ? day + "/" + month + "/" + year : month + "/" + day + "/" + year;
}

// --- Lines and memo ------------------------------------------------------------------

// A memo invoice keeps its description and quantity as the one line of its body.
GridLine MemoGridLine(const InvoiceForm& form, const model::TransactionRecord& header) {
  const std::string net = header.NetAmount.str();
  return GridLine{"Memo", form.memoQuantity, form.memoDescription, net, "M", net};
}

Grid StoredGrid(const InvoiceForm& form, const model::TransactionRecord& header) {
  Grid grid = form.lines;
  if (form.kind == InvoiceKind::kMemo) grid[0] = MemoGridLine(form, header);
  return grid;
}

// False when the line does not fit LineText's columns: cut short, an amount would read
// as another.
bool FillDetail(model::DetailRecord& detail, const GridLine& line, const model::TransactionRecord& header,
                std::string_view bodyStyle) {
  const std::string text = LineTextOf(line);
  if (model::CharacterCount(text) > kLineTextWidth) return false;
  detail.LineText = text;
  detail.BodyStyle = bodyStyle;
  detail.CompanyNo.SetRaw(header.CompanyNo.raw());
  detail.InvoiceNo.SetRaw(header.InvoiceNo.raw());
  detail.SortDate.SetRaw(header.SortDate.raw());
  detail.ProductCode = model::TrimBlanks(model::FirstCharacters(line.productCode, detail.ProductCode.kCapacity));
  detail.CustNo.SetRaw(header.CustNo.raw());
  detail.ShortName.SetRaw(header.ShortName.raw());
  return true;
}

// A detail record as written, with the slot it was written to.
struct WrittenLine {
  files::RecordNumber number = 0;
  model::DetailRecord record{};
};

bool AddLine(files::KeyedFile& details, const GridLine& line, const model::TransactionRecord& header,
             std::string_view bodyStyle, std::vector<WrittenLine>& written) {
  WrittenLine added;
  if (!FillDetail(added.record, line, header, bodyStyle) || !details.Add(added.record, added.number)) return false;
  written.push_back(added);
  return true;
}

void ReportLineAddFailed(const files::Services& services, std::string_view caption) {
  services.dialogs.inform(caption, "detail add failed.", platform::Icon::kError);
}

// The lines of one invoice share their keys, so the index lists them by slot number;
// but slots freed by deleted lines are used again, so the slots a run was given need
// not rise with the grid rows. The contents are moved until they do, which changes no
// key. `written` is in grid order.
void PutInGridOrder(const files::Services& services, files::KeyedFile& details, const std::vector<WrittenLine>& written,
                    std::string_view caption, std::string_view failure) {
  std::vector<files::RecordNumber> slots;
  for (const WrittenLine& line : written) slots.push_back(line.number);
  std::sort(slots.begin(), slots.end());
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i].number != slots[i] && !details.Update(slots[i], written[i].record)) {
      services.dialogs.inform(caption, failure, platform::Icon::kError);
    }
  }
}

// One detail record per stored grid line; a line that fails is told and the rest go
// on. The count of lines added.
int AddLines(const files::Services& services, files::KeyedFile& details, const Grid& grid,
             const model::TransactionRecord& header) {
  std::vector<WrittenLine> written;
  for (const GridLine& line : grid) {
    if (line.IsStored() && !AddLine(details, line, header, header.BodyStyle.str(), written)) {
      ReportLineAddFailed(services, kAddCaption);
    }
  }
  PutInGridOrder(services, details, written, kAddCaption, "detail add failed.");
  return static_cast<int>(written.size());
}

// The stored lines are walked beside the grid rows they were loaded into: a row
// emptied deletes its line, a row kept rewrites it, and rows beyond those loaded add
// new lines.
void RewriteLines(const files::Services& services, files::KeyedFile& details, const model::TransactionRecord& snapshot,
                  const Grid& grid, int linesLoaded, const model::TransactionRecord& header) {
  const std::string bodyStyle = IsRepeatMaster(header) ? std::string(kRepeatLineStyle) : header.BodyStyle.str();
  const std::vector<files::Row<model::DetailRecord>> stored = books::LinesOfInvoice(details, snapshot);
  std::vector<WrittenLine> written;
  std::size_t next = 0;
  for (int row = 1; row <= kLineCount; ++row) {
    const GridLine& line = grid[static_cast<std::size_t>(row - 1)];
    if (next < stored.size() && row <= linesLoaded) {
      const files::Row<model::DetailRecord>& old = stored[next++];
      if (!line.IsStored()) {
        if (!details.Delete(old.number, old.record)) {
          services.dialogs.inform(kEditCaption, "Detail delete operation failed.", platform::Icon::kError);
        }
        continue;
      }
      WrittenLine rewritten{old.number, old.record};
      if (FillDetail(rewritten.record, line, header, bodyStyle) && details.Update(old.number, rewritten.record)) {
        written.push_back(rewritten);
      } else {
        services.dialogs.inform(kEditCaption, "Modify operation failed", platform::Icon::kError);
      }
    } else if (line.IsStored() && !AddLine(details, line, header, bodyStyle, written)) {
      ReportLineAddFailed(services, kEditCaption);
    }
  }
  PutInGridOrder(services, details, written, kEditCaption, "Modify operation failed");
}

// Deletes every line of the invoice; the count deleted.
int DeleteLines(const files::Services& services, files::KeyedFile& details, const model::TransactionRecord& header) {
  int deleted = 0;
  for (const auto& line : books::LinesOfInvoice(details, header)) {
    if (details.Delete(line.number, line.record)) {
      ++deleted;
    } else {
      services.dialogs.inform(kDeleteCaption, "Delete detail recs failed", platform::Icon::kError);
    }
  }
  return deleted;
}

void FillMemo(model::MemoRecord& memo, std::string_view text, const model::TransactionRecord& header) {
  memo.InvoiceNo.SetRaw(header.InvoiceNo.raw());
  const std::vector<std::string> lines = MemoLines(text);
  for (std::size_t i = 0; i < static_cast<std::size_t>(kStoredMemoLines); ++i) {
    memo.MemoLine[i] = i < lines.size() ? lines[i] : std::string();
  }
}

std::string MemoText(const model::MemoRecord& memo) {
  std::size_t used = kStoredMemoLines;
  while (used > 0 && memo.MemoLine[used - 1].empty()) --used;
  std::string text;
  for (std::size_t i = 0; i < used; ++i) {
    if (i > 0) text += '\n';
    text += memo.MemoLine[i].str();
  }
  return text;
}

// The memo is found under the number the invoice had before the edit; a memo invoice
// that has lost its memo gets a new one.
void RewriteMemo(const files::Services& services, files::KeyedFile& memos, const model::TransactionRecord& snapshot,
                 std::string_view text, const model::TransactionRecord& header) {
  const std::optional<files::Row<model::MemoRecord>> stored = books::MemoOfInvoice(memos, snapshot);
  model::MemoRecord memo = stored ? stored->record : model::MemoRecord{};
  FillMemo(memo, text, header);
  files::RecordNumber added = 0;
  if (!(stored ? memos.Update(stored->number, memo) : memos.Add(memo, added))) {
    services.dialogs.inform(kEditCaption, "memo replace operation failed", platform::Icon::kError);
  }
}

// --- Customer and company ------------------------------------------------------------

// Reads the invoice's customer by number, lets `change` alter it and writes it back;
// false when it cannot be found or written, or `change` refuses.
bool ChangeCustomer(const files::Services& services, std::string_view customerNumber,
                    const std::function<bool(model::CustomerRecord&)>& change) {
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  files::RecordNumber number = 0;
  model::CustomerRecord customer{};
  if (!customers.Open() || !shell::FindCustomerByNumber(customers, customerNumber, number, customer)) return false;
  return change(customer) && customers.Update(number, customer);
}

// The header is written, so the books are out of step by the invoice's open amount:
// the user is told which part is missing rather than left to find it.
enum class Unposted { kCustomerBalance, kCompanyTotal };

void ReportNotUpdated(const files::Services& services, std::string_view caption, const model::TransactionRecord& header,
                      std::string_view done, Unposted unposted) {
  const bool customer = unposted == Unposted::kCustomerBalance;
  services.dialogs.inform(
      caption,
      "Invoice " + NumberOf(header) + " was " + std::string(done) + ", but the " +
          (customer ? "customer balance" : "accounts receivable total") +
          " was not updated. Note the invoice number: the " +
          (customer ? "balance differs from the customer's invoices" : "total differs from the customer balances") +
          " by its amount.",
      platform::Icon::kError);
}

void AdvanceCompany(const files::Services& services, const model::TransactionRecord& header, std::string_view caption) {
  const model::Money open = OpenAmount(header).value_or(model::Money());
  const bool companyStored = PostToCurrentCompany(services, open, [&](model::CompanyRecord& company) {
    if (const auto next = books::NextInvoiceNumberAfter(header.InvoiceNo.str(), model::IsYes(company.PrefixInvoiceNo))) {
      company.NextInvoiceNo = *next;
    }
    company.LastSavedInvoiceNo.SetRaw(header.InvoiceNo.raw());
  });
  if (!companyStored) ReportNotUpdated(services, caption, header, "added", Unposted::kCompanyTotal);
}

// A payment entered with a changed invoice is the last one only when no later one is
// on the customer.
bool IsLaterPayment(const files::Services& services, const model::CustomerRecord& customer,
                    const model::TransactionRecord& header) {
  const model::DateOrder order = services.session.DateOrder();
  const std::optional<model::Date> last = model::ParseDisplayDate(customer.LastPaymentDate.raw(), order);
  const std::optional<model::Date> invoiceDate = books::DocumentDate(header, order);
  return !last || (invoiceDate && *last < *invoiceDate);
}

void RepostEditedInvoice(const files::Services& services, const model::TransactionRecord& before,
                         const model::TransactionRecord& after) {
  const std::optional<model::Money> oldOpen = OpenAmount(before);
  const std::optional<model::Money> newOpen = OpenAmount(after);
  const bool customerStored =
      oldOpen && newOpen && ChangeCustomer(services, after.CustNo.str(), [&](model::CustomerRecord& customer) {
        if (!books::RepostToCustomer(customer, *oldOpen, BucketOf(services, before), *newOpen,
                                     BucketOf(services, after))) {
          return false;
        }
        if (PaidAboveZero(after) && IsLaterPayment(services, customer, after)) {
          customer.LastPaymentDate.SetRaw(after.TransDate.raw());
        }
        return true;
      });
  if (!customerStored) ReportNotUpdated(services, kEditCaption, after, "changed", Unposted::kCustomerBalance);
  if (!oldOpen || !newOpen || !PostToCurrentCompany(services, *newOpen - *oldOpen)) {
    ReportNotUpdated(services, kEditCaption, after, "changed", Unposted::kCompanyTotal);
  }
}

// Takes what `header` keeps open off its customer and the company: the invoice left
// the receivables, `done` (deleted, or made a repeat master) under `caption`.
void UnpostInvoice(const files::Services& services, const model::TransactionRecord& header,
                   std::string_view caption, std::string_view done) {
  const std::optional<model::Money> open = OpenAmount(header);
  const bool customerStored =
      open && ChangeCustomer(services, header.CustNo.str(), [&](model::CustomerRecord& customer) {
        return books::PostToCustomer(customer, -*open, BucketOf(services, header));
      });
  if (!customerStored) ReportNotUpdated(services, caption, header, done, Unposted::kCustomerBalance);
  if (!open || !PostToCurrentCompany(services, -*open)) {
    ReportNotUpdated(services, caption, header, done, Unposted::kCompanyTotal);
  }
}

// --- Checks --------------------------------------------------------------------------

bool Refuse(const files::Services& services, std::string_view caption, std::string_view text) {
  services.dialogs.inform(caption, text, platform::Icon::kWarning);
  return false;
}

void Note(const files::Services& services, std::string_view text) {
  services.dialogs.inform(kNoteCaption, text, platform::Icon::kInformation);
}

bool AuditTrailOn(const files::Services& services) { return model::IsYes(services.session.CurrentCompany.AuditTrail); }

bool IsPartOfPartialPayment(const model::TransactionRecord& header) {
  const TransactionType type = TypeOf(header);
  return type == TransactionType::kPartialPayment || type == TransactionType::kPartlyPaid;
}

bool MayDeleteInvoice(const files::Services& services, const model::TransactionRecord& header) {
  if (AuditTrailOn(services)) {
    return Refuse(services, kAuditTrailCaption, "The audit trail feature is turned on. Unable to delete record.");
  }
  if (IsPartOfPartialPayment(header)) {
    return Refuse(services, "Partial Payment Item",
                  "This record is associated with a partial payment (type X or Z). Unable to delete this item.");
  }
  if (IsPaidInFull(header)) {
    return Refuse(services, kPaidItemCaption,
                  "This record has been paid and may not be deleted. It will be deleted when you remove paid "
                  "records.");
  }
  if (HasPayment(header)) {
    Note(services,
         "This record has payment activity. If you delete this record the payment data will also be removed.");
  }
  if (IsRepeatMaster(header)) Note(services, kRepeatMasterDeleteNote);
  platform::Dialogs& dialogs = services.dialogs;
  if (model::HoldsLetter(header.BodyStyle, 'D') &&
      !dialogs.confirm(kConfirmCaption,
                       "You are about to delete a payment you posted as a Deposit on Account. Are you sure?",
                       platform::Answer::kNo)) {
    return false;
  }
  return dialogs.confirm("Delete Invoice#: " + NumberOf(header), "Are you sure you want to delete this record?",
                         platform::Answer::kNo);
}

}  // namespace

bool PostToCurrentCompany(const files::Services& services, model::Money amount,
                          const std::function<void(model::CompanyRecord&)>& alsoChange) {
  bool posted = true;
  const bool stored = books::ChangeCurrentCompany(services, [&](model::CompanyRecord& company) {
    posted = books::PostToCompany(company, amount);
    if (alsoChange) alsoChange(company);
  });
  return stored && posted;
}

void PostNewInvoice(const files::Services& services, const model::TransactionRecord& header,
                    std::string_view caption) {
  const model::Money open = OpenAmount(header).value_or(model::Money());
  const books::AgingBucket bucket = BucketOf(services, header);
  const bool customerStored = ChangeCustomer(services, header.CustNo.str(), [&](model::CustomerRecord& customer) {
    if (!books::PostToCustomer(customer, open, bucket)) return false;
    customer.LastInvoiceNo.SetRaw(header.InvoiceNo.raw());
    if (PaidAboveZero(header)) customer.LastPaymentDate.SetRaw(header.TransDate.raw());
    return true;
  });
  if (!customerStored) ReportNotUpdated(services, caption, header, "added", Unposted::kCustomerBalance);
}

std::optional<model::TransactionRecord> HeaderOfForm(const InvoiceForm& form, const model::CompanyRecord& company) {
  model::TransactionRecord header{};
  header.TransType = "I";
  if (!FillHeader(header, form, company)) return std::nullopt;
  MarkPaidState(header, "");
  return header;
}

std::string LineTextOf(const GridLine& line) {
  return model::PadRight(PlainAmount(line.quantity), kQuantityWidth) +
         model::PadRight(line.description, kDescriptionWidth) +
         model::PadRight(PlainAmount(line.unitPrice), kUnitPriceWidth) + model::PadRight(line.taxable, kTaxableWidth) +
         model::PadRight(PlainAmount(line.extension), kExtensionWidth);
}

std::optional<model::DetailRecord> DetailOf(const GridLine& line, const model::TransactionRecord& header) {
  model::DetailRecord detail{};
  if (!FillDetail(detail, line, header, header.BodyStyle.str())) return std::nullopt;
  return detail;
}

void PostAddedInvoice(const files::Services& services, const model::TransactionRecord& header,
                      std::string_view caption) {
  PostNewInvoice(services, header, caption);
  AdvanceCompany(services, header, caption);
}

std::string ShownAmount(std::string_view stored) {
  const std::string_view text = model::TrimBlanks(stored);
  if (text.empty()) return {};
  const std::optional<model::Money> amount = model::ParseMoney(text);
  return amount ? model::FormatMoney(*amount, ",0.00") : std::string(text);
}

GridLine StoredLineOf(const model::DetailRecord& detail) {
  const std::string_view text = detail.LineText.raw();
  const auto column = [&](std::size_t start, std::size_t width) {
    return start < text.size() ? model::FromWindows1252(text.substr(start, width)) : std::string();
  };
  GridLine line;
  line.productCode = detail.ProductCode.str();
  line.quantity = model::TrimBlanks(column(0, kQuantityWidth));
  line.description = WithoutTrailingBlanks(column(kDescriptionStart, kDescriptionWidth));
  line.unitPrice = model::TrimBlanks(column(kUnitPriceStart, kUnitPriceWidth));
  line.taxable = column(kTaxableStart, kTaxableWidth);
  line.extension = model::TrimBlanks(column(kExtensionStart, kExtensionWidth));
  return line;
}

GridLine GridLineOf(const model::DetailRecord& detail) {
  GridLine line = StoredLineOf(detail);
  line.unitPrice = ShownAmount(line.unitPrice);
  line.extension = ShownAmount(line.extension);
  return line;
}

// Written in this order: the header with its keys, the detail lines, the customer, the
// company, the memo; only the header's own failure stops the run. A crash after the
// header leaves the invoice on file without what came later: its lines or memo short
// (the integrity check reports an invoice without its body), and until the customer is
// written both the customer's balance and the A/R total short by the open amount; after
// it, the A/R total alone, with the next invoice number not advanced. The
// books-integrity check rebuilds the balances and the total from the open amounts.
AddOutcome AddInvoice(const files::Services& services, InvoiceFiles& files, const InvoiceForm& form,
                      documents::LabelQueue& labelQueue) {
  AddOutcome outcome;
  const std::optional<model::TransactionRecord> header = HeaderOfForm(form, services.session.CurrentCompany);
  if (!header || !files.transactions.Add(*header, outcome.number)) {
    services.dialogs.inform(kAddCaption, "Add operation failed", platform::Icon::kError);
    return outcome;
  }
  outcome.added = true;
  outcome.header = *header;
  outcome.lineCount = AddLines(services, files.details, StoredGrid(form, *header), *header);
  PostAddedInvoice(services, *header, kAddCaption);
  if (model::IsYes(services.session.CurrentCompany.CopyToLabelQueue)) {
    shell::AddToLabelQueue(labelQueue, *form.customer);
  }
  if (form.kind == InvoiceKind::kMemo) {
    model::MemoRecord memo{};
    FillMemo(memo, form.memo, *header);
    files::RecordNumber added = 0;
    if (!files.memos.Add(memo, added)) {
      services.dialogs.inform(kAddCaption, "memo add operation failed", platform::Icon::kError);
    }
  }
  outcome.status =
      "Added invoice " + NumberOf(*header) + " containing " + std::to_string(outcome.lineCount) + " line item(s).";
  return outcome;
}

bool MayEditInvoice(const files::Services& services, const model::TransactionRecord& header) {
  if (AuditTrailOn(services)) {
    return Refuse(services, kAuditTrailCaption, "The audit trail feature is turned on. Unable to modify record.");
  }
  if (IsPartOfPartialPayment(header)) {
    return Refuse(services, "Partial Payments",
                  "This record is part of a partial-payment record and may not be edited.");
  }
  if (IsRepeatMaster(header)) Note(services, kRepeatMasterEditNote);
  if (IsPaidInFull(header)) {
    return Refuse(services, kPaidItemCaption,
                  "This record has been paid. You may not edit this record. You can use the Invoice-View menu "
                  "option to look at this invoice.");
  }
  const TransactionType type = TypeOf(header);
  if (type == TransactionType::kDeposit) {
    return Refuse(services, "Deposit on Account",
                  "This record is a deposit. You may not edit this record, however, you can delete it.");
  }
  if (type == TransactionType::kDepositTaken) {
    return Refuse(services, "Deposit Taken",
                  "This record is a deposit which has been previously offset (taken). Unable to edit this record.");
  }
  return !model::IsYes(header.PrintedFlag) ||
         services.dialogs.confirm("Printed Invoice",
                                  "This invoice has been printed. Are you sure you want to edit this record?");
}

EditForm FormOfInvoice(const files::Services& services, InvoiceFiles& files, const model::TransactionRecord& header) {
  EditForm edit;
  InvoiceForm& form = edit.form;
  form.mode = EntryMode::kEdit;
  form.kind = KindOfBodyStyle(header.BodyStyle.raw());
  form.storedNumber = model::Folded(header.InvoiceNo.str());
  form.number = header.InvoiceNo.str();
  form.date = DateOfParts(header, services.session.DateOrder());
  form.notes = header.InvNotes.str();
  form.terms = header.Terms.str();
  form.statementNote = header.StatementNote.str();
  form.keyCode = header.KeyCode.str();
  form.net = model::AmountText(header.NetAmount);
  form.tax = model::AmountText(header.TaxAmount);
  form.total = model::AmountText(header.TotalAmount);
  form.paid = model::AmountText(header.PaidAmount);
  form.balanceDue = model::AmountText(header.BalanceDue);

  // A customer missing from the file still owns the invoice: the edit keeps its number
  // and short name.
  model::CustomerRecord customer{};
  customer.CustNo.SetRaw(header.CustNo.raw());
  customer.ShortName.SetRaw(header.ShortName.raw());
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  files::RecordNumber customerNumber = 0;
  if (customers.Open()) shell::FindCustomerByNumber(customers, header.CustNo.str(), customerNumber, customer);
  form.customer = customer;
  form.calcTax = services.session.CurrentCompany.CalcTaxes && !model::IsYes(customer.TaxExempt);

  form.lines.fill(BlankLine(services.session.CurrentCompany));
  for (const auto& line : books::LinesOfInvoice(files.details, header)) {
    if (edit.linesLoaded == kLineCount) break;
    form.lines[static_cast<std::size_t>(edit.linesLoaded++)] = GridLineOf(line.record);
  }
  if (form.kind == InvoiceKind::kMemo) {
    form.memoDescription = form.lines[0].description;
    form.memoQuantity = form.lines[0].quantity;
    if (const auto memo = books::MemoOfInvoice(files.memos, header)) {
      form.memo = MemoText(memo->record);
    } else {
      services.dialogs.inform(kEditCaption, "Error reading memo data.", platform::Icon::kError);
    }
  }
  return edit;
}

// Written in this order: the header, the detail lines, the customer, the company, the
// memo. A crash after the header leaves the new amounts on the invoice with some lines
// and the memo still the old ones, and until the customer is written both its balance
// and the A/R total counting the old open amount; after it, the A/R total alone. The
// books-integrity check rebuilds the balances and the total from the open amounts.
EditOutcome EditInvoice(const files::Services& services, InvoiceFiles& files, files::RecordNumber number,
                        const model::TransactionRecord& snapshot, const EditForm& edited) {
  EditOutcome outcome;
  InvoiceForm form = edited.form;
  if (form.kind == InvoiceKind::kMemo && model::TrimBlanks(form.memoQuantity).empty()) form.memoQuantity = "1";
  const std::optional<model::TransactionRecord> header = EditedHeader(snapshot, form, services.session.CurrentCompany);
  if (!header || !files.transactions.Update(number, *header, &snapshot)) {
    services.dialogs.inform(kEditCaption, "Modify operation failed", platform::Icon::kError);
    return outcome;
  }
  outcome.stored = true;
  outcome.header = *header;
  RewriteLines(services, files.details, snapshot, StoredGrid(form, *header), edited.linesLoaded, *header);
  // A repeat master keeps nothing open, before the edit or after it.
  if (!IsRepeatMaster(*header)) RepostEditedInvoice(services, snapshot, *header);
  if (form.kind == InvoiceKind::kMemo) RewriteMemo(services, files.memos, snapshot, form.memo, *header);
  outcome.status = "Editing invoice " + NumberOf(*header) + " completed.";
  return outcome;
}

// Written in this order: the header with its keys, the detail lines, the customer, the
// company, the memo. A crash after the header leaves lines or a memo that belong to no
// invoice (the integrity check reports them), and until the customer is written both
// its balance and the A/R total still holding the open amount; after it, the A/R total
// alone. The books-integrity check rebuilds the balances and the total from the open
// amounts.
DeleteOutcome DeleteInvoice(const files::Services& services, InvoiceFiles& files, files::RecordNumber number,
                            const model::TransactionRecord& header) {
  DeleteOutcome outcome;
  if (!MayDeleteInvoice(services, header)) return outcome;
  if (!files.transactions.Delete(number, header)) {
    services.dialogs.inform(kDeleteCaption, "Delete operation failed", platform::Icon::kError);
    return outcome;
  }
  outcome.deleted = true;
  const int lineCount = DeleteLines(services, files.details, header);
  if (!IsRepeatMaster(header)) UnpostInvoice(services, header, kDeleteCaption, "deleted");
  if (KindOfBodyStyle(header.BodyStyle.raw()) != InvoiceKind::kMemo) {
    outcome.status =
        "Deleted invoice " + NumberOf(header) + " containing " + std::to_string(lineCount) + " line item(s).";
    return outcome;
  }
  // A memo invoice without its memo has nothing more to remove.
  if (const auto memo = books::MemoOfInvoice(files.memos, header);
      memo && !files.memos.Delete(memo->number, memo->record)) {
    services.dialogs.inform(kDeleteCaption, "Memo record deletion failed", platform::Icon::kError);
  }
  outcome.status = "Deleted memo invoice " + NumberOf(header) + ".";
  return outcome;
}

namespace {

// A master's lines are a template, not sales: marked as repeat lines, the sales report
// leaves them out, as it does for a master's lines rewritten by an edit.
void MarkRepeatLines(const files::Services& services, files::KeyedFile& details,
                     const model::TransactionRecord& master) {
  bool allMarked = true;
  for (files::Row<model::DetailRecord> line : books::LinesOfInvoice(details, master)) {
    if (line.record.BodyStyle.raw() == kRepeatLineStyle) continue;
    line.record.BodyStyle = kRepeatLineStyle;
    allMarked = details.Update(line.number, line.record) && allMarked;
  }
  if (!allMarked) {
    services.dialogs.inform(kRepeatCaption,
                            "Not every line of invoice " + NumberOf(master) +
                                " could be marked as a repeat billing line; the Sales Report may still list it.",
                            platform::Icon::kError);
  }
}

}  // namespace

// Written in this order: the header, its lines, then (for an invoice becoming a
// master) the customer and the company. A master is a template that owes nothing, so
// an invoice turned into one leaves the receivables as a deleted one does; without
// that the customer would go on owing an amount no open invoice shows. A crash after
// the header leaves the balances holding it until the books-integrity check rebuilds
// them.
bool StoreRepeatMaster(const files::Services& services, InvoiceFiles& files, files::RecordNumber number,
                       const model::TransactionRecord& snapshot, const RepeatSchedule& schedule) {
  model::TransactionRecord master = snapshot;
  master.TransType = "R";
  master.RepeatInterval = std::to_string(schedule.interval);
  master.RepeatCycle = schedule.months ? "M" : "D";
  if (model::TrimBlanks(master.RepeatCount.raw()).empty()) master.RepeatCount = "0";
  master.BalanceDue = "0.00";
  master.NextDueDate = model::FormatDisplayDate(schedule.nextDue, model::DateOrder::kMonthFirst);
  if (!files.transactions.Update(number, master, &snapshot)) {
    services.dialogs.inform(kRepeatCaption, "Modify operation failed", platform::Icon::kError);
    return false;
  }
  MarkRepeatLines(services, files.details, master);
  if (!IsRepeatMaster(snapshot)) UnpostInvoice(services, snapshot, kRepeatCaption, "made a repeat billing master");
  return true;
}

}  // namespace invoicing
