// The base of the invoicing window tests: company 1, "Harbor Supply", on file with an
// A/R total of 0.00 and today 12/08/2026, and its customer C100, Dockside Marine, who
// owes nothing until the test posts to it.
#pragma once

#include <functional>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/testing/company_folder.h"
#include "shell/customers.h"
#include "shell/ui/testing/window_fixture.h"

namespace invoicing::ui::testing {

class InvoiceWindowFixture : public shell::testing::WindowFixture {
 protected:
  // `adjust` changes the company before it is written.
  void WriteHarborSupply(const std::function<void(model::CompanyRecord&)>& adjust = {}) {
    engine_.InitEngine(30);
    model::CompanyRecord& company = session_.CurrentCompany;
    company = files::testing::NamedCompany("Harbor Supply");
    company.CompanyNo = "1";
    company.TotalAR = "0.00";
    if (adjust) adjust(company);
    session_.TodayText = "12/08/2026";
    files::testing::WriteCompanyFolder(company, company);
  }

  void AddDocksideMarine() {
    files::KeyedFile file = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(file.Create() && file.Open());
    model::CustomerRecord customer = files::testing::ClearCustomer("C100", "Dockside Marine");
    customer.ShortName = "DMarine";
    customer.Phone1 = "(207) 555-0100";
    engine::RecordNumber added = 0;
    ASSERT_TRUE(file.Add(customer, added));
  }

  // Dockside Marine as the customer file holds it now.
  model::CustomerRecord Customer() {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    model::CustomerRecord customer{};
    engine::RecordNumber slot = 0;
    EXPECT_TRUE(customers.Open() && shell::FindCustomerByNumber(customers, "C100", slot, customer));
    return customer;
  }
};

}  // namespace invoicing::ui::testing
