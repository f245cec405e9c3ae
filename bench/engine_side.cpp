// The engine's side of the benchmark, used the way the program uses it: a record is
// added and then its six keys, deleted after its keys, found through an index.
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "bench/heap_meter.h"
#include "bench/sides.h"
#include "bench/step_timing.h"

namespace bench {
namespace {

using engine::Engine;
using engine::FileBlock;
using engine::KeyNumber;
using engine::KeyString;
using engine::RecordNumber;
namespace status = engine::status;

constexpr int kPageBuffers = 30;

[[noreturn]] __attribute__((format(printf, 2, 3))) void Fail(const Engine& engine, const char* format, ...) {
  char call[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(call, sizeof call, format, arguments);
  va_end(arguments);
  std::fprintf(stderr, "engine_bench: engine call failed: %s -> status %d (error class %d, OS error %d)\n", call,
               engine.Status(), engine::ClassNumber(engine.ErrorClass()), engine.OsErrorNumber());
  _exit(3);
}

[[noreturn]] __attribute__((format(printf, 1, 2))) void Wrong(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  std::fprintf(stderr, "engine_bench: engine gave a wrong result: %s\n", text);
  _exit(3);
}

std::span<std::byte> Bytes(Record& record) { return record; }
std::span<const std::byte> Bytes(const Record& record) { return record; }

std::int32_t DeletionField(const Record& record) {
  return static_cast<std::int32_t>(
      std::to_integer<std::uint32_t>(record[0]) | std::to_integer<std::uint32_t>(record[1]) << 8 |
      std::to_integer<std::uint32_t>(record[2]) << 16 | std::to_integer<std::uint32_t>(record[3]) << 24);
}

// The heap the engine holds, measured from the moment the session starts, with a
// sample of malloc's own figure at the end of each step.
class MemoryWatch {
 public:
  MemoryWatch() : heapBase_(heap::InUse()), mallocBase_(heap::MallocInUse()) { heap::ResetPeak(); }
  void Sample() {
    const std::size_t now = heap::MallocInUse();
    if (now > mallocBase_) sampledMalloc_ = std::max(sampledMalloc_, now - mallocBase_);
  }
  void Store(SideReport& report) {
    Sample();
    report.peakHeapBytes = heap::Peak() - heapBase_;
    report.sampledMallocBytes = sampledMalloc_;
  }

 private:
  std::size_t heapBase_;
  std::size_t mallocBase_;
  std::size_t sampledMalloc_ = 0;
};

class Session {
 public:
  Session(const Workload& workload, const std::string& fileSet) : workload_(workload), name_(fileSet) {
    const int obtained = engine_.InitEngine(kPageBuffers);
    if (!engine_.Ok()) Fail(engine_, "InitEngine(%d)", kPageBuffers);
    if (obtained < Engine::kMinPageBuffers) Wrong("InitEngine(%d) obtained %d page buffers", kPageBuffers, obtained);
  }

  Engine& engine() { return engine_; }
  FileBlock* file() { return file_; }
  std::int32_t records() const { return workload_.options().records; }

  void Create() {
    const auto& indexes = TransactionIndexes();
    engine_.CreateFileSet(name_, kRecordLength, indexes);
    if (!engine_.Ok()) Fail(engine_, "CreateFileSet(%s, %d, 6 indexes)", name_.c_str(), kRecordLength);
  }
  void Open() {
    file_ = engine_.OpenFileSet(name_, false);
    if (!engine_.Ok() || file_ == nullptr) Fail(engine_, "OpenFileSet(%s)", name_.c_str());
  }
  void Close() {
    engine_.CloseFileSet(file_);
    if (!engine_.Ok()) Fail(engine_, "CloseFileSet(%s)", name_.c_str());
    engine_.ExitEngine();
    if (!engine_.Ok()) Fail(engine_, "ExitEngine()");
  }

  RecordNumber AddWithKeys(const Record& record) {
    const RecordNumber number = engine_.AddRecord(file_, Bytes(record));
    if (!engine_.Ok()) {
      const std::string_view invoice = GetField(record, field::kInvoiceNo);
      Fail(engine_, "AddRecord(invoice %.*s)", static_cast<int>(invoice.size()), invoice.data());
    }
    for (KeyNumber k = 1; k <= kKeyCount; ++k) {
      const KeyString key = BuildKey(record, k);
      engine_.AddKey(file_, k, number, key);
      if (!engine_.Ok()) Fail(engine_, "AddKey(index %d, record %d, key '%s')", k, number, key.str().c_str());
    }
    return number;
  }

  void Read(RecordNumber number, Record& record) {
    engine_.GetRecord(file_, number, Bytes(record));
    if (!engine_.Ok()) Fail(engine_, "GetRecord(record %d)", number);
  }

  // Positions index `k` on the first entry at or after `key`; false when there is none.
  bool Search(KeyNumber k, RecordNumber& number, KeyString& key) {
    const KeyString sought = key;
    engine_.SearchKey(file_, k, number, key);
    if (engine_.Status() == status::kSearchNotFound) return false;
    if (!engine_.Ok()) Fail(engine_, "SearchKey(index %d, key '%s')", k, sought.str().c_str());
    return true;
  }
  bool Next(KeyNumber k, RecordNumber& number, KeyString& key) {
    const KeyString previous = key;
    const RecordNumber previousNumber = number;
    engine_.NextKey(file_, k, number, key);
    if (engine_.Status() == status::kNextAtEnd) return false;
    if (!engine_.Ok())
      Fail(engine_, "NextKey(index %d, after record %d key '%s')", k, previousNumber, previous.str().c_str());
    return true;
  }

  // Reads every record whose key in index `k` lies in first..last, in index order.
  void ReadRange(KeyNumber k, const KeyString& first, const KeyString& last, Digest& digest) {
    KeyString key = first;
    RecordNumber number = 0;
    Record record;
    for (bool found = Search(k, number, key); found && Compare(key, last) <= 0; found = Next(k, number, key)) {
      Read(number, record);
      digest.Add(Bytes(record));
    }
  }

 private:
  const Workload& workload_;
  std::string name_;
  Engine engine_;
  FileBlock* file_ = nullptr;
};

KeyString DateKey(const char (&date)[11]) { return KeyString(std::string_view(date, 10)); }


}  // namespace

void EngineLoadAndQuery(const Workload& workload, const std::string& fileSet, ChildReporter& reporter) {
  SideReport report;
  RecordBlocks blocks(workload, 1, workload.options().records);
  MemoryWatch memory;
  Session session(workload, fileSet);
  session.Create();
  session.Open();

  {
    Stopwatch watch;
    std::int64_t added = 0;
    while (blocks.Next()) {
      watch.Start();
      std::int64_t expected = blocks.firstNumber();
      for (const Record& record : blocks.records()) {
        const RecordNumber number = session.AddWithKeys(record);
        if (number != expected) {
          Wrong("AddRecord into a new file set gave record number %d to transaction %lld", number,
                static_cast<long long>(expected));
        }
        ++expected;
      }
      watch.Stop();
      added += static_cast<std::int64_t>(blocks.records().size());
    }
    report.steps[kLoad] = {watch.seconds(), static_cast<std::uint64_t>(added), 0};
    memory.Sample();
  }
  SettleWrites();

  report.steps[kLookup] = MedianOfRuns([&] {
    Rng stream = workload.LookupStream();
    Record probe, record;
    Digest digest;
    Stopwatch watch;
    watch.Start();
    for (std::int32_t j = 0; j < workload.options().lookups; ++j) {
      workload.NextLookup(stream, probe);
      const KeyString sought = BuildKey(probe, 1);
      KeyString key = sought;
      RecordNumber number = 0;
      if (session.Search(1, number, key) && key == sought) {
        session.Read(number, record);
        digest.Add(Bytes(record));
      } else {
        digest.Add(std::string_view());
      }
    }
    watch.Stop();
    return Outcome(watch, digest);
  });
  memory.Sample();

  report.steps[kCustomerWalk] = MedianOfRuns([&] {
    Rng stream = workload.CustomerStream();
    Record probe;
    Digest digest;
    Stopwatch watch;
    watch.Start();
    for (std::int32_t j = 0; j < workload.options().customerWalks; ++j) {
      workload.NextCustomer(stream, probe);
      const KeyString customer = BuildKey(probe, 2);
      session.ReadRange(2, customer, customer, digest);
    }
    watch.Stop();
    return Outcome(watch, digest);
  });
  memory.Sample();

  report.steps[kDateRange] = MedianOfRuns([&] {
    Rng stream = workload.DateRangeStream();
    char first[11], last[11];
    Digest digest;
    Stopwatch watch;
    watch.Start();
    for (std::int32_t j = 0; j < workload.options().dateRanges; ++j) {
      workload.NextDateRange(stream, first, last);
      session.ReadRange(3, DateKey(first), DateKey(last), digest);
    }
    watch.Stop();
    return Outcome(watch, digest);
  });

  memory.Store(report);
  // Ends the process with the file set still open and changed: the next open must
  // find it not closed properly.
  reporter.Finish(report);
}

void EngineRebuild(const Workload& workload, const std::string& fileSet, ChildReporter& reporter) {
  SideReport report;
  const auto& indexes = TransactionIndexes();
  engine::RebuildRequest request;
  request.name = fileSet;
  request.recordLength = kRecordLength;
  request.indexes.assign(indexes.begin(), indexes.end());
  request.keyOf = [](std::span<const std::byte> record, KeyNumber k, KeyString& key) {
    return BuildKey(record, k, key);
  };
  MemoryWatch memory;
  Session session(workload, fileSet);
  Engine& engine = session.engine();

  FileBlock* file = engine.OpenFileSet(fileSet, false);
  if (engine.Status() != status::kMustRebuild) {
    if (file != nullptr) engine.CloseFileSet(file);
    Wrong("OpenFileSet(%s) of a file set left open after changes gave status %d, not %d", fileSet.c_str(),
          engine.Status(), status::kMustRebuild);
  }

  Stopwatch watch;
  watch.Start();
  engine.RebuildFileSet(request);
  watch.Stop();
  if (!engine.Ok()) Fail(engine, "RebuildFileSet(%s)", fileSet.c_str());
  memory.Store(report);

  session.Open();
  const std::int32_t used = engine.UsedRecords(session.file());
  if (!engine.Ok()) Fail(engine, "UsedRecords()");
  if (used != session.records()) Wrong("after the rebuild UsedRecords() is %d, not %d", used, session.records());
  for (KeyNumber k = 1; k <= kKeyCount; ++k) {
    const std::int32_t keys = engine.KeysInIndex(session.file(), k);
    if (!engine.Ok()) Fail(engine, "KeysInIndex(%d)", k);
    if (keys != session.records())
      Wrong("after the rebuild index %d holds %d keys, not %d", k, keys, session.records());
  }
  report.steps[kRebuild] = {watch.seconds(), static_cast<std::uint64_t>(used), 0};
  session.Close();
  reporter.Finish(report);
}

void EngineChangeAndVerify(const Workload& workload, const std::string& fileSet, ChildReporter& reporter) {
  SideReport report;
  const std::int32_t changes = workload.options().changes();
  const RandomPermutation victims = workload.Victims();
  RecordBlocks blocks(workload, std::int64_t{workload.options().records} + 1, changes);
  MemoryWatch memory;
  Session session(workload, fileSet);
  Engine& engine = session.engine();
  session.Open();

  {
    Record record, expected;
    Digest digest;
    Stopwatch watch;
    for (std::int32_t j = 0; j < changes; ++j) {
      const RecordNumber number = workload.Victim(victims, j);
      workload.MakeRecord(number, expected);
      watch.Start();
      session.Read(number, record);
      if (DeletionField(record) != 0) Wrong("record %d to be deleted is not in use", number);
      for (KeyNumber k = 1; k <= kKeyCount; ++k) {
        const KeyString key = BuildKey(record, k);
        engine.DeleteKey(session.file(), k, number, key);
        if (!engine.Ok()) Fail(engine, "DeleteKey(index %d, record %d, key '%s')", k, number, key.str().c_str());
      }
      engine.DeleteRecord(session.file(), number);
      if (!engine.Ok()) Fail(engine, "DeleteRecord(record %d)", number);
      watch.Stop();
      if (record != expected) Wrong("record %d read before its deletion is not the record loaded there", number);
      digest.Add(Bytes(record));
    }
    report.steps[kDelete] = Outcome(watch, digest);
    memory.Sample();
  }

  {
    Stopwatch watch;
    std::int64_t added = 0;
    while (blocks.Next()) {
      watch.Start();
      for (const Record& record : blocks.records()) {
        if (session.AddWithKeys(record) <= session.records()) ++report.reusedSlots;
      }
      watch.Stop();
      added += static_cast<std::int64_t>(blocks.records().size());
    }
    report.steps[kAdd] = {watch.seconds(), static_cast<std::uint64_t>(added), 0};
    memory.Sample();
  }

  const std::int32_t used = engine.UsedRecords(session.file());
  if (!engine.Ok()) Fail(engine, "UsedRecords()");
  if (used != session.records())
    Wrong("after deleting and adding %d records UsedRecords() is %d, not %d", changes, used, session.records());
  for (KeyNumber k = 1; k <= kKeyCount; ++k) {
    const std::int32_t keys = engine.KeysInIndex(session.file(), k);
    if (!engine.Ok()) Fail(engine, "KeysInIndex(%d)", k);
    if (keys != session.records())
      Wrong("after deleting and adding index %d holds %d keys, not %d", k, keys, session.records());

    Digest digest;
    KeyString key;
    RecordNumber number = 0;
    Record record;
    for (bool found = session.Search(k, number, key); found; found = session.Next(k, number, key)) {
      if (k == 1) {
        session.Read(number, record);
        digest.Add(Bytes(record));
      } else {
        digest.Add(key.view());
      }
    }
    report.indexContents[k - 1] = {0, digest.rows(), digest.value()};
  }
  memory.Store(report);
  session.Close();
  reporter.Finish(report);
}

}  // namespace bench
