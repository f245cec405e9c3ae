// The record operations of the data file: slots, the free chain and record scans.
#include <bit>

#include "engine/engine.h"
#include "engine/file_block.h"
#include "engine/operation.h"

namespace engine {

namespace {

using Access = Operation::Access;

bool InRecords(const FileBlock& file, RecordNumber number) {
  return number >= 1 && number <= file.header.numRec;
}

int BitLength(std::int64_t value) { return std::bit_width(static_cast<std::uint64_t>(value < 0 ? -value : value)); }

// a * b / c in 32-bit arithmetic: when the product would need more than 31 bits, b
// and c are shifted right together by the excess, trading precision for range.
std::int32_t ScaledProduct(std::int64_t a, std::int64_t b, std::int64_t c) {
  const int excess = BitLength(a) + BitLength(b) - 31;
  if (excess > 0) {
    b >>= excess;
    c >>= excess;
  }
  if (c == 0) c = 1;
  return static_cast<std::int32_t>(a * b / c);
}

}  // namespace

RecordNumber Engine::AddRecord(FileBlock* fileBlock, std::span<const std::byte> record) {
  Operation operation(*this, fileBlock, Access::kWrite);
  if (!operation) return 0;
  if (record.size() < static_cast<std::size_t>(fileBlock->header.lenRec)) return Fail(status::kShortWrite), 0;
  return AppendRecord(*fileBlock, record.data());
}

RecordNumber Engine::AppendRecord(FileBlock& file, const std::byte* record) {
  if (!MarkChanged(file)) return 0;
  format::DataHeader& header = file.header;
  const format::DataHeader before = header;
  RecordNumber number = 0;
  if (header.firstFree == -1) {
    if (header.numRec == INT32_MAX) return Fail(status::kShortWrite), 0;
    number = header.numRec + 1;
    header.numRec = number;
  } else {
    number = header.firstFree;
    if (!InRecords(file, number)) return Fail(status::kFreeChainDamaged), 0;
    std::byte link[4];
    if (!ReadData(file, file.RecordOffset(number), link, sizeof link)) return 0;
    const RecordNumber next = format::LoadInt32(link);
    if (next == 0 || next < -1 || next > header.numRec) return Fail(status::kFreeChainDamaged), 0;
    header.firstFree = next;
    header.numberFree -= 1;
  }
  if (!WriteData(file, file.RecordOffset(number), record, static_cast<std::size_t>(header.lenRec))) {
    header = before;
    return 0;
  }
  return number;
}

void Engine::GetRecord(FileBlock* fileBlock, RecordNumber number, std::span<std::byte> record) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return;
  if (!InRecords(*fileBlock, number)) return Fail(status::kRecordOutOfRange);
  if (record.size() < static_cast<std::size_t>(fileBlock->header.lenRec)) return Fail(status::kShortRead);
  ReadData(*fileBlock, fileBlock->RecordOffset(number), record.data(),
           static_cast<std::size_t>(fileBlock->header.lenRec));
}

void Engine::PutRecord(FileBlock* fileBlock, RecordNumber number, std::span<const std::byte> record) {
  Operation operation(*this, fileBlock, Access::kWrite);
  if (!operation) return;
  if (number == 0) return Fail(status::kPutRecordZero);
  if (!InRecords(*fileBlock, number)) return Fail(status::kRecordOutOfRange);
  if (record.size() < static_cast<std::size_t>(fileBlock->header.lenRec)) return Fail(status::kShortWrite);
  WriteData(*fileBlock, fileBlock->RecordOffset(number), record.data(),
            static_cast<std::size_t>(fileBlock->header.lenRec));
}

void Engine::DeleteRecord(FileBlock* fileBlock, RecordNumber number) {
  Operation operation(*this, fileBlock, Access::kWrite);
  if (!operation) return;
  RemoveRecord(*fileBlock, number);
}

void Engine::RemoveRecord(FileBlock& file, RecordNumber number) {
  if (!InRecords(file, number)) return Fail(status::kRecordOutOfRange);
  if (!MarkChanged(file)) return;
  std::byte link[4];
  format::StoreInt32(link, file.header.firstFree);
  if (!WriteData(file, file.RecordOffset(number), link, sizeof link)) return;
  file.header.firstFree = number;
  file.header.numberFree += 1;
}

std::int32_t Engine::UsedRecords(FileBlock* fileBlock) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return 0;
  return fileBlock->header.numRec - fileBlock->header.numberFree;
}

std::int32_t Engine::FileLength(FileBlock* fileBlock) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return 0;
  return fileBlock->header.numRec + 1;
}

int Engine::RecordLength(FileBlock* fileBlock) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return 0;
  return fileBlock->header.lenRec;
}

void Engine::TestUsedRecord(FileBlock* fileBlock, RecordNumber& number, int direction) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return;
  ScanForUsedRecord(*fileBlock, number, direction);
}

void Engine::NextUsedRecord(FileBlock* fileBlock, RecordNumber& number) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return;
  RecordNumber from = number < fileBlock->header.numRec ? number + 1 : fileBlock->header.numRec + 1;
  if (ScanForUsedRecord(*fileBlock, from, 1)) number = from;
}

void Engine::PrevUsedRecord(FileBlock* fileBlock, RecordNumber& number) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return;
  RecordNumber from = number > 1 ? number - 1 : 0;
  if (ScanForUsedRecord(*fileBlock, from, -1)) number = from;
}

// Reads only the deletion field of each slot. Leaves `number` alone when none is found.
bool Engine::ScanForUsedRecord(FileBlock& file, RecordNumber& number, int direction) {
  const RecordNumber last = file.header.numRec;
  RecordNumber slot = number;
  if (direction > 0 && slot < 1) slot = 1;
  if (direction < 0 && slot > last) slot = last;
  const int step = direction > 0 ? 1 : -1;
  for (; slot >= 1 && slot <= last; slot += step) {
    std::byte field[4];
    if (!ReadData(file, file.RecordOffset(slot), field, sizeof field)) {
      SetStatus(status::kScanReadError);
      return false;
    }
    if (format::LoadInt32(field) == 0) {
      number = slot;
      return true;
    }
    if (direction == 0) break;
  }
  Fail(status::kNoUsedRecord);
  return false;
}

std::int32_t Engine::RecordPosition(FileBlock* fileBlock, RecordNumber number, std::int32_t scale) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return 0;
  if (scale <= 0) return Fail(status::kScaleZero), 0;
  const std::int64_t slots = static_cast<std::int64_t>(fileBlock->header.numRec) + 1;
  const std::int64_t clamped = std::clamp<std::int64_t>(number, 0, slots);
  return ScaledProduct(static_cast<std::int64_t>(scale) + 1, clamped, slots);
}

RecordNumber Engine::RecordAtPosition(FileBlock* fileBlock, std::int32_t position, std::int32_t scale) {
  Operation operation(*this, fileBlock, Access::kRead);
  if (!operation) return 0;
  if (scale <= 0 || position < 0 || position > scale) return Fail(status::kPositionOutOfRange), 0;
  const std::int64_t slots = static_cast<std::int64_t>(fileBlock->header.numRec) + 1;
  const std::int64_t step = slots / (static_cast<std::int64_t>(scale) + 1);
  return static_cast<RecordNumber>(step + ScaledProduct(position, slots, static_cast<std::int64_t>(scale) + 1) -
                                   step / 2);
}

}  // namespace engine
