// What the engine keeps about one open file set. Internal to the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/file_format.h"
#include "engine/os_file.h"

namespace engine {

// One step of an index position: a page and an item in it. Above the last level the
// item is the child taken (0 for LeftChild, i for item i's RightChild); at the last
// level it is the current entry (1-based).
struct PathLevel {
  std::int32_t page = 0;
  int item = 0;
};

struct IndexState {
  format::IndexHeader header;
  int keyLength = 0;
  std::int64_t columnOffset = 0;
  bool headerChanged = false;
  PathLevel path[format::kMaxDepth];
  int depth = 0;         // 0: no position (walks start at either end)
  bool pathValid = true;  // false once the index changed under a position

  bool AllowsDuplicates() const { return header.allowDuplicates != 0; }
  int PageLength() const { return header.pageLen; }
  int PageSize() const { return header.pageSize; }
};

struct FileBlock {
  static constexpr std::uint32_t kValidStamp = 0x51594642;

  std::uint32_t stamp = 0;
  OsFile data;
  OsFile index;
  std::string dataPath;
  std::string indexPath;
  std::string logPath;
  format::DataHeader header;
  std::vector<IndexState> indexes;  // indexes[k - 1] describes KeyNumber k
  std::int64_t rowLength = 0;        // R: the sum of every index's PageLen
  std::int32_t rows = 0;             // page rows in use, row 0 (headers) not counted
  bool readOnly = false;
  bool saveMode = false;
  bool changed = false;
  bool writeFailed = false;  // a page never reached the disk: the file set must be rebuilt
  bool keepsOpenFlag = false;  // a rebuild's unfinished file: closing it leaves OpenFlag 1

  IndexState& Index(KeyNumber k) { return indexes[static_cast<std::size_t>(k - 1)]; }
  std::int64_t RecordOffset(RecordNumber n) const {
    return static_cast<std::int64_t>(n) * header.lenRec;
  }
  std::int64_t PageOffset(KeyNumber k, std::int32_t page) {
    return static_cast<std::int64_t>(page) * rowLength + Index(k).columnOffset;
  }
};

}  // namespace engine
