// Damaged data and index files: whatever the damage, every operation must return, report
// failure through a status code, and leave no stray file behind.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

using testing::Int16At;
using testing::Int32At;
using testing::KeyedItem;
using testing::ReadBytes;
using testing::SetInt16At;
using testing::SetInt32At;
using testing::TempDir;
using testing::WriteBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr std::array<IndexSpec, 2> kIndexes{{{5, false}, {12, true}}};
constexpr std::array<std::size_t, 2> kKeyLength{5, 12};
constexpr std::array<std::size_t, 2> kColumn{0, 874};  // page slots of 874 and 1308 bytes
constexpr std::size_t kRow = 874 + 1308;
constexpr int kRecords = 40;
constexpr int kKeys = 170;  // per index: enough for a root over several leaves
constexpr int kStepLimit = 2 * kKeys + 20;
constexpr std::size_t kLength = sizeof(KeyedItem);

std::string Key(KeyNumber index, int i) {
  char text[16];
  if (index == 1) std::snprintf(text, sizeof text, "A%04d", i);
  if (index == 2) std::snprintf(text, sizeof text, "DUP-%03d", i % 50);
  return text;
}
RecordNumber RecordOfKey(int i) { return i % kRecords + 1; }

struct Pristine {
  Bytes data, index;
  std::size_t rows = 0;
  std::array<std::size_t, 2> root{};  // byte offset of each index's root page
  std::size_t Page(int k, std::int32_t page) const { return static_cast<std::size_t>(page) * kRow + kColumn[k]; }
  std::size_t Item(int k, std::size_t page, int item) const { return page + 6 + (item - 1) * (kKeyLength[k] + 9); }
};

// Two indexes of two levels each, with deleted records and keys, closed properly.
Pristine Build() {
  TempDir dir;
  const std::string name = dir.Name("ITEMS");
  Engine engine;
  engine.InitEngine(30);
  engine.CreateFileSet(name, kLength, kIndexes);
  FileBlock* fileBlock = engine.OpenFileSet(name, false);
  for (int serial = 0; serial < kRecords; ++serial)
    engine.AddRecord(fileBlock, RecordBytes(testing::MakeKeyedItem(serial, Key(1, serial), Key(2, serial), "")));
  std::vector<int> order(kKeys);
  for (int i = 0; i < kKeys; ++i) order[static_cast<std::size_t>(i)] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  for (int i : order)
    for (KeyNumber k = 1; k <= 2; ++k) engine.AddKey(fileBlock, k, RecordOfKey(i), Key(k, i));
  for (int i = 100; i < 140; ++i) engine.DeleteKey(fileBlock, 1, RecordOfKey(i), Key(1, i));
  for (RecordNumber number : {7, 13, 29}) engine.DeleteRecord(fileBlock, number);
  engine.CloseFileSet(fileBlock);
  EXPECT_EQ(engine.Status(), status::kOk);
  Pristine pristine{ReadBytes(name + ".DAT"), ReadBytes(name + ".IX")};
  pristine.rows = pristine.index.size() / kRow;
  for (int k = 0; k < 2; ++k) pristine.root[k] = pristine.Page(k, Int32At(pristine.index, kColumn[k] + 16));
  return pristine;
}

// Checks that the fixture is what the damage below assumes.
void ExpectTwoLevelTrees(const Pristine& p) {
  ASSERT_EQ(p.data.size(), (kRecords + 1) * kLength);
  ASSERT_EQ(p.index.size() % kRow, 0u);
  for (int k = 0; k < 2; ++k) {
    ASSERT_LT(p.root[k], p.index.size());
    EXPECT_NE(Int32At(p.index, p.root[k] + 2), 0) << "root of index " << k + 1 << " is a leaf";
  }
}

// The codes status.h defines for the engine's own operations.
bool KnownStatus(int code) {
  static const std::set<int> known = {
      9900,  9901,  9903,  9904,  9908,  10000, 10001, 10002, 10003, 10004, 10010, 10020, 10030,
      10040, 10050, 10055, 10060, 10065, 10070, 10075, 10080, 10090, 10100, 10120, 10121, 10122,
      10125, 10130, 10135, 10140, 10160, 10164, 10170, 10180, 10205, 10210, 10215, 10220, 10230,
      10250, 10255, 10260, 10265, 10270, 10275, 10280, 10285, 10390, 10397, 10399, 10410, 10411,
      10412, 10420, 10425, 10430, 10440, 10445, 10446, 10450, 10451, 10455};
  return known.count(code) != 0;
}

