// The label print queue: customers waiting for mailing labels or form letters, filled
// by the customer manager, new invoices and batch runs, and printed by the label and
// letter wizards.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace documents {

// One queued customer: the customer number as the entry's caption, then its columns.
struct LabelQueueEntry {
  std::string caption;
  std::vector<std::string> subItems;
  friend bool operator==(const LabelQueueEntry&, const LabelQueueEntry&) = default;
};

// One queue for the whole run, owned by the program. It knows whether queued labels
// have been neither printed nor saved, which closing the program asks about.
class LabelQueue {
 public:
  void Add(LabelQueueEntry entry) {
    entries_.push_back(std::move(entry));
    pending_ = true;
  }
  // Nothing happens for an index past the end.
  void RemoveAt(std::size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  }
  void Clear() {
    entries_.clear();
    pending_ = false;
  }
  // The labels were printed or the list saved.
  void MarkDone() { pending_ = false; }
  bool Empty() const { return entries_.empty(); }
  bool Pending() const { return pending_; }
  const std::vector<LabelQueueEntry>& Entries() const { return entries_; }

 private:
  std::vector<LabelQueueEntry> entries_;
  bool pending_ = false;
};

}  // namespace documents
