// Test helpers: a company record with a name, and a data folder (the working
// directory) holding a company list with one company and "LastCo.Dat".
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "model/company_defaults.h"
#include "model/company_session.h"
#include "model/side_files.h"
#include "platform/testing/scripted_dialogs.h"

namespace files::testing {

// A customer who owes nothing: balance and the four aging buckets "0.00".
inline model::CustomerRecord ClearCustomer(std::string_view number, std::string_view name) {
  model::CustomerRecord customer{};
  customer.CustNo = number;
  customer.CustName = name;
  customer.Balance = "0.00";
  for (auto* bucket : {&customer.AgeCurrent, &customer.Age31to60, &customer.Age61to90, &customer.AgeOver90}) {
    *bucket = "0.00";
  }
  return customer;
}

inline model::CompanyRecord NamedCompany(std::string_view name) {
  model::CompanyRecord company = model::StarterCompany();
  company.CompanyName = name;
  return company;
}

// `listed` goes into the company list, `last` into "LastCo.Dat".
inline void WriteCompanyFolder(const model::CompanyRecord& listed, const model::CompanyRecord& last) {
  engine::Engine engine;
  engine.InitEngine(30);
  platform::testing::ScriptedDialogs dialogs;
  platform::SilentProgress progress;
  files::KeyedFile list(engine, dialogs, progress, files::DescribeFile(files::CompanyFile::kCompanyList));
  ASSERT_TRUE(list.Create());
  ASSERT_TRUE(list.Open());
  engine::RecordNumber added = 0;
  ASSERT_TRUE(list.Add(listed, added));
  list.Close();
  model::CompanyRecord current{};
  ASSERT_TRUE(model::WriteLastCompany(last, current));
}

// Company 1 named `name` as the session's current company, on file with an A/R total of
// `totalAR`; `adjust` changes it before it is written.
template <class Adjust = void (*)(model::CompanyRecord&)>
void WriteCompanyOne(model::CompanySession& session, std::string_view name, std::string_view totalAR,
                     Adjust adjust = [](model::CompanyRecord&) {}) {
  session.CurrentCompany = NamedCompany(name);
  session.CurrentCompany.CompanyNo = "1";
  session.CurrentCompany.TotalAR = totalAR;
  adjust(session.CurrentCompany);
  WriteCompanyFolder(session.CurrentCompany, session.CurrentCompany);
}

}  // namespace files::testing
