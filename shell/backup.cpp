#include "shell/backup.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <system_error>

#include "model/text.h"
#include "model/whole_file.h"

namespace shell {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 6> kBackupExtensions = {".DAT", ".IX", ".SAV", ".LST", ".LBL", ".RTF"};
constexpr std::string_view kBackupCaption = "VT Backup";

bool ByNameIgnoringCase(const std::string& a, const std::string& b) {
  const std::string upperA = model::ToUpperAscii(a);
  const std::string upperB = model::ToUpperAscii(b);
  return upperA != upperB ? upperA < upperB : a < b;
}

std::vector<fs::path> SubfoldersByName(const fs::path& root) {
  std::vector<fs::path> folders;
  std::error_code error;
  for (fs::directory_iterator entry(root, error), end; !error && entry != end; entry.increment(error)) {
    std::error_code ignored;
    if (entry->is_directory(ignored)) folders.push_back(entry->path());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

std::string UserName() {
  if (const passwd* user = ::getpwuid(::geteuid())) return user->pw_name;
  const char* name = std::getenv("USER");
  return name != nullptr ? name : "";
}

// Symbolic links and "..", resolved, so another spelling of the same folder is caught.
fs::path Resolved(const fs::path& folder) {
  std::error_code ignored;
  fs::path resolved = fs::weakly_canonical(fs::absolute(folder, ignored), ignored);
  return resolved.has_filename() ? resolved : resolved.parent_path();
}

bool IsSameOrInside(const fs::path& folder, const fs::path& outer) {
  const fs::path inner = Resolved(folder);
  const fs::path container = Resolved(outer);
  return std::mismatch(container.begin(), container.end(), inner.begin(), inner.end()).first == container.end();
}

// Why the backup may not go to `target`, or empty when it may.
std::string TargetRefusal(const fs::path& target, const fs::path& dataFolder) {
  if (target.empty()) return "Choose the drive or folder to backup to.";
  if (IsSameOrInside(target, dataFolder)) {
    return "A backup cannot be written into the data folder or a folder inside it, where it would be lost with "
           "the data files. Choose another drive or folder.";
  }
  return {};
}

bool UserAgrees(platform::Dialogs& dialogs, const fs::path& target) {
  return dialogs.ask("Please Confirm", "Ready to backup files to " + target.string() + "?",
                     platform::Buttons::kOkCancel) == platform::Answer::kOk;
}

// Only a convenience for the next backup: a side file that cannot be written is let be.
void RememberBackupFolder(const fs::path& dataFolder, const fs::path& target) {
  std::error_code ignored;
  model::WriteWholeFile(dataFolder / kBackupFolderFile, fs::absolute(target, ignored).string() + "\n");
}

// WriteWholeFile goes through a temporary name, so a failed copy leaves no half file.
model::FileOutcome CopyWhole(const fs::path& from, const fs::path& to) {
  std::string bytes;
  if (model::FileOutcome read = model::ReadWholeFile(from, bytes); !read) return read;
  return model::WriteWholeFile(to, bytes);
}

void CopyAll(const std::vector<std::string>& files, const fs::path& dataFolder, const fs::path& target,
             const BackupHooks& hooks, BackupOutcome& outcome) {
  for (const std::string& name : files) {
    if (hooks.status) hooks.status("Copying " + name + "...");
    if (model::FileOutcome copy = CopyWhole(dataFolder / name, target / name); !copy) {
      outcome.state = BackupOutcome::State::kFailed;
      outcome.error = copy.error;
      return;
    }
    ++outcome.copied;
  }
  outcome.state = BackupOutcome::State::kComplete;
}

void ReportEnd(platform::Dialogs& dialogs, const BackupOutcome& outcome) {
  if (outcome.state == BackupOutcome::State::kFailed) {
    dialogs.inform(kBackupCaption, "Error copying files. Backup incomplete. Check disk drive and try again.",
                   platform::Icon::kError);
    return;
  }
  dialogs.inform(kBackupCaption, "Backup complete. " + std::to_string(outcome.copied) + " files were copied.");
}

}  // namespace

bool IsBackupFile(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string extension = model::ToUpperAscii(fileName.substr(dot));
  return std::find(kBackupExtensions.begin(), kBackupExtensions.end(), extension) != kBackupExtensions.end();
}

std::vector<std::string> BackupFileList(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    std::error_code ignored;
    const std::string name = entry->path().filename().string();
    if (entry->is_regular_file(ignored) && IsBackupFile(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), ByNameIgnoringCase);
  return names;
}

std::vector<fs::path> RemovableMountRoots() {
  const std::string user = UserName();
  std::vector<fs::path> roots;
  if (!user.empty()) {
    roots.push_back(fs::path("/media") / user);
    roots.push_back(fs::path("/run/media") / user);
  }
  return roots;
}

std::vector<fs::path> RemovableDrives(const std::vector<fs::path>& mountRoots) {
  std::vector<fs::path> drives;
  for (const fs::path& root : mountRoots) {
    for (fs::path& folder : SubfoldersByName(root)) drives.push_back(std::move(folder));
  }
  return drives;
}

std::optional<fs::path> LastBackupFolder(const fs::path& dataFolder) {
  std::string text;
  if (!model::ReadWholeFile(dataFolder / kBackupFolderFile, text)) return std::nullopt;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (text.empty()) return std::nullopt;
  return fs::path(text);
}

std::vector<fs::path> BackupTargets(const std::vector<fs::path>& drives, const std::optional<fs::path>& lastFolder) {
  std::vector<fs::path> targets;
  std::error_code ignored;
  if (lastFolder && fs::is_directory(*lastFolder, ignored)) targets.push_back(*lastFolder);
  for (const fs::path& drive : drives) {
    if (std::find(targets.begin(), targets.end(), drive) == targets.end()) targets.push_back(drive);
  }
  return targets;
}

std::string ReadyToBackupText(std::size_t fileCount) {
  return "Ready to backup " + std::to_string(fileCount) + " files.";
}

void ShowBackupAlreadyShowing(platform::Dialogs& dialogs) {
  dialogs.inform("Backup Files", "The backup utility is currently showing.");
}

BackupOutcome BackupFiles(platform::Dialogs& dialogs, const std::vector<std::string>& files,
                          const fs::path& dataFolder, const fs::path& target, const BackupHooks& hooks) {
  BackupOutcome outcome;
  if (const std::string refusal = TargetRefusal(target, dataFolder); !refusal.empty()) {
    dialogs.inform(kBackupCaption, refusal, platform::Icon::kWarning);
    outcome.state = BackupOutcome::State::kRefused;
    return outcome;
  }
  if (!UserAgrees(dialogs, target)) return outcome;
  RememberBackupFolder(dataFolder, target);
  if (hooks.copyStarting) hooks.copyStarting();
  CopyAll(files, dataFolder, target, hooks, outcome);
  if (hooks.copyEnded) hooks.copyEnded();
  ReportEnd(dialogs, outcome);
  return outcome;
}

}  // namespace shell
