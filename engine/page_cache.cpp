#include "engine/page_cache.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <functional>

#include "engine/file_block.h"

namespace engine {

namespace {

// What a packed page costs beyond its bytes: its list node and its index entry.
constexpr std::size_t kPackedOverhead = 96;

std::size_t Cost(std::size_t bytes) { return bytes + kPackedOverhead; }

// Pages of one index differ in their numbers, and the indexes of a file in their
// numbers, so these bits tell most keys in the ring apart.
std::uint32_t Digest(const PageKey& key) {
  return static_cast<std::uint32_t>(key.number) ^ (static_cast<std::uint32_t>(key.index) << 26);
}

// Enough spare entries to spare the allocator in steady use, few enough that the
// memory they keep does not matter.
constexpr std::size_t kSpareEntries = 64;

// An item in memory begins as a packed item does: RecordNumber, RightChild, the key's
// length byte and its bytes, all little-endian. So an item moves between the two
// forms as one fixed-size copy, the key's unused tail masked to zero on the way in.
static_assert(std::endian::native == std::endian::little);
static_assert(offsetof(Item, record) == 0 && offsetof(Item, rightChild) == 4 && offsetof(Item, key) == 8);
static_assert(sizeof(KeyString) == 1 + KeyString::kMaxLength);
constexpr std::size_t kItemBytes = sizeof(Item);

}  // namespace

std::size_t PageCache::KeyHash::operator()(const PageKey& key) const {
  const std::size_t file = std::hash<const void*>()(key.file);
  return file ^ (static_cast<std::size_t>(key.index) * 0x9E3779B97F4A7C15ULL) ^
         (static_cast<std::size_t>(key.number) << 7);
}

PageCache::PageCache(Engine& engine, int buffers, std::size_t packedBytes)
    : engine_(engine),
      buffers_(static_cast<std::size_t>(buffers)),
      keys_(static_cast<std::size_t>(buffers)),
      digests_(static_cast<std::size_t>(buffers), Digest({})),
      // Room past the longest page for the last item's whole-item copy in Pack.
      scratch_(static_cast<std::size_t>(format::PageLength(KeyString::kMaxLength)) + kItemBytes),
      packedLimit_(packedBytes) {
  lastUse_.assign(buffers_.size(), 0);
}

// --- The ring -------------------------------------------------------------------

PageBuffer* PageCache::Fetch(FileBlock& file, KeyNumber index, std::int32_t number) {
  const PageKey key{&file, index, number};
  if (PageBuffer* hit = Find(key)) return hit;
  return Bring(file, key);
}

// A page the ring does not hold, read into its least recently used buffer.
PageBuffer* PageCache::Bring(FileBlock& file, const PageKey& key) {
  PageBuffer* buffer = TakeLeastRecent();
  if (buffer == nullptr || !Load(file, key, *buffer)) return nullptr;
  SetKey(*buffer, key);
  return buffer;
}

PageBuffer* PageCache::Fresh(FileBlock& file, KeyNumber index, std::int32_t number) {
  const PageKey key{&file, index, number};
  Drop(file, index, number);
  PageBuffer* buffer = TakeLeastRecent();
  if (buffer == nullptr) return nullptr;
  SetKey(*buffer, key);
  buffer->changed = true;
  buffer->page.itemCount = 0;
  buffer->page.leftChild = 0;
  return buffer;
}

void PageCache::Drop(FileBlock& file, KeyNumber index, std::int32_t number) {
  const PageKey key{&file, index, number};
  if (PageBuffer* buffer = Find(key)) Empty(*buffer);
  if (const auto found = packedIndex_.find(key); found != packedIndex_.end()) Forget(found->second);
}

bool PageCache::FlushFile(FileBlock& file) {
  bool written = true;
  for (PageBuffer& buffer : buffers_) {
    if (KeyOf(buffer).file != &file) continue;
    if (buffer.changed && !Write(KeyOf(buffer), scratch_.data(), Pack(buffer))) written = false;
    Empty(buffer);
  }
  if (!WriteBack(&file)) written = false;
  // What could not be written is lost with the file's closing; writeFailed tells.
  for (auto entry = packed_.begin(); entry != packed_.end();) {
    const auto next = std::next(entry);
    if (entry->key.file == &file) Forget(entry);
    entry = next;
  }
  return written;
}

PageBuffer* PageCache::Find(const PageKey& key) {
  const std::uint32_t digest = Digest(key);
  for (std::size_t slot = 0; slot < digests_.size(); ++slot) {
    if (digests_[slot] == digest && keys_[slot] == key) {
      lastUse_[slot] = ++clock_;
      return &buffers_[slot];
    }
  }
  return nullptr;
}

// An empty buffer is the first to be taken.
void PageCache::Empty(PageBuffer& buffer) {
  SetKey(buffer, {});
  buffer.changed = false;
  lastUse_[SlotOf(buffer)] = 0;
}

void PageCache::SetKey(const PageBuffer& buffer, const PageKey& key) {
  keys_[SlotOf(buffer)] = key;
  digests_[SlotOf(buffer)] = Digest(key);
}

const PageKey& PageCache::KeyOf(const PageBuffer& buffer) const { return keys_[SlotOf(buffer)]; }

std::size_t PageCache::SlotOf(const PageBuffer& buffer) const {
  return static_cast<std::size_t>(&buffer - buffers_.data());
}

PageBuffer* PageCache::TakeLeastRecent() {
  const auto slot = static_cast<std::size_t>(std::min_element(lastUse_.begin(), lastUse_.end()) - lastUse_.begin());
  PageBuffer& buffer = buffers_[slot];
  if (KeyOf(buffer).file != nullptr && !Park(buffer)) return nullptr;
  Empty(buffer);
  lastUse_[slot] = ++clock_;
  return &buffer;
}

// From the packed pages when it waits there, else from the index file.
bool PageCache::Load(FileBlock& file, const PageKey& key, PageBuffer& buffer) {
  if (const auto found = packedIndex_.find(key); found != packedIndex_.end()) {
    const Packed& entry = *found->second;
    buffer.changed = true;
    const bool expanded = Expand(entry.bytes.data(), entry.bytes.size(), key, buffer.page);
    Forget(found->second);
    return expanded;
  }
  // Only the used part: the rest of a page is never looked at.
  int items = 0;
  std::size_t size = 0;
  if (!ReadHeader(file, key, items) || !ReadItems(file, key, items, size)) return false;
  buffer.changed = false;
  return Expand(scratch_.data(), size, key, buffer.page);
}

// Reads a page's header into scratch_; items is its count, cut to the page size.
bool PageCache::ReadHeader(FileBlock& file, const PageKey& key, int& items) {
  const std::int64_t offset = file.PageOffset(key.index, key.number);
  if (!engine_.ReadBytes(file.index, file.indexPath, offset, scratch_.data(), format::kPageHeaderSize)) return false;
  items = std::min<int>(format::LoadUint16(scratch_.data()), file.Index(key.index).PageSize());
  return true;
}

// Reads the items after the header already in scratch_; size is the bytes of both.
bool PageCache::ReadItems(FileBlock& file, const PageKey& key, int items, std::size_t& size) {
  const auto rest = static_cast<std::size_t>(items * format::ItemSize(file.Index(key.index).keyLength));
  const std::int64_t offset = file.PageOffset(key.index, key.number) + format::kPageHeaderSize;
  size = format::kPageHeaderSize + rest;
  return engine_.ReadBytes(file.index, file.indexPath, offset, scratch_.data() + format::kPageHeaderSize, rest);
}

// An inner page is searched where it lies, so the ring keeps its buffers for the
// leaves that are read on in or changed.
bool PageCache::View(FileBlock& file, KeyNumber index, std::int32_t number, bool leafToRing, PageView& view) {
  const PageKey key{&file, index, number};
  PageBuffer* buffer = Find(key);
  if (buffer == nullptr) {
    const auto whereLies = [&](const std::byte* bytes) { return !leafToRing || format::LoadInt32(bytes + 2) != 0; };
    if (const auto found = packedIndex_.find(key); found != packedIndex_.end()) {
      const Packed& entry = *found->second;
      if (whereLies(entry.bytes.data())) return ViewBytes(key, entry.bytes.data(), entry.bytes.size(), view);
    } else {
      int items = 0;
      std::size_t size = 0;
      if (!ReadHeader(file, key, items)) return false;
      if (whereLies(scratch_.data())) {
        return ReadItems(file, key, items, size) && ViewBytes(key, scratch_.data(), size, view);
      }
    }
    buffer = Bring(file, key);
    if (buffer == nullptr) return false;
  }
  view = {&buffer->page, nullptr, buffer->page.itemCount, buffer->page.leftChild};
  return true;
}

// Checks the count against the page size and the bytes; each key's length is checked
// by the search that reads it.
bool PageCache::ViewBytes(const PageKey& key, const std::byte* bytes, std::size_t size, PageView& view) {
  const IndexState& index = key.file->Index(key.index);
  const int count = format::LoadUint16(bytes);
  if (count > index.PageSize() ||
      static_cast<std::size_t>(format::kPageHeaderSize + count * format::ItemSize(index.keyLength)) > size) {
    engine_.Fail(status::kIndexDamaged);
    return false;
  }
  view = {nullptr, bytes, count, format::LoadInt32(bytes + 2)};
  return true;
}

// --- The packed pages -------------------------------------------------------------

// Moves a changed page out of the ring into the packed pages; when they outgrow their
// memory, every one of them is written back.
bool PageCache::Park(PageBuffer& buffer) {
  if (!buffer.changed) return true;
  const std::size_t size = Pack(buffer);
  if (Cost(size) > packedLimit_) return Write(KeyOf(buffer), scratch_.data(), size);
  if (spare_.empty()) spare_.emplace_back();
  packed_.splice(packed_.end(), spare_, spare_.begin());
  const auto entry = std::prev(packed_.end());
  entry->key = KeyOf(buffer);
  entry->bytes.assign(scratch_.begin(), scratch_.begin() + static_cast<std::ptrdiff_t>(size));
  packedInUse_ += Cost(entry->bytes.capacity());
  packedIndex_[KeyOf(buffer)] = entry;
  if (packedInUse_ <= packedLimit_ || WriteBack(nullptr)) return true;
  if (packedIndex_.contains(KeyOf(buffer))) Forget(entry);  // the page stays in its buffer, changed
  return false;
}

// Writes the packed pages of one file, or of every file, in file order, and forgets
// each one written. Stops at the first failed write, keeping the pages not written.
bool PageCache::WriteBack(FileBlock* onlyFile) {
  std::vector<PackedList::iterator> waiting;
  waiting.reserve(packed_.size());
  for (auto entry = packed_.begin(); entry != packed_.end(); ++entry)
    if (onlyFile == nullptr || entry->key.file == onlyFile) waiting.push_back(entry);
  std::sort(waiting.begin(), waiting.end(), [](PackedList::iterator a, PackedList::iterator b) {
    if (a->key.file != b->key.file) return std::less<>()(a->key.file, b->key.file);
    return a->Offset() < b->Offset();
  });
  for (const PackedList::iterator entry : waiting) {
    if (!Write(entry->key, entry->bytes.data(), entry->bytes.size())) return false;
    Forget(entry);
  }
  return true;
}

std::int64_t PageCache::Packed::Offset() const { return key.file->PageOffset(key.index, key.number); }

// Keeps the entry's memory for reuse, counted no longer.
void PageCache::Forget(PackedList::iterator entry) {
  packedInUse_ -= Cost(entry->bytes.capacity());
  packedIndex_.erase(entry->key);
  if (spare_.size() < kSpareEntries) {
    spare_.splice(spare_.end(), packed_, entry);
  } else {
    packed_.erase(entry);
  }
}

// Packs a buffer into scratch_ and returns the number of bytes used.
std::size_t PageCache::Pack(const PageBuffer& buffer) {
  const PageKey& key = KeyOf(buffer);
  const IndexState& index = key.file->indexes[static_cast<std::size_t>(key.index - 1)];
  const Page& page = buffer.page;
  const auto itemSize = static_cast<std::size_t>(format::ItemSize(index.keyLength));
  std::byte* out = scratch_.data();
  format::StoreUint16(out, static_cast<std::uint16_t>(page.itemCount));
  format::StoreInt32(out + 2, page.leftChild);
  // Each whole-item copy runs over into the next item's place, which that item then
  // overwrites; the last one's overrun lies past the used part, in scratch_'s spare room.
  std::byte* item = out + format::kPageHeaderSize;
  for (int i = 0; i < page.itemCount; ++i, item += itemSize) std::memcpy(item, &page.items[i], kItemBytes);
  return static_cast<std::size_t>(format::kPageHeaderSize) + static_cast<std::size_t>(page.itemCount) * itemSize;
}

// Never trusts the bytes: a count or key length beyond the index's limits is damage.
bool PageCache::Expand(const std::byte* bytes, std::size_t size, const PageKey& key, Page& page) {
  const IndexState& index = key.file->indexes[static_cast<std::size_t>(key.index - 1)];
  const int itemSize = format::ItemSize(index.keyLength);
  const int count = format::LoadUint16(bytes);
  if (count > index.PageSize() ||
      static_cast<std::size_t>(format::kPageHeaderSize + count * itemSize) > size) {
    engine_.Fail(status::kIndexDamaged);
    return false;
  }
  for (int i = 0; i < count; ++i) {
    if (std::to_integer<int>(bytes[format::kPageHeaderSize + i * itemSize + 8]) > index.keyLength) {
      engine_.Fail(status::kIndexDamaged);
      return false;
    }
  }
  page.itemCount = count;
  page.leftChild = format::LoadInt32(bytes + 2);
  std::array<std::byte, kItemBytes> mask{};
  std::fill_n(mask.begin(), itemSize, std::byte{0xFF});
  const std::byte* item = bytes + format::kPageHeaderSize;
  const std::byte* end = bytes + size;
  for (int i = 0; i < count; ++i, item += itemSize) {
    std::array<std::byte, kItemBytes> whole{};
    if (end - item >= static_cast<std::ptrdiff_t>(kItemBytes)) {
      std::memcpy(whole.data(), item, kItemBytes);
      for (std::size_t b = 0; b < kItemBytes; ++b) whole[b] &= mask[b];
    } else {
      std::memcpy(whole.data(), item, static_cast<std::size_t>(itemSize));
    }
    std::memcpy(&page.items[i], whole.data(), kItemBytes);
  }
  return true;
}

bool PageCache::Write(const PageKey& key, const std::byte* bytes, std::size_t size) {
  FileBlock& file = *key.file;
  if (engine_.WriteBytes(file.index, file.indexPath, file.PageOffset(key.index, key.number), bytes, size))
    return true;
  file.writeFailed = true;
  return false;
}

}  // namespace engine
