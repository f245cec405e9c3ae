// The bytes the engine leaves on disk, the record store's bookkeeping and the checks
// every operation makes before it touches a file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using testing::Int16At;
using testing::Int32At;
using testing::RawIndexHeader;
using testing::RawPage;
using testing::ReadBytes;
using testing::WriteBytes;

std::vector<std::byte> MakeRecord(int length, int tag) {
  std::vector<std::byte> record(static_cast<std::size_t>(length));
  for (int i = 4; i < length; ++i) record[static_cast<std::size_t>(i)] = std::byte(static_cast<unsigned>(tag * 7 + i));
  return record;
}

std::int32_t DeletionField(const std::vector<std::byte>& record) {
  std::int32_t value = 0;
  std::memcpy(&value, record.data(), sizeof value);
  return value;
}

std::vector<std::uint8_t> Slot(const std::vector<std::uint8_t>& file, int length, int n) {
  const auto begin = file.begin() + static_cast<std::ptrdiff_t>(n) * length;
  return {begin, begin + length};
}

std::vector<std::uint8_t> AsBytes(const std::vector<std::byte>& record) {
  std::vector<std::uint8_t> out;
  for (std::byte b : record) out.push_back(std::to_integer<std::uint8_t>(b));
  return out;
}

// The data header as it must be after a close: the five counters, OpenFlag 0, zero to the end of slot 0.
void ExpectDataHeader(const std::vector<std::uint8_t>& data, std::int32_t firstFree, std::int32_t numberFree,
                      std::int32_t numRec, std::int32_t lenRec, std::int32_t nrOfKeys) {
  ASSERT_GE(data.size(), static_cast<std::size_t>(lenRec));
  const std::int32_t expected[] = {firstFree, numberFree, numRec, lenRec, nrOfKeys};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(Int32At(data, 4 * i), expected[i]) << "header field at " << 4 * i;
  EXPECT_EQ(data[20], 0) << "OpenFlag";
  EXPECT_EQ(std::count(data.begin() + 21, data.begin() + lenRec, 0), lenRec - 21) << "reserved tail of slot 0";
}

// Runs `body` in a forked child and hands back its result. The child leaves with _exit so
// that nothing of the parent's state is closed or flushed twice.
int InChild(const std::function<int()>& body) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const int result = body();
    const bool sent = write(fds[1], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
    _exit(sent ? 0 : 1);
  }
  close(fds[1]);
  int result = -1;
  if (read(fds[0], &result, sizeof result) != static_cast<ssize_t>(sizeof result)) result = -1;
  close(fds[0]);
  int ignored = 0;
  waitpid(pid, &ignored, 0);
  return result;
}

class FileSetTest : public ::testing::Test {
 protected:
  static constexpr int kLen = 40;

  void SetUp() override { ASSERT_GE(engine_.InitEngine(30), Engine::kMinPageBuffers); }

  std::string Create(const std::string& base, int recordLength, const std::vector<IndexSpec>& indexes) {
    const std::string name = dir_.Name(base);
    engine_.CreateFileSet(name, recordLength, indexes);
    EXPECT_EQ(engine_.Status(), status::kOk) << base;
    return name;
  }
  FileBlock* Open(const std::string& name, bool readOnly = false) {
    FileBlock* block = engine_.OpenFileSet(name, readOnly);
    EXPECT_EQ(engine_.Status(), status::kOk) << name;
    EXPECT_NE(block, nullptr);
    return block;
  }
  RecordNumber Add(FileBlock* block, int tag) {
    const RecordNumber n = engine_.AddRecord(block, MakeRecord(engine_.RecordLength(block), tag));
    EXPECT_EQ(engine_.Status(), status::kOk);
    return n;
  }
  void Close(FileBlock*& block) {
    engine_.CloseFileSet(block);
    EXPECT_EQ(engine_.Status(), status::kOk);
  }
  void AddKey(FileBlock* block, KeyNumber index, RecordNumber n, const KeyString& key) {
    engine_.AddKey(block, index, n, key);
    ASSERT_EQ(engine_.Status(), status::kOk) << key.str();
  }
  std::vector<std::uint8_t> Data(const std::string& name) { return ReadBytes(name + ".DAT"); }
  std::vector<std::uint8_t> Index(const std::string& name) { return ReadBytes(name + ".IX"); }

