// A process that dies without closing its file set: the next open must refuse the file set
// when its counters on disk are stale, and a rebuild must bring back everything the dead
// process had written.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

using testing::FileNamesIn;
using testing::ItemField;
using testing::KeyedItem;
using testing::ReadBytes;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

constexpr std::array<IndexSpec, 2> kIndexes{{{8, false}, {12, true}}};
const std::vector<ItemField> kFields{ItemField::kCode, ItemField::kName};
constexpr int kInitialItems = 30;

KeyedItem ItemOf(int serial) {
  char code[16];
  char name[16];
  std::snprintf(code, sizeof code, "C%05d", serial);
  std::snprintf(name, sizeof name, "NAME%02d", serial % 7);  // shared by several records
  return testing::MakeKeyedItem(serial, code, name, "");
}

RebuildRequest Request(const std::string& name, RebuildProgressFn progress = {}) {
  return {name, sizeof(KeyedItem), {kIndexes.begin(), kIndexes.end()}, testing::KeyFunctionOf(kFields),
          std::move(progress), {}};
}

// The dead process's record numbers: slot -> serial of the record in use there.
using SlotMap = std::map<RecordNumber, int>;

void CreateItems(const std::string& name, int count) {
  Engine engine;
  engine.InitEngine(30);
  engine.CreateFileSet(name, sizeof(KeyedItem), kIndexes);
  FileBlock* fileBlock = engine.OpenFileSet(name, false);
  ASSERT_EQ(engine.Status(), status::kOk);
  for (int serial = 0; serial < count; ++serial) {
    const KeyedItem item = ItemOf(serial);
    const RecordNumber number = engine.AddRecord(fileBlock, RecordBytes(item));
    ASSERT_EQ(engine.Status(), status::kOk);
    for (KeyNumber k = 1; k <= 2; ++k) {
      engine.AddKey(fileBlock, k, number, KeyOfField(item, kFields[k - 1]));
      ASSERT_EQ(engine.Status(), status::kOk);
    }
  }
  engine.CloseFileSet(fileBlock);
  ASSERT_EQ(engine.Status(), status::kOk);
}

SlotMap InitialSlots(int count) {
  SlotMap slots;
  for (int serial = 0; serial < count; ++serial) slots[serial + 1] = serial;
  return slots;
}

