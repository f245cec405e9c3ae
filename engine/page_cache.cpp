#include "engine/page_cache.h"

#include <algorithm>

#include "engine/file_block.h"

namespace engine {

PageCache::PageCache(Engine& engine, int buffers)
    : engine_(engine),
      buffers_(static_cast<std::size_t>(buffers)),
      packed_(static_cast<std::size_t>(format::PageLength(KeyString::kMaxLength))) {
  order_.reserve(buffers_.size());
  for (int slot = 0; slot < buffers; ++slot) order_.push_back(slot);
}

PageBuffer* PageCache::Fetch(FileBlock& file, KeyNumber index, std::int32_t number) {
  if (PageBuffer* hit = Find(file, index, number)) return hit;
  PageBuffer* buffer = TakeLeastRecent();
  if (buffer == nullptr) return nullptr;
  if (!Read(file, index, number, buffer->page)) return nullptr;
  buffer->owner = &file;
  buffer->index = index;
  buffer->number = number;
  buffer->changed = false;
  return buffer;
}

PageBuffer* PageCache::Fresh(FileBlock& file, KeyNumber index, std::int32_t number) {
  PageBuffer* buffer = Find(file, index, number);
  if (buffer == nullptr) buffer = TakeLeastRecent();
  if (buffer == nullptr) return nullptr;
  buffer->owner = &file;
  buffer->index = index;
  buffer->number = number;
  buffer->changed = true;
  buffer->page.itemCount = 0;
  buffer->page.leftChild = 0;
  return buffer;
}

void PageCache::Drop(FileBlock& file, KeyNumber index, std::int32_t number) {
  if (PageBuffer* buffer = Find(file, index, number)) {
    buffer->owner = nullptr;
    buffer->changed = false;
  }
}

bool PageCache::FlushFile(FileBlock& file) {
  bool written = true;
  for (PageBuffer& buffer : buffers_) {
    if (buffer.owner != &file) continue;
    if (buffer.changed && !Write(buffer)) written = false;
    buffer.owner = nullptr;
    buffer.changed = false;
  }
  return written;
}

PageBuffer* PageCache::Find(const FileBlock& file, KeyNumber index, std::int32_t number) {
  for (auto position = order_.size(); position-- > 0;) {
    PageBuffer& buffer = buffers_[static_cast<std::size_t>(order_[position])];
    if (buffer.owner == &file && buffer.number == number && buffer.index == index) {
      MakeMostRecent(static_cast<int>(position));
      return &buffer;
    }
  }
  return nullptr;
}

PageBuffer* PageCache::TakeLeastRecent() {
  PageBuffer& buffer = buffers_[static_cast<std::size_t>(order_.front())];
  if (buffer.owner != nullptr && buffer.changed && !Write(buffer)) return nullptr;
  buffer.owner = nullptr;
  buffer.changed = false;
  MakeMostRecent(0);
  return &buffer;
}

void PageCache::MakeMostRecent(int position) {
  const auto from = order_.begin() + position;
  std::rotate(from, from + 1, order_.end());
}

bool PageCache::Write(PageBuffer& buffer) {
  FileBlock& file = *buffer.owner;
  const IndexState& index = file.Index(buffer.index);
  const Page& page = buffer.page;
  const int itemSize = format::ItemSize(index.keyLength);
  std::byte* out = packed_.data();
  format::StoreUint16(out, static_cast<std::uint16_t>(page.itemCount));
  format::StoreInt32(out + 2, page.leftChild);
  for (int i = 0; i < page.itemCount; ++i) {
    std::byte* item = out + format::kPageHeaderSize + i * itemSize;
    format::StoreInt32(item, page.items[i].record);
    format::StoreInt32(item + 4, page.items[i].rightChild);
    item[8] = static_cast<std::byte>(page.items[i].key.size());
    std::memcpy(item + 9, page.items[i].key.data(), static_cast<std::size_t>(index.keyLength));
  }
  const auto size = static_cast<std::size_t>(format::kPageHeaderSize + page.itemCount * itemSize);
  std::size_t done = 0;
  if (const int error = file.index.WriteAt(file.PageOffset(buffer.index, buffer.number), out, size, done)) {
    engine_.FailOs(error, FileFunction::kWrite, file.indexPath);
    return false;
  }
  if (done != size) {
    engine_.Fail(status::kShortWrite);
    return false;
  }
  buffer.changed = false;
  return true;
}

bool PageCache::Read(FileBlock& file, KeyNumber index, std::int32_t number, Page& page) {
  const IndexState& state = file.Index(index);
  const auto size = static_cast<std::size_t>(state.PageLength());
  std::size_t done = 0;
  if (const int error = file.index.ReadAt(file.PageOffset(index, number), packed_.data(), size, done)) {
    engine_.FailOs(error, FileFunction::kRead, file.indexPath);
    return false;
  }
  if (done != size) {
    engine_.Fail(status::kShortRead);
    return false;
  }
  const std::byte* in = packed_.data();
  const int count = format::LoadUint16(in);
  if (count > state.PageSize()) {
    engine_.Fail(status::kIndexDamaged);
    return false;
  }
  const int itemSize = format::ItemSize(state.keyLength);
  page.itemCount = count;
  page.leftChild = format::LoadInt32(in + 2);
  for (int i = 0; i < count; ++i) {
    const std::byte* item = in + format::kPageHeaderSize + i * itemSize;
    const int keyLength = std::to_integer<int>(item[8]);
    if (keyLength > state.keyLength) {
      engine_.Fail(status::kIndexDamaged);
      return false;
    }
    page.items[i].record = format::LoadInt32(item);
    page.items[i].rightChild = format::LoadInt32(item + 4);
    page.items[i].key.Assign(reinterpret_cast<const char*>(item + 9), static_cast<std::size_t>(keyLength));
  }
  return true;
}

}  // namespace engine
