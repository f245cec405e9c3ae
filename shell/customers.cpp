#include "shell/customers.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <vector>

#include "books/customer_transactions.h"
#include "books/customer_transactions.h"
#include "books/posting.h"
#include "books/posting.h"
#include "files/company_files.h"
#include "files/company_files.h"
#include "files/table.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/money.h"
#include "model/text.h"

namespace shell {
namespace {

constexpr std::size_t kShortNameLength = 10;
constexpr std::string_view kZeroAmount = "0.00";

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

std::string JoinColumns(std::string_view name, std::string_view number, std::string_view balance,
                        std::string_view lastPayment, std::string_view lastInvoice, std::string_view phone) {
  using model::PadRight;
  return PadRight(name, kNameWidth) + ' ' + PadRight(number, kNumberWidth) + ' ' + model::PadLeft(balance, kBalanceWidth) +
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

std::optional<files::Row<model::CustomerRecord>> CustomerUnder(files::KeyedFile& customers, engine::KeyNumber index,
                                                                const engine::KeyString& key) {
  return files::Table<model::CustomerRecord>(customers).FindExact(index, key);
}

bool SameNumber(std::string_view a, std::string_view b) { return model::Folded(a) == model::Folded(b); }

bool NumberTakenByAnother(const CustomerEntry& entry, const std::optional<std::string>& originalNumber,
                          files::KeyedFile& customers) {
  if (originalNumber && SameNumber(entry.number, *originalNumber)) return false;
  return CustomerUnder(customers, model::customer_key::kNumber, NumberKey(entry.number)).has_value();
}

bool NameTakenByAnother(const CustomerEntry& entry, const std::optional<std::string>& originalNumber,
                        files::KeyedFile& customers) {
  const auto holder = CustomerUnder(customers, model::customer_key::kName, NameKey(entry.name));
  if (!holder) return false;
  return !originalNumber || !SameNumber(holder->record.CustNo.str(), *originalNumber);
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

bool BalanceIsZero(const model::CustomerRecord& customer) {
  const std::optional<model::Money> balance = model::ReadMoney(customer.Balance);
  return balance && balance->IsZero();
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
  entry.nameAsOpened = entry.name;
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
  if (blank == std::string_view::npos) return std::string(model::FirstCharacters(name, kShortNameLength));
  return std::string(model::FirstCharacters(name, 1)) +
         std::string(model::FirstCharacters(name.substr(blank + 1), kShortNameLength - 1));
}

CustomerField CheckCustomerEntry(CustomerEntry& entry, const std::optional<std::string>& originalNumber,
                                 files::KeyedFile& customers, platform::Dialogs& dialogs) {
  if (model::TrimBlanks(entry.name).empty()) {
    return Refuse(dialogs, "Customer Name", "You must enter a customer name.", CustomerField::kName);
  }
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
  // Made from the name that is stored, never from one a check refused, and made again
  // for a new name while the short name is still the one made from the old.
  if (model::TrimBlanks(entry.shortName).empty() || entry.shortName == ShortNameOf(entry.nameAsOpened)) {
    entry.shortName = ShortNameOf(entry.name);
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

bool AddCustomer(const files::Services& services, files::KeyedFile& customers, const CustomerEntry& entry,
                 model::CustomerRecord& customer, engine::RecordNumber& number) {
  customer = model::CustomerRecord{};
  FillCustomer(customer, entry, true);
  if (!customers.Add(customer, number)) {
    services.dialogs.inform(kAddCaption, "Add operation failed", platform::Icon::kError);
    return false;
  }
  StoreNextCustomerNumber(services, customer.CustNo.str());
  return true;
}

std::optional<std::string> NextCustomerNumberAfter(std::string_view used) {
  if (model::TrimBlanks(used).empty()) return std::nullopt;
  const std::optional<model::Decimal> value = model::ParseDecimal(used);
  if (!value || value->units < 0) return std::nullopt;
  std::string text = std::to_string(value->WholePart() + 1);
  if (text.size() > decltype(model::CustomerRecord::CustNo)::kCapacity) return std::nullopt;
  return text;
}

void StoreNextCustomerNumber(const files::Services& services, std::string_view used) {
  const std::optional<std::string> next = NextCustomerNumberAfter(used);
  if (!next) return;
  if (!books::ChangeCurrentCompany(services, [&](model::CompanyRecord& company) { company.NextCustNo = *next; })) {
    services.dialogs.inform(kAddCaption, "The next customer number could not be saved in the company file.",
                            platform::Icon::kError);
  }
}

bool SaveEditedCustomer(const files::Services& services, files::KeyedFile& customers, engine::RecordNumber number,
                        const model::CustomerRecord& snapshot, const CustomerEntry& entry,
                        model::CustomerRecord& customer) {
  customer = snapshot;
  FillCustomer(customer, entry, false);
  if (!customers.Update(number, customer, &snapshot)) {
    services.dialogs.inform(kEditCaption, "Modify operation failed", platform::Icon::kError);
    return false;
  }
  if (SameNumber(snapshot.CustNo.str(), customer.CustNo.str())) return true;
  const int count = books::RenumberTransactions(services, snapshot.CustNo.str(), customer.CustNo.str());
  if (count > 0) {
    services.dialogs.inform(kNumberChangedCaption,
                            "This customer has " + std::to_string(count) +
                                " record(s) on file. All have been changed to reflect the new customer number.");
  }
  return true;
}

bool DeleteCustomer(const files::Services& services, files::KeyedFile& customers, engine::RecordNumber number,
                    const model::CustomerRecord& customer) {
  platform::Dialogs& dialogs = services.dialogs;
  if (!BalanceIsZero(customer)) {
    dialogs.inform(kDeleteCaption, "This customer has a balance due. Unable to delete.", platform::Icon::kWarning);
    return false;
  }
  const std::optional<bool> hasTransactions = books::CustomerHasTransactions(services, customer.CustNo.str());
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
  const std::string caption = std::string(kDeleteCaption) + " " + std::string(model::TrimBlanks(customer.CustNo.str()));
  if (!dialogs.confirm(caption, "Are you sure you want to delete this customer?", platform::Answer::kNo)) return false;
  if (!customers.Delete(number, customer)) {
    dialogs.inform(kDeleteCaption, "Delete customer failed", platform::Icon::kError);
    return false;
  }
  return true;
}

bool FindCustomerByNumber(files::KeyedFile& customers, std::string_view customerNumber,
                          engine::RecordNumber& number, model::CustomerRecord& customer) {
  const auto found = CustomerUnder(customers, model::customer_key::kNumber, NumberKey(customerNumber));
  if (!found) return false;
  number = found->number;
  customer = found->record;
  return true;
}

std::string AddToLabelQueue(documents::LabelQueue& queue, const model::CustomerRecord& customer) {
  queue.Add({customer.CustNo.str(), {customer.CustName.str(), customer.MailListCode.str(), customer.CustType.str()}});
  return customer.CustName.str() + " added to label queue.";
}

std::string CustomerRow(const model::CustomerRecord& customer) {
  return JoinColumns(customer.CustName.str(), model::TrimBlanks(customer.CustNo.str()), BalanceText(customer),
                     customer.LastPaymentDate.str(), customer.LastInvoiceNo.str(), customer.Phone1.str());
}

std::string CustomerHeader() {
  return JoinColumns("Name", "Number", "Balance", "Last Pmt.", "Last Inv.", "Phone Number(s)");
}

std::string BalanceText(const model::CustomerRecord& customer) { return model::AmountText(customer.Balance); }

}  // namespace shell
