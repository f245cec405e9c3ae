// The ring of page buffers shared by every open file set.
//
// Pages are held expanded in the ring, with room for 62 items of the longest key, so
// one set of routines serves every index; they are packed to their index's key length
// when they leave it. A lookup scans the keys of all the buffers; a miss takes the
// least recently used one. A page pushed out unchanged is simply forgotten: reading it
// again costs no more than a copy out of the file's mapping. A changed one is written
// as it leaves: a copy into the mapping, which the system writes to disk in its own
// time, so holding changed pages back to write them together gains nothing.
//
// Invariant relied on by the B-tree: a buffer is only reused when it is the least
// recently used, so with at least 8 buffers the last 7 pages fetched stay where they
// are. No B-tree step holds more than 4 pages at once.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/engine.h"
#include "engine/file_format.h"
#include "engine/key_string.h"

namespace engine {

struct FileBlock;
struct IndexState;

struct Item {
  RecordNumber record = 0;
  std::int32_t rightChild = 0;
  KeyString key;
};

struct Page {
  int itemCount = 0;
  std::int32_t leftChild = 0;
  Item items[format::kPageSize];

  // Child to the left of item i+1: LeftChild for 0, else item i's RightChild.
  std::int32_t Child(int position) const {
    return position == 0 ? leftChild : items[position - 1].rightChild;
  }
  bool IsLeaf() const { return leftChild == 0; }
};

struct PageKey {
  FileBlock* file = nullptr;
  KeyNumber index = 0;
  std::int32_t number = 0;
  friend bool operator==(const PageKey&, const PageKey&) = default;
};

struct PageBuffer {  // its key is kept by the cache, beside the other buffers' keys
  bool changed = false;
  Page page;
};

// A page read by a search, searched where it lies instead of taking a buffer: its
// buffer's page when the ring holds it, else its bytes as on disk, valid until the
// cache's next call.
struct PageView {
  const Page* page = nullptr;
  const std::byte* bytes = nullptr;  // the used part: header, then itemCount items
  int itemCount = 0;
  std::int32_t leftChild = 0;
};

class PageCache {
 public:
  PageCache(Engine& engine, int buffers);

  int size() const { return static_cast<int>(buffers_.size()); }

  // The page, read on a miss; nullptr with the engine status set when it cannot be
  // read or is damaged.
  PageBuffer* Fetch(FileBlock& file, KeyNumber index, std::int32_t number);
  // The page for a search; false with the engine status set when it cannot be read
  // or is damaged. A leaf is taken into the ring when `leafToRing`: when it is to be
  // changed, or read on in.
  bool View(FileBlock& file, KeyNumber index, std::int32_t number, bool leafToRing, PageView& view);
  // A buffer for a page just allocated: empty, marked changed, nothing read.
  PageBuffer* Fresh(FileBlock& file, KeyNumber index, std::int32_t number);
  // Forgets a freed page without writing it.
  void Drop(FileBlock& file, KeyNumber index, std::int32_t number);
  // Writes every changed page of the file and forgets all its pages; false on a failed write.
  bool FlushFile(FileBlock& file);

 private:
  PageBuffer* Find(const PageKey& key);
  PageBuffer* Bring(FileBlock& file, const PageKey& key);
  void Empty(PageBuffer& buffer);
  bool WriteOut(const PageBuffer& buffer);
  void SetKey(const PageBuffer& buffer, const PageKey& key);
  const PageKey& KeyOf(const PageBuffer& buffer) const;
  std::size_t SlotOf(const PageBuffer& buffer) const;
  PageBuffer* TakeLeastRecent();
  bool Load(FileBlock& file, const PageKey& key, PageBuffer& buffer);
  bool ReadHeader(FileBlock& file, const PageKey& key, int& items);
  bool ReadItems(FileBlock& file, const PageKey& key, int items, std::size_t& size);
  bool ViewBytes(const PageKey& key, const std::byte* bytes, std::size_t size, PageView& view);
  bool CountFits(const IndexState& index, const std::byte* bytes, std::size_t size, int& count);

  std::size_t Pack(const PageBuffer& buffer);
  bool Expand(const std::byte* bytes, std::size_t size, const PageKey& key, Page& page);
  bool Write(const PageKey& key, const std::byte* bytes, std::size_t size);

  Engine& engine_;
  std::vector<PageBuffer> buffers_;
  // The key of each buffer, by slot, and a 32-bit digest of it, side by side: a
  // lookup scans the digests, a few cache lines, and compares a whole key only where
  // its digest matches.
  std::vector<PageKey> keys_;
  std::vector<std::uint32_t> digests_;
  // When each buffer was last used, by slot: the least recent is the smallest. An
  // empty buffer has 0 and is taken first.
  std::vector<std::uint64_t> lastUse_;
  std::uint64_t clock_ = 0;
  std::vector<std::byte> scratch_;
};

}  // namespace engine
