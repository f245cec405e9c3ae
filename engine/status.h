// Status codes of the record file engine and their classification.
//
// Every engine operation leaves one of these codes in the engine status; callers
// test it after each call and decide with ErrorClass() whether to retry, give up
// or treat the outcome as a normal "not found".
#pragma once

#include <iosfwd>

namespace engine {

namespace status {
constexpr int kOk = 0;
constexpr int kPathNotFound = 9900;
constexpr int kTooManyOpenFiles = 9901;
constexpr int kFileNotFound = 9903;
constexpr int kInvalidHandle = 9904;
constexpr int kAccessRefused = 9908;
constexpr int kLogWriteFailedBase = 9500;  // + the operating system's error number
constexpr int kTooFewBuffersAllocated = 10000;
constexpr int kAddRecordRolledBack = 10001;
constexpr int kDeleteRecordRolledBack = 10002;
constexpr int kAddKeyRolledBack = 10003;
constexpr int kDeleteKeyRolledBack = 10004;
constexpr int kMustRebuild = 10010;
// A page or header found damaged while the file set is in use: the cure is the same
// rebuild, so it carries the same code.
constexpr int kIndexDamaged = kMustRebuild;
constexpr int kRecordTooShort = 10020;
constexpr int kNoMemoryForIndexes = 10030;
constexpr int kNoMemoryForVariableBuffer = 10040;
constexpr int kTooManyIndexes = 10050;
constexpr int kBadKeyLength = 10055;
constexpr int kHeaderTooManyIndexes = 10060;
constexpr int kReadOnly = 10065;
constexpr int kShortRead = 10070;
constexpr int kShortWrite = 10075;
constexpr int kCloseNotOpen = 10080;
constexpr int kNoMemoryAtCreate = 10090;
constexpr int kNoMemoryAtOpen = 10100;
constexpr int kPageLengthNotWhole = 10120;
constexpr int kHeaderKeyLength = 10121;
constexpr int kHeaderPageSize = 10122;
constexpr int kKeyTooLong = 10125;
constexpr int kPutRecordZero = 10130;
constexpr int kRecordOutOfRange = 10135;  // outside 1..NumRec (delete, get, put)
constexpr int kOsError = 10140;
constexpr int kCloseFailed = 10160;
constexpr int kBadKeyNumber = 10164;
constexpr int kFreeChainDamaged = 10170;
constexpr int kLogReplayFailed = 10180;
constexpr int kSectionShort = 10205;
constexpr int kSearchNotFound = 10210;
constexpr int kHeaderDisagrees = 10215;
constexpr int kDeleteKeyNotFound = 10220;
constexpr int kDuplicateKey = 10230;
constexpr int kNextAtEnd = 10250;
constexpr int kNextLost = 10255;
constexpr int kPrevAtStart = 10260;
constexpr int kPrevLost = 10265;
constexpr int kFindNotFound = 10270;
constexpr int kNoUsedRecord = 10275;
constexpr int kKeyAtPositionEmpty = 10280;
constexpr int kKeyPositionEmpty = 10285;
constexpr int kScanReadError = 10390;
constexpr int kOsErrorReadOnly = 10397;
constexpr int kRenameFailed = 10399;
constexpr int kNothingToRebuild = 10410;
constexpr int kRebuildNoMemory = 10411;
constexpr int kRebuildRecordTooLong = 10412;
constexpr int kPositionOutOfRange = 10420;
constexpr int kScaleZero = 10425;
constexpr int kLogNeedsReplayReadOnly = 10430;
constexpr int kLogUnusable = 10440;
constexpr int kInvalidFileBlock = 10445;
constexpr int kEngineBusy = 10446;
constexpr int kAlreadyInitialised = 10450;
constexpr int kTooFewBuffersWanted = 10451;
constexpr int kNotInitialised = 10455;
constexpr int kStoppedByProgress = 10460;
constexpr int kSavedCopyExists = 10465;
constexpr int kKeyFunctionFailed = 10470;
constexpr int kRecordCheckFailed = 10475;
}  // namespace status

// What a caller does about a status. The values are the class numbers users see in
// error messages, so they must not change.
enum class StatusClass {
  kSuccess = 0,
  kNotFound = 1,    // not found or end of index: a normal outcome
  kMayRetry = 2,    // may succeed if retried
  kRolledBack = 3,  // failed, and the change was rolled back
  kFatal = 4,
};

StatusClass ClassOfStatus(int code);

// Anything worse than "not found" is a failure to report.
constexpr bool Failed(StatusClass statusClass) { return statusClass > StatusClass::kNotFound; }

// The class number as shown in error messages.
constexpr int ClassNumber(StatusClass statusClass) { return static_cast<int>(statusClass); }

// Readable in test failures and logs: the name with its number.
std::ostream& operator<<(std::ostream& out, StatusClass statusClass);

}  // namespace engine
