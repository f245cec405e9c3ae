// What the customer manager prints from its file: the customer list, by name or by
// number, with or without addresses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "documents/list_report.h"
#include "files/keyed_file.h"
#include "model/records.h"
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


}  // namespace shell
