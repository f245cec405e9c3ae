// What the customer manager prints: the customer list, by name or by number, with or
// without addresses, and an envelope for one customer in the company's envelope
// layout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/keyed_file.h"
#include "model/records.h"
#include "documents/list_report.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/page_canvas.h"

namespace shell {

struct CustomerListRequest {
  bool withAddresses = false;
  bool byNumber = false;
};

// The two questions before the list is printed.
CustomerListRequest AskCustomerListRequest(platform::Dialogs& dialogs);

documents::ListEntry CustomerListEntry(const model::CustomerRecord& customer, bool withAddresses);

// Every customer of the open file in the order asked for; `dateTime` heads the list.
documents::ListReport CustomerListReport(files::KeyedFile& customers, const model::CompanyRecord& company,
                                      const CustomerListRequest& request, std::string_view dateTime);

// Asks, builds and prints the list; false when the print job failed.
bool PrintCustomerList(files::KeyedFile& customers, const model::CompanyRecord& company, platform::Dialogs& dialogs,
                       const platform::Clock& clock, platform::PageCanvas& canvas);

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

}  // namespace shell
