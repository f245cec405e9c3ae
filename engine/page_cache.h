// The ring of page buffers shared by every open file set.
//
// Pages are held expanded, with room for 62 items of the longest key, so one set of
// routines serves every index; they are packed to their index's key length when
// written. Lookups go from the most recently used buffer backwards; a miss takes the
// least recently used one, writing its page first if it was changed.
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

struct PageBuffer {
  FileBlock* owner = nullptr;
  KeyNumber index = 0;
  std::int32_t number = 0;
  bool changed = false;
  Page page;
};

class PageCache {
 public:
  PageCache(Engine& engine, int buffers);

  int size() const { return static_cast<int>(buffers_.size()); }

  // The page, read on a miss; nullptr with the engine status set when it cannot be
  // read or is damaged.
  PageBuffer* Fetch(FileBlock& file, KeyNumber index, std::int32_t number);
  // A buffer for a page just allocated: empty, marked changed, nothing read.
  PageBuffer* Fresh(FileBlock& file, KeyNumber index, std::int32_t number);
  void Drop(FileBlock& file, KeyNumber index, std::int32_t number);
  // Writes every changed page of the file and drops its buffers; false on a failed write.
  bool FlushFile(FileBlock& file);

 private:
  PageBuffer* Find(const FileBlock& file, KeyNumber index, std::int32_t number);
  PageBuffer* TakeLeastRecent();
  void MakeMostRecent(int slot);
  bool Write(PageBuffer& buffer);
  bool Read(FileBlock& file, KeyNumber index, std::int32_t number, Page& page);

  Engine& engine_;
  std::vector<PageBuffer> buffers_;
  std::vector<int> order_;  // buffer slots, least recently used first
  std::vector<std::byte> packed_;
};

}  // namespace engine
