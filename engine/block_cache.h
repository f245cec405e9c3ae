// Blocks of data files kept in memory for reading.
//
// Neighbouring records are often read together (a walk in date order meets records
// stored side by side), so once a read falls into the block of the previous miss or
// next to it, the whole aligned block is kept; so is any block while there is room,
// which holds a small file whole. Once the cache is full a read elsewhere takes just
// the bytes asked for: a random lookup gains nothing from a block and would push out
// useful ones. Every write still goes to the disk at once; the cache only keeps its copies
// in step, so what is on disk never depends on it. Files are told apart by the
// identity OsFile gives each opening.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

#include "engine/os_file.h"

namespace engine {

class BlockCache {
 public:
  static constexpr std::int64_t kBlockSize = 16384;

  explicit BlockCache(std::size_t limitBytes);

  // Like OsFile::ReadAt: 0 or the error number, `done` short at the end of the file.
  int Read(const OsFile& file, std::int64_t offset, void* bytes, std::size_t size, std::size_t& done);
  // Brings the cached blocks in step with a write that has reached the disk.
  void Wrote(const OsFile& file, std::int64_t offset, const void* bytes, std::size_t size);
  void Forget(const OsFile& file);

 private:
  struct Key {
    std::uint64_t file = 0;
    std::int64_t block = 0;
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return static_cast<std::size_t>(key.file * 0x9E3779B97F4A7C15ULL) ^ static_cast<std::size_t>(key.block);
    }
  };
  struct Block {
    Key key;
    std::size_t valid = 0;  // bytes that exist in the file; fewer only in the last block
    std::vector<std::byte> bytes;
  };
  using BlockList = std::list<Block>;  // least recently used first

  Block* Find(const Key& key);
  Block* Load(const OsFile& file, const Key& key, int& error);
  bool WorthKeeping(const Key& key);

  std::size_t capacity_;  // in blocks
  Key lastMiss_{0, -2};
  BlockList blocks_;
  std::unordered_map<Key, BlockList::iterator, KeyHash> index_;
};

}  // namespace engine