// The child's side: record changes made with all their keys, each reported once complete.
class Child {
 public:
  Child(int pipe, const std::string& name) : pipe_(pipe) {
    engine_.InitEngine(30);
    fileBlock_ = engine_.OpenFileSet(name, false);
    Check("open");
  }
  Engine& engine() { return engine_; }
  void Say(const std::string& line) {
    const std::string text = line + "\n";
    if (write(pipe_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) _exit(3);
  }
  void Check(const char* what) {
    if (engine_.Ok()) return;
    Say(std::string("error ") + what + " " + std::to_string(engine_.Status()));
    _exit(2);
  }
  void Add(int serial) {
    const KeyedItem item = ItemOf(serial);
    const RecordNumber number = engine_.AddRecord(fileBlock_, RecordBytes(item));
    Check("AddRecord");
    for (KeyNumber k = 1; k <= 2; ++k) {
      engine_.AddKey(fileBlock_, k, number, KeyOfField(item, kFields[k - 1]));
      Check("AddKey");
    }
    Say("add " + std::to_string(number) + " " + std::to_string(serial));
  }
  void Remove(RecordNumber number) {
    KeyedItem item;
    engine_.GetRecord(fileBlock_, number, RecordBytes(item));
    Check("GetRecord");
    for (KeyNumber k = 1; k <= 2; ++k) {
      engine_.DeleteKey(fileBlock_, k, number, KeyOfField(item, kFields[k - 1]));
      Check("DeleteKey");
    }
    engine_.DeleteRecord(fileBlock_, number);
    Check("DeleteRecord");
    Say("del " + std::to_string(number));
  }
  void Replace(RecordNumber number, int serial) {
    KeyedItem old;
    engine_.GetRecord(fileBlock_, number, RecordBytes(old));
    Check("GetRecord");
    const KeyedItem item = ItemOf(serial);
    for (KeyNumber k = 1; k <= 2; ++k) {
      engine_.DeleteKey(fileBlock_, k, number, KeyOfField(old, kFields[k - 1]));
      Check("DeleteKey");
      engine_.AddKey(fileBlock_, k, number, KeyOfField(item, kFields[k - 1]));
      Check("AddKey");
    }
    engine_.PutRecord(fileBlock_, number, RecordBytes(item));
    Check("PutRecord");
    Say("put " + std::to_string(number) + " " + std::to_string(serial));
  }
  FileBlock* fileBlock() { return fileBlock_; }
  void Close() {
    engine_.CloseFileSet(fileBlock_);
    Check("close");
  }

 private:
  int pipe_;
  Engine engine_;
  FileBlock* fileBlock_ = nullptr;
};

// Runs `body` in a child process, reads its report lines and kills it with SIGKILL as soon
// as `killAfter` accepts a line (or the child says "ready"). Returns the lines read.
std::vector<std::string> RunAndKill(const std::string& name, const std::function<void(Child&)>& body,
                                    const std::function<bool(const std::string&)>& killAfter = {}) {
  int fds[2];
  if (pipe(fds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return {};
  }
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    Child child(fds[1], name);
    body(child);
    child.Say("ready");
    for (;;) pause();
  }
  close(fds[1]);
  std::vector<std::string> lines;
  std::string pending;
  bool stop = false;
  while (!stop) {
    pollfd waiting{fds[0], POLLIN, 0};
    if (poll(&waiting, 1, 30000) <= 0) {
      ADD_FAILURE() << "the child went silent";
      break;
    }
    char chunk[512];
    const ssize_t got = read(fds[0], chunk, sizeof chunk);
    if (got <= 0) break;
    pending.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end; !stop && (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
      lines.push_back(pending.substr(0, end));
      stop = lines.back() == "ready" || lines.back().starts_with("error") || (killAfter && killAfter(lines.back()));
    }
  }
  kill(pid, SIGKILL);
  int waitStatus = 0;
  waitpid(pid, &waitStatus, 0);
  close(fds[0]);
  EXPECT_EQ(WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0, SIGKILL) << "the child ended on its own";
  for (const std::string& line : lines) EXPECT_FALSE(line.starts_with("error")) << line;
  return lines;
}

void Apply(const std::vector<std::string>& lines, SlotMap& slots) {
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::string verb;
    RecordNumber number = 0;
    int serial = 0;
    in >> verb >> number >> serial;
    if (verb == "add" || verb == "put") slots[number] = serial;
    if (verb == "del") slots.erase(number);
  }
}

std::vector<int> Serials(const std::vector<std::pair<RecordNumber, KeyedItem>>& items) {
  std::vector<int> serials;
  for (const auto& [number, item] : items) serials.push_back(item.serial);
  return serials;
}

std::vector<int> Serials(const SlotMap& slots) {
  std::vector<int> serials;
  for (const auto& [slot, serial] : slots) serials.push_back(serial);
  return serials;
}

// The records in use of an open file set, in slot order; checks that their bytes are as
// written and that both indexes hold exactly their keys under their numbers.
std::vector<std::pair<RecordNumber, KeyedItem>> CheckedItems(Engine& engine, FileBlock* fileBlock) {
  const auto items = testing::ReadKeyedItems(engine, fileBlock);
  int changed = 0;
  for (const auto& [number, item] : items) {
    const KeyedItem expected = ItemOf(item.serial);
    changed += std::memcmp(&item, &expected, sizeof expected) != 0;
  }
  EXPECT_EQ(changed, 0) << "records whose bytes differ from what was written";
  for (KeyNumber k = 1; k <= 2; ++k) {
    EXPECT_EQ(testing::WalkIndex(engine, fileBlock, k), testing::ExpectedEntries(items, kFields[k - 1])) << "index " << k;
    EXPECT_EQ(engine.KeysInIndex(fileBlock, k), static_cast<std::int32_t>(items.size()));
  }
  return items;
}

