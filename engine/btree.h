// The B-tree of one index: insertion with redistribution before splitting, the
// classic deletion with borrowing and merging, exact and at-or-after search, and
// the walk from entry to entry along a path of at most 8 levels. Internal to the
// engine; the public key operations validate their arguments and then use this.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "engine/engine.h"
#include "engine/file_block.h"
#include "engine/page_cache.h"

namespace engine {

class BTree {
 public:
  BTree(Engine& engine, FileBlock& file, KeyNumber index);

  void Insert(RecordNumber record, const KeyString& key);
  void Remove(RecordNumber record, const KeyString& key);
  void Find(RecordNumber& record, KeyString& key, int mode);
  void Search(RecordNumber& record, KeyString& key);
  void Next(RecordNumber& record, KeyString& key);
  void Prev(RecordNumber& record, KeyString& key);
  std::int32_t Position(const KeyString& key, RecordNumber record, std::int32_t scale);
  void AtPosition(std::int32_t position, std::int32_t scale, RecordNumber& record, KeyString& key);
  // Fills an empty index with `count` entries, entryAt(0) .. entryAt(count - 1) sorted by
  // key and then record number, page by page from the leaves up, each page about as
  // full as inserting keeps them on average.
  void BuildFromSorted(std::size_t count, const std::function<Item(std::size_t)>& entryAt);

 private:
  enum class Step { kMoved, kEnd, kError };
  struct Probe {
    int high = 0;          // items 1..high are smaller than the entry sought
    bool matched = false;  // then item high + 1 is the entry
  };
  // Items gathered from up to two pages and their separator, in key order.
  struct ItemRun {
    Item items[2 * format::kPageSize + 2];
    int count = 0;
    void Append(const Item& item) { items[count++] = item; }
    void Append(const Item* first, int n) {
      for (int i = 0; i < n; ++i) items[count++] = first[i];
    }
  };

  int CompareEntry(const KeyString& key, RecordNumber record, const Item& item) const;
  int ThenByRecord(int byKey, RecordNumber record, RecordNumber itemRecord) const;
  template <typename OrderAt>
  static Probe BinarySearch(int count, OrderAt orderAt);
  Probe SearchPage(const Page& page, const KeyString& key, RecordNumber record) const;
  bool SearchBytes(const PageView& view, const KeyString& key, RecordNumber record, Probe& probe);
  bool ProbeOnTheWay(std::int32_t page, const KeyString& key, RecordNumber record, bool toChange, Probe& probe,
                     std::int32_t& child);
  bool ItemAt(const PageView& view, int position, RecordNumber& record, KeyString& key);
  std::int32_t ChildIn(const PageView& view, int position) const;
  const std::byte* ItemBytes(const PageView& view, int position) const;
  PageBuffer* Load(std::int32_t page);
  PageBuffer* Fresh(std::int32_t page);
  bool View(std::int32_t page, bool leafToRing, PageView& view);
  bool Damaged();

  bool Locate(const KeyString& key, RecordNumber record, bool& matched);
  bool Current(RecordNumber& record, KeyString& key);
  Step DescendToEdge(std::int32_t page, bool leftmost, bool walking);
  Step StepForward(bool walking);
  Step StepBackward();
  void EndWalk(Step step, int statusAtEnd);

  bool InsertInto(const PathLevel* levels, int level, Item& pending, bool& done);
  bool ShareWithSibling(const PathLevel& parentLevel, std::int32_t overflowed, ItemRun& items, bool& done);
  bool Split(std::int32_t overflowed, ItemRun& items, Item& separator);
  bool GrowRoot(const Item& separator, std::int32_t leftChild);
  bool Rebalance(const PathLevel& parentLevel);
  Item Distribute(Page& left, Page& right, std::int32_t rightNumber, const ItemRun& run, int leftCount);

  bool LayOutLevel(std::size_t count, const std::function<Item(std::size_t)>& itemAt,
                   std::span<const std::int32_t> below, std::vector<Item>& between, std::vector<std::int32_t>& pages);
  int AverageFill() const { return index_.PageSize() - index_.PageSize() / 4; }
  std::size_t PagesOnLevel(std::size_t items) const;
  bool ReserveRows(std::int64_t lastPage);

  std::int32_t AllocatePage();
  bool FreePage(std::int32_t page);
  void MarkHeaderChanged() { index_.headerChanged = true; }

  Engine& engine_;
  FileBlock& file_;
  KeyNumber keyNumber_;
  IndexState& index_;
  PageCache& pages_;
  // Made only by the few steps that need it: clearing its five kilobytes for every
  // search and step of a walk cost more than the step.
  ItemRun& Run() { return run_ ? *run_ : run_.emplace(); }
  std::optional<ItemRun> run_;
  std::int32_t viewedPage_ = 0;  // 0: no view kept
  PageView viewed_;
};

}  // namespace engine
