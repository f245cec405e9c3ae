// SQLite's side of the benchmark: the same records in one table, the record bytes as a
// blob beside the six key columns, each key column indexed. Settings as an embedded
// program would choose them for speed: no syncing, no journal, default cache, the load
// and each batch of changes in one transaction.
//
// The engine opens its files for exclusive use, so SQLite by default holds its file
// exclusively too (locking_mode=EXCLUSIVE). Otherwise every statement outside a
// transaction takes and drops a file lock and re-reads the file header, which costs
// SQLite several times its lookup time for a feature the engine does not offer.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "bench/sides.h"
#include "bench/step_timing.h"

namespace bench {
namespace {

[[noreturn]] void Fail(sqlite3* db, const char* what) {
  std::fprintf(stderr, "engine_bench: SQLite failed: %s: %s\n", what,
               db != nullptr ? sqlite3_errmsg(db) : "no database");
  _exit(3);
}

[[noreturn]] void Wrong(const char* what) {
  std::fprintf(stderr, "engine_bench: SQLite gave a wrong result: %s\n", what);
  _exit(3);
}

class Database {
 public:
  Database(const std::string& path, const Options& options) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) Fail(db_, "sqlite3_open");
    Execute("PRAGMA synchronous=OFF");
    Execute("PRAGMA journal_mode=OFF");
    if (!options.sqliteNormalLocking) Execute("PRAGMA locking_mode=EXCLUSIVE");
  }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* handle() const { return db_; }
  void Execute(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db_, sql);
  }
  void Close() {
    if (sqlite3_close(db_) != SQLITE_OK) Fail(db_, "sqlite3_close");
    db_ = nullptr;
  }

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(Database& db, const char* sql) : db_(db.handle()), sql_(sql) {
    if (sqlite3_prepare_v2(db_, sql, -1, &statement_, nullptr) != SQLITE_OK) Fail(db_, sql);
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  void Bind(int at, std::string_view text) {
    if (sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) != SQLITE_OK) {
      Fail(db_, sql_);
    }
  }
  void Bind(int at, const engine::KeyString& key) { Bind(at, key.view()); }
  void Bind(int at, const Record& record) {
    if (sqlite3_bind_blob(statement_, at, record.data(), kRecordLength, SQLITE_STATIC) != SQLITE_OK) Fail(db_, sql_);
  }
  void Bind(int at, std::int64_t number) {
    if (sqlite3_bind_int64(statement_, at, number) != SQLITE_OK) Fail(db_, sql_);
  }
  // True while there is a row.
  bool Step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result != SQLITE_DONE) Fail(db_, sql_);
    return false;
  }
  void Reset() {
    if (sqlite3_reset(statement_) != SQLITE_OK) Fail(db_, sql_);
  }
  std::span<const std::byte> Column(int at) {
    const void* bytes = sqlite3_column_blob(statement_, at);
    const int size = sqlite3_column_bytes(statement_, at);
    return {static_cast<const std::byte*>(bytes), static_cast<std::size_t>(size)};
  }
  // Feeds every row's first column to the digest.
  void ReadAll(Digest& digest) {
    while (Step()) digest.Add(Column(0));
    Reset();
  }

 private:
  sqlite3* db_;
  const char* sql_;
  sqlite3_stmt* statement_ = nullptr;
};

constexpr const char* kSchema =
    "CREATE TABLE tx(id INTEGER PRIMARY KEY, rec BLOB NOT NULL,"
    " k1 TEXT NOT NULL, k2 TEXT NOT NULL, k3 TEXT NOT NULL,"
    " k4 TEXT NOT NULL, k5 TEXT NOT NULL, k6 TEXT NOT NULL);"
    "CREATE INDEX tx_k1 ON tx(k1);"
    "CREATE INDEX tx_k2 ON tx(k2);"
    "CREATE INDEX tx_k3 ON tx(k3);"
    "CREATE INDEX tx_k4 ON tx(k4);"
    "CREATE INDEX tx_k5 ON tx(k5);"
    "CREATE INDEX tx_k6 ON tx(k6);";
constexpr const char* kInsert = "INSERT INTO tx(rec, k1, k2, k3, k4, k5, k6) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)";

void Insert(Statement& insert, const Record& record) {
  engine::KeyString keys[kKeyCount];
  insert.Bind(1, record);
  for (int k = 1; k <= kKeyCount; ++k) {
    keys[k - 1] = BuildKey(record, k);
    insert.Bind(k + 1, keys[k - 1]);
  }
  if (insert.Step()) Wrong("INSERT returned a row");
  insert.Reset();
}

// Inserts the transactions first .. first + count - 1 in one transaction; the time
// spent making the records is left out.
StepOutcome InsertAll(Database& db, const Workload& workload, std::int64_t first, std::int64_t count) {
  RecordBlocks blocks(workload, first, count);
  Statement insert(db, kInsert);
  Stopwatch watch;
  std::uint64_t added = 0;
  watch.Start();
  db.Execute("BEGIN");
  watch.Stop();
  while (blocks.Next()) {
    watch.Start();
    for (const Record& record : blocks.records()) Insert(insert, record);
    watch.Stop();
    added += blocks.records().size();
  }
  watch.Start();
  db.Execute("COMMIT");
  watch.Stop();
  return {watch.seconds(), added, 0};
}