// A series of damaged cases run in a child process: a crash or a hang then names the case
// that caused it, and a new child carries on with the cases after it.
class Sweep {
 public:
  Sweep(int pipe, int first) : pipe_(pipe), first_(first) {}
  // Announces the next case; false when an earlier child has already run it.
  bool Case(const std::string& label) {
    if (next_++ < first_) return false;
    Send('C', std::to_string(next_ - 1) + " " + label);
    return true;
  }
  void Fail(const std::string& message) {
    if (++failures_ <= kShown) Send('F', message);
  }
  void Finish() {
    if (failures_ > kShown) Send('F', "and " + std::to_string(failures_ - kShown) + " more failures");
    Send('E', "");
  }

 private:
  static constexpr int kShown = 20;
  void Send(char kind, const std::string& text) {
    const std::string line = kind + (" " + text) + "\n";
    if (write(pipe_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) _exit(3);
  }
  int pipe_;
  int first_;
  int next_ = 0;
  int failures_ = 0;
};

// Runs the cases from number `first` on in a child; returns the number of the case in
// which the child crashed or hung, or -1 when it finished.
int RunSweepFrom(const std::function<void(Sweep&)>& body, int first) {
  int fds[2];
  if (pipe(fds) != 0) return ADD_FAILURE() << "pipe failed", -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    Sweep sweep(fds[1], first);
    body(sweep);
    sweep.Finish();
    _exit(0);
  }
  close(fds[1]);
  int current = first - 1;
  std::string label = "(before the first case)";
  std::string pending;
  bool finished = false;
  bool hung = false;
  while (!hung) {
    pollfd waiting{fds[0], POLLIN, 0};
    if (poll(&waiting, 1, 20000) == 0) {
      kill(pid, SIGKILL);
      hung = true;
      continue;
    }
    char chunk[4096];
    const ssize_t got = read(fds[0], chunk, sizeof chunk);
    if (got <= 0) break;
    pending.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
      const std::string text = pending.substr(2, end - 2);
      if (pending[0] == 'C') {
        current = std::stoi(text);
        label = text.substr(text.find(' ') + 1);
      }
      if (pending[0] == 'F') ADD_FAILURE() << label << ": " << text;
      if (pending[0] == 'E') finished = true;
    }
  }
  close(fds[0]);
  int waitStatus = 0;
  waitpid(pid, &waitStatus, 0);
  if (finished) return -1;
  if (hung) {
    ADD_FAILURE() << "no progress for 20 s in " << label;
  } else {
    ADD_FAILURE() << "died in " << label << " ("
                  << (WIFSIGNALED(waitStatus) ? "signal " + std::to_string(WTERMSIG(waitStatus))
                                              : "exit " + std::to_string(WEXITSTATUS(waitStatus)))
                  << ")";
  }
  return current;
}

void RunSweep(const std::function<void(Sweep&)>& body) {
  int first = 0;
  for (int child = 0; child < 10; ++child) {
    const int stopped = RunSweepFrom(body, first);
    if (stopped < 0) return;
    first = stopped + 1;
  }
  ADD_FAILURE() << "gave up after 10 crashed or hung cases";
}

