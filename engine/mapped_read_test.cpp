// Reads through the files' mapping: what another program does to a file while the
// engine holds it open, and files that grow far past the mapping first made.

#include <sys/types.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/os_file.h"
#include "engine/test_support.h"

namespace engine {
namespace {

using testing::KeyedItem;
using testing::MakeKeyedItem;
using testing::TempDir;

constexpr int kRecords = 200;

class MappedReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GE(engine_.InitEngine(30), Engine::kMinPageBuffers);
    const std::vector<IndexSpec> indexes{{8, true}};
    engine_.CreateFileSet(name_, sizeof(KeyedItem), indexes);
    fileBlock_ = engine_.OpenFileSet(name_, false);
    for (int serial = 1; serial <= kRecords; ++serial) {
      const KeyedItem item = MakeKeyedItem(serial, "C" + std::to_string(1000 + serial), "", "");
      const RecordNumber number = engine_.AddRecord(fileBlock_, RecordBytes(item));
      engine_.AddKey(fileBlock_, 1, number, testing::KeyOfField(item, testing::ItemField::kCode));
    }
    engine_.CloseFileSet(fileBlock_);
    fileBlock_ = engine_.OpenFileSet(name_, false);
    ASSERT_EQ(engine_.Status(), status::kOk);
    ReadEverything();
    ASSERT_EQ(engine_.Status(), status::kOk);
  }
  void TearDown() override {
    if (fileBlock_ != nullptr) engine_.CloseFileSet(fileBlock_);
  }

  // Every record and every key, so that the whole of both files has been read.
  void ReadEverything() {
    KeyedItem item;
    for (RecordNumber number = 1; number <= kRecords && engine_.Ok(); ++number)
      engine_.GetRecord(fileBlock_, number, RecordBytes(item));
    testing::WalkIndex(engine_, fileBlock_, 1);
    engine_.FindKey(fileBlock_, 1, found_, key_, 1);  // the walk ends with status "at end"
  }

  std::string Path(const char* extension) const { return name_ + "." + extension; }

  TempDir dir_;
  std::string name_ = dir_.Name("ITEMS");
  Engine engine_;
  FileBlock* fileBlock_ = nullptr;
  RecordNumber found_ = 0;
  KeyString key_;
};

TEST_F(MappedReadTest, DataFileCutShortByAnotherProgramGivesShortReadNotABusError) {
  ASSERT_EQ(::truncate(Path("DAT").c_str(), 10 * static_cast<off_t>(sizeof(KeyedItem))), 0);
  KeyedItem item;
  engine_.GetRecord(fileBlock_, kRecords, RecordBytes(item));
  EXPECT_EQ(engine_.Status(), status::kShortRead);
  engine_.GetRecord(fileBlock_, 5, RecordBytes(item));
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(item.serial, 5);
}

TEST_F(MappedReadTest, IndexFileCutShortByAnotherProgramGivesShortReadNotABusError) {
  // Closing and opening again empties the page ring, so the search reads the file.
  engine_.CloseFileSet(fileBlock_);
  fileBlock_ = engine_.OpenFileSet(name_, false);
  ASSERT_EQ(engine_.Status(), status::kOk);
  ASSERT_NE(fileBlock_, nullptr);
  ASSERT_EQ(::truncate(Path("IX").c_str(), 0), 0);
  RecordNumber number = 0;
  KeyString key("C1100");
  engine_.SearchKey(fileBlock_, 1, number, key);
  EXPECT_EQ(engine_.Status(), status::kShortRead);
}

TEST_F(MappedReadTest, RecordChangedByAnotherProgramIsReadAsItNowIs) {
  KeyedItem changed = MakeKeyedItem(4242, "OTHER", "", "");
  {
    std::fstream file(Path("DAT"), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(3 * static_cast<std::streamoff>(sizeof(KeyedItem)));
    file.write(reinterpret_cast<const char*>(&changed), sizeof changed);
  }
  KeyedItem item;
  engine_.GetRecord(fileBlock_, 3, RecordBytes(item));
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(item.serial, 4242);
}

// Writes far past the mapping first made, reading each block back at once.
TEST(MappedFileTest, FileGrowingFarPastItsFirstMappingReadsBackEveryWrite) {
  TempDir dir;
  OsFile file;
  ASSERT_EQ(file.Open(dir.Name("GROW.DAT"), OsFile::Mode::kCreate), 0);
  std::vector<std::uint32_t> block(256 * 1024);  // 1 MiB
  std::vector<std::uint32_t> back(block.size());
  for (std::uint32_t step = 0; step < 40; ++step) {
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = step * 1'000'003u + static_cast<std::uint32_t>(i);
    const std::int64_t offset = static_cast<std::int64_t>(step) * static_cast<std::int64_t>(block.size() * 4);
    std::size_t done = 0;
    ASSERT_EQ(file.WriteAt(offset, block.data(), block.size() * 4, done), 0);
    ASSERT_EQ(file.ReadAt(offset, back.data(), back.size() * 4, done), 0);
    ASSERT_EQ(done, back.size() * 4);
    ASSERT_EQ(back, block) << "block " << step;
  }
  std::uint32_t first = 0;
  std::size_t done = 0;
  ASSERT_EQ(file.ReadAt(0, &first, sizeof first, done), 0);
  EXPECT_EQ(first, 0u);
  ASSERT_EQ(file.ReadAt(40 * 1024 * 1024 - 2, &first, sizeof first, done), 0);
  EXPECT_EQ(done, 2u);  // the end of the file, as pread reports it
}

}  // namespace
}  // namespace engine