// Opens the rebuilt file set and returns its records, checked as above and numbered 1..n.
std::vector<int> RebuiltSerials(const std::string& name) {
  Engine engine;
  engine.InitEngine(30);
  FileBlock* fileBlock = engine.OpenFileSet(name, false);
  EXPECT_EQ(engine.Status(), status::kOk);
  if (fileBlock == nullptr) return {};
  const auto items = CheckedItems(engine, fileBlock);
  EXPECT_EQ(engine.FileLength(fileBlock), static_cast<std::int32_t>(items.size()) + 1);
  for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].first, static_cast<RecordNumber>(i + 1));
  engine.CloseFileSet(fileBlock);
  EXPECT_EQ(engine.Status(), status::kOk);
  return Serials(items);
}

// After a crash that left stale counters: open refuses with 10010, holds no file open
// afterwards, and keeps refusing until a rebuild.
void ExpectRefusedUntilRebuilt(const std::string& name) {
  const auto dat = ReadBytes(name + ".DAT");
  ASSERT_GT(dat.size(), 20u);
  EXPECT_EQ(dat[20], 1) << "OpenFlag on disk";
  Engine engine;
  engine.InitEngine(30);
  const int descriptors = testing::OpenDescriptorCount();
  for (int attempt = 0; attempt < 2; ++attempt) {
    FileBlock* fileBlock = engine.OpenFileSet(name, false);
    EXPECT_EQ(engine.Status(), status::kMustRebuild) << "attempt " << attempt;
    if (fileBlock != nullptr) engine.CloseFileSet(fileBlock);
    EXPECT_EQ(testing::OpenDescriptorCount(), descriptors) << "the refused open left files open";
  }
  engine.RebuildFileSet(Request(name));
  EXPECT_EQ(engine.Status(), status::kOk);
  const auto rebuilt = ReadBytes(name + ".DAT");
  ASSERT_GT(rebuilt.size(), 20u);
  EXPECT_EQ(rebuilt[20], 0) << "OpenFlag after the rebuild";
}

TEST(CrashRecovery, KilledSessionIsRefusedAtOpenOnlyWhenItChangedCountersOrKeys) {
  struct Case {
    const char* what;
    std::function<void(Engine&, FileBlock*)> change;
    bool mustRebuild;
    int serialOfThird;  // when the file set opens normally
  };
  const std::vector<Case> cases = {
      {"only reading", [](Engine& e, FileBlock* f) {
         testing::WalkIndex(e, f, 1);  // ends with a not-found status
         testing::ReadKeyedItems(e, f);
       }, false, 2},
      {"PutRecord", [](Engine& e, FileBlock* f) { e.PutRecord(f, 3, RecordBytes(ItemOf(500))); }, false, 500},
      {"AddRecord", [](Engine& e, FileBlock* f) { e.AddRecord(f, RecordBytes(ItemOf(501))); }, true, 0},
      {"DeleteRecord", [](Engine& e, FileBlock* f) { e.DeleteRecord(f, 4); }, true, 0},
      {"AddKey", [](Engine& e, FileBlock* f) { e.AddKey(f, 2, 5, "EXTRA"); }, true, 0},
      {"DeleteKey", [](Engine& e, FileBlock* f) { e.DeleteKey(f, 1, 6, KeyOfField(ItemOf(5), ItemField::kCode)); },
       true, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TempDir dir;
    const std::string name = dir.Name("ITEMS");
    CreateItems(name, 10);
    RunAndKill(name, [&](Child& child) {
      test.change(child.engine(), child.fileBlock());
      child.Check(test.what);
    });
    if (test.mustRebuild) {
      ExpectRefusedUntilRebuilt(name);
      continue;
    }
    EXPECT_EQ(ReadBytes(name + ".DAT").at(20), 0) << "OpenFlag on disk";
    Engine engine;
    engine.InitEngine(30);
    FileBlock* fileBlock = engine.OpenFileSet(name, false);
    ASSERT_EQ(engine.Status(), status::kOk);
    KeyedItem third;
    engine.GetRecord(fileBlock, 3, RecordBytes(third));
    EXPECT_EQ(third.serial, test.serialOfThird);
    engine.CloseFileSet(fileBlock);
  }
}

TEST(CrashRecovery, RebuildAfterKillBringsBackEveryRecordAndKeyInSlotOrder) {
  TempDir dir;
  const std::string name = dir.Name("ITEMS");
  CreateItems(name, kInitialItems);
  const auto lines = RunAndKill(name, [](Child& child) {
    for (int serial = 100; serial < 125; ++serial) child.Add(serial);
    for (RecordNumber number : {4, 9, 17, 33}) child.Remove(number);
    child.Replace(2, 200);
    child.Replace(40, 201);
    for (int serial = 125; serial < 127; ++serial) child.Add(serial);
  });
  SlotMap slots = InitialSlots(kInitialItems);
  Apply(lines, slots);
  ExpectRefusedUntilRebuilt(name);
  EXPECT_EQ(RebuiltSerials(name), Serials(slots));
  EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"ITEMS.DAT", "ITEMS.IX"}));
}

