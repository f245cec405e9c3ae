#include "shell/customer_printouts.h"

#include <array>
#include <charconv>

#include "files/table.h"
#include "model/company_session.h"
#include "model/keys.h"
#include "model/text.h"
#include "shell/customers.h"

namespace shell {
namespace {

std::string Joined(std::initializer_list<std::string_view> lines) {
  std::string joined;
  for (std::string_view line : lines) {
    line = model::TrimBlanks(line);
    if (line.empty()) continue;
    if (!joined.empty()) joined += ", ";
    joined += line;
  }
  return joined;
}


}  // namespace

CustomerListRequest AskCustomerListRequest(platform::Dialogs& dialogs) {
  CustomerListRequest request;
  request.withAddresses =
      dialogs.confirm("Customer List", "Do you want to include the customer addresses on this list?");
  request.byNumber = dialogs.confirm(
      "Customer Sort", "Customers will be sorted by name. Would you rather sort by customer number?");
  return request;
}

documents::ListEntry CustomerListEntry(const model::CustomerRecord& customer, bool withAddresses) {
  documents::ListEntry entry;
  entry.name = customer.CustName.str();
  entry.fields = {
      {"Number:", std::string(model::TrimBlanks(customer.CustNo.str()))},
      {"Balance:", BalanceText(customer)},
      {"Short Name:", customer.ShortName.str()},
      {"Type:", customer.CustType.str()},
      {"Last Pmt:", customer.LastPaymentDate.str()},
      {"Credit Limit:", customer.CreditLimit.str()},
      {"Last Invoice:", customer.LastInvoiceNo.str()},
      {"Tax Exempt:", customer.TaxExempt.str()},
      {"Phone1:", customer.Phone1.str()},
      {"Phone2:", customer.Phone2.str()},
      {"Payment Terms:", customer.Terms.str()},
  };
  if (withAddresses) {
    entry.lines = {
        "Billing Address: " + Joined({customer.BillAddr1.str(), customer.BillAddr2.str(), customer.BillAddr3.str(),
                                      customer.BillAddr4.str()}),
        "Shipping Address: " + Joined({customer.ShipAddr1.str(), customer.ShipAddr2.str(),
                                       customer.ShipAddr3.str(), customer.ShipAddr4.str()}),
    };
  }
  return entry;
}

documents::ListReport CustomerListReport(files::KeyedFile& customers, const model::CompanyRecord& company,
                                      const CustomerListRequest& request, std::string_view dateTime) {
  documents::ListReport report;
  report.title = request.byNumber ? "Customer List by Number" : "Customer List by Name";
  report.headings = {"Customer List for " + company.CompanyName.str(), "Date: " + std::string(dateTime)};
  const engine::KeyNumber order = request.byNumber ? model::customer_key::kNumber : model::customer_key::kName;
  files::Table<model::CustomerRecord>(customers).ForEach(order, [&](const auto& row) {
    report.entries.push_back(CustomerListEntry(row.record, request.withAddresses));
    return true;
  });
  return report;
}

bool PrintCustomerList(files::KeyedFile& customers, const model::CompanyRecord& company, platform::Dialogs& dialogs,
                       const platform::Clock& clock, platform::PageCanvas& canvas) {
  const CustomerListRequest request = AskCustomerListRequest(dialogs);
  return documents::PrintListReport(CustomerListReport(customers, company, request, model::ClockText(clock)), canvas);
}


}  // namespace shell
