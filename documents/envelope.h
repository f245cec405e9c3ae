// The envelope of one customer in the company's envelope layout: the return address,
// the name and address it is sent to, on a #10 envelope.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/records.h"
#include "platform/dialogs.h"
#include "platform/page_canvas.h"

namespace documents {

// The company's envelope settings in printer dots.
struct EnvelopeLayout {
  int lineSpacing = 0;  // L
  int returnLeft = 0;   // X
  int top = 0;          // T
  int sendLeft = 0;     // S
  platform::Orientation orientation = platform::Orientation::kPortrait;
  bool returnAddress = false;
  bool shipTo = false;
};

// nullopt when a spacing or margin is not a whole number.
std::optional<EnvelopeLayout> EnvelopeLayoutOf(const model::CompanyRecord& company);

enum class EnvelopeOutcome { kPrinted, kBadLayout, kPrintFailed };

// A layout that is not whole numbers is reported and nothing is printed.
EnvelopeOutcome PrintEnvelope(const model::CompanyRecord& company, const model::CustomerRecord& customer,
                              platform::PageCanvas& canvas, platform::Dialogs& dialogs);

// `destination` is where the job went, as the canvas describes it.
std::string EnvelopeSentText(const model::CustomerRecord& customer, std::string_view destination);

}  // namespace documents