TEST(CrashRecovery, KillInTheMiddleOfAddingLosesNoReportedRecord) {
  TempDir dir;
  const std::string name = dir.Name("ITEMS");
  CreateItems(name, kInitialItems);
  int added = 0;
  const auto lines = RunAndKill(
      name,
      [](Child& child) {
        for (RecordNumber number : {5, 12, 20}) child.Remove(number);
        for (int serial = 1000; serial < 20000; ++serial) child.Add(serial);
      },
      [&](const std::string& line) { return line.starts_with("add") && ++added == 150; });
  ASSERT_EQ(added, 150);
  SlotMap slots = InitialSlots(kInitialItems);
  Apply(lines, slots);
  ExpectRefusedUntilRebuilt(name);
  // The child may have finished a few more records between its last report and its death;
  // those can only follow, in the order it added them.
  const std::vector<int> reported = Serials(slots);
  const std::vector<int> rebuilt = RebuiltSerials(name);
  ASSERT_GE(rebuilt.size(), reported.size());
  EXPECT_EQ(std::vector<int>(rebuilt.begin(), rebuilt.begin() + static_cast<std::ptrdiff_t>(reported.size())),
            reported);
  for (std::size_t i = reported.size(); i < rebuilt.size(); ++i)
    EXPECT_EQ(rebuilt[i], 1000 + added + static_cast<int>(i - reported.size())) << "unreported record " << i;
}

// Kills a rebuild from inside its progress routine at the given index and record.
void KillRebuildAt(const std::string& name, KeyNumber index, std::int32_t recordsRead) {
  RunAndKill(name, [&](Child& child) {
    child.Close();
    child.engine().RebuildFileSet(Request(name, [&](const RebuildProgress& progress) {
      if (progress.keyNumber == index && progress.recordsRead == recordsRead) {
        child.Say("ready");
        for (;;) pause();
      }
      return true;
    }));
    child.Say("error rebuild finished " + std::to_string(child.engine().Status()));
  });
}

TEST(CrashRecovery, KillDuringDataPassKeepsTheSavedCopyAndTheNextRebuildResumesFromIt) {
  TempDir dir;
  const std::string name = dir.Name("ITEMS");
  CreateItems(name, kInitialItems);
  const auto original = ReadBytes(name + ".DAT");
  KillRebuildAt(name, 0, 12);
  EXPECT_EQ(ReadBytes(name + ".SAV"), original);
  ASSERT_TRUE(std::filesystem::exists(name + ".DAT")) << "the unfinished new data file";
  Engine engine;
  engine.InitEngine(30);
  EXPECT_EQ(engine.OpenFileSet(name, false), nullptr);
  EXPECT_EQ(engine.Status(), status::kMustRebuild);
  engine.RebuildFileSet(Request(name));
  EXPECT_EQ(engine.Status(), status::kOk);
  EXPECT_EQ(RebuiltSerials(name), Serials(InitialSlots(kInitialItems)));
  EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"ITEMS.DAT", "ITEMS.IX"}));
}

TEST(CrashRecovery, KillDuringIndexPassLeavesFileSetToBeRebuiltAgain) {
  TempDir dir;
  const std::string name = dir.Name("ITEMS");
  CreateItems(name, kInitialItems);
  KillRebuildAt(name, 2, 12);
  EXPECT_FALSE(std::filesystem::exists(name + ".SAV"));
  ExpectRefusedUntilRebuilt(name);
  EXPECT_EQ(RebuiltSerials(name), Serials(InitialSlots(kInitialItems)));
}

// --- A rebuild killed at any point ----------------------------------------------------

