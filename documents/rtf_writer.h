// The writer that turns a rich-text document into RTF 1.x for word processors, the
// "Save As" of the report windows and the letters.
#pragma once

#include <string>

#include "documents/rtf_document.h"

namespace documents {

// The whole document as RTF text (7-bit ASCII; other characters are escaped).
std::string WriteRtf(const RtfDocument& document);

// Writes the document to `path`, replacing the file; false when it cannot be written.
bool SaveRtf(const RtfDocument& document, const std::string& path);

}  // namespace documents
