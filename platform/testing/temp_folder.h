// Folders for tests: a private temporary folder, removed with everything in it, and
// the same made the working directory for a test, as the data folder is for the
// program.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace platform::testing {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qy-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A file-set name (no extension) inside the folder.
  std::string Name(const std::string& base) const { return (path_ / base).string(); }

 private:
  std::filesystem::path path_;
};

// A fresh folder made the working directory for the life of the object, as the data
// folder is for the program; the previous working directory comes back afterwards.
class ScopedWorkingFolder {
 public:
  ScopedWorkingFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(folder_.path()); }
  ~ScopedWorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
  ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

  const std::filesystem::path& path() const { return folder_.path(); }

 private:
  TempDir folder_;
  std::filesystem::path previous_;
};

}  // namespace platform::testing
