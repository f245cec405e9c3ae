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

// Pages of one index differ in their numbers, and the indexes of a file in their
// numbers, so these bits tell most keys in the ring apart.
std::uint32_t Digest(const PageKey& key) {
  return static_cast<std::uint32_t>(key.number) ^ (static_cast<std::uint32_t>(key.index) << 26);
}

// An item in memory begins as a packed item does: RecordNumber, RightChild, the key's
// length byte and its bytes, all little-endian. So an item moves between the two
// forms as one fixed-size copy, the key's unused tail masked to zero on the way in.
static_assert(std::endian::native == std::endian::little);
static_assert(offsetof(Item, record) == 0 && offsetof(Item, rightChild) == 4 && offsetof(Item, key) == 8);
static_assert(sizeof(KeyString) == 1 + KeyString::kMaxLength);
constexpr std::size_t kItemBytes = sizeof(Item);

}  // namespace

PageCache::PageCache(Engine& engine, int buffers)
    : engine_(engine),
      buffers_(static_cast<std::size_t>(buffers)),
      keys_(static_cast<std::size_t>(buffers)),
      digests_(static_cast<std::size_t>(buffers), Digest({})),
      // Room past the longest page for the last item's whole-item copy in Pack.
      lastUse_(static_cast<std::size_t>(buffers), 0),
      scratch_(static_cast<std::size_t>(format::PageLength(KeyString::kMaxLength)) + kItemBytes) {}

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
}

bool PageCache::FlushFile(FileBlock& file) {
  bool written = true;
  for (PageBuffer& buffer : buffers_) {
    if (KeyOf(buffer).file != &file) continue;
    // What could not be written is lost with the file's closing; writeFailed tells.
    if (!WriteOut(buffer)) written = false;
    Empty(buffer);
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
  if (KeyOf(buffer).file != nullptr && !WriteOut(buffer)) return nullptr;  // it stays, changed
  Empty(buffer);
  lastUse_[slot] = ++clock_;
  return &buffer;
}

// Only the used part: the rest of a page is never looked at.
bool PageCache::Load(FileBlock& file, const PageKey& key, PageBuffer& buffer) {
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
    int items = 0;
    std::size_t size = 0;
    if (!ReadHeader(file, key, items)) return false;
    if (!leafToRing || format::LoadInt32(scratch_.data() + 2) != 0) {
      return ReadItems(file, key, items, size) && ViewBytes(key, scratch_.data(), size, view);
    }
    buffer = Bring(file, key);
    if (buffer == nullptr) return false;
  }
  view = {&buffer->page, nullptr, buffer->page.itemCount, buffer->page.leftChild};
  return true;
}

// Each key's length is checked by the search that reads it.
bool PageCache::ViewBytes(const PageKey& key, const std::byte* bytes, std::size_t size, PageView& view) {
  int count = 0;
  if (!CountFits(key.file->Index(key.index), bytes, size, count)) return false;
  view = {nullptr, bytes, count, format::LoadInt32(bytes + 2)};
  return true;
}

// Never trusts the bytes: a count beyond the page size or the bytes read is damage.
bool PageCache::CountFits(const IndexState& index, const std::byte* bytes, std::size_t size, int& count) {
  count = format::LoadUint16(bytes);
  if (count <= index.PageSize() &&
      static_cast<std::size_t>(format::kPageHeaderSize + count * format::ItemSize(index.keyLength)) <= size)
    return true;
  engine_.Fail(status::kIndexDamaged);
  return false;
}

// --- Packing and writing ---------------------------------------------------------

// Writes a changed page; an unchanged one needs nothing.
bool PageCache::WriteOut(const PageBuffer& buffer) {
  return !buffer.changed || Write(KeyOf(buffer), scratch_.data(), Pack(buffer));
}

// Packs a buffer into scratch_ and returns the number of bytes used.
std::size_t PageCache::Pack(const PageBuffer& buffer) {
  const PageKey& key = KeyOf(buffer);
  const IndexState& index = key.file->Index(key.index);
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

// A key length beyond the index's is damage, as is a count CountFits refuses.
bool PageCache::Expand(const std::byte* bytes, std::size_t size, const PageKey& key, Page& page) {
  const IndexState& index = key.file->Index(key.index);
  const int itemSize = format::ItemSize(index.keyLength);
  int count = 0;
  if (!CountFits(index, bytes, size, count)) return false;
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