// Opens the damaged file set and, if it opens, reads, walks and changes it a little, with
// every loop bounded.
void Exercise(const std::string& name, Sweep& sweep) {
  Engine engine;
  engine.InitEngine(30);
  const auto ok = [&](const char* operation) {
    if (engine.Ok()) return true;
    const int code = engine.Status();
    if (!KnownStatus(code) || code == status::kEngineBusy || code == status::kInvalidFileBlock)
      sweep.Fail(std::string(operation) + " set status " + std::to_string(code));
    return false;
  };
  FileBlock* fileBlock = engine.OpenFileSet(name, false);
  if (fileBlock == nullptr) {
    if (ok("OpenFileSet")) sweep.Fail("open gave no handle and status 0");
    return;
  }
  if (!ok("OpenFileSet")) sweep.Fail("open gave a handle and a failure status");
  RecordNumber number = 0;
  KeyString key;
  for (KeyNumber k = 1; k <= 2; ++k) {
    engine.KeysInIndex(fileBlock, k);
    ok("KeysInIndex");
    for (int step = 0; step < kStepLimit && (engine.NextKey(fileBlock, k, number, key), ok("NextKey")); ++step) {}
    for (int step = 0; step < kStepLimit && (engine.PrevKey(fileBlock, k, number, key), ok("PrevKey")); ++step) {}
    for (const char* probe : {"", "A0050", "DUP-025", "~~~~~"}) {
      key = probe;
      engine.SearchKey(fileBlock, k, number, key);
      ok("SearchKey");
      for (int mode : {-1, 0, 1}) {
        key = probe;
        engine.FindKey(fileBlock, k, number, key, mode);
        ok("FindKey");
      }
    }
    for (std::int32_t position : {0, 37, 100}) {
      engine.KeyAtPosition(fileBlock, k, position, 100, number, key);
      ok("KeyAtPosition");
    }
    engine.KeyPosition(fileBlock, k, "A0077", 9, 100);
    ok("KeyPosition");
  }
  const int length = engine.RecordLength(fileBlock);
  std::vector<RecordNumber> added;
  if (length >= Engine::kMinRecordLength && length <= 4096) {
    std::vector<std::byte> record(static_cast<std::size_t>(length));
    const std::int32_t slots = engine.FileLength(fileBlock);
    for (RecordNumber slot = 1; slot < std::min(slots, 2 * kRecords); ++slot) {
      engine.GetRecord(fileBlock, slot, record);
      ok("GetRecord");
    }
    number = 0;
    for (int step = 0; step < 2 * kRecords && (engine.NextUsedRecord(fileBlock, number), ok("NextUsedRecord")); ++step) {}
    engine.RecordAtPosition(fileBlock, 50, 100);
    ok("RecordAtPosition");
    std::fill(record.begin(), record.end(), std::byte{0x5A});
    std::fill(record.begin(), record.begin() + 4, std::byte{0});
    for (int i = 0; i < 3; ++i) {
      const RecordNumber fresh = engine.AddRecord(fileBlock, record);
      if (!ok("AddRecord")) continue;
      if (fresh < 1) sweep.Fail("AddRecord gave number " + std::to_string(fresh) + " and status 0");
      added.push_back(fresh);
    }
  }
  // Enough new keys to split a leaf, then their removal: pages are allocated and freed.
  const RecordNumber target = added.empty() ? 1 : added.front();
  const auto newKey = [](int i) {
    char key[16];
    std::snprintf(key, sizeof key, "Z%d", 1000 + i);
    return std::string(key);
  };
  for (int i = 0; i < 70; ++i) {
    for (KeyNumber k = 1; k <= 2; ++k) {
      engine.AddKey(fileBlock, k, target, newKey(i));
      ok("AddKey");
    }
  }
  for (int i = 0; i < 30; ++i) {
    engine.DeleteKey(fileBlock, 1, RecordOfKey(i), Key(1, i));
    ok("DeleteKey");
  }
  for (int i = 0; i < 70; ++i) {
    for (KeyNumber k = 1; k <= 2; ++k) {
      engine.DeleteKey(fileBlock, k, target, newKey(i));
      ok("DeleteKey");
    }
  }
  for (RecordNumber fresh : added) {
    engine.DeleteRecord(fileBlock, fresh);
    ok("DeleteRecord");
  }
  engine.CloseFileSet(fileBlock);
  ok("CloseFileSet");
}

// Writes the damaged copies in place of the file set and exercises them.
void RunCase(const TempDir& dir, const Bytes& data, const Bytes& index, Sweep& sweep) {
  for (const std::string& file : testing::FileNamesIn(dir.path())) std::filesystem::remove(dir.path() / file);
  WriteBytes(dir.path() / "ITEMS.DAT", data);
  WriteBytes(dir.path() / "ITEMS.IX", index);
  const int descriptors = testing::OpenDescriptorCount();
  Exercise(dir.Name("ITEMS"), sweep);
  if (testing::OpenDescriptorCount() != descriptors) sweep.Fail("files left open");
  for (const std::string& file : testing::FileNamesIn(dir.path()))
    if (file != "ITEMS.DAT" && file != "ITEMS.IX" && file != "ITEMS.DIA") sweep.Fail("stray file " + file);
}

