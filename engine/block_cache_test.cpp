#include "engine/block_cache.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

// 332-byte records straddle the cache's blocks, so reads and writes that cross a
// block boundary and appends into the file's last, partial block are all met.
constexpr int kLength = 332;

std::vector<std::byte> Record(std::uint32_t tag) {
  std::vector<std::byte> record(kLength);
  for (int i = 4; i < kLength; ++i) record[static_cast<std::size_t>(i)] = static_cast<std::byte>((tag * 31 + i) & 0xFF);
  return record;
}

struct Limits {
  const char* name;
  CacheLimits limits;
};

class DataCacheTest : public ::testing::TestWithParam<Limits> {};

// The records read back must always be the ones last written, whatever the cache
// kept, and the file on disk must hold the same bytes.
TEST_P(DataCacheTest, ReadsSeeEveryEarlierWriteAndTheDiskAgrees) {
  testing::TempDir dir;
  Engine engine(GetParam().limits);
  engine.InitEngine(Engine::kMinPageBuffers);
  const std::string name = dir.Name("D");
  engine.CreateFileSet(name, kLength, {});
  FileBlock* file = engine.OpenFileSet(name, false);
  ASSERT_NE(file, nullptr);

  std::vector<std::vector<std::byte>> model(1);  // slot 0 unused; an empty vector marks a deleted slot
  std::mt19937 rng(7);
  std::vector<std::byte> buffer(kLength);
  for (int step = 0; step < 4000 && !HasFailure(); ++step) {
    const int roll = static_cast<int>(rng() % 10);
    const auto slots = static_cast<RecordNumber>(model.size() - 1);
    const RecordNumber any = slots > 0 ? 1 + static_cast<RecordNumber>(rng() % static_cast<unsigned>(slots)) : 0;
    if (roll < 4 || any == 0) {
      const auto record = Record(static_cast<std::uint32_t>(step));
      const RecordNumber number = engine.AddRecord(file, record);
      ASSERT_TRUE(engine.Ok());
      if (number == static_cast<RecordNumber>(model.size())) model.emplace_back();
      model[static_cast<std::size_t>(number)] = record;
    } else if (roll < 6 && !model[static_cast<std::size_t>(any)].empty()) {
      engine.DeleteRecord(file, any);
      model[static_cast<std::size_t>(any)].clear();
    } else if (roll < 7 && !model[static_cast<std::size_t>(any)].empty()) {
      model[static_cast<std::size_t>(any)] = Record(static_cast<std::uint32_t>(step) + 100000);
      engine.PutRecord(file, any, model[static_cast<std::size_t>(any)]);
    } else {
      // Runs of neighbours as a walk reads them, or single random reads.
      const int run = roll < 9 ? 1 + static_cast<int>(rng() % 30) : 1;
      for (RecordNumber n = any; n <= slots && n < any + run; ++n) {
        RecordNumber used = n;
        engine.TestUsedRecord(file, used, 0);
        EXPECT_EQ(engine.Ok(), !model[static_cast<std::size_t>(n)].empty()) << n;
        if (!engine.Ok()) continue;
        engine.GetRecord(file, n, buffer);
        ASSERT_TRUE(engine.Ok());
        ASSERT_EQ(buffer, model[static_cast<std::size_t>(n)]) << "record " << n << " at step " << step;
      }
    }
  }
  engine.CloseFileSet(file);
  ASSERT_TRUE(engine.Ok());
  const auto disk = testing::ReadBytes(name + ".DAT");
  ASSERT_EQ(disk.size(), model.size() * kLength);
  for (std::size_t n = 1; n < model.size(); ++n) {
    if (model[n].empty()) continue;
    const auto* stored = reinterpret_cast<const std::byte*>(disk.data() + n * kLength);
    EXPECT_TRUE(std::equal(model[n].begin(), model[n].end(), stored)) << "record " << n << " on disk";
  }
}

INSTANTIATE_TEST_SUITE_P(Caches, DataCacheTest,
                         ::testing::Values(Limits{"Default", {}}, Limits{"None", {0, 0}},
                                           Limits{"ThreeBlocks", {0, 3 * BlockCache::kBlockSize}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace engine
