#include "engine/block_cache.h"

#include <algorithm>
#include <cstring>

namespace engine {

BlockCache::BlockCache(std::size_t limitBytes) : capacity_(limitBytes / static_cast<std::size_t>(kBlockSize)) {}

int BlockCache::Read(const OsFile& file, std::int64_t offset, void* bytes, std::size_t size, std::size_t& done) {
  done = 0;
  auto* out = static_cast<std::byte*>(bytes);
  while (done < size) {
    const std::int64_t at = offset + static_cast<std::int64_t>(done);
    const Key key{file.Identity(), at / kBlockSize};
    const Block* block = Find(key);
    if (block == nullptr && !WorthKeeping(key)) {
      std::size_t direct = 0;
      const int error = file.ReadAt(at, out + done, size - done, direct);
      done += direct;
      return error;
    }
    int error = 0;
    if (block == nullptr) block = Load(file, key, error);
    if (block == nullptr) return error;
    const auto within = static_cast<std::size_t>(at % kBlockSize);
    if (within >= block->valid) break;  // the end of the file
    const std::size_t take = std::min(size - done, block->valid - within);
    std::memcpy(out + done, block->bytes.data() + within, take);
    done += take;
    if (block->valid < static_cast<std::size_t>(kBlockSize)) break;
  }
  return 0;
}

void BlockCache::Wrote(const OsFile& file, std::int64_t offset, const void* bytes, std::size_t size) {
  const auto* in = static_cast<const std::byte*>(bytes);
  const std::int64_t end = offset + static_cast<std::int64_t>(size);
  for (std::int64_t number = offset / kBlockSize; number * kBlockSize < end; ++number) {
    const auto found = index_.find({file.Identity(), number});
    if (found == index_.end()) continue;
    Block& block = *found->second;
    const std::int64_t start = number * kBlockSize;
    const std::int64_t from = std::max(offset, start);
    const std::int64_t to = std::min(end, start + kBlockSize);
    const auto within = static_cast<std::size_t>(from - start);
    if (within > block.valid) {  // past a gap the file has no bytes of ours: read it afresh later
      blocks_.erase(found->second);
      index_.erase(found);
      continue;
    }
    std::memcpy(block.bytes.data() + within, in + (from - offset), static_cast<std::size_t>(to - from));
    block.valid = std::max(block.valid, static_cast<std::size_t>(to - start));
  }
}

void BlockCache::Forget(const OsFile& file) {
  const std::uint64_t identity = file.Identity();
  std::erase_if(blocks_, [&](const Block& block) {
    if (block.key.file != identity) return false;
    index_.erase(block.key);
    return true;
  });
}

// Finds a block and makes it the most recently used.
BlockCache::Block* BlockCache::Find(const Key& key) {
  if (!blocks_.empty() && blocks_.back().key == key) return &blocks_.back();  // a walk stays in its block
  const auto found = index_.find(key);
  if (found == index_.end()) return nullptr;
  blocks_.splice(blocks_.end(), blocks_, found->second);
  return &blocks_.back();
}

bool BlockCache::WorthKeeping(const Key& key) {
  const bool follows =
      key.file == lastMiss_.file && key.block >= lastMiss_.block - 1 && key.block <= lastMiss_.block + 1;
  lastMiss_ = key;
  return capacity_ > 0 && (follows || blocks_.size() < capacity_);
}

// Reuses the least recently used block once the cache is full.
BlockCache::Block* BlockCache::Load(const OsFile& file, const Key& key, int& error) {
  if (blocks_.size() >= capacity_) {
    index_.erase(blocks_.front().key);
    blocks_.splice(blocks_.end(), blocks_, blocks_.begin());
  } else {
    blocks_.emplace_back().bytes.resize(static_cast<std::size_t>(kBlockSize));
  }
  Block& block = blocks_.back();
  block.key = key;
  error = file.ReadAt(key.block * kBlockSize, block.bytes.data(), block.bytes.size(), block.valid);
  if (error != 0) {
    blocks_.pop_back();
    return nullptr;
  }
  index_[key] = std::prev(blocks_.end());
  return &block;
}

}  // namespace engine