TEST(Corruption, TruncatedDataFileNeverCrashesOrHangs) {
  const Pristine p = Build();
  ASSERT_NO_FATAL_FAILURE(ExpectTwoLevelTrees(p));
  TempDir dir;
  RunSweep([&](Sweep& sweep) {
    for (std::size_t length = 0; length <= p.data.size(); ++length) {
      if (!sweep.Case("data file cut to " + std::to_string(length) + " bytes")) continue;
      RunCase(dir, Bytes(p.data.begin(), p.data.begin() + static_cast<std::ptrdiff_t>(length)), p.index, sweep);
    }
  });
}

TEST(Corruption, TruncatedIndexFileNeverCrashesOrHangs) {
  const Pristine p = Build();
  ASSERT_NO_FATAL_FAILURE(ExpectTwoLevelTrees(p));
  // Every length near the headers, the start of each page slot and the end of each page's
  // used part; a stride elsewhere.
  std::set<std::size_t> lengths;
  const auto around = [&](std::size_t at, std::size_t reach) {
    for (std::size_t length = at > reach ? at - reach : 0; length <= at + reach; ++length) lengths.insert(length);
  };
  around(0, 48);
  for (std::size_t row = 0; row < p.rows; ++row) {
    for (int k = 0; k < 2; ++k) {
      const std::size_t page = row * kRow + kColumn[k];
      around(page, 24);
      if (row > 0) around(page + 6 + Int16At(p.index, page) * (kKeyLength[k] + 9), 12);
    }
  }
  for (std::size_t length = 0; length < p.index.size(); length += 53) lengths.insert(length);
  TempDir dir;
  RunSweep([&](Sweep& sweep) {
    for (std::size_t length : lengths) {
      if (length > p.index.size()) continue;
      if (!sweep.Case("index file cut to " + std::to_string(length) + " bytes")) continue;
      RunCase(dir, p.data, Bytes(p.index.begin(), p.index.begin() + static_cast<std::ptrdiff_t>(length)), sweep);
    }
  });
}

TEST(Corruption, RandomlyDamagedBytesNeverCrashOrHang) {
  const Pristine p = Build();
  ASSERT_NO_FATAL_FAILURE(ExpectTwoLevelTrees(p));
  TempDir dir;
  RunSweep([&](Sweep& sweep) {
    std::mt19937 random(20240611);
    const auto below = [&](std::size_t bound) { return static_cast<std::size_t>(random() % bound); };
    for (int round = 0; round < 4000; ++round) {
      Bytes data = p.data;
      Bytes index = p.index;
      std::string label = "damage #" + std::to_string(round) + ":";
      for (std::size_t change = 0, changes = 1 + below(3); change < changes; ++change) {
        const int k = static_cast<int>(below(2));
        const std::size_t item = 6 + below(62) * (kKeyLength[k] + 9);
        std::size_t offset = 0;
        bool inIndex = true;
        switch (below(10)) {
          case 0: case 1: case 2: offset = below(21), inIndex = false; break;                           // data header
          case 3: offset = (1 + below(kRecords)) * kLength + below(4), inIndex = false; break;         // deletion field
          case 4: case 5: offset = kColumn[k] + below(28); break;                                      // index header
          case 6: offset = p.Page(k, 1 + static_cast<int>(below(p.rows - 1))) + below(6); break;      // page header
          default: offset = p.Page(k, 1 + static_cast<int>(below(p.rows - 1))) + item + below(10); break;  // item
        }
        Bytes& bytes = inIndex ? index : data;
        const std::uint8_t values[] = {static_cast<std::uint8_t>(random()), 0xFF, 0x00,
                                       static_cast<std::uint8_t>(bytes[offset] ^ (1u << below(8)))};
        bytes[offset] = values[below(4)];
        char note[48];
        std::snprintf(note, sizeof note, " %s@%zu=0x%02x", inIndex ? "ix" : "dat", offset, bytes[offset]);
        label += note;
      }
      if (sweep.Case(label)) RunCase(dir, data, index, sweep);
    }
  });
}

