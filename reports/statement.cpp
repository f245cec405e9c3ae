#include "reports/statement.h"

#include <algorithm>

#include "books/customer_transactions.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/text.h"

namespace reports {
namespace {

using invoicing::TransactionType;
using model::Money;

constexpr std::string_view kAmountPicture = ",0.00";

std::string AmountCell(Money amount) { return model::FormatMoney(amount, kAmountPicture); }

// The amount a field holds; a field that is no number counts as zero and marks its
// record as damaged, so the totals never take a guess.
template <std::size_t N>
Money AmountOf(const model::MoneyField<N>& field, bool& damaged) {
  const std::optional<Money> amount = model::ReadMoney(field);
  if (!amount) damaged = true;
  return amount.value_or(Money());
}

template <std::size_t N>
std::string AgingCell(const model::MoneyField<N>& field) {
  return AmountCell(model::ReadMoney(field).value_or(Money()));
}

bool ShownUnpaidOnly(const model::TransactionRecord& transaction, Money balance) {
  return invoicing::TypeOf(transaction) != TransactionType::kRepeatMaster && balance != Money();
}

// The whole row's text as the sort compares it: the cells in order, case folded.
std::string SortText(const StatementRow& row) {
  std::string text;
  for (const std::string& cell : row) text += model::ToUpperAscii(cell) + '\t';
  return text;
}

class StatementBuilder {
 public:
  StatementBuilder(const model::CustomerRecord& customer, Activity activity) : activity_(activity) {
    statement_.customer = StatementCustomerOf(customer);
  }

  bool Add(const files::Row<model::TransactionRecord>& row) {
    const model::TransactionRecord& transaction = row.record;
    bool damaged = false;
    const Money total = AmountOf(transaction.TotalAmount, damaged);
    Money paid = AmountOf(transaction.PaidAmount, damaged);
    const Money balance = AmountOf(transaction.BalanceDue, damaged);
    const bool unpaidOnly = activity_ == Activity::kUnpaidOnly;
    if (unpaidOnly && !ShownUnpaidOnly(transaction, balance)) return true;
    // An invoice with partial payments keeps them in separate records, which the
    // unpaid list leaves out: what was paid on it is what is no longer due.
    if (unpaidOnly && invoicing::TypeOf(transaction) == TransactionType::kPartlyPaid) paid = total - balance;
    if (damaged) statement_.damaged.push_back(row.number);
    std::string reference = std::string(model::TrimBlanks(transaction.StatementNote.str()));
    if (reference.empty()) reference = ReferenceOfType(transaction);
    statement_.rows.push_back({transaction.SortDate.str(), transaction.InvoiceNo.str(), reference, AmountCell(total),
                               AmountCell(paid), AmountCell(balance), transaction.TransType.str()});
    total_ += total;
    paid_ += paid;
    balance_ += balance;
    return true;
  }

  Statement Finish() {
    std::stable_sort(statement_.rows.begin(), statement_.rows.end(),
                     [](const StatementRow& a, const StatementRow& b) { return SortText(a) < SortText(b); });
    statement_.totals = {"", "", std::string(kTotalsLabel), AmountCell(total_), AmountCell(paid_),
                         AmountCell(balance_), ""};
    return std::move(statement_);
  }

 private:
  Activity activity_;
  Statement statement_;
  Money total_, paid_, balance_;
};

}  // namespace

const StatementRow& StatementHeadings() {
  static const StatementRow kHeadings{"Date",        "Invoice#",    "Reference/Comment", "Total Amount",
                                      "Paid Amount", "Balance Due", "C"};
  return kHeadings;
}

std::string_view ReferenceOfType(const model::TransactionRecord& transaction) {
  switch (invoicing::TypeOf(transaction)) {
    case TransactionType::kInvoice: return "Invoice";
    case TransactionType::kPartialPayment: return "Partial Payment Made";
    case TransactionType::kPartlyPaid: return "Partial Payment Invoice";
    case TransactionType::kDeposit: return "Deposit on Account";
    case TransactionType::kDepositTaken: return "Deposit Offset Applied";
    case TransactionType::kGenerated: return "Repeat Billing";
    case TransactionType::kRepeatMaster: return "Repeat Master";
    case TransactionType::kUnknown: break;
  }
  return {};
}

StatementCustomer StatementCustomerOf(const model::CustomerRecord& customer) {
  return {customer.CustNo.str(),
          customer.CustName.str(),
          {customer.BillAddr1.str(), customer.BillAddr2.str(), customer.BillAddr3.str(), customer.BillAddr4.str()},
          {AgingCell(customer.AgeCurrent), AgingCell(customer.Age31to60), AgingCell(customer.Age61to90),
           AgingCell(customer.AgeOver90)},
          customer.CustNotes.str(),
          model::IsYes(customer.NotesOnStatement)};
}

std::string SelectionStatus(const Statement& statement) {
  std::string status = "There are " + std::to_string(statement.rows.size()) + " records selected.";
  if (statement.damaged.empty()) return status;
  status += "  Amounts that are no number were counted as 0.00 in record";
  status += statement.damaged.size() == 1 ? " " : "s ";
  for (std::size_t i = 0; i < statement.damaged.size(); ++i) {
    status += (i == 0 ? "" : ", ") + std::to_string(statement.damaged[i]);
  }
  return status + ".";
}

Statement BuildStatement(files::KeyedFile& transactions, const model::CustomerRecord& customer, Activity activity) {
  StatementBuilder builder(customer, activity);
  books::ForEachOfCustomer(transactions, customer.CustNo.str(),
                           [&](const files::Row<model::TransactionRecord>& row) { return builder.Add(row); });
  return builder.Finish();
}

std::optional<Statement> BuildStatement(const files::Services& services, const model::CustomerRecord& customer,
                                        Activity activity) {
  std::optional<files::KeyedFile> transactions = books::TransactionFileIfAny(services);
  if (!transactions) return StatementBuilder(customer, activity).Finish();
  if (!transactions->Open()) return std::nullopt;
  return BuildStatement(*transactions, customer, activity);
}

std::string StatementDate(const files::Services& services) {
  return model::FormatDisplayDate(model::TodayOf(services.clock), services.session.DateOrder());
}

bool TellWhenNoActivity(const Statement& statement, platform::Dialogs& dialogs) {
  if (statement.HasActivity()) return true;
  dialogs.inform("Customer: " + statement.customer.name, "There is no activity for this customer.",
                 platform::Icon::kInformation);
  return false;
}

}  // namespace reports