  testing::TempDir dir_;
  Engine engine_;
};

TEST_F(FileSetTest, FreshDataFileHasHeaderFieldsAtTheirOffsetsAndAZeroTail) {
  const std::string name = Create("D", kLen, {{10, false}, {30, true}});
  const auto data = Data(name);
  EXPECT_EQ(data.size(), std::size_t{kLen});
  ExpectDataHeader(data, -1, 0, 0, kLen, 2);

  FileBlock* block = Open(name);
  EXPECT_EQ(engine_.UsedRecords(block), 0);
  EXPECT_EQ(engine_.FileLength(block), 1);
  EXPECT_EQ(engine_.RecordLength(block), kLen);
  EXPECT_EQ(engine_.KeysInIndex(block, 2), 0);
  Close(block);
}

TEST_F(FileSetTest, FreshIndexFileIsOneRowWithEachHeaderAtItsColumn) {
  const std::string name = Create("I", kLen, {{1, true}, {10, false}, {30, false}});
  const auto ix = Index(name);
  const std::vector<int> pageLens = {626, 1184, 2424};
  const std::vector<std::size_t> columns = {0, 626, 1810};
  ASSERT_EQ(ix.size(), std::size_t{4234});
  for (std::size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(k + 1);
    const std::pair<std::size_t, std::int32_t> fields[] = {{0, -1}, {4, 0}, {8, 0}, {12, pageLens[k]}, {16, 0}, {22, 0}};
    for (const auto& [offset, value] : fields) EXPECT_EQ(Int32At(ix, columns[k] + offset), value) << "offset " << offset;
    EXPECT_EQ(ix[columns[k] + 20], k == 0 ? 1 : 0);
    EXPECT_EQ(Int16At(ix, columns[k] + 26), 62);
    EXPECT_EQ(std::count(ix.begin() + static_cast<std::ptrdiff_t>(columns[k]) + 28,
                         ix.begin() + static_cast<std::ptrdiff_t>(columns[k]) + pageLens[k], 0),
              pageLens[k] - 28);
  }
}

TEST_F(FileSetTest, FileSetWithoutIndexesHasNoIndexFileAndStillOpens) {
  const std::string name = Create("N", kLen, {});
  EXPECT_TRUE(fs::exists(name + ".DAT"));
  EXPECT_FALSE(fs::exists(name + ".IX"));
  FileBlock* block = Open(name);
  EXPECT_EQ(Add(block, 1), 1);
  Close(block);
}

struct PathCase {
  const char* name;
  const char* extension;
  const char* expected;
};

