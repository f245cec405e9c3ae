#include "engine/status.h"

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

struct ClassCase {
  int code;
  int expectedClass;
};

class ErrorClassTable : public ::testing::TestWithParam<ClassCase> {};

TEST_P(ErrorClassTable, SortsEveryCodeIntoTheClassCallersActOn) {
  EXPECT_EQ(ClassOfStatus(GetParam().code), GetParam().expectedClass) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorClassTable,
    ::testing::Values(ClassCase{0, 0}, ClassCase{9903, 1}, ClassCase{10200, 1}, ClassCase{10250, 1},
                      ClassCase{10299, 1}, ClassCase{10410, 1}, ClassCase{9900, 2}, ClassCase{10065, 2},
                      ClassCase{10110, 2}, ClassCase{10306, 2}, ClassCase{10390, 2}, ClassCase{10397, 2},
                      ClassCase{10399, 2}, ClassCase{10001, 3}, ClassCase{10009, 3}, ClassCase{10000, 4},
                      ClassCase{10010, 4}, ClassCase{10140, 4}, ClassCase{10300, 4}, ClassCase{9901, 4},
                      ClassCase{10465, 4}, ClassCase{9513, 4}),
    [](const ::testing::TestParamInfo<ClassCase>& info) { return "Code" + std::to_string(info.param.code); });

TEST(LockLayer, GrantsEveryLockAtOnceButStillRejectsABadHandle) {
  testing::TempDir dir;
  Engine engine;
  engine.LockFileSet(nullptr);
  EXPECT_EQ(engine.Status(), status::kNotInitialised);
  engine.InitEngine(Engine::kMinPageBuffers);
  const std::string name = dir.Name("LOCK");
  engine.CreateFileSet(name, 32, {});
  FileBlock* file = engine.OpenFileSet(name, false);
  ASSERT_NE(file, nullptr);

  engine.LockFileSet(file);
  EXPECT_TRUE(engine.Ok());
  EXPECT_FALSE(engine.FileSetLocked(file));
  EXPECT_FALSE(engine.FileSetReadLocked(file));
  engine.UnlockFileSet(file);
  EXPECT_TRUE(engine.Ok());
  EXPECT_TRUE(engine.NetworkInitialised());
  EXPECT_FALSE(engine.NetworkActive());

  engine.CloseFileSet(file);
  engine.LockFileSet(file);
  EXPECT_EQ(engine.Status(), status::kInvalidFileBlock);
  EXPECT_EQ(engine.ErrorClass(), 4);
}

TEST(EngineStart, RefusesTooFewBuffersAndASecondStart) {
  Engine engine;
  EXPECT_EQ(engine.InitEngine(7), 0);
  EXPECT_EQ(engine.Status(), status::kTooFewBuffersWanted);
  EXPECT_EQ(engine.InitEngine(30), 30);
  EXPECT_TRUE(engine.Ok());
  EXPECT_EQ(engine.InitEngine(30), 0);
  EXPECT_EQ(engine.Status(), status::kAlreadyInitialised);
}

}  // namespace
}  // namespace engine
