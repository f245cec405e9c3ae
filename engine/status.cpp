#include "engine/status.h"

namespace engine {

int ClassOfStatus(int code) {
  switch (code) {
    case status::kOk:
      return 0;
    case status::kFileNotFound:
    case 10410:
      return 1;
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
      return 2;
    default:
      break;
  }
  if (code >= 10200 && code <= 10299) return 1;
  if (code >= 10001 && code <= 10009) return 3;
  return 4;
}

}  // namespace engine
