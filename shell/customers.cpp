#include "shell/customers.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "model/company_files.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/money.h"
#include "model/text.h"
#include "shell/company_list.h"

namespace shell {
namespace {

constexpr std::size_t kShortNameLength = 10;
constexpr std::string_view kZeroAmount = "0.00";
constexpr std::string_view kBalancePicture = ",0.00";

constexpr std::string_view kAddCaption = "Add Customer";
constexpr std::string_view kEditCaption = "Edit Customer";
constexpr std::string_view kDeleteCaption = "Delete Customer";
constexpr std::string_view kNumberChangedCaption = "Customer Number Changed";

// Row and header columns, each followed by one blank but the last.
constexpr std::size_t kNameWidth = 35;
constexpr std::size_t kNumberWidth = 8;
constexpr std::size_t kBalanceWidth = 12;
constexpr std::size_t kLastPaymentWidth = 10;
constexpr std::size_t kLastInvoiceWidth = 9;
constexpr std::size_t kPhoneWidth = 25;

std::string PadLeft(std::string_view text, std::size_t width) {
  std::string padded(text);
  if (padded.size() < width) padded.insert(0, width - padded.size(), ' ');
  return padded;
}

std::string JoinColumns(std::string_view name, std::string_view number, std::string_view balance,
                        std::string_view lastPayment, std::string_view lastInvoice, std::string_view phone) {
  using model::PadRight;
  return PadRight(name, kNameWidth) + ' ' + PadRight(number, kNumberWidth) + ' ' + PadLeft(balance, kBalanceWidth) +
         ' ' + PadRight(lastPayment, kLastPaymentWidth) + ' ' + PadRight(lastInvoice, kLastInvoiceWidth) + ' ' +
         PadRight(phone, kPhoneWidth);
}

engine::KeyString NumberKey(std::string_view customerNumber) {
  model::CustomerRecord probe{};
  probe.CustNo = customerNumber;
  return model::BuildKey(probe, model::customer_key::kNumber);
}

engine::KeyString NameKey(std::string_view name) {
  model::CustomerRecord probe{};
  probe.CustName = name;
  return model::BuildKey(probe, model::customer_key::kName);
}

engine::KeyString TransactionCustomerKey(std::string_view customerNumber) {
  model::TransactionRecord probe{};
  probe.CustNo = customerNumber;
  return model::BuildKey(probe, model::transaction_key::kCustNo);
}

// The record filed under exactly `wanted` in `index`; false when there is none.
bool FindExactKey(engine::KeyedFile& file, engine::KeyNumber index, const engine::KeyString& wanted,
                  engine::RecordNumber& number) {
  engine::KeyString key = wanted;
  return file.Search(index, number, key) && key == wanted;
}

bool ReadCustomer(engine::KeyedFile& customers, engine::RecordNumber number, model::CustomerRecord& customer) {
  customers.engine().GetRecord(customers.Block(), number, engine::RecordBytes(customer));
  return customers.engine().Ok();
}

bool SameNumber(std::string_view a, std::string_view b) { return FoldedCustomerNumber(a) == FoldedCustomerNumber(b); }

bool NumberTakenByAnother(const CustomerEntry& entry, const std::optional<std::string>& originalNumber,
                          engine::KeyedFile& customers) {
  if (originalNumber && SameNumber(entry.number, *originalNumber)) return false;
  engine::RecordNumber number = 0;
  return FindExactKey(customers, model::customer_key::kNumber, NumberKey(entry.number), number);
}

bool NameTakenByAnother(const CustomerEntry& entry, const std::optional<std::string>& originalNumber,
                        engine::KeyedFile& customers) {
  engine::RecordNumber number = 0;
  if (!FindExactKey(customers, model::customer_key::kName, NameKey(entry.name), number)) return false;
  model::CustomerRecord holder{};
  if (!ReadCustomer(customers, number, holder)) return true;
  return !originalNumber || !SameNumber(holder.CustNo.view(), *originalNumber);
}

CustomerField Refuse(platform::Dialogs& dialogs, std::string_view caption, std::string_view text,
                     CustomerField field) {
  dialogs.inform(caption, text, platform::Icon::kWarning);
  return field;
}

std::string CreditLimitText(std::string_view typed) {
  std::string plain(typed);
  std::erase(plain, ',');
  const std::string_view trimmed = model::TrimBlanks(plain);
  return trimmed.empty() ? std::string(kZeroAmount) : std::string(trimmed);
}

template <std::size_t N>
void StoreLines(std::array<model::ShortString<N>*, kAddressLines> fields,
                const std::array<std::string, kAddressLines>& lines) {
  for (int i = 0; i < kAddressLines; ++i) *fields[i] = lines[i];
}

template <std::size_t N>
std::array<std::string, kAddressLines> LinesOf(std::array<const model::ShortString<N>*, kAddressLines> fields) {
  std::array<std::string, kAddressLines> lines;
  for (int i = 0; i < kAddressLines; ++i) lines[i] = fields[i]->str();
  return lines;
}

void ZeroBalanceAndAging(model::CustomerRecord& customer) {
  for (auto* field : {&customer.AgeCurrent, &customer.Age31to60, &customer.Age61to90, &customer.AgeOver90}) {
    *field = kZeroAmount;
  }
  customer.Balance = kZeroAmount;
}

std::string CompanyNumber(const CustomerContext& context) {
  return context.session.CurrentCompany.CompanyNo.str();
}

// The company's transaction file when there is one: a company without it has no
// transactions, and none is created for a question about customers.
std::optional<engine::KeyedFile> TransactionFileIfAny(const CustomerContext& context) {
  engine::FileDescription description =
      model::DescribeFile(model::CompanyFile::kTransactions, CompanyNumber(context));
  std::error_code ignored;
  if (!description.nameRefusal.empty() ||
      !std::filesystem::exists(engine::FileSetPath(description.name, "DAT"), ignored)) {
    return std::nullopt;
  }
  return std::optional<engine::KeyedFile>(std::in_place, context.customers.engine(), context.dialogs,
                                          context.progress, std::move(description));
}

// The record numbers filed under the customer's number in the transaction index.
std::optional<std::vector<engine::RecordNumber>> TransactionsOf(engine::KeyedFile& transactions,
                                                                std::string_view customerNumber) {
  const engine::KeyString wanted = TransactionCustomerKey(customerNumber);
  engine::KeyString key = wanted;
  engine::RecordNumber number = 0;
  std::vector<engine::RecordNumber> numbers;
  if (!transactions.Search(model::transaction_key::kCustNo, number, key)) {
    if (transactions.FailureStatus() == engine::status::kSearchNotFound) return numbers;
    return std::nullopt;
  }
  engine::Engine& engine = transactions.engine();
  while (key == wanted) {
    numbers.push_back(number);
    engine.NextKey(transactions.Block(), model::transaction_key::kCustNo, number, key);
    if (!engine.Ok()) break;
  }
  return numbers;
}

bool RenumberTransaction(engine::KeyedFile& transactions, engine::RecordNumber number, std::string_view newNumber,
                         platform::Dialogs& dialogs) {
  model::TransactionRecord transaction{};
  transactions.engine().GetRecord(transactions.Block(), number, engine::RecordBytes(transaction));
  if (transactions.engine().Ok()) {
    transaction.CustNo = model::TrimBlanks(newNumber);
    if (transactions.Update(number, transaction)) return true;
  }
  dialogs.inform(kNumberChangedCaption,
                 "Changing the customer number of transaction " + transaction.InvoiceNo.str() + " failed.",
                 platform::Icon::kError);
  return false;
}

// Invoices, payments or deposits under the customer's number keep it from being
// deleted; nullopt when the transaction file could not be searched.
std::optional<bool> HasTransactions(const CustomerContext& context, const model::CustomerRecord& customer) {
  std::optional<engine::KeyedFile> transactions = TransactionFileIfAny(context);
  if (!transactions) return false;
  if (!transactions->Open()) return std::nullopt;
  const engine::KeyString wanted = TransactionCustomerKey(customer.CustNo.view());
  engine::KeyString key = wanted;
  engine::RecordNumber number = 0;
  if (transactions->Search(model::transaction_key::kCustNo, number, key)) return key == wanted;
  if (transactions->FailureStatus() == engine::status::kSearchNotFound) return false;
  return std::nullopt;
}

bool BalanceIsZero(const model::CustomerRecord& customer) {
  const std::optional<double> balance = model::ReadMoney(customer.Balance);
  return balance && *balance == 0.0;
}

}  // namespace

CustomerEntry NewCustomerEntry(const model::CompanyRecord& company) {
  CustomerEntry entry;
  entry.number = company.NextCustNo.str();
  entry.terms = company.DefaultTerms.str();
  entry.taxExempt = "N";
  entry.creditLimit = kZeroAmount;
  entry.balance = kZeroAmount;
  entry.autoCopyToShipping = company.AutoCopyBilling;
  return entry;
}

CustomerEntry EntryOfCustomer(const model::CustomerRecord& customer) {
  CustomerEntry entry;
  entry.number = customer.CustNo.str();
  entry.name = customer.CustName.str();
  entry.type = customer.CustType.str();
  entry.taxExempt = customer.TaxExempt.str();
  entry.creditLimit = customer.CreditLimit.str();
  entry.terms = customer.Terms.str();
  entry.billing = LinesOf<35>({&customer.BillAddr1, &customer.BillAddr2, &customer.BillAddr3, &customer.BillAddr4});
  entry.shipping = LinesOf<35>({&customer.ShipAddr1, &customer.ShipAddr2, &customer.ShipAddr3, &customer.ShipAddr4});
  entry.phone1 = customer.Phone1.str();
  entry.phone2 = customer.Phone2.str();
  entry.shortName = customer.ShortName.str();
  entry.notes = customer.CustNotes.str();
  entry.mailListCode = customer.MailListCode.str();
  entry.creditHold = model::IsYes(customer.CreditHold);
  entry.notesOnInvoice = model::IsYes(customer.NotesOnInvoice);
  entry.notesOnStatement = model::IsYes(customer.NotesOnStatement);
  entry.balance = BalanceText(customer);
  return entry;
}

std::string ShortNameOf(std::string_view name) {
  name = model::TrimBlanks(name);
  const std::size_t blank = name.find(' ');
  if (blank == std::string_view::npos) return std::string(name.substr(0, kShortNameLength));
  return std::string(name.substr(0, 1)) + std::string(name.substr(blank + 1, kShortNameLength - 1));
}

std::string FoldedCustomerNumber(std::string_view number) { return model::ToUpperAscii(model::TrimBlanks(number)); }

CustomerField CheckCustomerEntry(CustomerEntry& entry, const std::optional<std::string>& originalNumber,
                                 engine::KeyedFile& customers, platform::Dialogs& dialogs) {
  if (model::TrimBlanks(entry.name).empty()) {
    return Refuse(dialogs, "Customer Name", "You must enter a customer name.", CustomerField::kName);
  }
  if (model::TrimBlanks(entry.shortName).empty()) entry.shortName = ShortNameOf(entry.name);
  if (NumberTakenByAnother(entry, originalNumber, customers)) {
    return Refuse(dialogs, "Customer Number",
                  "That customer number already exists. You will need to use a different number.",
                  CustomerField::kNumber);
  }
  if (NameTakenByAnother(entry, originalNumber, customers)) {
    return Refuse(dialogs, "Duplicate Customer Name",
                  "That customer name already exists. You should not enter the same customer name with a different "
                  "customer number.",
                  CustomerField::kName);
  }
  if (!model::ParseMoney(entry.creditLimit)) {
    return Refuse(dialogs, "Credit Limit", "The CREDIT LIMIT amount has an invalid value.",
                  CustomerField::kCreditLimit);
  }
  return CustomerField::kNone;
}

void FillCustomer(model::CustomerRecord& customer, const CustomerEntry& entry, bool newCustomer) {
  customer.CustNo = entry.number;
  customer.CustName = entry.name;
  customer.CustType = entry.type;
  customer.TaxExempt = model::ToUpperAscii(entry.taxExempt);
  customer.CreditLimit = CreditLimitText(entry.creditLimit);
  customer.Terms = entry.terms;
  StoreLines<35>({&customer.BillAddr1, &customer.BillAddr2, &customer.BillAddr3, &customer.BillAddr4},
                 entry.billing);
  StoreLines<35>({&customer.ShipAddr1, &customer.ShipAddr2, &customer.ShipAddr3, &customer.ShipAddr4},
                 entry.shipping);
  customer.CustNotes = entry.notes;
  customer.Phone1 = entry.phone1;
  customer.Phone2 = entry.phone2;
  customer.ShortName = entry.shortName;
  customer.MailListCode = entry.mailListCode;
  if (newCustomer) ZeroBalanceAndAging(customer);
  model::SetYes(customer.CreditHold, entry.creditHold);
  model::SetYes(customer.NotesOnInvoice, entry.notesOnInvoice);
  model::SetYes(customer.NotesOnStatement, entry.notesOnStatement);
}

bool AddCustomer(const CustomerContext& context, const CustomerEntry& entry, model::CustomerRecord& customer,
                 engine::RecordNumber& number) {
  customer = model::CustomerRecord{};
  FillCustomer(customer, entry, true);
  if (!context.customers.Add(customer, number)) {
    context.dialogs.inform(kAddCaption, "Add operation failed", platform::Icon::kError);
    return false;
  }
  StoreNextCustomerNumber(context, customer.CustNo.view());
  return true;
}

std::optional<std::string> NextCustomerNumberAfter(std::string_view used) {
  if (model::TrimBlanks(used).empty()) return std::nullopt;
  const std::optional<double> value = model::ParseMoney(used);
  if (!value) return std::nullopt;
  const double next = std::floor(*value) + 1.0;
  std::string text = model::FormatMoney(next, "0");
  if (text.size() > decltype(model::CustomerRecord::CustNo)::kCapacity) return std::nullopt;
  return text;
}

void StoreNextCustomerNumber(const CustomerContext& context, std::string_view used) {
  const std::optional<std::string> next = NextCustomerNumberAfter(used);
  if (!next) return;
  CompanySession& session = context.session;
  engine::KeyedFile list(context.customers.engine(), context.dialogs, context.progress,
                         model::DescribeFile(model::CompanyFile::kCompanyList));
  model::CompanyRecord company = session.CurrentCompany;
  engine::RecordNumber number = 0;
  const bool found = list.Open() && FindCompanyByNumber(list, session.CurrentCompany, number, company);
  company.NextCustNo = *next;
  if (!found || !list.Update(number, company)) {
    context.dialogs.inform(kAddCaption, "The next customer number could not be saved in the company file.",
                           platform::Icon::kError);
  }
  list.Close();
  session.CurrentCompany = company;
}

bool SaveEditedCustomer(const CustomerContext& context, engine::RecordNumber number,
                        const model::CustomerRecord& snapshot, const CustomerEntry& entry,
                        model::CustomerRecord& customer) {
  customer = snapshot;
  FillCustomer(customer, entry, false);
  if (!context.customers.Update(number, customer, &snapshot)) {
    context.dialogs.inform(kEditCaption, "Modify operation failed", platform::Icon::kError);
    return false;
  }
  if (SameNumber(snapshot.CustNo.view(), customer.CustNo.view())) return true;
  const int count = RenumberTransactions(context, snapshot.CustNo.view(), customer.CustNo.view());
  if (count > 0) {
    context.dialogs.inform(kNumberChangedCaption,
                           "This customer has " + std::to_string(count) +
                               " record(s) on file. All have been changed to reflect the new customer number.");
  }
  return true;
}

int RenumberTransactions(const CustomerContext& context, std::string_view oldNumber, std::string_view newNumber) {
  std::optional<engine::KeyedFile> transactions = TransactionFileIfAny(context);
  if (!transactions) return 0;
  std::optional<std::vector<engine::RecordNumber>> numbers;
  if (transactions->Open()) numbers = TransactionsOf(*transactions, oldNumber);
  if (!numbers) {
    context.dialogs.inform(kNumberChangedCaption,
                           "The transactions of this customer could not be changed to the new customer number.",
                           platform::Icon::kError);
    return 0;
  }
  // Collected first: each update moves its key out of the walk's way.
  return static_cast<int>(std::count_if(numbers->begin(), numbers->end(), [&](engine::RecordNumber number) {
    return RenumberTransaction(*transactions, number, newNumber, context.dialogs);
  }));
}

bool DeleteCustomer(const CustomerContext& context, engine::RecordNumber number,
                    const model::CustomerRecord& customer) {
  platform::Dialogs& dialogs = context.dialogs;
  if (!BalanceIsZero(customer)) {
    dialogs.inform(kDeleteCaption, "This customer has a balance due. Unable to delete.", platform::Icon::kWarning);
    return false;
  }
  const std::optional<bool> hasTransactions = HasTransactions(context, customer);
  if (hasTransactions.value_or(false)) {
    dialogs.inform(kDeleteCaption,
                   "This customer has invoices on file and may not be deleted. You can mark this customer as "
                   "inactive, otherwise, wait until you remove their paid invoices, then delete.",
                   platform::Icon::kWarning);
    return false;
  }
  // A transaction file that cannot be searched might hold the customer's invoices.
  if (!hasTransactions) {
    dialogs.inform(kDeleteCaption, "Delete customer failed", platform::Icon::kError);
    return false;
  }
  const std::string caption = std::string(kDeleteCaption) + " " + std::string(model::TrimBlanks(customer.CustNo.view()));
  if (!dialogs.confirm(caption, "Are you sure you want to delete this customer?", platform::Answer::kNo)) return false;
  if (!context.customers.Delete(number, customer)) {
    dialogs.inform(kDeleteCaption, "Delete customer failed", platform::Icon::kError);
    return false;
  }
  return true;
}

bool FindCustomerByNumber(engine::KeyedFile& customers, std::string_view customerNumber,
                          engine::RecordNumber& number, model::CustomerRecord& customer) {
  return FindExactKey(customers, model::customer_key::kNumber, NumberKey(customerNumber), number) &&
         ReadCustomer(customers, number, customer);
}

std::string AddToLabelQueue(CompanySession& session, const model::CustomerRecord& customer) {
  session.LabelQueue.Add({customer.CustNo.str(),
                          {customer.CustName.str(), customer.MailListCode.str(), customer.CustType.str()}});
  session.LabelsPending = true;
  return customer.CustName.str() + " added to label queue.";
}

std::string CustomerRow(const model::CustomerRecord& customer) {
  return JoinColumns(customer.CustName.view(), model::TrimBlanks(customer.CustNo.view()), BalanceText(customer),
                     customer.LastPaymentDate.view(), customer.LastInvoiceNo.view(), customer.Phone1.view());
}

std::string CustomerHeader() {
  return JoinColumns("Name", "Number", "Balance", "Last Pmt.", "Last Inv.", "Phone Number(s)");
}

std::string BalanceText(const model::CustomerRecord& customer) {
  const std::optional<double> balance = model::ReadMoney(customer.Balance);
  return balance ? model::FormatMoney(*balance, kBalancePicture) : customer.Balance.str();
}

}  // namespace shell