// How the killed rebuild is run: the whole rebuild or its index pass alone, and the pass
// (0 for the data pass, else the index) and record (counted as read in that pass) at which
// its progress routine stops it; record 0 for none.
struct RebuildPlan {
  bool indexesOnly = false;
  KeyNumber stopInPass = 0;
  std::int32_t stopAtRecord = 0;
};

using EventFn = std::function<void(const std::string& event)>;

// Tells `onEvent` of each progress call and of each file change, in the order they come.
RebuildRequest TracedRequest(const std::string& name, const RebuildPlan& run, const EventFn& onEvent) {
  RebuildRequest request = Request(name, [run, onEvent](const RebuildProgress& progress) {
    onEvent("progress " + std::to_string(progress.keyNumber) + " " + std::to_string(progress.recordsRead));
    return progress.keyNumber != run.stopInPass || progress.recordsRead != run.stopAtRecord;
  });
  request.beforeFileChange = [onEvent](std::string_view step) { onEvent("file " + std::string(step)); };
  return request;
}

void Rebuild(Engine& engine, const RebuildPlan& run, const RebuildRequest& request) {
  if (run.indexesOnly) {
    engine.RebuildIndexFile(request);
  } else {
    engine.RebuildFileSet(request);
  }
}

// Answers 10010 with a rebuild, as the open protocol does, and expects the file set to
// open after at most two rebuilds.
void OpenAsTheProtocolWould(const std::string& name) {
  Engine engine;
  engine.InitEngine(30);
  for (int rebuilds = 0;; ++rebuilds) {
    FileBlock* fileBlock = engine.OpenFileSet(name, false);
    if (engine.Ok()) {
      engine.CloseFileSet(fileBlock);
      EXPECT_EQ(engine.Status(), status::kOk);
      return;
    }
    ASSERT_EQ(engine.Status(), status::kMustRebuild) << "after " << rebuilds << " rebuilds";
    ASSERT_LT(rebuilds, 2) << "still refused after two rebuilds";
    engine.RebuildFileSet(Request(name));
  }
}

// 126 slots, 120 of them in use, with their keys, closed properly.
class KilledRebuildTest : public ::testing::Test {
 protected:
  static constexpr RecordNumber kDeletedSlots[] = {3, 40, 41, 77, 100, 126};

  void SetUp() override {
    CreateItems(name_, 126);
    Engine engine;
    engine.InitEngine(30);
    FileBlock* fileBlock = engine.OpenFileSet(name_, false);
    for (RecordNumber number : kDeletedSlots) {
      const KeyedItem item = ItemOf(number - 1);
      for (KeyNumber k = 1; k <= 2; ++k) engine.DeleteKey(fileBlock, k, number, KeyOfField(item, kFields[k - 1]));
      engine.DeleteRecord(fileBlock, number);
    }
    engine.CloseFileSet(fileBlock);
    ASSERT_EQ(engine.Status(), status::kOk);
    data_ = ReadBytes(name_ + ".DAT");
    index_ = ReadBytes(name_ + ".IX");
    for (int serial = 0; serial < 126; ++serial)
      if (std::ranges::find(kDeletedSlots, serial + 1) == std::end(kDeletedSlots)) inUse_.push_back(serial);
  }

  void PutBackTheFileSet() {
    for (const std::string& file : FileNamesIn(dir_.path())) std::filesystem::remove(dir_.path() / file);
    testing::WriteBytes(name_ + ".DAT", data_);
    testing::WriteBytes(name_ + ".IX", index_);
  }

  // Everything the rebuild does, from a run to its end in this process.
  std::vector<std::string> EventsOf(const RebuildPlan& run) {
    PutBackTheFileSet();
    std::vector<std::string> events;
    Engine engine;
    engine.InitEngine(30);
    Rebuild(engine, run, TracedRequest(name_, run, [&](const std::string& event) { events.push_back(event); }));
    EXPECT_EQ(engine.Status(), run.stopAtRecord == 0 ? status::kOk : status::kStoppedByProgress);
    return events;
  }

