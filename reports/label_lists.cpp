#include "reports/label_lists.h"

#include "documents/label_list.h"
#include "files/table.h"
#include "model/field_values.h"
#include "model/text.h"
#include "shell/customers.h"

namespace reports {
namespace {

template <std::size_t N>
bool NotZero(const model::MoneyField<N>& field) {
  return model::ReadMoney(field).value_or(model::Money()) != model::Money();
}

std::string AddedText(std::size_t count) { return std::to_string(count) + " records were added."; }
std::string SelectedText(const documents::LabelQueue& queue) {
  return std::to_string(queue.Entries().size()) + " records are selected.";
}

template <class Wanted>
std::size_t AddCustomersWhere(files::KeyedFile& customers, documents::LabelQueue& queue, const Wanted& wanted) {
  std::size_t added = 0;
  files::Table<model::CustomerRecord>(customers).ForEachRecord([&](const auto& row) {
    if (wanted(row.record)) {
      shell::AddToLabelQueue(queue, row.record);
      ++added;
    }
    return true;
  });
  return added;
}

}  // namespace

std::string_view AgingPullCaption(AgingPull pull) {
  switch (pull) {
    case AgingPull::kDays0to30: return "0-30 Days";
    case AgingPull::kDays31to60: return "31-60 Days";
    case AgingPull::kDays61to90: return "61-90 Days";
    case AgingPull::kOver90: return "Over 90 Days";
  }
  return {};
}

bool HasAmountIn(const model::CustomerRecord& customer, AgingPull pull) {
  switch (pull) {
    case AgingPull::kDays0to30: return NotZero(customer.AgeCurrent);
    case AgingPull::kDays31to60: return NotZero(customer.Age31to60);
    case AgingPull::kDays61to90: return NotZero(customer.Age61to90);
    case AgingPull::kOver90: return NotZero(customer.AgeOver90);
  }
  return false;
}

std::string LoadAllCustomers(files::KeyedFile& customers, documents::LabelQueue& queue) {
  return AddedText(AddCustomersWhere(customers, queue, [](const model::CustomerRecord& customer) {
    return !model::TrimBlanks(customer.CustName.raw()).empty();
  }));
}

std::optional<std::string> LoadAgingBucket(files::KeyedFile& customers, documents::LabelQueue& queue,
                                           AgingPull pull, platform::Dialogs& dialogs) {
  const std::size_t added = AddCustomersWhere(
      customers, queue, [pull](const model::CustomerRecord& customer) { return HasAmountIn(customer, pull); });
  if (added == 0) {
    dialogs.inform(AgingPullCaption(pull), "No records were found.");
    return std::nullopt;
  }
  return AddedText(added);
}

std::string AddFoundCustomer(documents::LabelQueue& queue, const model::CustomerRecord& customer) {
  shell::AddToLabelQueue(queue, customer);
  return SelectedText(queue);
}

void DeleteQueueEntry(documents::LabelQueue& queue, std::optional<std::size_t> selected,
                      platform::Dialogs& dialogs) {
  if (!selected || *selected >= queue.Entries().size()) {
    dialogs.inform("Delete Record",
                   "You have not selected a record for deletion. To select a record, click on column 1 (Customer "
                   "Number) of that record to hilite it and then select the delete option.");
    return;
  }
  queue.RemoveAt(*selected);
}

std::optional<std::string> ClearQueue(documents::LabelQueue& queue, platform::Dialogs& dialogs) {
  if (queue.Empty()) return std::nullopt;
  if (!dialogs.confirm("Please Confirm", "This will clear all records in the print queue. Continue?")) {
    return std::nullopt;
  }
  queue.Clear();
  return "All records were removed from the queue.";
}

bool QueueCanBeSaved(const documents::LabelQueue& queue, platform::Dialogs& dialogs) {
  if (!queue.Empty()) return true;
  dialogs.inform("Save Records", "You do not have any customer records to save.");
  return false;
}

std::string SaveQueue(documents::LabelQueue& queue, const std::filesystem::path& path, platform::Dialogs& dialogs) {
  if (const model::FileOutcome written = documents::WriteRecordList(path, queue.Entries()); !written) {
    dialogs.inform("Save Records", written.error, platform::Icon::kError);
    return {};
  }
  queue.MarkDone();
  return "Records saved to file: " + path.string() + ".";
}

std::string LoadSavedQueue(documents::LabelQueue& queue, const std::filesystem::path& path,
                           platform::Dialogs& dialogs) {
  std::vector<documents::LabelQueueEntry> entries;
  if (const model::FileOutcome read = documents::ReadRecordList(path, entries); !read) {
    dialogs.inform(kLabelWizardCaption, read.error, platform::Icon::kError);
    return {};
  }
  for (documents::LabelQueueEntry& entry : entries) queue.Add(std::move(entry));
  return SelectedText(queue);
}

}  // namespace reports
