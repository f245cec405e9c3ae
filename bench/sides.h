// The two sides of the benchmark. Each phase runs in a child process of its own (see
// child_process.h) and ends by sending its SideReport; a failing call ends the process
// with a message naming the call and its status.
//
// Phases, in the order the parent runs them:
//   LoadAndQuery      load, lookups, customer walks, date ranges. The engine's file
//                     set is deliberately left open: the process ends without
//                     closing it, so its data header keeps the open flag.
//   Rebuild           engine: the open finds the file set not closed properly and the
//                     whole file set is rebuilt; SQLite: VACUUM, which also
//                     rewrites both the table and its indexes.
//   ChangeAndVerify   random deletes with all keys, then as many additions; then every
//                     index is walked end to end so both sides can be compared.
#pragma once

#include <string>

#include "bench/child_process.h"
#include "bench/report.h"
#include "bench/workload.h"

namespace bench {

// `fileSet` is the engine's file-set name (without extension), `database` SQLite's file.
void EngineLoadAndQuery(const Workload& workload, const std::string& fileSet, ChildReporter& reporter);
void EngineRebuild(const Workload& workload, const std::string& fileSet, ChildReporter& reporter);
void EngineChangeAndVerify(const Workload& workload, const std::string& fileSet, ChildReporter& reporter);

void SqliteLoadAndQuery(const Workload& workload, const std::string& database, ChildReporter& reporter);
void SqliteRebuild(const Workload& workload, const std::string& database, ChildReporter& reporter);
void SqliteChangeAndVerify(const Workload& workload, const std::string& database, ChildReporter& reporter);

}  // namespace bench
