// On-disk layout of a file set: the data file ("DAT") and the index file ("IX").
//
// DATA FILE. Record slot n occupies bytes n*L .. n*L+L-1, L being the record length.
// Slot 0 is the header; slots 1..NumRec hold records in use or deleted. The file is
// never shortened. Header (integers little-endian):
//
//   OFFSET SIZE MEANING
//     0     4   FirstFree   first deleted slot, -1 when none (the free chain is a stack)
//     4     4   NumberFree  members of the free chain
//     8     4   NumRec      highest slot ever allocated
//    12     4   LenRec      L, at least 21
//    16     4   NrOfKeys    number of indexes, 0..100 (read back as its low byte)
//    20     1   OpenFlag    1 from the first change after opening until a proper close
//    21   L-21  zero
//
// The first 4 bytes of every record are its deletion field: 0 in a record in use, the
// next free slot (or -1) in a deleted one. The header counters live in memory while
// the file set is open and reach the disk only at close, which is why OpenFlag exists.
//
// INDEX FILE. A table of rows of R bytes, R being the sum of every index's PageLen.
// Index k owns the columns C(k) = PageLen(1)+...+PageLen(k-1) .. C(k)+PageLen(k)-1 of
// each row. Row 0 holds each index's 28-byte header at its column; page p (p >= 1) of
// index k lies at p*R + C(k). Each index numbers its pages on its own; a new row of R
// zero bytes is appended when any index needs a page beyond the last row.
//
//   Index header                         Page (PageLen = 6 + PageSize*(KeyL+9))
//   OFFSET SIZE MEANING                  OFFSET          SIZE   MEANING
//     0     4   FirstFree (-1: none)       0              2     ItemCount 0..PageSize
//     4     4   NumberFree                 2              4     LeftChild (0 in a leaf)
//     8     4   NumPages                   6+(i-1)*(KeyL+9) 4   item i: RecordNumber
//    12     4   PageLen                   10+(i-1)*(KeyL+9) 4   item i: RightChild
//    16     4   RootRef (0: empty)        14+(i-1)*(KeyL+9) KeyL+1 item i: length byte, key
//    20     1   AllowDuplicates
//    21     1   reserved
//    22     4   NumKeys
//    26     2   PageSize (0 reads as 62)
//
// Only the first 6 + ItemCount*(KeyL+9) bytes of a page are written. A freed page
// carries the next free page in its first 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace engine::format {

constexpr int kDataHeaderSize = 4 + 4 + 4 + 4 + 4 + 1;
constexpr int kOpenFlagOffset = 4 + 4 + 4 + 4 + 4;
constexpr int kIndexHeaderSize = 4 + 4 + 4 + 4 + 4 + 1 + 1 + 4 + 2;
constexpr int kPageSize = 62;  // items per page of every index this system creates
constexpr int kMinItems = kPageSize / 2;
constexpr int kPageHeaderSize = 2 + 4;
constexpr int kItemOverhead = 4 + 4 + 1;  // RecordNumber, RightChild, length byte
constexpr int kMaxDepth = 8;

constexpr int ItemSize(int keyLength) { return keyLength + kItemOverhead; }
constexpr int PageLength(int keyLength, int pageSize = kPageSize) {
  return kPageHeaderSize + pageSize * ItemSize(keyLength);
}
static_assert(PageLength(30) == 2424 && PageLength(10) == 1184);

inline std::int32_t LoadInt32(const std::byte* p) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | std::to_integer<std::uint32_t>(p[i]);
  return static_cast<std::int32_t>(value);
}
inline void StoreInt32(std::byte* p, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i, bits >>= 8) p[i] = static_cast<std::byte>(bits & 0xFF);
}
inline std::uint16_t LoadUint16(const std::byte* p) {
  return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) | (std::to_integer<unsigned>(p[1]) << 8));
}
inline void StoreUint16(std::byte* p, std::uint16_t value) {
  p[0] = static_cast<std::byte>(value & 0xFF);
  p[1] = static_cast<std::byte>(value >> 8);
}

struct DataHeader {
  std::int32_t firstFree = -1;
  std::int32_t numberFree = 0;
  std::int32_t numRec = 0;
  std::int32_t lenRec = 0;
  std::int32_t nrOfKeys = 0;
  std::uint8_t openFlag = 0;

  void Store(std::byte* p) const {
    StoreInt32(p + 0, firstFree);
    StoreInt32(p + 4, numberFree);
    StoreInt32(p + 8, numRec);
    StoreInt32(p + 12, lenRec);
    StoreInt32(p + 16, nrOfKeys);
    p[kOpenFlagOffset] = static_cast<std::byte>(openFlag);
  }
  static DataHeader Load(const std::byte* p) {
    DataHeader h;
    h.firstFree = LoadInt32(p + 0);
    h.numberFree = LoadInt32(p + 4);
    h.numRec = LoadInt32(p + 8);
    h.lenRec = LoadInt32(p + 12);
    h.nrOfKeys = LoadInt32(p + 16) & 0xFF;
    h.openFlag = std::to_integer<std::uint8_t>(p[kOpenFlagOffset]);
    return h;
  }
};

struct IndexHeader {
  std::int32_t firstFree = -1;
  std::int32_t numberFree = 0;
  std::int32_t numPages = 0;
  std::int32_t pageLen = 0;
  std::int32_t rootRef = 0;
  std::uint8_t allowDuplicates = 0;
  std::int32_t numKeys = 0;
  std::uint16_t pageSize = kPageSize;

  void Store(std::byte* p) const {
    StoreInt32(p + 0, firstFree);
    StoreInt32(p + 4, numberFree);
    StoreInt32(p + 8, numPages);
    StoreInt32(p + 12, pageLen);
    StoreInt32(p + 16, rootRef);
    p[20] = static_cast<std::byte>(allowDuplicates);
    p[21] = std::byte{0};
    StoreInt32(p + 22, numKeys);
    StoreUint16(p + 26, pageSize);
  }
  static IndexHeader Load(const std::byte* p) {
    IndexHeader h;
    h.firstFree = LoadInt32(p + 0);
    h.numberFree = LoadInt32(p + 4);
    h.numPages = LoadInt32(p + 8);
    h.pageLen = LoadInt32(p + 12);
    h.rootRef = LoadInt32(p + 16);
    h.allowDuplicates = std::to_integer<std::uint8_t>(p[20]) != 0 ? 1 : 0;
    h.numKeys = LoadInt32(p + 22);
    h.pageSize = LoadUint16(p + 26);
    if (h.pageSize == 0) h.pageSize = kPageSize;
    return h;
  }
};

}  // namespace engine::format
