// Record list files (".LST"): the label queue saved as plain text, one line per entry
// in fixed columns, so a list can be reloaded into the queue on another day.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "documents/label_queue.h"
#include "model/whole_file.h"

namespace documents {

// Number in 8, name in 35, sort code in 15, customer type in 25, a blank between each;
// texts are padded, never cut, and the line is cut to kListLineLimit characters.
inline constexpr std::size_t kListNumberWidth = 8, kListNameWidth = 35, kListSortWidth = 15, kListTypeWidth = 25;
inline constexpr std::size_t kListLineLimit = 90;

std::string ListLineOf(const LabelQueueEntry& entry);
LabelQueueEntry EntryOfListLine(std::string_view line);

model::FileOutcome WriteRecordList(const std::filesystem::path& path, const std::vector<LabelQueueEntry>& entries);
// Blank lines are skipped. A file with a line longer than any saving writes, or with
// bytes no text file holds, is refused whole with a message naming it.
model::FileOutcome ReadRecordList(const std::filesystem::path& path, std::vector<LabelQueueEntry>& entries);

}  // namespace documents
