#include "engine/btree.h"

#include <algorithm>
#include <limits>

#include "engine/operation.h"

namespace engine {

namespace {

using Access = Operation::Access;
using format::kMaxDepth;

// Sorts before every entry of a key in an index with duplicates.
constexpr RecordNumber kBeforeAllRecords = std::numeric_limits<RecordNumber>::min();

void InsertItem(Page& page, int position, const Item& item) {
  std::copy_backward(page.items + position, page.items + page.itemCount, page.items + page.itemCount + 1);
  page.items[position] = item;
  page.itemCount += 1;
}

void EraseItem(Page& page, int position) {
  std::copy(page.items + position + 1, page.items + page.itemCount, page.items + position);
  page.itemCount -= 1;
}

}  // namespace

BTree::BTree(Engine& engine, FileBlock& file, KeyNumber index)
    : engine_(engine), file_(file), keyNumber_(index), index_(file.Index(index)), pages_(*engine.pages_) {}

// --- Pages --------------------------------------------------------------------

int BTree::CompareEntry(const KeyString& key, RecordNumber record, const Item& item) const {
  return ThenByRecord(Compare(key, item.key), record, item.record);
}

// Entries of equal keys in an index that allows them are ordered by record number.
int BTree::ThenByRecord(int byKey, RecordNumber record, RecordNumber itemRecord) const {
  if (byKey != 0 || !index_.AllowsDuplicates()) return byKey;
  return record < itemRecord ? -1 : (record > itemRecord ? 1 : 0);
}

// Items 1..count in key order; orderAt(i) orders the entry sought against item i.
template <typename OrderAt>
BTree::Probe BTree::BinarySearch(int count, OrderAt orderAt) {
  int low = 1;
  int high = count;
  while (low <= high) {
    const int mid = (low + high) / 2;
    const int order = orderAt(mid);
    if (order <= 0) high = mid - 1;
    if (order >= 0) low = mid + 1;
  }
  return {high, low - high >= 2};
}

BTree::Probe BTree::SearchPage(const Page& page, const KeyString& key, RecordNumber record) const {
  return BinarySearch(page.itemCount, [&](int i) { return CompareEntry(key, record, page.items[i - 1]); });
}

// Searches the items as the page holds them; a key longer than the index allows is damage.
bool BTree::SearchBytes(const PageView& view, const KeyString& key, RecordNumber record, Probe& probe) {
  bool sound = true;
  probe = BinarySearch(view.itemCount, [&](int i) {
    const std::byte* item = ItemBytes(view, i);
    const int length = std::to_integer<int>(item[8]);
    if (length > index_.keyLength) return sound = false, 0;
    return ThenByRecord(key.CompareTo(item + 9, length), record, format::LoadInt32(item));
  });
  return sound || Damaged();
}

// One step down towards a leaf: searches the page and names the child the way goes on
// to, 0 below a leaf. A leaf to be changed is taken into a page buffer.
bool BTree::ProbeOnTheWay(std::int32_t page, const KeyString& key, RecordNumber record, bool toChange, Probe& probe,
                          std::int32_t& child) {
  PageView view;
  if (!View(page, toChange, view)) return false;
  if (view.page != nullptr) {
    probe = SearchPage(*view.page, key, record);
    child = view.page->Child(probe.high);
    return true;
  }
  if (!SearchBytes(view, key, record, probe)) return false;
  child = ChildIn(view, probe.high);
  return true;
}

// Child to the left of item position+1, as Page::Child, wherever the page lies.
std::int32_t BTree::ChildIn(const PageView& view, int position) const {
  if (view.page != nullptr) return view.page->Child(position);
  if (position == 0) return view.leftChild;
  return format::LoadInt32(ItemBytes(view, position) + 4);
}

// Item `position` (from 1) of a page viewed as its bytes: RecordNumber, RightChild,
// the key's length byte and its bytes.
const std::byte* BTree::ItemBytes(const PageView& view, int position) const {
  return view.bytes + format::kPageHeaderSize + (position - 1) * format::ItemSize(index_.keyLength);
}

PageBuffer* BTree::Load(std::int32_t page) {
  viewedPage_ = 0;
  if (page < 1 || page > index_.header.numPages) return Damaged(), nullptr;
  return pages_.Fetch(file_, keyNumber_, page);
}

PageBuffer* BTree::Fresh(std::int32_t page) {
  viewedPage_ = 0;
  return pages_.Fresh(file_, keyNumber_, page);
}

// A search and the steps after it often view one page several times running: the
// view stays good until the page cache is next called, so it is kept till then.
bool BTree::View(std::int32_t page, bool leafToRing, PageView& view) {
  const bool mustTakeLeaf = leafToRing && viewed_.page == nullptr && viewed_.leftChild == 0;
  if (page == viewedPage_ && !mustTakeLeaf) {
    view = viewed_;
    return true;
  }
  viewedPage_ = 0;
  if (page < 1 || page > index_.header.numPages) return Damaged();
  if (!pages_.View(file_, keyNumber_, page, leafToRing, view)) return false;
  viewedPage_ = page;
  viewed_ = view;
  return true;
}

bool BTree::Damaged() {
  engine_.Fail(status::kIndexDamaged);
  return false;
}

std::int32_t BTree::AllocatePage() {
  format::IndexHeader& header = index_.header;
  if (header.firstFree == -1) {
    if (header.numPages == INT32_MAX) return Damaged(), 0;
    const std::int32_t page = header.numPages + 1;
    if (page > file_.rows) {
      const std::vector<std::byte> zeroRow(static_cast<std::size_t>(file_.rowLength));
      if (!engine_.WriteBytes(file_.index, file_.indexPath, page * file_.rowLength, zeroRow.data(), zeroRow.size()))
        return 0;
      file_.rows = page;
    }
    header.numPages = page;
    MarkHeaderChanged();
    return page;
  }
  const std::int32_t page = header.firstFree;
  std::byte link[4];
  if (page < 1 || page > header.numPages) return engine_.Fail(status::kFreeChainDamaged), 0;
  if (!engine_.ReadBytes(file_.index, file_.indexPath, file_.PageOffset(keyNumber_, page), link, sizeof link))
    return 0;
  const std::int32_t next = format::LoadInt32(link);
  if (next == 0 || next < -1 || next > header.numPages) return engine_.Fail(status::kFreeChainDamaged), 0;
  header.firstFree = next;
  header.numberFree -= 1;
  MarkHeaderChanged();
  return page;
}

bool BTree::FreePage(std::int32_t page) {
  viewedPage_ = 0;
  pages_.Drop(file_, keyNumber_, page);
  std::byte link[4];
  format::StoreInt32(link, index_.header.firstFree);
  if (!engine_.WriteBytes(file_.index, file_.indexPath, file_.PageOffset(keyNumber_, page), link, sizeof link))
    return false;
  index_.header.firstFree = page;
  index_.header.numberFree += 1;
  MarkHeaderChanged();
  return true;
}

// --- Positions and walks ------------------------------------------------------

// Leaves the path at the entry when it is found, else at the greatest entry smaller
// than the one sought (an empty path when there is none).
bool BTree::Locate(const KeyString& key, RecordNumber record, bool& matched) {
  matched = false;
  index_.depth = 0;
  index_.pathValid = true;
  std::int32_t page = index_.header.rootRef;
  while (page != 0) {
    if (index_.depth == kMaxDepth) return index_.depth = 0, Damaged();
    Probe probe;
    std::int32_t child = 0;
    if (!ProbeOnTheWay(page, key, record, false, probe, child)) return index_.depth = 0, false;
    if (probe.matched) {
      index_.path[index_.depth++] = {page, probe.high + 1};
      matched = true;
      return true;
    }
    index_.path[index_.depth++] = {page, probe.high};
    page = child;
  }
  while (index_.depth > 0 && index_.path[index_.depth - 1].item == 0) --index_.depth;
  return true;
}

bool BTree::Current(RecordNumber& record, KeyString& key) {
  const PathLevel& level = index_.path[index_.depth - 1];
  PageView view;
  return View(level.page, false, view) && ItemAt(view, level.item, record, key);
}

// Item `position` (from 1) of a page searched where it lies.
bool BTree::ItemAt(const PageView& view, int position, RecordNumber& record, KeyString& key) {
  if (position < 1 || position > view.itemCount) return Damaged();
  if (view.page != nullptr) {
    const Item& item = view.page->items[position - 1];
    record = item.record;
    key = item.key;
    return true;
  }
  const std::byte* item = ItemBytes(view, position);
  const int length = std::to_integer<int>(item[8]);
  if (length > index_.keyLength) return Damaged();
  record = format::LoadInt32(item);
  key.Assign(reinterpret_cast<const char*>(item + 9), static_cast<std::size_t>(length));
  return true;
}

BTree::Step BTree::DescendToEdge(std::int32_t page, bool leftmost, bool walking) {
  if (page == 0) return Step::kEnd;
  for (;;) {
    if (index_.depth == kMaxDepth) return Damaged(), Step::kError;
    PageView view;
    if (!View(page, walking, view)) return Step::kError;
    const int count = view.itemCount;
    if (count == 0) return Damaged(), Step::kError;
    const int position = leftmost ? 0 : count;
    const std::int32_t child = ChildIn(view, position);
    if (child == 0) {
      index_.path[index_.depth++] = {page, leftmost ? 1 : count};
      return Step::kMoved;
    }
    index_.path[index_.depth++] = {page, position};
    page = child;
  }
}

// A walk goes on reading the leaf it steps in, so `walking` takes the leaf into a
// page buffer; a search that ends on the next entry only reads it where it lies.
BTree::Step BTree::StepForward(bool walking) {
  if (index_.depth == 0) return DescendToEdge(index_.header.rootRef, true, walking);
  PathLevel& current = index_.path[index_.depth - 1];
  PageView view;
  if (!View(current.page, walking, view)) return Step::kError;
  if (const std::int32_t right = ChildIn(view, current.item); right != 0) return DescendToEdge(right, true, walking);
  while (index_.depth > 0) {
    PathLevel& level = index_.path[index_.depth - 1];
    if (!View(level.page, walking, view)) return Step::kError;
    if (level.item < view.itemCount) {
      level.item += 1;
      return Step::kMoved;
    }
    --index_.depth;
  }
  return Step::kEnd;
}

BTree::Step BTree::StepBackward() {
  if (index_.depth == 0) return DescendToEdge(index_.header.rootRef, false, true);
  PathLevel& current = index_.path[index_.depth - 1];
  PageView view;
  if (!View(current.page, true, view)) return Step::kError;
  if (current.item < 1 || current.item > view.itemCount) return Damaged(), Step::kError;
  if (const std::int32_t left = ChildIn(view, current.item - 1); left != 0) {
    current.item -= 1;
    return DescendToEdge(left, false, true);
  }
  if (current.item > 1) {
    current.item -= 1;
    return Step::kMoved;
  }
  --index_.depth;
  while (index_.depth > 0 && index_.path[index_.depth - 1].item == 0) --index_.depth;
  return index_.depth > 0 ? Step::kMoved : Step::kEnd;
}

// Past either end the path is emptied, so the next walk starts again at an end.
void BTree::EndWalk(Step step, int statusAtEnd) {
  index_.depth = 0;
  if (step == Step::kEnd) engine_.Fail(statusAtEnd);
}

void BTree::Next(RecordNumber& record, KeyString& key) {
  if (!index_.pathValid) {
    bool matched = false;
    if (!Locate(key, record, matched)) return engine_.SetStatus(status::kNextLost);
  }
  const Step step = StepForward(true);
  if (step != Step::kMoved || !Current(record, key)) return EndWalk(step, status::kNextAtEnd);
}

void BTree::Prev(RecordNumber& record, KeyString& key) {
  if (!index_.pathValid) {
    bool matched = false;
    if (!Locate(key, record, matched)) return engine_.SetStatus(status::kPrevLost);
    if (!matched) {
      // The caller's entry is gone; the greatest smaller one is the previous entry.
      if (index_.depth == 0) return EndWalk(Step::kEnd, status::kPrevAtStart);
      if (!Current(record, key)) index_.depth = 0;
      return;
    }
  }
  const Step step = StepBackward();
  if (step != Step::kMoved || !Current(record, key)) return EndWalk(step, status::kPrevAtStart);
}

void BTree::Find(RecordNumber& record, KeyString& key, int mode) {
  bool matched = false;
  if (!Locate(key, record, matched)) return;
  if (matched) {
    Current(record, key);
  } else if (mode == 0) {
    engine_.Fail(status::kFindNotFound);
  } else if (mode > 0) {
    const Step step = StepForward(false);
    if (step != Step::kMoved || !Current(record, key)) EndWalk(step, status::kNextAtEnd);
  } else if (index_.depth == 0) {
    EndWalk(Step::kEnd, status::kPrevAtStart);
  } else {
    Current(record, key);
  }
}

void BTree::Search(RecordNumber& record, KeyString& key) {
  bool matched = false;
  if (!Locate(key, kBeforeAllRecords, matched)) return;
  if (!matched) {
    const Step step = StepForward(false);
    if (step != Step::kMoved) return EndWalk(step, status::kSearchNotFound);
  }
  Current(record, key);
}

// --- Insertion ----------------------------------------------------------------

void BTree::Insert(RecordNumber record, const KeyString& key) {
  PathLevel levels[kMaxDepth];
  int depth = 0;
  for (std::int32_t page = index_.header.rootRef; page != 0;) {
    if (depth == kMaxDepth) return (void)Damaged();
    Probe probe;
    std::int32_t child = 0;
    if (!ProbeOnTheWay(page, key, record, true, probe, child)) return;
    if (probe.matched) return engine_.Fail(status::kDuplicateKey);
    levels[depth++] = {page, probe.high};
    page = child;
  }
  if (index_.header.numKeys == INT32_MAX) return (void)Damaged();
  Item pending{record, 0, key};
  if (depth == 0) {
    if (!GrowRoot(pending, 0)) return;
  } else {
    for (int level = depth - 1;; --level) {
      bool done = false;
      if (!InsertInto(levels, level, pending, done)) return;
      if (done) break;
      if (level == 0) {
        if (!GrowRoot(pending, levels[0].page)) return;
        break;
      }
    }
  }
  index_.header.numKeys += 1;
  MarkHeaderChanged();
}

// Puts `pending` after item levels[level].item of that page. When the page is full
// it shares with a sibling if one has room, or splits, leaving the item to go up
// into the parent in `pending` (done false).
bool BTree::InsertInto(const PathLevel* levels, int level, Item& pending, bool& done) {
  const PathLevel& at = levels[level];
  PageBuffer* buffer = Load(at.page);
  if (buffer == nullptr) return false;
  Page& page = buffer->page;
  if (page.itemCount < index_.PageSize()) {
    InsertItem(page, at.item, pending);
    buffer->changed = true;
    done = true;
    return true;
  }
  ItemRun& overflow = Run();
  overflow.count = 0;
  overflow.Append(page.items, at.item);
  overflow.Append(pending);
  overflow.Append(page.items + at.item, page.itemCount - at.item);
  if (level > 0) {
    if (!ShareWithSibling(levels[level - 1], at.page, overflow, done)) return false;
    if (done) return true;
  }
  return Split(at.page, overflow, pending);
}

bool BTree::ShareWithSibling(const PathLevel& parentLevel, std::int32_t overflowed, ItemRun& items, bool& done) {
  PageBuffer* parentBuffer = Load(parentLevel.page);
  if (parentBuffer == nullptr) return false;
  Page& parent = parentBuffer->page;
  const int position = parentLevel.item;
  if (parent.itemCount == 0 || position > parent.itemCount) return Damaged();
  const bool siblingOnRight = position < parent.itemCount;
  const int separator = siblingOnRight ? position : position - 1;  // index into parent.items
  const std::int32_t siblingNumber = parent.Child(siblingOnRight ? position + 1 : position - 1);
  PageBuffer* siblingBuffer = Load(siblingNumber);
  if (siblingBuffer == nullptr) return false;
  Page& sibling = siblingBuffer->page;
  if (sibling.itemCount >= index_.PageSize()) return true;

  PageBuffer* ownBuffer = Load(overflowed);
  if (ownBuffer == nullptr) return false;
  Page& own = ownBuffer->page;
  const int total = items.count + sibling.itemCount;  // items shared out, separator excluded
  ItemRun& run = items;
  Item down = parent.items[separator];
  if (siblingOnRight) {
    down.rightChild = sibling.leftChild;
    run.Append(down);
    run.Append(sibling.items, sibling.itemCount);
    parent.items[separator] = Distribute(own, sibling, siblingNumber, run, (total + 1) / 2);
  } else {
    ItemRun combined;
    combined.Append(sibling.items, sibling.itemCount);
    down.rightChild = own.leftChild;
    combined.Append(down);
    combined.Append(run.items, run.count);
    parent.items[separator] = Distribute(sibling, own, overflowed, combined, total / 2);
  }
  parentBuffer->changed = siblingBuffer->changed = ownBuffer->changed = true;
  done = true;
  return true;
}

bool BTree::Split(std::int32_t overflowed, ItemRun& items, Item& separator) {
  const std::int32_t newNumber = AllocatePage();
  if (newNumber == 0) return false;
  PageBuffer* fresh = Fresh(newNumber);
  PageBuffer* own = Load(overflowed);
  if (fresh == nullptr || own == nullptr) return false;
  separator = Distribute(own->page, fresh->page, newNumber, items, index_.PageSize() / 2);
  own->changed = fresh->changed = true;
  return true;
}

bool BTree::GrowRoot(const Item& separator, std::int32_t leftChild) {
  const std::int32_t number = AllocatePage();
  if (number == 0) return false;
  PageBuffer* root = Fresh(number);
  if (root == nullptr) return false;
  root->page.leftChild = leftChild;
  root->page.itemCount = 0;
  InsertItem(root->page, 0, separator);
  index_.header.rootRef = number;
  MarkHeaderChanged();
  return true;
}

// Lays `run` out over two neighbouring pages: the first leftCount items on the left
// page, the next one as their separator, the rest on the right page. The left
// page's LeftChild stays; the right page's becomes the separator's old RightChild.
Item BTree::Distribute(Page& left, Page& right, std::int32_t rightNumber, const ItemRun& run, int leftCount) {
  std::copy(run.items, run.items + leftCount, left.items);
  left.itemCount = leftCount;
  Item separator = run.items[leftCount];
  right.leftChild = separator.rightChild;
  right.itemCount = run.count - leftCount - 1;
  std::copy(run.items + leftCount + 1, run.items + run.count, right.items);
  separator.rightChild = rightNumber;
  return separator;
}

// --- Building from sorted entries -----------------------------------------------

void BTree::BuildFromSorted(std::size_t count, const std::function<Item(std::size_t)>& entryAt) {
  if (index_.header.rootRef != 0) return (void)Damaged();
  if (count == 0) return;
  if (count > static_cast<std::size_t>(INT32_MAX)) return (void)Damaged();
  std::int64_t pages = 0;
  for (std::size_t items = count;; items = PagesOnLevel(items) - 1) {
    pages += static_cast<std::int64_t>(PagesOnLevel(items));
    if (PagesOnLevel(items) == 1) break;
  }
  if (index_.header.firstFree == -1 && !ReserveRows(index_.header.numPages + pages)) return;
  std::vector<Item> run;
  const std::function<Item(std::size_t)> fromRun = [&run](std::size_t i) { return run[i]; };
  std::size_t levelCount = count;
  std::vector<std::int32_t> below;
  for (;;) {
    std::vector<Item> between;
    std::vector<std::int32_t> pages;
    if (!LayOutLevel(levelCount, below.empty() ? entryAt : fromRun, below, between, pages)) return;
    if (pages.size() == 1) {
      index_.header.rootRef = pages.front();
      break;
    }
    run = std::move(between);
    levelCount = run.size();
    below = std::move(pages);
  }
  index_.header.numKeys = static_cast<std::int32_t>(count);
  MarkHeaderChanged();
}

// Lays one level out over as few pages as keeps each about AverageFill() items full
// and none below half full. The item after each page but the last goes up into
// `between`; `below` holds the pages of the level beneath, one more than the items
// (empty for the leaves).
bool BTree::LayOutLevel(std::size_t count, const std::function<Item(std::size_t)>& itemAt,
                        std::span<const std::int32_t> below, std::vector<Item>& between,
                        std::vector<std::int32_t>& pages) {
  const std::size_t pageCount = PagesOnLevel(count);
  const std::size_t onPages = count - (pageCount - 1);
  std::size_t next = 0;
  std::size_t child = 0;
  const auto childOf = [&]() { return below.empty() ? 0 : below[child++]; };
  for (std::size_t p = 0; p < pageCount; ++p) {
    const std::int32_t number = AllocatePage();
    if (number == 0) return false;
    PageBuffer* buffer = Fresh(number);
    if (buffer == nullptr) return false;
    Page& page = buffer->page;
    page.leftChild = childOf();
    const auto items = static_cast<int>(onPages / pageCount + (p < onPages % pageCount ? 1 : 0));
    for (int i = 0; i < items; ++i) {
      page.items[i] = itemAt(next++);
      page.items[i].rightChild = childOf();
    }
    page.itemCount = items;
    pages.push_back(number);
    if (p + 1 < pageCount) between.push_back(itemAt(next++));
  }
  return true;
}

std::size_t BTree::PagesOnLevel(std::size_t items) const {
  if (items <= static_cast<std::size_t>(index_.PageSize())) return 1;
  const std::size_t perPage = static_cast<std::size_t>(AverageFill()) + 1;  // a page and the item after it
  return (items + 1 + perPage - 1) / perPage;
}

// The zero rows of all the pages about to be allocated, written in large blocks rather
// than a row at a time by AllocatePage. Written, not left as a hole: pages written into
// a hole through the mapping would each be read in and zeroed first.
bool BTree::ReserveRows(std::int64_t lastPage) {
  if (lastPage <= file_.rows) return true;
  if (lastPage > INT32_MAX) return Damaged();
  constexpr std::int64_t kBlockBytes = 256 * 1024;
  const std::vector<std::byte> zeros(static_cast<std::size_t>(kBlockBytes));
  const std::int64_t end = (lastPage + 1) * file_.rowLength;
  for (std::int64_t at = (file_.rows + 1) * file_.rowLength; at < end; at += kBlockBytes) {
    const auto size = static_cast<std::size_t>(std::min(kBlockBytes, end - at));
    if (!engine_.WriteBytes(file_.index, file_.indexPath, at, zeros.data(), size)) return false;
  }
  file_.rows = static_cast<std::int32_t>(lastPage);
  return true;
}

// --- Deletion -----------------------------------------------------------------

void BTree::Remove(RecordNumber record, const KeyString& key) {
  PathLevel levels[kMaxDepth];
  int depth = 0;
  int found = -1;
  std::int32_t page = index_.header.rootRef;
  while (page != 0 && found < 0) {
    if (depth == kMaxDepth) return (void)Damaged();
    Probe probe;
    std::int32_t child = 0;
    if (!ProbeOnTheWay(page, key, record, true, probe, child)) return;
    if (probe.matched) found = depth;
    levels[depth++] = {page, probe.high};
    page = child;
  }
  if (found < 0) return engine_.Fail(status::kDeleteKeyNotFound);
  // In an inner page the entry gives way to its in-order predecessor: the last item
  // of the rightmost leaf to its left.
  while (page != 0) {
    if (depth == kMaxDepth) return (void)Damaged();
    const PageBuffer* buffer = Load(page);
    if (buffer == nullptr) return;
    levels[depth++] = {page, buffer->page.itemCount};
    page = buffer->page.Child(buffer->page.itemCount);
  }
  PageBuffer* leaf = Load(levels[depth - 1].page);
  if (leaf == nullptr) return;
  if (depth - 1 == found) {
    EraseItem(leaf->page, levels[found].item);
  } else {
    if (leaf->page.itemCount == 0) return (void)Damaged();
    const Item predecessor = leaf->page.items[leaf->page.itemCount - 1];
    leaf->page.itemCount -= 1;
    leaf->changed = true;
    PageBuffer* holder = Load(levels[found].page);
    if (holder == nullptr) return;
    Item& target = holder->page.items[levels[found].item];
    target.record = predecessor.record;
    target.key = predecessor.key;
    holder->changed = true;
  }
  leaf->changed = true;
  index_.header.numKeys -= 1;
  MarkHeaderChanged();

  for (int level = depth - 1; level > 0; --level) {
    const PageBuffer* buffer = Load(levels[level].page);
    if (buffer == nullptr) return;
    if (buffer->page.itemCount >= index_.PageSize() / 2) break;
    if (!Rebalance(levels[level - 1])) return;
  }
  PageBuffer* root = Load(index_.header.rootRef);
  if (root == nullptr || root->page.itemCount > 0) return;
  const std::int32_t oldRoot = index_.header.rootRef;
  index_.header.rootRef = root->page.leftChild;
  FreePage(oldRoot);
}

// The child at parentLevel.item has too few items: borrow through the parent from
// its sibling (the right one, or the left one for the last child), or merge the two.
bool BTree::Rebalance(const PathLevel& parentLevel) {
  PageBuffer* parentBuffer = Load(parentLevel.page);
  if (parentBuffer == nullptr) return false;
  const int position = parentLevel.item;
  if (parentBuffer->page.itemCount == 0 || position > parentBuffer->page.itemCount) return Damaged();
  const bool siblingOnRight = position < parentBuffer->page.itemCount;
  const int separator = siblingOnRight ? position : position - 1;
  const std::int32_t leftNumber = parentBuffer->page.Child(separator);
  const std::int32_t rightNumber = parentBuffer->page.Child(separator + 1);
  PageBuffer* leftBuffer = Load(leftNumber);
  PageBuffer* rightBuffer = leftBuffer == nullptr ? nullptr : Load(rightNumber);
  parentBuffer = rightBuffer == nullptr ? nullptr : Load(parentLevel.page);
  if (parentBuffer == nullptr) return false;
  Page& parent = parentBuffer->page;
  Page& left = leftBuffer->page;
  Page& right = rightBuffer->page;

  const int siblingCount = siblingOnRight ? right.itemCount : left.itemCount;
  const int moving = (siblingCount - (index_.PageSize() / 2 - 1)) / 2;
  ItemRun& run = Run();
  run.count = 0;
  run.Append(left.items, left.itemCount);
  Item down = parent.items[separator];
  down.rightChild = right.leftChild;
  run.Append(down);
  run.Append(right.items, right.itemCount);
  parentBuffer->changed = leftBuffer->changed = true;
  if (moving >= 1) {
    const int leftCount = siblingOnRight ? left.itemCount + moving : left.itemCount - moving;
    parent.items[separator] = Distribute(left, right, rightNumber, run, leftCount);
    rightBuffer->changed = true;
    return true;
  }
  if (run.count > index_.PageSize()) return Damaged();
  std::copy(run.items, run.items + run.count, left.items);
  left.itemCount = run.count;
  EraseItem(parent, separator);
  return FreePage(rightNumber);
}

// --- Scroll positions ---------------------------------------------------------

std::int32_t BTree::Position(const KeyString& key, RecordNumber record, std::int32_t scale) {
  if (index_.header.rootRef == 0) return engine_.Fail(status::kKeyPositionEmpty), 0;
  const std::int64_t f = AverageFill();
  const PageBuffer* root = Load(index_.header.rootRef);
  if (root == nullptr) return 0;
  const Probe inRoot = SearchPage(root->page, key, record);
  const std::int64_t rootPos = inRoot.matched ? inRoot.high + 1 : inRoot.high;
  const std::int64_t rootCount = root->page.itemCount;
  std::int64_t childPos = 0;
  std::int64_t childCount = f;
  if (!inRoot.matched && !root->page.IsLeaf()) {
    const PageBuffer* child = Load(root->page.Child(inRoot.high));
    if (child == nullptr) return 0;
    const Probe inChild = SearchPage(child->page, key, record);
    childPos = inChild.matched ? inChild.high + 1 : inChild.high;
    if (child->page.itemCount > 0) childCount = child->page.itemCount;
  }
  std::int64_t t = 1;
  if (childPos != 1 || rootPos != 0) {
    const std::int64_t m = childPos * (f + 1) * 2 / childCount;
    t = m + rootPos * (f + 1) - m / 2;
  }
  const std::int64_t result = t * (static_cast<std::int64_t>(scale) + 1) / ((f + 1) * (rootCount + 1));
  return static_cast<std::int32_t>(std::min<std::int64_t>(result, scale));
}

void BTree::AtPosition(std::int32_t position, std::int32_t scale, RecordNumber& record, KeyString& key) {
  if (index_.header.rootRef == 0) return engine_.Fail(status::kKeyAtPositionEmpty);
  const PageBuffer* root = Load(index_.header.rootRef);
  if (root == nullptr) return;
  const std::int64_t f = AverageFill();
  const bool hasChildren = !root->page.IsLeaf();
  const std::int64_t d = hasChildren ? f : 0;
  const std::int64_t rootCount = root->page.itemCount;
  const std::int64_t e = (d + 1) * (rootCount + 1);
  std::int64_t n = e / scale + position * e / (static_cast<std::int64_t>(scale) + 1) - (e / scale) / 2;
  n = std::clamp<std::int64_t>(n, 0, e - 1);
  const auto q = static_cast<int>(n / (d + 1));
  const std::int64_t g = n % (d + 1);
  record = 0;
  key = KeyString();
  if (hasChildren && g != 0) {
    const PageBuffer* child = Load(root->page.Child(std::min<int>(q, root->page.itemCount)));
    if (child == nullptr) return;
    const std::int64_t c = child->page.itemCount;
    const std::int64_t spread = g * c * 2 / d;
    std::int64_t item = (q == 0 && g == 2) ? 2 : std::max<std::int64_t>(1, spread - spread / 2);
    item = std::min(item, c);
    if (item < 1) return (void)Damaged();
    record = child->page.items[item - 1].record;
    key = child->page.items[item - 1].key;
  } else if (q >= 1) {
    const Item& item = root->page.items[std::min<int>(q, root->page.itemCount) - 1];
    record = item.record;
    key = item.key;
  }
}

// --- The public key operations --------------------------------------------------

bool Engine::InsertKey(FileBlock& file, KeyNumber index, RecordNumber number, const KeyString& key) {
  if (key.size() > file.Index(index).keyLength) return Fail(status::kKeyTooLong), false;
  if (!MarkChanged(file)) return false;
  if (file.Index(index).depth > 0) file.Index(index).pathValid = false;
  BTree(*this, file, index).Insert(number, key);
  return Ok();
}

bool Engine::RemoveKey(FileBlock& file, KeyNumber index, RecordNumber number, const KeyString& key) {
  if (!MarkChanged(file)) return false;
  if (file.Index(index).depth > 0) file.Index(index).pathValid = false;
  BTree(*this, file, index).Remove(number, key);
  return Ok();
}

void Engine::AddKey(FileBlock* fileBlock, KeyNumber index, RecordNumber number, const KeyString& key) {
  Operation operation(*this, fileBlock, Access::kWrite, index);
  if (operation) InsertKey(*fileBlock, index, number, key);
}

void Engine::DeleteKey(FileBlock* fileBlock, KeyNumber index, RecordNumber number, const KeyString& key) {
  Operation operation(*this, fileBlock, Access::kWrite, index);
  if (operation) RemoveKey(*fileBlock, index, number, key);
}

void Engine::FindKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key, int mode) {
  Operation operation(*this, fileBlock, Access::kRead, index);
  if (operation) BTree(*this, *fileBlock, index).Find(number, key, mode);
}