TEST(FileSetPathTest, ExtensionReplacesOnlyTheLastDotOfTheLastComponent) {
  const PathCase cases[] = {
      {"dir/ABC", "DAT", "dir/ABC.DAT"},      {"dir/ABC.XYZ", "IX", "dir/ABC.IX"},
      {"dir.d/ABC", "DAT", "dir.d/ABC.DAT"},  {"ABC.tar.gz", "DIA", "ABC.tar.DIA"},
      {"dir/ABC.", "DAT", "dir/ABC.DAT"},     {"12D", "IX", "12D.IX"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(FileSetPath(c.name, c.extension), c.expected) << c.name;
}

TEST(FileSetPathTest, FileNameIsCutTo64Characters) {
  const std::string path = FileSetPath("dir/" + std::string(70, 'A'), "DAT");
  EXPECT_EQ(path.rfind("dir/", 0), 0u);
  EXPECT_EQ(fs::path(path).filename().string().size(), 64u);
}

TEST_F(FileSetTest, NameWithExtensionCreatesDatAndIxAndDeleteRemovesAllThree) {
  const std::string name = Create("ABC.XYZ", kLen, {{5, false}});
  const fs::path dat = dir_.path() / "ABC.DAT", ix = dir_.path() / "ABC.IX", dia = dir_.path() / "ABC.DIA";
  EXPECT_TRUE(fs::exists(dat));
  EXPECT_TRUE(fs::exists(ix));
  EXPECT_FALSE(fs::exists(dir_.path() / "ABC.XYZ.DAT"));
  WriteBytes(dia, {0});
  engine_.DeleteFileSet(name);
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_FALSE(fs::exists(dat) || fs::exists(ix) || fs::exists(dia));
  engine_.DeleteFileSet(name);
  EXPECT_EQ(engine_.Status(), status::kOk) << "missing files are not an error";
}

struct CreateCase {
  const char* what;
  int recordLength;
  std::vector<IndexSpec> indexes;
  int status;
};

TEST_F(FileSetTest, CreateRefusesBadGeometryWithoutTouchingExistingFiles) {
  const std::vector<CreateCase> cases = {
      {"record length 20", 20, {}, status::kRecordTooShort},
      {"record length 21", 21, {{1, false}}, status::kOk},
      {"101 indexes", 64, std::vector<IndexSpec>(101, {1, false}), status::kTooManyIndexes},
      {"100 indexes", 64, std::vector<IndexSpec>(100, {1, false}), status::kOk},
      // A bad key list is caught before the old files are deleted, so it cannot cost them.
      {"key length 0", 64, {{4, false}, {0, false}}, status::kBadKeyLength},
      {"key length 31", 64, {{31, true}}, status::kBadKeyLength},
  };
  for (const CreateCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = Create("G", 50, {{3, false}});
    engine_.CreateFileSet(name, c.recordLength, c.indexes);
    EXPECT_EQ(engine_.Status(), c.status);
    if (c.status == status::kOk) {
      const auto data = Data(name);
      EXPECT_EQ(Int32At(data, 12), c.recordLength);
      EXPECT_EQ(Int32At(data, 16), static_cast<int>(c.indexes.size()));
    } else {
      EXPECT_EQ(Int32At(Data(name), 12), 50);
      EXPECT_TRUE(fs::exists(name + ".IX"));
    }
  }
}

TEST_F(FileSetTest, RecordsLieAtMultiplesOfTheRecordLengthAndHeaderIsWrittenAtClose) {
  const std::string name = Create("R", kLen, {});
  FileBlock* block = Open(name);
  for (int tag = 1; tag <= 3; ++tag) EXPECT_EQ(Add(block, tag), tag);
  engine_.PutRecord(block, 2, MakeRecord(kLen, 20));
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(engine_.UsedRecords(block), 3);
  EXPECT_EQ(engine_.FileLength(block), 4);
  Close(block);

  const auto data = Data(name);
  ASSERT_EQ(data.size(), std::size_t{4 * kLen});
  EXPECT_EQ(Slot(data, kLen, 1), AsBytes(MakeRecord(kLen, 1)));
  EXPECT_EQ(Slot(data, kLen, 2), AsBytes(MakeRecord(kLen, 20)));
  EXPECT_EQ(Slot(data, kLen, 3), AsBytes(MakeRecord(kLen, 3)));
  ExpectDataHeader(data, -1, 0, 3, kLen, 0);
}

TEST_F(FileSetTest, DeletedSlotsFormAStackLinkedThroughTheirDeletionField) {
  const std::string name = Create("F", kLen, {});
  FileBlock* block = Open(name);
  for (int tag = 1; tag <= 10; ++tag) Add(block, tag);
  engine_.DeleteRecord(block, 5);
  engine_.DeleteRecord(block, 9);
  EXPECT_EQ(engine_.UsedRecords(block), 8);
  EXPECT_EQ(engine_.FileLength(block), 11);

  std::vector<std::byte> record(kLen);
  const auto original = MakeRecord(kLen, 9);
  engine_.GetRecord(block, 9, record);
  EXPECT_EQ(engine_.Status(), status::kOk) << "a deleted record can still be read";
  EXPECT_EQ(DeletionField(record), 5);
  EXPECT_TRUE(std::equal(record.begin() + 4, record.end(), original.begin() + 4)) << "the rest stays as it was";
  engine_.GetRecord(block, 5, record);
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(DeletionField(record), -1);
  Close(block);

  const auto data = Data(name);
  ExpectDataHeader(data, 9, 2, 10, kLen, 0);
  EXPECT_EQ(Int32At(data, 9 * kLen), 5);
  EXPECT_EQ(Int32At(data, 5 * kLen), -1);

  block = Open(name);
  EXPECT_EQ(Add(block, 31), 9);
  EXPECT_EQ(Add(block, 32), 5);
  EXPECT_EQ(Add(block, 33), 11);
  EXPECT_EQ(engine_.UsedRecords(block), 11);
  Close(block);
  const auto after = Data(name);
  ExpectDataHeader(after, -1, 0, 11, kLen, 0);
  EXPECT_EQ(Slot(after, kLen, 5), AsBytes(MakeRecord(kLen, 32)));
}

struct MarkCase {
  const char* operation;
  bool marks;
  std::function<void(Engine&, FileBlock*)> run;
};

TEST_F(FileSetTest, OpenFlagIsWrittenByTheFirstChangeAndClearedByClose) {
  const std::vector<MarkCase> cases = {
      {"GetRecord", false, [](Engine& e, FileBlock* b) { std::vector<std::byte> r(kLen); e.GetRecord(b, 1, r); }},
      {"PutRecord", false, [](Engine& e, FileBlock* b) { e.PutRecord(b, 1, MakeRecord(kLen, 2)); }},
      {"FindKey", false, [](Engine& e, FileBlock* b) { RecordNumber n = 0; KeyString k = "K"; e.FindKey(b, 1, n, k, 0); }},
      {"AddRecord", true, [](Engine& e, FileBlock* b) { e.AddRecord(b, MakeRecord(kLen, 2)); }},
      {"DeleteRecord", true, [](Engine& e, FileBlock* b) { e.DeleteRecord(b, 1); }},
      {"AddKey", true, [](Engine& e, FileBlock* b) { e.AddKey(b, 1, 2, "L"); }},
      {"DeleteKey", true, [](Engine& e, FileBlock* b) { e.DeleteKey(b, 1, 1, "K"); }},
  };
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(c.operation);
    const std::string name = Create("M", kLen, {{4, false}});
    FileBlock* block = Open(name);
    Add(block, 1);
    AddKey(block, 1, 1, "K");
    Close(block);
    block = Open(name);
    c.run(engine_, block);
    EXPECT_EQ(engine_.Status(), status::kOk);
    EXPECT_EQ(Data(name)[20], c.marks ? 1 : 0);
    Close(block);
    EXPECT_EQ(Data(name)[20], 0);
  }
}

TEST_F(FileSetTest, SecondProcessCannotOpenAFileSetHeldOpenHere) {
  const std::string name = Create("X", kLen, {{4, false}});
  auto tryOpen = [&] {
    auto* child = new Engine;
    child->InitEngine(8);
    FileBlock* block = child->OpenFileSet(name, false);
    const int result = child->Status();
    if (block != nullptr) child->CloseFileSet(block);
    return result;
  };
  FileBlock* block = Open(name);
  EXPECT_EQ(InChild(tryOpen), status::kOsError);
  Close(block);
  EXPECT_EQ(InChild(tryOpen), status::kOk);
}

TEST_F(FileSetTest, ExitEngineWritesBackFileSetsStillOpen) {
  const std::string name = Create("E", kLen, {});
  FileBlock* block = Open(name);
  Add(block, 1);
  Add(block, 2);
  engine_.ExitEngine();
  EXPECT_EQ(engine_.Status(), status::kOk);
  ExpectDataHeader(Data(name), -1, 0, 2, kLen, 0);
}

struct ScanCase {
  const char* call;
  RecordNumber from;
  int direction;  // only for TestUsedRecord
  int status;
  RecordNumber found;
};

TEST_F(FileSetTest, RecordScansSkipDeletedSlotsAndStopAtTheEnds) {
  const std::string name = Create("S", kLen, {});
  FileBlock* block = Open(name);
  for (int tag = 1; tag <= 7; ++tag) Add(block, tag);
  for (RecordNumber n : {2, 3, 7}) engine_.DeleteRecord(block, n);
  // In use: 1, 4, 5, 6.
  const ScanCase cases[] = {
      {"Test", 2, 0, status::kNoUsedRecord, 0}, {"Test", 4, 0, status::kOk, 4},
      {"Test", 2, 1, status::kOk, 4},           {"Test", -5, 1, status::kOk, 1},
      {"Test", 7, 1, status::kNoUsedRecord, 0}, {"Test", 3, -1, status::kOk, 1},
      {"Test", 99, -1, status::kOk, 6},         {"Test", 5, -1, status::kOk, 5},
      {"Next", 1, 0, status::kOk, 4},           {"Next", 4, 0, status::kOk, 5},
      {"Next", 6, 0, status::kNoUsedRecord, 0}, {"Prev", 4, 0, status::kOk, 1},
      {"Prev", 1, 0, status::kNoUsedRecord, 0}, {"Prev", 7, 0, status::kOk, 6},
  };
  for (const ScanCase& c : cases) {
    RecordNumber n = c.from;
    if (c.call[0] == 'T') engine_.TestUsedRecord(block, n, c.direction);
    if (c.call[0] == 'N') engine_.NextUsedRecord(block, n);
    if (c.call[0] == 'P') engine_.PrevUsedRecord(block, n);
    EXPECT_EQ(engine_.Status(), c.status) << c.call << " from " << c.from << " direction " << c.direction;
    if (c.status == status::kOk) {
      EXPECT_EQ(n, c.found) << c.call << " from " << c.from;
    }
  }
  Close(block);
}

TEST(EngineStartTest, EveryOperationNeedsAnInitialisedEngineFirst) {
  testing::TempDir dir;
  Engine engine;
  engine.CreateFileSet(dir.Name("U"), 40, {});
  EXPECT_EQ(engine.Status(), status::kNotInitialised);
  EXPECT_EQ(engine.OpenFileSet(dir.Name("U"), false), nullptr);
  EXPECT_EQ(engine.Status(), status::kNotInitialised);
  engine.UsedRecords(nullptr);
  EXPECT_EQ(engine.Status(), status::kNotInitialised) << "checked before the handle";
  engine.AddKey(nullptr, 0, 1, "K");
  EXPECT_EQ(engine.Status(), status::kNotInitialised);

  engine.InitEngine(7);
  EXPECT_EQ(engine.Status(), status::kTooFewBuffersWanted);
  EXPECT_GE(engine.InitEngine(8), 8);
  EXPECT_EQ(engine.Status(), status::kOk);
  engine.InitEngine(8);
  EXPECT_EQ(engine.Status(), status::kAlreadyInitialised);
}

struct CheckCase {
  const char* operation;
  std::function<void(Engine&, FileBlock*)> run;
};

TEST_F(FileSetTest, OperationsCheckHandleThenReadOnlyThenKeyNumberThenKeyLength) {
  const std::string name = Create("V", kLen, {{4, false}, {6, true}});
  FileBlock* block = Open(name);
  Add(block, 1);
  FileBlock* closed = block;
  Close(block);

  const std::vector<CheckCase> writers = {
      {"AddRecord", [](Engine& e, FileBlock* b) { e.AddRecord(b, MakeRecord(kLen, 1)); }},
      {"PutRecord", [](Engine& e, FileBlock* b) { e.PutRecord(b, 1, MakeRecord(kLen, 1)); }},
      {"DeleteRecord", [](Engine& e, FileBlock* b) { e.DeleteRecord(b, 1); }},
      {"AddKey bad index, long key", [](Engine& e, FileBlock* b) { e.AddKey(b, 9, 1, "TOO LONG KEY"); }},
      {"DeleteKey", [](Engine& e, FileBlock* b) { e.DeleteKey(b, 1, 1, "K"); }},
  };
  for (const CheckCase& c : writers) {
    SCOPED_TRACE(c.operation);
    c.run(engine_, nullptr);
    EXPECT_EQ(engine_.Status(), status::kInvalidFileBlock);
    c.run(engine_, closed);
    EXPECT_EQ(engine_.Status(), status::kInvalidFileBlock) << "a closed handle";
    FileBlock* readOnly = Open(name, true);
    c.run(engine_, readOnly);
    EXPECT_EQ(engine_.Status(), status::kReadOnly);
    EXPECT_EQ(engine_.ErrorClass(), StatusClass::kMayRetry);
    Close(readOnly);
  }

  block = Open(name);
  const std::vector<CheckCase> onIndex = {
      {"AddKey", [](Engine& e, FileBlock* b) { e.AddKey(b, 0, 1, "TOO LONG KEY"); }},
      {"AddKey", [](Engine& e, FileBlock* b) { e.AddKey(b, 3, 1, "K"); }},
      {"DeleteKey", [](Engine& e, FileBlock* b) { e.DeleteKey(b, 3, 1, "K"); }},
      {"FindKey", [](Engine& e, FileBlock* b) { RecordNumber n = 0; KeyString k = "K"; e.FindKey(b, 3, n, k, 1); }},
      {"SearchKey", [](Engine& e, FileBlock* b) { RecordNumber n = 0; KeyString k = "K"; e.SearchKey(b, -1, n, k); }},
      {"NextKey", [](Engine& e, FileBlock* b) { RecordNumber n = 0; KeyString k; e.NextKey(b, 3, n, k); }},
      {"PrevKey", [](Engine& e, FileBlock* b) { RecordNumber n = 0; KeyString k; e.PrevKey(b, 0, n, k); }},
      {"KeysInIndex", [](Engine& e, FileBlock* b) { e.KeysInIndex(b, 3); }},
      {"KeyPosition", [](Engine& e, FileBlock* b) { e.KeyPosition(b, 3, "K", 1, 10); }},
      {"KeyAtPosition", [](Engine& e, FileBlock* b) { RecordNumber n = 0; KeyString k; e.KeyAtPosition(b, 3, 1, 10, n, k); }},
  };
  for (const CheckCase& c : onIndex) {
    c.run(engine_, block);
    EXPECT_EQ(engine_.Status(), status::kBadKeyNumber) << c.operation;
  }

  engine_.AddKey(block, 1, 1, "ABCDE");
  EXPECT_EQ(engine_.Status(), status::kKeyTooLong);
  EXPECT_EQ(engine_.KeysInIndex(block, 1), 0);
  EXPECT_EQ(engine_.Status(), status::kOk) << "every operation starts from a clean status";
  AddKey(block, 1, 1, "ABCD");
  AddKey(block, 2, 1, "ABCDEF");
  engine_.PutRecord(block, 0, MakeRecord(kLen, 1));
  EXPECT_EQ(engine_.Status(), status::kPutRecordZero);
  for (RecordNumber n : {0, 2, -1}) {
    engine_.DeleteRecord(block, n);
    EXPECT_EQ(engine_.Status(), status::kRecordOutOfRange) << n;
  }
  EXPECT_EQ(engine_.UsedRecords(block), 1);
  Close(block);

  EXPECT_EQ(engine_.OpenFileSet(dir_.Name("missing"), false), nullptr);
  EXPECT_EQ(engine_.Status(), status::kFileNotFound);
  EXPECT_EQ(engine_.ErrorClass(), StatusClass::kNotFound);
}

TEST_F(FileSetTest, MissingIndexFileMeansTheIndexesMustBeRebuilt) {
  const std::string name = Create("H", kLen, {{10, false}});
  fs::remove(name + ".IX");
  EXPECT_EQ(engine_.OpenFileSet(name, false), nullptr);
  EXPECT_EQ(engine_.Status(), status::kMustRebuild);
}

// A damaged head is AddRecord's to report; the file set must still open so that its records
// can be read.
TEST_F(FileSetTest, DamagedFreeChainHeadIsRefusedByAddRecordWithoutAllocating) {
  const std::pair<const char*, std::int32_t> cases[] = {{"beyond NumRec", 5}, {"0", 0}, {"below -1", -2}};
  for (const auto& [what, head] : cases) {
    SCOPED_TRACE(what);
    const std::string name = Create("L", kLen, {});
    FileBlock* block = Open(name);
    for (int tag = 1; tag <= 4; ++tag) Add(block, tag);
    engine_.DeleteRecord(block, 3);
    Close(block);
    auto data = Data(name);
    testing::SetInt32At(data, 0, head);
    WriteBytes(name + ".DAT", data);
    block = engine_.OpenFileSet(name, false);
    ASSERT_EQ(engine_.Status(), status::kOk);
    engine_.AddRecord(block, MakeRecord(kLen, 9));
    EXPECT_EQ(engine_.Status(), status::kFreeChainDamaged);
    EXPECT_EQ(engine_.FileLength(block), 5);
    EXPECT_EQ(engine_.UsedRecords(block), 3);
    Close(block);
  }
}

TEST_F(FileSetTest, LeafItemsArePackedAtTheirOffsetsInTheirIndexColumn) {
  const std::string name = Create("P", kLen, {{1, true}, {10, true}});
  FileBlock* block = Open(name);
  for (int i = 0; i < 63; ++i) AddKey(block, 1, 100 + i, std::string(1, static_cast<char>('A' + i % 5)));
  AddKey(block, 2, 7, "BB");
  AddKey(block, 2, 9, "A");
  AddKey(block, 2, 3, "BB");
  Close(block);

  const auto ix = Index(name);
  const auto headers = testing::IndexHeaders(ix, 2);
  const std::size_t row = 626 + 1184;
  const RawIndexHeader& h = headers[1];
  EXPECT_EQ(headers[0].numPages, 3);
  EXPECT_EQ(ix.size(), 4 * row) << "one row per page of the index with the most pages";
  EXPECT_EQ(h.column, 626u);
  EXPECT_EQ(h.numPages, 1);
  EXPECT_EQ(h.rootRef, 1);
  EXPECT_EQ(h.numKeys, 3);
  EXPECT_EQ(h.firstFree, -1);
  const std::size_t page = row + 626;
  EXPECT_EQ(Int16At(ix, page), 3);
  EXPECT_EQ(Int32At(ix, page + 2), 0);
  const std::vector<std::pair<std::string, std::int32_t>> expected = {{"A", 9}, {"BB", 3}, {"BB", 7}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::size_t item = page + 6 + i * 19;
    EXPECT_EQ(Int32At(ix, item), expected[i].second);
    EXPECT_EQ(Int32At(ix, item + 4), 0);
    ASSERT_EQ(std::size_t{ix[item + 8]}, expected[i].first.size());
    EXPECT_EQ(std::string(ix.begin() + static_cast<std::ptrdiff_t>(item) + 9,
                          ix.begin() + static_cast<std::ptrdiff_t>(item + 9 + expected[i].first.size())),
              expected[i].first);
  }
  EXPECT_EQ(Int16At(ix, 2 * row + 626), 0) << "pages index 2 never used are zero";
}

std::string NumberKey(int n) {
  char text[12];
  std::snprintf(text, sizeof text, "%04d", n);
  return text;
}

TEST_F(FileSetTest, SixtyThirdKeySplitsTheRootIntoTwoLeavesOf31) {
  const std::string name = Create("T", kLen, {{10, false}});
  std::vector<int> order(63);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(5));
  FileBlock* block = Open(name);
  for (int i = 0; i < 62; ++i) AddKey(block, 1, order[i] + 1, NumberKey(order[i]));
  Close(block);
  auto headers = testing::IndexHeaders(Index(name), 1);
  EXPECT_EQ(headers[0].numPages, 1);
  EXPECT_EQ(testing::PageAt(Index(name), 1184, headers[0], 1).itemCount, 62);

  block = Open(name);
  AddKey(block, 1, order[62] + 1, NumberKey(order[62]));
  Close(block);
  const auto ix = Index(name);
  const RawIndexHeader h = testing::IndexHeaders(ix, 1)[0];
  EXPECT_EQ(h.numPages, 3);
  EXPECT_EQ(h.numKeys, 63);
  EXPECT_EQ(ix.size(), 4u * 1184);
  const RawPage root = testing::PageAt(ix, 1184, h, h.rootRef);
  ASSERT_EQ(root.itemCount, 1);
  EXPECT_EQ(root.items[0].key, NumberKey(31));
  EXPECT_EQ(root.items[0].record, 32);
  const RawPage left = testing::PageAt(ix, 1184, h, root.leftChild);
  const RawPage right = testing::PageAt(ix, 1184, h, root.items[0].rightChild);
  ASSERT_EQ(left.itemCount, 31);
  ASSERT_EQ(right.itemCount, 31);
  for (int i = 0; i < 31; ++i) {
    EXPECT_EQ(left.items[i].key, NumberKey(i));
    EXPECT_EQ(right.items[i].key, NumberKey(32 + i));
    EXPECT_EQ(left.items[i].rightChild, 0);
  }
  EXPECT_EQ(left.leftChild, 0);
  EXPECT_EQ(right.leftChild, 0);
}

