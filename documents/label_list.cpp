#include "documents/label_list.h"

#include <algorithm>

#include "model/text.h"
#include "model/text_encoding.h"

namespace documents {
namespace {

// One column in stored bytes, padded to `width`.
std::string Padded(std::string_view utf8, std::size_t width) {
  std::string bytes = model::ToWindows1252(utf8);
  if (bytes.size() < width) bytes.append(width - bytes.size(), ' ');
  return bytes;
}

std::string SubItem(const LabelQueueEntry& entry, std::size_t index) {
  return index < entry.subItems.size() ? entry.subItems[index] : std::string();
}

// Characters first..last (counted from 1) of the stored line, trimmed, as UTF-8.
std::string Column(std::string_view line, std::size_t first, std::size_t last) {
  if (line.size() < first) return {};
  const std::string_view bytes = line.substr(first - 1, last - first + 1);
  return model::FromWindows1252(model::TrimBlanks(bytes));
}

bool IsTextByte(char c) { return c != '\0'; }

std::vector<std::string_view> LinesOf(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
  }
  return lines;
}

}  // namespace

std::string ListLineOf(const LabelQueueEntry& entry) {
  std::string line = Padded(entry.caption, kListNumberWidth) + ' ' + Padded(SubItem(entry, 0), kListNameWidth) +
                     ' ' + Padded(SubItem(entry, 1), kListSortWidth) + ' ' +
                     Padded(SubItem(entry, 2), kListTypeWidth);
  if (line.size() > kListLineLimit) line.resize(kListLineLimit);
  return line;
}

LabelQueueEntry EntryOfListLine(std::string_view line) {
  return {Column(line, 1, 8), {Column(line, 10, 44), Column(line, 46, 60), Column(line, 62, 86)}};
}

model::FileOutcome WriteRecordList(const std::filesystem::path& path, const std::vector<LabelQueueEntry>& entries) {
  std::string text;
  for (const LabelQueueEntry& entry : entries) text += ListLineOf(entry) + "\r\n";
  return model::WriteWholeFile(path, text);
}

model::FileOutcome ReadRecordList(const std::filesystem::path& path, std::vector<LabelQueueEntry>& entries) {
  std::string bytes;
  if (model::FileOutcome read = model::ReadWholeFile(path, bytes); !read) return read;
  const std::vector<std::string_view> lines = LinesOf(bytes);
  const bool damaged = !std::all_of(bytes.begin(), bytes.end(), IsTextByte) ||
                       std::any_of(lines.begin(), lines.end(),
                                   [](std::string_view line) { return line.size() > kListLineLimit; });
  if (damaged) {
    return model::FileOutcome::Failure("The record list \"" + path.string() +
                                       "\" is not a saved record list: it holds lines no saved list has.");
  }
  entries.clear();
  for (std::string_view line : lines) {
    if (!model::TrimBlanks(line).empty()) entries.push_back(EntryOfListLine(line));
  }
  return {};
}

}  // namespace documents
