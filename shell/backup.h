// The "Backup Data Files" command: which files of the data folder are copied, which
// folders are offered as targets, and the copy itself, each file written whole or
// not at all, stopping at the first failure.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace shell {

inline constexpr std::string_view kBackupHelpKeyword = "backupdata";
// The side file in the data folder that remembers where the last backup went.
inline constexpr std::string_view kBackupFolderFile = "Backup.Dir";

// The program writes "Company.DAT", "LastCo.Dat" and "1C.DAT" alike, so the extensions
// *.DAT, *.IX, *.SAV, *.LST, *.LBL and *.RTF match whatever their case.
bool IsBackupFile(std::string_view fileName);
// The names of the regular files of `folder` that go into a backup, sorted by name
// with case ignored, as a list box would show them.
std::vector<std::string> BackupFileList(const std::filesystem::path& folder);

// Where the desktop mounts removable drives for this user: /media/<user> and
// /run/media/<user>. Whatever else is mounted (/mnt, say) is no drive to offer.
std::vector<std::filesystem::path> RemovableMountRoots();
// The folders under each root in turn, sorted by name within a root; roots that do not
// exist are skipped.
std::vector<std::filesystem::path> RemovableDrives(const std::vector<std::filesystem::path>& mountRoots);

// The folder the last backup from `dataFolder` went to; nullopt when nothing is
// remembered or the side file cannot be read.
std::optional<std::filesystem::path> LastBackupFolder(const std::filesystem::path& dataFolder);
// The targets to offer, the default first: the last backup's folder while it exists,
// then the drives.
std::vector<std::filesystem::path> BackupTargets(const std::vector<std::filesystem::path>& drives,
                                                 const std::optional<std::filesystem::path>& lastFolder);

std::string ReadyToBackupText(std::size_t fileCount);
// The refusal shown when the command is chosen while the panel is on screen.
void ShowBackupAlreadyShowing(platform::Dialogs& dialogs);

struct BackupHooks {
  std::function<void()> copyStarting;            // confirmed: the panel disables its controls
  std::function<void(std::string_view)> status;  // "Copying <name>..." before each file
  std::function<void()> copyEnded;               // before the closing message: the panel hides
};

struct BackupOutcome {
  enum class State { kRefused, kCancelled, kFailed, kComplete };
  State state = State::kCancelled;
  std::size_t copied = 0;
  std::string error;  // what stopped a failed backup, for the status line
};

// Copies `files` of `dataFolder`, in order, into `target` after the user agrees; each
// replaces a file of the same name there, and the target is remembered for the next
// backup. A target that is the data folder or inside it is refused. Files copied
// before a failure stay on the target.
BackupOutcome BackupFiles(platform::Dialogs& dialogs, const std::vector<std::string>& files,
                          const std::filesystem::path& dataFolder, const std::filesystem::path& target,
                          const BackupHooks& hooks);

}  // namespace shell