  // Kills a rebuild in a child process at its n-th event (1-based), before the event is acted on.
  void KillAtEvent(const RebuildPlan& run, std::size_t n) {
    PutBackTheFileSet();
    RunAndKill(name_, [&](Child& child) {
      child.Close();
      std::size_t seen = 0;
      Rebuild(child.engine(), run, TracedRequest(name_, run, [&](const std::string&) {
        if (++seen < n) return;
        child.Say("ready");
        for (;;) pause();
      }));
      child.Say("error rebuild finished " + std::to_string(child.engine().Status()));
    });
  }

  // Every record in use before is found once, unchanged, through both indexes, and the
  // file set closes and opens again cleanly; the rebuild leaves nothing of its own behind.
  void ExpectEveryRecordBack() {
    ASSERT_NO_FATAL_FAILURE(OpenAsTheProtocolWould(name_));
    Engine engine;
    engine.InitEngine(30);
    FileBlock* fileBlock = engine.OpenFileSet(name_, false);
    ASSERT_EQ(engine.Status(), status::kOk);
    EXPECT_EQ(Serials(CheckedItems(engine, fileBlock)), inUse_);
    engine.CloseFileSet(fileBlock);
    EXPECT_EQ(engine.Status(), status::kOk);
    fileBlock = engine.OpenFileSet(name_, false);
    EXPECT_EQ(engine.Status(), status::kOk);
    engine.CloseFileSet(fileBlock);
    EXPECT_EQ(FileNamesIn(dir_.path()), (std::vector<std::string>{"ITEMS.DAT", "ITEMS.IX"}));
  }

  // Kills the run at each of its events that `wanted` accepts, from the `from`-th on, and
  // repairs and checks the file set after each kill.
  void KillAtEachEvent(const RebuildPlan& run, const std::function<bool(const std::string&)>& wanted,
                       std::size_t from = 1) {
    const std::vector<std::string> events = EventsOf(run);
    ASSERT_GE(events.size(), from);
    int kills = 0;
    for (std::size_t n = from; n <= events.size() && !HasFailure(); ++n) {
      if (!wanted(events[n - 1])) continue;
      SCOPED_TRACE("killed at event " + std::to_string(n) + ": " + events[n - 1]);
      KillAtEvent(run, n);
      ExpectEveryRecordBack();
      ++kills;
    }
    EXPECT_GT(kills, 0);
  }

  static bool FileChange(const std::string& event) { return event.starts_with("file "); }

  TempDir dir_;
  const std::string name_ = dir_.Name("ITEMS");
  Bytes data_, index_;
  std::vector<int> inUse_;
};

// Killed rebuilds once left a saved copy refused forever, an empty new data file or one
// without indexes that opened as good, or a saved copy the open reported as not found.
TEST_F(KilledRebuildTest, KillAtEveryProgressCallAndFileChangeLosesNoRecord) {
  const RebuildPlan whole;
  const std::vector<std::string> events = EventsOf(whole);
  EXPECT_EQ(std::ranges::count_if(events, [](const std::string& e) { return e.starts_with("progress"); }),
            126 + 2 * 120);
  KillAtEachEvent(whole, [](const std::string&) { return true; });
}

TEST_F(KilledRebuildTest, KillWhileAFailedRebuildCleansUpLosesNoRecord) {
  struct Case {
    const char* what;
    RebuildPlan run;
    int fileChangesAfterStop;
  };
  const Case cases[] = {
      {"data pass: the old file is put back", {false, 0, 60}, 4},
      {"index pass: the data file is marked for another rebuild", {false, 2, 60}, 1},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const std::vector<std::string> events = EventsOf(test.run);
    const std::string stopEvent = "progress " + std::to_string(test.run.stopInPass) + " 60";
    const auto stop = std::ranges::find(events, stopEvent);
    ASSERT_NE(stop, events.end());
    EXPECT_EQ(std::count_if(stop, events.end(), FileChange), test.fileChangesAfterStop);
    KillAtEachEvent(test.run, FileChange, static_cast<std::size_t>(stop - events.begin()) + 2);
  }
}

TEST_F(KilledRebuildTest, KillWhileIndexPassAloneReplacesTheIndexFileLosesNoKey) {
  KillAtEachEvent({true, 0, 0}, [](const std::string& event) {
    return FileChange(event) || event.ends_with(" 1");  // and the first key of each index
  });
}

}  // namespace
}  // namespace engine