void Engine::SearchKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key) {
  Operation operation(*this, fileBlock, Access::kRead, index);
  if (operation) BTree(*this, *fileBlock, index).Search(number, key);
}

void Engine::NextKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key) {
  Operation operation(*this, fileBlock, Access::kRead, index);
  if (operation) BTree(*this, *fileBlock, index).Next(number, key);
}

void Engine::PrevKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key) {
  Operation operation(*this, fileBlock, Access::kRead, index);
  if (operation) BTree(*this, *fileBlock, index).Prev(number, key);
}

std::int32_t Engine::KeysInIndex(FileBlock* fileBlock, KeyNumber index) {
  Operation operation(*this, fileBlock, Access::kRead, index);
  return operation ? fileBlock->Index(index).header.numKeys : 0;
}

std::int32_t Engine::KeyPosition(FileBlock* fileBlock, KeyNumber index, const KeyString& key, RecordNumber number,
                                 std::int32_t scale) {
  Operation operation(*this, fileBlock, Access::kRead, index);
  if (!operation) return 0;
  if (scale <= 0) return Fail(status::kScaleZero), 0;
  return BTree(*this, *fileBlock, index).Position(key, number, scale);
}

void Engine::KeyAtPosition(FileBlock* fileBlock, KeyNumber index, std::int32_t position, std::int32_t scale,
                           RecordNumber& number, KeyString& key) {
  Operation operation(*this, fileBlock, Access::kRead, index);
  if (!operation) return;
  if (scale <= 0 || position < 0 || position > scale) return Fail(status::kPositionOutOfRange);
  BTree(*this, *fileBlock, index).AtPosition(position, scale, number, key);
}

}  // namespace engine
