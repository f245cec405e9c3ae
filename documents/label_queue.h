// The label print queue: customers waiting for mailing labels or form letters, filled
// by the customer manager, new invoices and batch runs, and printed by the label and
// letter wizards.
#pragma once

#include <string>
#include <vector>

namespace documents {

// One queued customer: the customer number as the entry's caption, then its columns.
struct LabelQueueEntry {
  std::string caption;
  std::vector<std::string> subItems;
  friend bool operator==(const LabelQueueEntry&, const LabelQueueEntry&) = default;
};

class LabelQueue {
 public:
  void Add(LabelQueueEntry entry) { entries_.push_back(std::move(entry)); }
  void Clear() { entries_.clear(); }
  bool Empty() const { return entries_.empty(); }
  const std::vector<LabelQueueEntry>& Entries() const { return entries_; }

 private:
  std::vector<LabelQueueEntry> entries_;
};

}  // namespace documents