TEST(Corruption, AbsurdCountsAndCyclicPagesNeverCrashOrHang) {
  const Pristine p = Build();
  ASSERT_NO_FATAL_FAILURE(ExpectTwoLevelTrees(p));
  using Damage = std::function<void(Bytes& data, Bytes& index)>;
  const auto dataField = [](std::size_t offset, std::int32_t value) -> Damage {
    return [=](Bytes& data, Bytes&) { SetInt32At(data, offset, value); };
  };
  const auto indexField = [](std::size_t offset, std::int32_t value) -> Damage {
    return [=](Bytes&, Bytes& index) { SetInt32At(index, offset, value); };
  };
  const auto itemCount = [](std::size_t page, std::uint16_t value) -> Damage {
    return [=](Bytes&, Bytes& index) { SetInt16At(index, page, value); };
  };
  const std::size_t root = p.root[0];
  const std::int32_t rootPage = Int32At(p.index, 16);
  const std::size_t leaf = p.Page(0, Int32At(p.index, root + 2));
  const std::size_t root2 = p.root[1];
  const auto pages = static_cast<std::int32_t>(p.rows);
  const std::vector<std::pair<const char*, Damage>> cases = {
      {"NumRec 2^31-1", dataField(8, INT_MAX)},
      {"NumRec 2^30", dataField(8, 1 << 30)},
      {"NumRec -5", dataField(8, -5)},
      {"NumberFree -3", dataField(4, -3)},
      {"NumberFree -2^31", dataField(4, INT_MIN)},
      {"NumberFree 2^31-1", dataField(4, INT_MAX)},
      {"FirstFree far past the end", dataField(0, 1000000)},
      {"FirstFree -2^31", dataField(0, INT_MIN)},
      {"LenRec 0", dataField(12, 0)},
      {"LenRec -1", dataField(12, -1)},
      {"LenRec 20", dataField(12, 20)},
      {"LenRec 2^31-1", dataField(12, INT_MAX)},
      {"NrOfKeys 3, one more than the index file holds", dataField(16, 3)},
      {"NrOfKeys 0", dataField(16, 0)},
      {"NrOfKeys -1", dataField(16, -1)},
      {"RootRef past the last page", indexField(16, pages + 3)},
      {"RootRef -1", indexField(16, -1)},
      {"RootRef 2^31-1", indexField(16, INT_MAX)},
      {"RootRef 0 with keys present", indexField(16, 0)},
      {"NumPages 2^31-1", indexField(8, INT_MAX)},
      {"NumPages -1", indexField(8, -1)},
      {"NumPages 0", indexField(8, 0)},
      {"free-page chain starts at the root", [&](Bytes&, Bytes& index) {
         SetInt32At(index, 0, rootPage);
         SetInt32At(index, 4, 1);
       }},
      {"free-page chain head 2^31-1", indexField(0, INT_MAX)},
      {"NumKeys -1", indexField(22, -1)},
      {"PageSize 31 makes another whole key length", itemCount(26, 31)},
      {"PageSize 1", itemCount(26, 1)},
      {"root ItemCount 63", itemCount(root, 63)},
      {"root ItemCount 65535", itemCount(root, 0xFFFF)},
      {"root ItemCount 0", itemCount(root, 0)},
      {"leaf ItemCount 63", itemCount(leaf, 63)},
      {"leaf ItemCount 0", itemCount(leaf, 0)},
      {"root LeftChild past the last page", indexField(root + 2, pages + 5)},
      {"root LeftChild 2^31-1", indexField(root + 2, INT_MAX)},
      {"root LeftChild -1", indexField(root + 2, -1)},
      {"root LeftChild is the root itself", indexField(root + 2, rootPage)},
      {"root item 1 RightChild is the root itself", indexField(p.Item(0, root, 1) + 4, rootPage)},
      {"leaf LeftChild points back to the root", indexField(leaf + 2, rootPage)},
      {"root item 1 key length 255", [&](Bytes&, Bytes& index) { index[p.Item(0, root, 1) + 8] = 0xFF; }},
      {"leaf item 1 RecordNumber 0", indexField(p.Item(0, leaf, 1), 0)},
      {"leaf item 1 RecordNumber -1", indexField(p.Item(0, leaf, 1), -1)},
      {"second index root LeftChild is itself", indexField(root2 + 2, Int32At(p.index, kColumn[1] + 16))},
      {"second index root ItemCount 63", itemCount(root2, 63)},
  };
  TempDir dir;
  RunSweep([&](Sweep& sweep) {
    for (const auto& [what, damage] : cases) {
      Bytes data = p.data;
      Bytes index = p.index;
      damage(data, index);
      if (sweep.Case(what)) RunCase(dir, data, index, sweep);
    }
  });
}

