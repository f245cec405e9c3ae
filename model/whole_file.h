// Small files read and written whole. A write goes to a temporary name beside the
// file and is renamed over it only when complete, so a failure (a full disk, say)
// leaves the old file as it was.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace model {

struct FileOutcome {
  bool ok = true;
  std::string error;  // what went wrong, for the user

  explicit operator bool() const { return ok; }
  static FileOutcome Failure(std::string error) { return {false, std::move(error)}; }
};

FileOutcome ReadWholeFile(const std::filesystem::path& path, std::string& bytes);
FileOutcome WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
// Removing a file that is not there succeeds.
FileOutcome RemoveFile(const std::filesystem::path& path);

}  // namespace model
