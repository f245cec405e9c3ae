// The libraries are layered from the ground up, and a library may use only those
// below it: the logic never reaches up into the windows or into a later subsystem, and
// no logic library includes Qt. This test reads every source file's includes and fails
// on the first that runs against the order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The layers from the ground up. A window library ("ui") may also use the window
// libraries listed before it; a logic library may use no window library at all.
struct Layer {
  std::string folder;
  bool windows;
};

const std::vector<Layer> kLayers = {
    {"platform", false},  {"platform/qt", true}, {"engine", false},       {"engine/ui", true},
    {"model", false},     {"files", false},      {"books", false},        {"documents", false},
    {"shell", false},     {"shell/ui", true},    {"invoicing", false},    {"invoicing/ui", true},
    {"reports", false},   {"reports/ui", true},  {"app", true},           {"tools", false},
    {"tools/cli", true},  {"bench", true},
};

// The layer a path belongs to: the longest folder that holds it.
std::optional<std::size_t> LayerOf(const std::string& path) {
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < kLayers.size(); ++i) {
    const std::string& folder = kLayers[i].folder;
    if (path.rfind(folder + "/", 0) != 0) continue;
    if (!found || folder.size() > kLayers[*found].folder.size()) found = i;
  }
  return found;
}

// The logic library a window library belongs to ("shell" for "shell/ui").
std::optional<std::size_t> OwnLogicOf(std::size_t layer) {
  const std::string& folder = kLayers[layer].folder;
  const std::size_t slash = folder.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  return LayerOf(folder.substr(0, slash) + "/");
}

bool MayUse(std::size_t user, std::size_t used) {
  if (used == user) return true;
  if (used > user) return false;
  if (!kLayers[user].windows) return !kLayers[used].windows;
  // Tools and the program may use any layer below them.
  if (!OwnLogicOf(user)) return true;
  return kLayers[used].windows || used <= *OwnLogicOf(user);
}

struct SourceFile {
  std::string path;  // relative to the source root, with '/'
  std::vector<std::string> lines;
};

std::vector<SourceFile> SourceFiles() {
  const fs::path root = QY_SOURCE_DIR;
  std::vector<SourceFile> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = fs::relative(entry.path(), root).generic_string();
    if (relative.rfind("build", 0) == 0 || relative.rfind(".", 0) == 0) continue;
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    SourceFile file{relative, {}};
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) file.lines.push_back(line);
    files.push_back(std::move(file));
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
  return files;
}

const std::vector<SourceFile>& Sources() {
  static const std::vector<SourceFile> files = SourceFiles();
  return files;
}

TEST(Layering, EveryIncludeRunsDownTheLayers) {
  const std::regex projectInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<std::string> faults;
  for (const SourceFile& file : Sources()) {
    const std::optional<std::size_t> user = LayerOf(file.path);
    if (!user) continue;
    for (const std::string& line : file.lines) {
      std::smatch match;
      if (!std::regex_search(line, match, projectInclude)) continue;
      const std::optional<std::size_t> used = LayerOf(match[1].str());
      if (used && !MayUse(*user, *used)) faults.push_back(file.path + " includes " + match[1].str());
    }
  }
  EXPECT_EQ(faults, std::vector<std::string>{});
  EXPECT_GT(Sources().size(), 100u);  // the tree was found
}

TEST(Layering, OnlyWindowLibrariesIncludeQt) {
  const std::regex qtInclude(R"(^\s*#\s*include\s*<Q)");
  std::vector<std::string> faults;
  for (const SourceFile& file : Sources()) {
    const std::optional<std::size_t> layer = LayerOf(file.path);
    if (!layer || kLayers[*layer].windows) continue;
    for (const std::string& line : file.lines) {
      if (std::regex_search(line, qtInclude)) faults.push_back(file.path + ": " + line);
    }
  }
  EXPECT_EQ(faults, std::vector<std::string>{});
}

// The engine's handles stay below the typed tables: above them records are read and
// walked through Table<Record>, so no walk depends on where another left an index.
TEST(Layering, OnlyTheEngineAndTheTablesTouchEngineHandles) {
  const std::regex handle(R"((\.|->)(Block|engine)\(\))");
  std::vector<std::string> faults;
  for (const SourceFile& file : Sources()) {
    const std::optional<std::size_t> layer = LayerOf(file.path);
    if (!layer || kLayers[*layer].folder == "engine" || kLayers[*layer].folder == "files") continue;
    if (kLayers[*layer].folder == "bench" || file.path.find("_test.cpp") != std::string::npos ||
        file.path.find("_uitest.cpp") != std::string::npos)
      continue;
    for (const std::string& line : file.lines) {
      if (std::regex_search(line, handle)) faults.push_back(file.path + ": " + line);
    }
  }
  EXPECT_EQ(faults, std::vector<std::string>{});
}

TEST(Layering, OrderRulesHoldForTheirOwnExamples) {
  const auto layer = [](const std::string& folder) { return *LayerOf(folder + "/x.h"); };
  EXPECT_TRUE(MayUse(layer("shell"), layer("books")));
  EXPECT_FALSE(MayUse(layer("books"), layer("shell")));
  EXPECT_FALSE(MayUse(layer("engine"), layer("platform/qt")));
  EXPECT_TRUE(MayUse(layer("shell/ui"), layer("engine/ui")));
  EXPECT_TRUE(MayUse(layer("shell/ui"), layer("shell")));
  EXPECT_FALSE(MayUse(layer("shell/ui"), layer("invoicing")));
  EXPECT_TRUE(MayUse(layer("invoicing/ui"), layer("shell/ui")));
  EXPECT_FALSE(MayUse(layer("engine/ui"), layer("model")));
  EXPECT_TRUE(MayUse(layer("app"), layer("reports/ui")));
}

}  // namespace