// Searches read pages where they lie, checking only the items they meet: a key longer
// than its index allows is reported wherever a search, a walk or a change meets it.
TEST(Corruption, KeyLongerThanItsIndexIsDamageWhereverItIsMet) {
  const Pristine p = Build();
  ASSERT_NO_FATAL_FAILURE(ExpectTwoLevelTrees(p));
  const std::size_t firstLeaf = p.Page(0, Int32At(p.index, p.root[0] + 2));
  const std::vector<std::pair<const char*, std::size_t>> places = {
      {"root item 1", p.Item(0, p.root[0], 1)}, {"first leaf item 1", p.Item(0, firstLeaf, 1)}};
  using Operation = std::function<void(Engine&, FileBlock*)>;
  const std::vector<std::pair<const char*, Operation>> operations = {
      {"FindKey", [](Engine& engine, FileBlock* file) {
         RecordNumber number = 0;
         KeyString key(Key(1, 0));
         engine.FindKey(file, 1, number, key, 0);
       }},
      {"SearchKey", [](Engine& engine, FileBlock* file) {
         RecordNumber number = 0;
         KeyString key("A");
         engine.SearchKey(file, 1, number, key);
       }},
      {"walk with NextKey from the start", [](Engine& engine, FileBlock* file) {
         RecordNumber number = 0;
         KeyString key;
         for (int step = 0; step <= kKeys && engine.Status() == status::kOk; ++step)
           engine.NextKey(file, 1, number, key);
       }},
      {"AddKey", [](Engine& engine, FileBlock* file) { engine.AddKey(file, 1, 1, KeyString("A")); }},
  };
  TempDir dir;
  const std::string name = dir.Name("ITEMS");
  for (const auto& [where, offset] : places) {
    for (const auto& [what, operation] : operations) {
      SCOPED_TRACE(std::string(where) + ", " + what);
      Bytes index = p.index;
      index[offset + 8] = static_cast<std::uint8_t>(kKeyLength[0] + 1);
      WriteBytes(name + ".DAT", p.data);
      WriteBytes(name + ".IX", index);
      Engine engine;
      engine.InitEngine(30);
      FileBlock* file = engine.OpenFileSet(name, false);
      ASSERT_EQ(engine.Status(), status::kOk);
      operation(engine, file);
      EXPECT_EQ(engine.Status(), status::kIndexDamaged);
      engine.CloseFileSet(file);
    }
  }
}

TEST(Corruption, DamagedHeaderIsRefusedWithItsCodeAndClosesEverything) {
  const Pristine p = Build();
  struct Case {
    const char* what;
    bool inIndex;
    std::size_t offset;
    std::int32_t value;
    int width;
    int status;
  };
  const Case cases[] = {
      {"NrOfKeys 200", false, 16, 200, 4, status::kHeaderTooManyIndexes},
      {"NrOfKeys 101", false, 16, 101, 4, status::kHeaderTooManyIndexes},
      {"OpenFlag 2", false, 20, 2, 1, status::kMustRebuild},
      {"PageSize 63", true, 26, 63, 2, status::kHeaderPageSize},
      {"PageSize 63 in the second index", true, kColumn[1] + 26, 63, 2, status::kHeaderPageSize},
      {"PageLen not a whole number of items", true, 12, 875, 4, status::kPageLengthNotWhole},
      {"PageLen of key length 31", true, 12, 6 + 62 * 40, 4, status::kHeaderKeyLength},
      {"PageLen of key length 0", true, 12, 6 + 62 * 9, 4, status::kHeaderKeyLength},
      {"PageSize 0 is read as 62", true, 26, 0, 2, status::kOk},
  };
  TempDir dir;
  const std::string name = dir.Name("ITEMS");
  Engine engine;
  engine.InitEngine(30);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Bytes data = p.data;
    Bytes index = p.index;
    Bytes& bytes = test.inIndex ? index : data;
    if (test.width == 4) SetInt32At(bytes, test.offset, test.value);
    if (test.width == 2) SetInt16At(bytes, test.offset, static_cast<std::uint16_t>(test.value));
    if (test.width == 1) bytes[test.offset] = static_cast<std::uint8_t>(test.value);
    WriteBytes(name + ".DAT", data);
    WriteBytes(name + ".IX", index);
    const int descriptors = testing::OpenDescriptorCount();
    FileBlock* fileBlock = engine.OpenFileSet(name, false);
    EXPECT_EQ(engine.Status(), test.status);
    if (fileBlock != nullptr) {
      EXPECT_EQ(engine.KeysInIndex(fileBlock, 1), kKeys - 40);
      engine.CloseFileSet(fileBlock);
    }
    EXPECT_EQ(testing::OpenDescriptorCount(), descriptors);
  }
}

