// engine_bench: runs one workload of transaction records against the record engine and
// against SQLite, checks that both return the same rows, and prints per step both
// times, the ratio SQLite time / engine time and the target that ratio should reach,
// then file sizes and peak memory.
//
// Every phase of each side runs in a child process of its own (sides.h), one after
// the other, never two at once. The parent only orders the phases and prints.
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/machine_limits.h"
#include "bench/sides.h"
#include "bench/step_timing.h"
#include "engine/engine.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr double kMiB = 1024.0 * 1024.0;
// The engine's memory target is checked against the heap it holds (bytes counted
// through operator new/delete above what the process held before the engine
// started), the figure that says what the engine costs inside the program. The
// process's maximum resident set is printed beside it for reference; it also holds
// the program's code and libraries.
constexpr double kEngineHeapTargetMiB = 4.0;
constexpr double kFileSizeTarget = 1.2;  // engine files at most this times SQLite's

// Speed targets: SQLite time / engine time at least this; 0 means none.
constexpr double kSpeedTargets[kStepCount] = {1.0, 2.5, 2.5, 2.0, 1.0, 1.2, 1.0};
constexpr const char* kStepNames[kStepCount] = {"load", "lookup", "customer", "dates", "rebuild", "delete", "add"};

// The working folder: the one asked for (kept afterwards), or a fresh temporary one
// that is removed with everything in it at the end.
class WorkFolder {
 public:
  explicit WorkFolder(const std::string& requested) {
    std::error_code error;
    if (!requested.empty()) {
      path_ = requested;
      fs::create_directories(path_, error);
      ok_ = !error && fs::is_directory(path_);
      return;
    }
    std::string pattern = (fs::temp_directory_path(error) / "engine-bench-XXXXXX").string();
    ok_ = !error && mkdtemp(pattern.data()) != nullptr;
    path_ = pattern;
    temporary_ = ok_;
  }
  ~WorkFolder() {
    std::error_code ignored;
    if (temporary_) fs::remove_all(path_, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  bool ok() const { return ok_; }
  bool temporary() const { return temporary_; }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
  bool ok_ = false;
  bool temporary_ = false;
};

std::uintmax_t SizeOf(const fs::path& file) {
  std::error_code error;
  const auto size = fs::file_size(file, error);
  return error ? 0 : size;
}

class Benchmark {
 public:
  Benchmark(const Options& options, const WorkFolder& folder)
      : workload_(options),
        fileSet_((folder.path() / "bench_tx").string()),
        database_((folder.path() / "bench_tx.sqlite").string()),
        folderNote_(folder.temporary() ? " (removed at the end)" : "") {}

  int Run() {
    RemoveLeftovers();
    PrintHeader();
    limits_ = MeasureMachineLimits(fs::path(fileSet_).parent_path().string());
    std::printf("limits:  a cached pread of one %d-byte page %.2f us, a copy of it out of a mapping %.3f us\n\n",
                limits_.pageBytes, limits_.preadSeconds * 1e6, limits_.mappedSeconds * 1e6);
    if (!LoadAndQuery() || !Rebuild() || !ChangeAndVerify()) return 2;
    PrintMemory();
    if (!rowsAgree_) {
      std::printf("\nThe engine and SQLite returned different rows; see the lines marked DIFFER.\n");
      return 1;
    }
    return 0;
  }

 private:
  struct SideRun {
    SideReport report{};
    ChildResult child;
  };

  // Files an earlier run in the same folder may have left, a rebuild's too.
  void RemoveLeftovers() const {
    std::error_code ignored;
    for (const char* extension : {"DAT", "IX", "DIA", "SAV", "MSG"})
      fs::remove(engine::FileSetPath(fileSet_, extension), ignored);
    fs::remove(database_, ignored);
  }

  std::uintmax_t EngineBytes() const {
    return SizeOf(engine::FileSetPath(fileSet_, "DAT")) + SizeOf(engine::FileSetPath(fileSet_, "IX")) +
           SizeOf(engine::FileSetPath(fileSet_, "DIA"));
  }
  std::uintmax_t SqliteBytes() const { return SizeOf(database_); }

  bool RunSide(const char* what, const std::function<void(ChildReporter&)>& body, SideRun& run) {
    // Neither side pays for the other's writing.
    SettleWrites();
    std::fflush(stdout);
    std::fprintf(stderr, "  running %s...\n", what);
    run.child = RunInChild(body, run.report);
    if (!run.child.ok) std::printf("\n%s failed; the message above says where. Stopped.\n", what);
    return run.child.ok;
  }

  void PrintHeader() const {
    const Options& options = workload_.options();
    std::printf("Record engine against SQLite %s\n", sqlite3_libversion());
    std::printf("%d transaction records of %d bytes with %d keys, %d customers, %d days; seed %llu\n", options.records,
                kRecordLength, kKeyCount, kCustomers, kDays, static_cast<unsigned long long>(options.seed));
    std::printf("steps: %d lookups, %d customer walks, %d ranges of %d days (each the median of 3 runs),"
                " %d deletes then %d adds\n",
                options.lookups, options.customerWalks, options.dateRanges, kRangeDays, options.changes(),
                options.changes());
    std::printf("machine: %s\n", MachineDescription().c_str());
    std::printf("engine: 30 page buffers; SQLite: synchronous=OFF, journal_mode=OFF, default cache, %s\n",
                options.sqliteNormalLocking ? "locking_mode=NORMAL" : "locking_mode=EXCLUSIVE");
    std::printf("folder: %s%s\n", fs::path(fileSet_).parent_path().c_str(), folderNote_);
  }

  // One line per step: both times, SQLite time / engine time, the target, and
  // whether both sides returned the same rows.
  void PrintStep(Step step, const SideReport& engineSide, const SideReport& sqliteSide, const char* rowsNote) {
    const StepOutcome& e = engineSide.steps[step];
    const StepOutcome& s = sqliteSide.steps[step];
    const double ratio = e.seconds > 0 ? s.seconds / e.seconds : 0;
    char target[64];
    if (kSpeedTargets[step] > 0) {
      std::snprintf(target, sizeof target, "(target >= %.2f: %s)", kSpeedTargets[step],
                    ratio >= kSpeedTargets[step] ? "met" : "NOT MET");
    } else {
      std::snprintf(target, sizeof target, "(no target)");
    }
    const bool same = e.rows == s.rows && e.digest == s.digest;
    rowsAgree_ = rowsAgree_ && same;
    std::printf("%-9s engine %8.3f s  sqlite %8.3f s  ratio %5.2f  %-26s %llu %s, %s\n", kStepNames[step], e.seconds,
                s.seconds, ratio, target, static_cast<unsigned long long>(e.rows), rowsNote,
                same ? "same on both" : "DIFFER");
    if (e.rows > 0) std::printf("%-9s engine %s\n", "", DistanceFromLimits(limits_, e.seconds / e.rows).c_str());
    if (!same) {
      std::printf("          engine %llu rows digest %016llx, sqlite %llu rows digest %016llx\n",
                  static_cast<unsigned long long>(e.rows), static_cast<unsigned long long>(e.digest),
                  static_cast<unsigned long long>(s.rows), static_cast<unsigned long long>(s.digest));
    }
  }

  void PrintFiles(const char* when) const {
    const auto engineBytes = EngineBytes();
    const auto sqliteBytes = SqliteBytes();
    const double ratio = sqliteBytes > 0 ? static_cast<double>(engineBytes) / static_cast<double>(sqliteBytes) : 0;
    std::printf("%-9s engine %8.1f MiB  sqlite %8.1f MiB  engine/sqlite %4.2f  (target <= %.2f: %s)  %s\n", "files",
                static_cast<double>(engineBytes) / kMiB, static_cast<double>(sqliteBytes) / kMiB, ratio,
                kFileSizeTarget, ratio <= kFileSizeTarget ? "met" : "NOT MET", when);
  }

  bool LoadAndQuery() {
    if (!RunSide(
            "engine: load and queries (file set left open at the end)",
            [&](ChildReporter& r) { EngineLoadAndQuery(workload_, fileSet_, r); }, engineQueries_) ||
        !RunSide(
            "SQLite: load and queries", [&](ChildReporter& r) { SqliteLoadAndQuery(workload_, database_, r); },
            sqliteQueries_)) {
      return false;
    }
    PrintStep(kLoad, engineQueries_.report, sqliteQueries_.report, "records");
    PrintStep(kLookup, engineQueries_.report, sqliteQueries_.report, "lookups");
    PrintStep(kCustomerWalk, engineQueries_.report, sqliteQueries_.report, "records");
    PrintStep(kDateRange, engineQueries_.report, sqliteQueries_.report, "records");
    PrintFiles("after the load (engine file set not closed)");
    return true;
  }

  bool Rebuild() {
    if (!RunSide(
            "engine: open finds the file set not closed, rebuild",
            [&](ChildReporter& r) { EngineRebuild(workload_, fileSet_, r); }, engineRebuild_) ||
        !RunSide(
            "SQLite: VACUUM", [&](ChildReporter& r) { SqliteRebuild(workload_, database_, r); }, sqliteRebuild_)) {
      return false;
    }
    PrintStep(kRebuild, engineRebuild_.report, sqliteRebuild_.report, "records");
    PrintFiles("after the rebuild and VACUUM");
    return true;
  }

  bool ChangeAndVerify() {
    if (!RunSide(
            "engine: deletes, adds, index walks",
            [&](ChildReporter& r) { EngineChangeAndVerify(workload_, fileSet_, r); }, engineChanges_) ||
        !RunSide(
            "SQLite: deletes, adds, index walks",
            [&](ChildReporter& r) { SqliteChangeAndVerify(workload_, database_, r); }, sqliteChanges_)) {
      return false;
    }
    PrintStep(kDelete, engineChanges_.report, sqliteChanges_.report, "records");
    PrintStep(kAdd, engineChanges_.report, sqliteChanges_.report, "records");
    std::printf("%-9s engine added %lld of %d records into freed slots\n", "",
                static_cast<long long>(engineChanges_.report.reusedSlots), workload_.options().changes());

    bool same = true;
    std::uint64_t entries = 0;
    for (int k = 0; k < kKeyCount; ++k) {
      const StepOutcome& e = engineChanges_.report.indexContents[k];
      const StepOutcome& s = sqliteChanges_.report.indexContents[k];
      entries += e.rows;
      if (e.rows != s.rows || e.digest != s.digest) {
        same = false;
        std::printf("contents  index %d DIFFERS: engine %llu entries digest %016llx, sqlite %llu rows digest %016llx\n",
                    k + 1, static_cast<unsigned long long>(e.rows), static_cast<unsigned long long>(e.digest),
                    static_cast<unsigned long long>(s.rows), static_cast<unsigned long long>(s.digest));
      }
    }
    rowsAgree_ = rowsAgree_ && same;
    std::printf("%-9s all %d indexes walked end to end (%llu entries, index 1 with its records): %s\n", "contents",
                kKeyCount, static_cast<unsigned long long>(entries), same ? "same on both" : "DIFFER");
    PrintFiles("after the changes, closed");
    return true;
  }

  void PrintMemory() const {
    const double engineHeap =
        static_cast<double>(std::max(engineQueries_.report.peakHeapBytes, engineChanges_.report.peakHeapBytes)) / kMiB;
    const double engineMalloc = static_cast<double>(std::max(engineQueries_.report.sampledMallocBytes,
                                                             engineChanges_.report.sampledMallocBytes)) /
                                kMiB;
    const double engineRss =
        static_cast<double>(std::max(engineQueries_.child.maxRssKiB, engineChanges_.child.maxRssKiB)) / 1024.0;
    const double sqliteHeap =
        static_cast<double>(std::max(sqliteQueries_.report.peakHeapBytes, sqliteChanges_.report.peakHeapBytes)) / kMiB;
    const double sqliteRss =
        static_cast<double>(std::max(sqliteQueries_.child.maxRssKiB, sqliteChanges_.child.maxRssKiB)) / 1024.0;
    std::printf(
        "%-9s engine heap peak %.2f MiB (malloc in use at step ends %.2f MiB), max RSS %.1f MiB;"
        " sqlite heap peak %.2f MiB, max RSS %.1f MiB  (target engine heap <= %.2f MiB: %s)\n",
        "memory", engineHeap, engineMalloc, engineRss, sqliteHeap, sqliteRss, kEngineHeapTargetMiB,
        engineHeap <= kEngineHeapTargetMiB ? "met" : "NOT MET");
    std::printf(
        "%-9s rebuild: engine heap peak %.2f MiB, max RSS %.1f MiB; VACUUM: sqlite heap peak %.2f MiB,"
        " max RSS %.1f MiB  (no target)\n",
        "memory", static_cast<double>(engineRebuild_.report.peakHeapBytes) / kMiB,
        static_cast<double>(engineRebuild_.child.maxRssKiB) / 1024.0,
        static_cast<double>(sqliteRebuild_.report.peakHeapBytes) / kMiB,
        static_cast<double>(sqliteRebuild_.child.maxRssKiB) / 1024.0);
  }

  Workload workload_;
  std::string fileSet_;
  std::string database_;
  const char* folderNote_;
  bool rowsAgree_ = true;
  MachineLimits limits_;
  SideRun engineQueries_, sqliteQueries_, engineRebuild_, sqliteRebuild_, engineChanges_, sqliteChanges_;
};

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  const auto options = bench::ParseOptions(arguments, error);
  if (!options) {
    std::fprintf(stderr, "engine_bench: %s\n%s", error.c_str(), bench::UsageText().c_str());
    return 2;
  }
  if (options->help) {
    std::printf("%s", bench::UsageText().c_str());
    return 0;
  }
  const bench::WorkFolder folder(options->folder);
  if (!folder.ok()) {
    std::fprintf(stderr, "engine_bench: cannot make the working folder %s\n", folder.path().c_str());
    return 2;
  }
  bench::Benchmark benchmark(*options, folder);
  return benchmark.Run();
}