struct ShareCase {
  const char* what;
  int leftFill;    // items in the left leaf before the overflowing insertion
  int rightFill;
  bool overflowLeft;
  int leftAfter;
  int rightAfter;
};

TEST_F(FileSetTest, FullLeafSharesItemsWithItsSiblingBeforeSplitting) {
  const ShareCase cases[] = {
      {"left leaf overflows into right sibling", 62, 40, true, 52, 51},
      {"last child overflows into left sibling", 40, 62, false, 51, 52},
  };
  for (const ShareCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = Create("B", kLen, {{10, false}});
    FileBlock* block = Open(name);
    // Even keys 100..224 split into 100..160 | 162 | 164..224; odd keys then fill either side.
    for (int n = 100; n <= 224; n += 2) AddKey(block, 1, n, NumberKey(n));
    for (int i = 0; i < c.leftFill - 31; ++i) AddKey(block, 1, 101 + 2 * i, NumberKey(101 + 2 * i));
    for (int i = 0; i < c.rightFill - 31; ++i) AddKey(block, 1, 165 + 2 * i, NumberKey(165 + 2 * i));
    AddKey(block, 1, c.overflowLeft ? 99 : 999, NumberKey(c.overflowLeft ? 99 : 999));
    Close(block);
    const auto ix = Index(name);
    const RawIndexHeader h = testing::IndexHeaders(ix, 1)[0];
    EXPECT_EQ(h.numPages, 3) << "no page is added";
    const RawPage root = testing::PageAt(ix, 1184, h, h.rootRef);
    ASSERT_EQ(root.itemCount, 1);
    const RawPage left = testing::PageAt(ix, 1184, h, root.leftChild);
    const RawPage right = testing::PageAt(ix, 1184, h, root.items[0].rightChild);
    EXPECT_EQ(left.itemCount, c.leftAfter);
    EXPECT_EQ(right.itemCount, c.rightAfter);
    ASSERT_FALSE(left.items.empty() || right.items.empty());
    EXPECT_LT(left.items.back().key, root.items[0].key);
    EXPECT_LT(root.items[0].key, right.items.front().key);
  }
}

