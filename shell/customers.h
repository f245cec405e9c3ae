// The customer manager without its windows: what a new customer starts with, the
// checks of the edit dialog, adding, changing (with the renumbering of the customer's
// transactions) and deleting a customer, the label queue entry and the browser rows.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "documents/label_queue.h"
#include "files/keyed_file.h"
#include "files/services.h"
#include "model/records.h"
#include "platform/dialogs.h"

namespace shell {

constexpr int kAddressLines = 4;

// The edit dialog's values as typed.
struct CustomerEntry {
  std::string number;  // CNo
  std::string name;    // CName
  std::string type;    // CustType
  std::string taxExempt;
  std::string creditLimit;  // CLimit
  std::string terms;        // CTerms
  std::array<std::string, kAddressLines> billing;   // CAdd1Edit..CAdd4Edit
  std::array<std::string, kAddressLines> shipping;  // CShip1..CShip4
  std::string phone1;
  std::string phone2;
  std::string shortName;
  std::string nameAsOpened;  // the stored name when editing began; empty for a new customer
  std::string notes;  // CstNote
  std::string mailListCode;
  bool creditHold = false;  // CRHold
  bool notesOnInvoice = false;
  bool notesOnStatement = false;
  bool autoCopyToShipping = false;
  std::string balance;  // CBal, shown only
};

// The dialog field a failed check sends the user back to.
enum class CustomerField { kNone, kName, kNumber, kCreditLimit };

CustomerEntry NewCustomerEntry(const model::CompanyRecord& company);
// Editing starts with "&Auto-Copy to Shipping" off, so a shipping address of its own
// is not overwritten by a change to the billing lines.
CustomerEntry EntryOfCustomer(const model::CustomerRecord& customer);

// One word: its first 10 characters; more: the first character and the 9 after the
// first blank.
std::string ShortNameOf(std::string_view name);

// The dialog's checks in order; the first that fails shows its message and names its
// field. Fills in the short name when it was left empty. `originalNumber` is the
// number the record had when the dialog opened, nullopt for a new customer, which
// may not take any number or name already on file.
CustomerField CheckCustomerEntry(CustomerEntry& entry, const std::optional<std::string>& originalNumber,
                                 files::KeyedFile& customers, platform::Dialogs& dialogs);

// Writes the dialog's values into the record; a new customer also gets a zero
// balance and aging.
void FillCustomer(model::CustomerRecord& customer, const CustomerEntry& entry, bool newCustomer);

// Adds the customer with both keys and stores the next customer number; false (with
// the message) when the record could not be added.
bool AddCustomer(const files::Services& services, files::KeyedFile& customers, const CustomerEntry& entry,
                 model::CustomerRecord& customer, engine::RecordNumber& number);

// The number offered after `used`: the next whole number above its value. nullopt
// when `used` is no number or the next one does not fit the field.
std::optional<std::string> NextCustomerNumberAfter(std::string_view used);

// Stores NextCustomerNumberAfter(used) as the company's next customer number. A number
// without a successor leaves it as it is.
void StoreNextCustomerNumber(const files::Services& services, std::string_view used);

// Writes the edit over `snapshot` (the record as read when the dialog opened) and,
// when the number changed other than in case, moves the customer's transactions to
// the new number. False (with the message) when the record was not stored.
bool SaveEditedCustomer(const files::Services& services, files::KeyedFile& customers, engine::RecordNumber number,
                        const model::CustomerRecord& snapshot, const CustomerEntry& entry,
                        model::CustomerRecord& customer);

// Refuses a customer with a balance or with transactions on file, asks, and deletes
// the record with its keys; true when it was deleted.
bool DeleteCustomer(const files::Services& services, files::KeyedFile& customers, engine::RecordNumber number,
                    const model::CustomerRecord& customer);

// The first customer with this number (trimmed, case ignored), through the number index.
bool FindCustomerByNumber(files::KeyedFile& customers, std::string_view customerNumber,
                          engine::RecordNumber& number, model::CustomerRecord& customer);

// Queues the customer for labels and returns the status text.
std::string AddToLabelQueue(documents::LabelQueue& queue, const model::CustomerRecord& customer);

std::string CustomerRow(const model::CustomerRecord& customer);
std::string CustomerHeader();

// The balance as lists show it: thousands separators and two decimals; text that is
// no amount is shown as stored.
std::string BalanceText(const model::CustomerRecord& customer);

}  // namespace shell