std::uint64_t Highwater() { return static_cast<std::uint64_t>(sqlite3_memory_highwater(0)); }

}  // namespace

void SqliteLoadAndQuery(const Workload& workload, const std::string& database, ChildReporter& reporter) {
  SideReport report;
  std::error_code ignored;
  std::filesystem::remove(database, ignored);
  Database db(database, workload.options());
  db.Execute(kSchema);

  report.steps[kLoad] = InsertAll(db, workload, 1, workload.options().records);
  SettleWrites();

  report.steps[kLookup] = MedianOfRuns([&] {
    Statement lookup(db, "SELECT rec FROM tx WHERE k1 = ?1");
    Rng stream = workload.LookupStream();
    Record probe;
    Digest digest;
    Stopwatch watch;
    watch.Start();
    for (std::int32_t j = 0; j < workload.options().lookups; ++j) {
      workload.NextLookup(stream, probe);
      const engine::KeyString key = BuildKey(probe, 1);
      lookup.Bind(1, key);
      if (lookup.Step()) {
        digest.Add(lookup.Column(0));
      } else {
        digest.Add(std::string_view());
      }
      lookup.Reset();
    }
    watch.Stop();
    return Outcome(watch, digest);
  });

  report.steps[kCustomerWalk] = MedianOfRuns([&] {
    Statement walk(db, "SELECT rec FROM tx WHERE k2 = ?1 ORDER BY id");
    Rng stream = workload.CustomerStream();
    Record probe;
    Digest digest;
    Stopwatch watch;
    watch.Start();
    for (std::int32_t j = 0; j < workload.options().customerWalks; ++j) {
      workload.NextCustomer(stream, probe);
      const engine::KeyString key = BuildKey(probe, 2);
      walk.Bind(1, key);
      walk.ReadAll(digest);
    }
    watch.Stop();
    return Outcome(watch, digest);
  });

  report.steps[kDateRange] = MedianOfRuns([&] {
    Statement range(db, "SELECT rec FROM tx WHERE k3 BETWEEN ?1 AND ?2 ORDER BY k3, id");
    Rng stream = workload.DateRangeStream();
    char first[11], last[11];
    Digest digest;
    Stopwatch watch;
    watch.Start();
    for (std::int32_t j = 0; j < workload.options().dateRanges; ++j) {
      workload.NextDateRange(stream, first, last);
      range.Bind(1, std::string_view(first, 10));
      range.Bind(2, std::string_view(last, 10));
      range.ReadAll(digest);
    }
    watch.Stop();
    return Outcome(watch, digest);
  });

  report.peakHeapBytes = Highwater();
  db.Close();
  reporter.Finish(report);
}

void SqliteRebuild(const Workload& workload, const std::string& database, ChildReporter& reporter) {
  SideReport report;
  Database db(database, workload.options());
  Stopwatch watch;
  watch.Start();
  db.Execute("VACUUM");
  watch.Stop();
  report.steps[kRebuild] = {watch.seconds(), static_cast<std::uint64_t>(workload.options().records), 0};
  report.peakHeapBytes = Highwater();
  db.Close();
  reporter.Finish(report);
}

void SqliteChangeAndVerify(const Workload& workload, const std::string& database, ChildReporter& reporter) {
  SideReport report;
  const std::int32_t changes = workload.options().changes();
  const RandomPermutation victims = workload.Victims();
  Database db(database, workload.options());

  {
    Statement remove(db, "DELETE FROM tx WHERE id = ?1 RETURNING rec");
    Digest digest;
    Stopwatch watch;
    watch.Start();
    db.Execute("BEGIN");
    for (std::int32_t j = 0; j < changes; ++j) {
      remove.Bind(1, std::int64_t{workload.Victim(victims, j)});
      if (!remove.Step()) Wrong("a record to be deleted was not there");
      digest.Add(remove.Column(0));
      if (remove.Step()) Wrong("DELETE by id removed two rows");
      remove.Reset();
    }
    db.Execute("COMMIT");
    watch.Stop();
    report.steps[kDelete] = Outcome(watch, digest);
  }

  report.steps[kAdd] = InsertAll(db, workload, std::int64_t{workload.options().records} + 1, changes);

  const char* walks[kKeyCount] = {
      "SELECT rec FROM tx ORDER BY k1, id", "SELECT k2 FROM tx ORDER BY k2", "SELECT k3 FROM tx ORDER BY k3",
      "SELECT k4 FROM tx ORDER BY k4",      "SELECT k5 FROM tx ORDER BY k5", "SELECT k6 FROM tx ORDER BY k6",
  };
  for (int k = 0; k < kKeyCount; ++k) {
    Statement walk(db, walks[k]);
    Digest digest;
    walk.ReadAll(digest);
    report.indexContents[k] = {0, digest.rows(), digest.value()};
  }

  report.peakHeapBytes = Highwater();
  db.Close();
  reporter.Finish(report);
}

}  // namespace bench