std::vector<std::int32_t> FreePages(const std::vector<std::uint8_t>& ix, std::size_t row, const RawIndexHeader& h) {
  std::vector<std::int32_t> pages;
  for (std::int32_t p = h.firstFree; p != -1 && pages.size() <= static_cast<std::size_t>(h.numPages);
       p = Int32At(ix, testing::PageOffset(row, h, p))) {
    if (p < 1 || p > h.numPages) break;
    pages.push_back(p);
  }
  return pages;
}

TEST_F(FileSetTest, DeletingEveryKeyFreesAllPagesAndLaterInsertionsReuseThem) {
  const std::string name = Create("Z", kLen, {{10, false}});
  std::vector<int> insertion(300);
  std::iota(insertion.begin(), insertion.end(), 0);
  std::shuffle(insertion.begin(), insertion.end(), std::mt19937(9));
  FileBlock* block = Open(name);
  for (int n : insertion) AddKey(block, 1, n + 1, NumberKey(n));
  Close(block);
  const std::int32_t pagesUsed = testing::IndexHeaders(Index(name), 1)[0].numPages;
  const std::size_t fileSize = Index(name).size();
  ASSERT_GT(pagesUsed, 3);

  block = Open(name);
  std::vector<int> deletion = insertion;
  std::shuffle(deletion.begin(), deletion.end(), std::mt19937(10));
  for (int n : deletion) {
    engine_.DeleteKey(block, 1, n + 1, NumberKey(n));
    ASSERT_EQ(engine_.Status(), status::kOk) << n;
  }
  Close(block);
  auto ix = Index(name);
  RawIndexHeader h = testing::IndexHeaders(ix, 1)[0];
  EXPECT_EQ(h.rootRef, 0);
  EXPECT_EQ(h.numKeys, 0);
  EXPECT_EQ(h.numPages, pagesUsed);
  EXPECT_EQ(h.numberFree, pagesUsed);
  auto free = FreePages(ix, 1184, h);
  std::sort(free.begin(), free.end());
  std::vector<std::int32_t> all(static_cast<std::size_t>(pagesUsed));
  std::iota(all.begin(), all.end(), 1);
  EXPECT_EQ(free, all) << "every page once on the chain, ending with -1";

  // The same insertion order needs the same pages again, all of them taken from the chain.
  block = Open(name);
  for (int n : insertion) AddKey(block, 1, n + 1, NumberKey(n));
  Close(block);
  ix = Index(name);
  h = testing::IndexHeaders(ix, 1)[0];
  EXPECT_EQ(h.numPages, pagesUsed);
  EXPECT_EQ(h.numberFree, 0);
  EXPECT_EQ(h.numKeys, 300);
  EXPECT_EQ(ix.size(), fileSize);
}

}  // namespace
}  // namespace engine
