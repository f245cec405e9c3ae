// Reads RTF into the rich-text model: what our writer writes, and the letters word
// processors save. Formatting the model cannot hold is left out; pictures, headers,
// style sheets and other destinations are skipped.
#pragma once

#include <string>
#include <string_view>

#include "documents/rtf_document.h"

namespace documents {

struct RtfReadResult {
  RtfDocument document{};
  // Empty when the text read cleanly; otherwise what was wrong with it, and the
  // document holds what could be read before or around the fault.
  std::string error{};

  bool ok() const { return error.empty(); }
};

// Never throws; time and memory grow in step with the length of the text.
RtfReadResult ReadRtf(std::string_view rtf);

}  // namespace documents