TEST(Corruption, DamagedFreeChainIsRefusedByAddRecordWithoutChangingTheFile) {
  struct Case {
    const char* what;
    std::size_t offset;  // data header field or first bytes of a deleted record
    std::int32_t value;
    std::vector<RecordNumber> reusedFirst;  // slots AddRecord still hands out before refusing
  };
  const std::size_t link7 = 7 * kLength;
  const std::size_t link4 = 4 * kLength;
  const Case cases[] = {
      {"head past the last record", 0, 11, {}},
      {"head 0", 0, 0, {}},
      {"head -2", 0, -2, {}},
      {"head at a record in use", 0, 3, {}},
      {"link past the last record", link7, 11, {}},
      {"link 0", link7, 0, {}},
      {"link -5", link7, -5, {}},
      {"chain that loops back", link4, 7, {7, 4}},
  };
  TempDir dir;
  const std::string name = dir.Name("PLAIN");
  Engine engine;
  engine.InitEngine(30);
  engine.CreateFileSet(name, kLength, {});
  FileBlock* fileBlock = engine.OpenFileSet(name, false);
  for (int serial = 1; serial <= 10; ++serial) engine.AddRecord(fileBlock, RecordBytes(testing::MakeKeyedItem(serial, "", "", "")));
  engine.DeleteRecord(fileBlock, 4);
  engine.DeleteRecord(fileBlock, 7);  // chain: 7 -> 4 -> end
  engine.CloseFileSet(fileBlock);
  ASSERT_EQ(engine.Status(), status::kOk);
  const Bytes good = ReadBytes(name + ".DAT");
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Bytes damaged = good;
    SetInt32At(damaged, test.offset, test.value);
    WriteBytes(name + ".DAT", damaged);
    fileBlock = engine.OpenFileSet(name, false);
    ASSERT_EQ(engine.Status(), status::kOk);
    int serial = 100;
    for (RecordNumber expected : test.reusedFirst)
      EXPECT_EQ(engine.AddRecord(fileBlock, RecordBytes(testing::MakeKeyedItem(serial++, "", "", ""))), expected);
    const std::int32_t used = engine.UsedRecords(fileBlock);
    const std::int32_t slots = engine.FileLength(fileBlock);
    engine.AddRecord(fileBlock, RecordBytes(testing::MakeKeyedItem(999, "", "", "")));
    EXPECT_EQ(engine.Status(), status::kFreeChainDamaged);
    EXPECT_EQ(engine.UsedRecords(fileBlock), used);
    EXPECT_EQ(engine.FileLength(fileBlock), slots);
    for (RecordNumber number = 1; number < slots; ++number) {
      KeyedItem item;
      engine.GetRecord(fileBlock, number, RecordBytes(item));
      EXPECT_NE(item.serial, 999) << "record " << number << " was overwritten";
    }
    engine.CloseFileSet(fileBlock);
    if (test.reusedFirst.empty()) {
      EXPECT_EQ(ReadBytes(name + ".DAT"), damaged);
    }
  }
}

}  // namespace
}  // namespace engine
