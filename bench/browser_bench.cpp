// browser_bench: times the keyed browser's data source on a file of a million records
// (or as many as given): filling the first page, paging, going to the end and moving
// the thumb. Each should take about as long on any file size, as only pages are read.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "engine/browser_source.h"

namespace {

namespace fs = std::filesystem;
using engine::Engine;
using engine::FileBlock;

constexpr int kKeyLength = 8;
constexpr int kVisibleRows = 30;

struct Item {
  std::int32_t deletion = 0;
  char code[kKeyLength] = {};
  char name[24] = {};
};

double MillisecondsOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool Check(const Engine& engine, const char* step) {
  if (engine.Ok()) return true;
  std::fprintf(stderr, "browser_bench: %s failed with status %d\n", step, engine.Status());
  return false;
}

bool BuildFile(Engine& engine, const std::string& name, int records, FileBlock*& file) {
  const engine::IndexSpec index[] = {{kKeyLength, false}};
  engine.CreateFileSet(name, sizeof(Item), index);
  file = engine.OpenFileSet(name, false);
  if (!Check(engine, "create")) return false;
  for (int i = 0; i < records; ++i) {
    Item item;
    const std::string code = std::to_string(10000000 + i).substr(1);  // seven digits, in key order
    std::memcpy(item.code, code.data(), std::min(code.size(), sizeof item.code - 1));
    std::snprintf(item.name, sizeof item.name, "Item %d", i);
    const engine::RecordNumber number = engine.AddRecord(file, engine::RecordBytes(item));
    engine.AddKey(file, 1, number, item.code);
    if (!Check(engine, "add")) return false;
  }
  return true;
}

void Report(const char* step, double milliseconds, engine::StatusClass outcome) {
  std::printf("%-28s %10.3f ms%s\n", step, milliseconds, engine::Failed(outcome) ? "  (failed)" : "");
}

void TimeBrowser(Engine& engine, FileBlock* file) {
  Item record;
  engine::BrowserSource source(engine, file, 1, engine::RecordBytes(record), {}, {}, 50);
  source.OnBuildRow = [&record](engine::RowRec& row) {
    row.elements[0].assign(record.name, strnlen(record.name, sizeof record.name));
    return 0;
  };
  source.SetVisibleRows(kVisibleRows);
  engine::StatusClass outcome = engine::StatusClass::kSuccess;
  Report("first page", MillisecondsOf([&] { outcome = source.First(); }), outcome);
  Report("page down x100", MillisecondsOf([&] {
           for (int i = 0; i < 100 && !engine::Failed(outcome); ++i) outcome = source.PageDown();
         }),
         outcome);
  Report("last page (Ctrl+End)", MillisecondsOf([&] { outcome = source.Last(); }), outcome);
  std::int32_t position = 0;
  Report("scroll position", MillisecondsOf([&] { outcome = source.ScrollPosition(position); }), outcome);
  Report("thumb moves x62", MillisecondsOf([&] {
           for (std::int32_t p = 1; p < engine::kScrollScale && !engine::Failed(outcome); ++p)
             outcome = source.PositionAtScroll(p);
         }),
         outcome);
  Report("refresh x100", MillisecondsOf([&] {
           for (int i = 0; i < 100 && !engine::Failed(outcome); ++i) outcome = source.Refresh();
         }),
         outcome);
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  std::error_code error;
  std::string folder = (fs::temp_directory_path(error) / "browser-bench-XXXXXX").string();
  if (error || mkdtemp(folder.data()) == nullptr) {
    std::fprintf(stderr, "browser_bench: no temporary folder\n");
    return 1;
  }
  Engine engine;
  engine.InitEngine(30);
  FileBlock* file = nullptr;
  bool built = false;
  const double buildTime = MillisecondsOf([&] { built = BuildFile(engine, folder + "/items", records, file); });
  if (built) {
    std::printf("%d records built in %.0f ms\n", records, buildTime);
    TimeBrowser(engine, file);
  }
  engine.ExitEngine();
  fs::remove_all(folder, error);
  return built ? 0 : 2;
}
