#include "engine/status.h"

#include <ostream>

namespace engine {

StatusClass ClassOfStatus(int code) {
  switch (code) {
    case status::kOk:
      return StatusClass::kSuccess;
    case status::kFileNotFound:
    case 10410:
      return StatusClass::kNotFound;
    case status::kPathNotFound:
    case status::kReadOnly:
    case 10110:
    case 10306:
    case 10330:
    case 10332:
    case 10335:
    case 10355:
    case 10360:
    case status::kScanReadError:
    case status::kOsErrorReadOnly:
    case status::kRenameFailed:
      return StatusClass::kMayRetry;
    default:
      break;
  }
  if (code >= 10200 && code <= 10299) return StatusClass::kNotFound;
  if (code >= 10001 && code <= 10009) return StatusClass::kRolledBack;
  return StatusClass::kFatal;
}

namespace {

const char* NameOf(StatusClass statusClass) {
  switch (statusClass) {
    case StatusClass::kSuccess: return "success";
    case StatusClass::kNotFound: return "not found";
    case StatusClass::kMayRetry: return "may retry";
    case StatusClass::kRolledBack: return "rolled back";
    case StatusClass::kFatal: return "fatal";
  }
  return "unknown";
}

}  // namespace

std::ostream& operator<<(std::ostream& out, StatusClass statusClass) {
  return out << NameOf(statusClass) << " (class " << ClassNumber(statusClass) << ")";
}

}  // namespace engine
