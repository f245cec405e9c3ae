// Filling the label print queue: the whole customer file, customers with an amount in
// one aging bucket, one found customer, a saved record list; and emptying it. Each
// returns the status text the label wizard shows.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "documents/label_queue.h"
#include "files/keyed_file.h"
#include "model/records.h"
#include "platform/dialogs.h"

namespace reports {

enum class AgingPull { kDays0to30, kDays31to60, kDays61to90, kOver90 };

std::string_view AgingPullCaption(AgingPull pull);
bool HasAmountIn(const model::CustomerRecord& customer, AgingPull pull);

// Every customer with a non-blank name, in record order.
std::string LoadAllCustomers(files::KeyedFile& customers, documents::LabelQueue& queue);
// Customers with an amount in the bucket, in record order. With none, the message
// box says so and the status stays as it was (nullopt).
std::optional<std::string> LoadAgingBucket(files::KeyedFile& customers, documents::LabelQueue& queue,
                                           AgingPull pull, platform::Dialogs& dialogs);
std::string AddFoundCustomer(documents::LabelQueue& queue, const model::CustomerRecord& customer);

// With no entry selected the user is told how to select one.
void DeleteQueueEntry(documents::LabelQueue& queue, std::optional<std::size_t> selected,
                      platform::Dialogs& dialogs);
// Asks first; nullopt when nothing was removed (an empty queue: the caller beeps).
std::optional<std::string> ClearQueue(documents::LabelQueue& queue, platform::Dialogs& dialogs);

// False, with the message, when there is nothing to save: the file dialog is not shown.
bool QueueCanBeSaved(const documents::LabelQueue& queue, platform::Dialogs& dialogs);
std::string SaveQueue(documents::LabelQueue& queue, const std::filesystem::path& path, platform::Dialogs& dialogs);
std::string LoadSavedQueue(documents::LabelQueue& queue, const std::filesystem::path& path,
                           platform::Dialogs& dialogs);

inline constexpr std::string_view kLabelWizardCaption = "Label Wizard / Print Queue";

}  // namespace reports
