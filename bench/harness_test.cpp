#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <new>

#include "bench/child_process.h"
#include "bench/heap_meter.h"

namespace bench {
namespace {

struct Sample {
  std::int64_t number = 0;
  double seconds = 0;
  char text[300] = {};
};

TEST(RunInChild, TheChildsReportArrivesWhole) {
  Sample sample;
  const ChildResult result = RunInChild(
      [](ChildReporter& reporter) {
        Sample made;
        made.number = 1234567890123;
        made.seconds = 2.5;
        made.text[299] = 'z';
        reporter.Finish(made);
      },
      sample);
  EXPECT_TRUE(result.ok);
  EXPECT_GT(result.maxRssKiB, 0);
  EXPECT_EQ(sample.number, 1234567890123);
  EXPECT_EQ(sample.seconds, 2.5);
  EXPECT_EQ(sample.text[299], 'z');
}

TEST(RunInChild, AChildThatEndsWithoutAWholeReportIsAFailure) {
  Sample sample;
  EXPECT_FALSE(RunInChild([](ChildReporter&) {}, sample).ok);
  EXPECT_FALSE(RunInChild([](ChildReporter&) { _exit(0); }, sample).ok) << "exit status 0 but no report";
  EXPECT_FALSE(RunInChild([](ChildReporter&) { _exit(3); }, sample).ok);
  EXPECT_FALSE(RunInChild([](ChildReporter&) { raise(SIGKILL); }, sample).ok);
}

TEST(HeapMeter, CountsAllocationsAndKeepsThePeakUntilReset) {
  const std::size_t before = heap::InUse();
  heap::ResetPeak();
  auto block = std::make_unique<char[]>(1 << 20);
  EXPECT_GE(heap::InUse(), before + (1 << 20));
  block.reset();
  EXPECT_EQ(heap::InUse(), before);
  EXPECT_GE(heap::Peak(), before + (1 << 20));
  heap::ResetPeak();
  EXPECT_EQ(heap::Peak(), before);
}

TEST(HeapMeter, EveryFormOfNewIsReleasedByItsDelete) {
  struct alignas(64) Wide {
    char bytes[200];
  };
  const std::size_t before = heap::InUse();
  auto* single = new int(5);
  auto* many = new int[100];
  auto* wide = new Wide;
  auto* wideMany = new Wide[3];
  auto* quiet = new (std::nothrow) double[10];
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide) % 64, 0u);
  EXPECT_GT(heap::InUse(), before);
  delete single;
  delete[] many;
  delete wide;
  delete[] wideMany;
  delete[] quiet;
  EXPECT_EQ(heap::InUse(), before);
}

}  // namespace
}  // namespace bench
