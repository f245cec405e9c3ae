#include "engine/status.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

struct ClassCase {
  int code;
  StatusClass expectedClass;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ClassCase& c, std::ostream* out) { *out << c.code << " -> " << c.expectedClass; }

constexpr ClassCase kClassCases[] = {
    {0, StatusClass::kSuccess},
    {9903, StatusClass::kNotFound},
    {10200, StatusClass::kNotFound},
    {10250, StatusClass::kNotFound},
    {10299, StatusClass::kNotFound},
    {10410, StatusClass::kNotFound},
    {9900, StatusClass::kMayRetry},
    {10065, StatusClass::kMayRetry},
    {10110, StatusClass::kMayRetry},
    {10306, StatusClass::kMayRetry},
    {10390, StatusClass::kMayRetry},
    {10397, StatusClass::kMayRetry},
    {10399, StatusClass::kMayRetry},
    {10001, StatusClass::kRolledBack},
    {10009, StatusClass::kRolledBack},
    {10000, StatusClass::kFatal},
    {10010, StatusClass::kFatal},
    {10140, StatusClass::kFatal},
    {10300, StatusClass::kFatal},
    {9901, StatusClass::kFatal},
    {10465, StatusClass::kFatal},
    {9513, StatusClass::kFatal},
};

class StatusClassTable : public ::testing::TestWithParam<ClassCase> {};

TEST_P(StatusClassTable, SortsEveryCodeIntoTheClassCallersActOn) {
  EXPECT_EQ(ClassOfStatus(GetParam().code), GetParam().expectedClass) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(Codes, StatusClassTable, ::testing::ValuesIn(kClassCases),
                         [](const ::testing::TestParamInfo<ClassCase>& info) {
                           return "Code" + std::to_string(info.param.code);
                         });

// Users quote these numbers from error messages, so the classes must keep them; only
// the classes above "not found" are failures to report.
TEST(StatusClasses, KeepTheirNumbersAndOnlyTheWorseOnesFail) {
  const std::pair<StatusClass, bool> failing[] = {{StatusClass::kSuccess, false},
                                                  {StatusClass::kNotFound, false},
                                                  {StatusClass::kMayRetry, true},
                                                  {StatusClass::kRolledBack, true},
                                                  {StatusClass::kFatal, true}};
  for (int number = 0; number < 5; ++number) {
    const auto [statusClass, failed] = failing[number];
    EXPECT_EQ(ClassNumber(statusClass), number);
    EXPECT_EQ(Failed(statusClass), failed) << statusClass;
  }
  EXPECT_EQ(::testing::PrintToString(StatusClass::kMayRetry), "may retry (class 2)");
}

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
  EXPECT_EQ(engine.ErrorClass(), StatusClass::kFatal);
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
