// Test base for the bookkeeping of invoices and payments: a data folder with company 1
// (A/R total 0.00), customers 10 and 20 at zero balance, open invoice, detail and memo
// files, today fixed at 2026-12-08, and the check that the books balance.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include "documents/label_queue.h"
#include "books/testing/books_balance.h"
#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/table.h"
#include "files/testing/company_folder.h"
#include "invoicing/invoice_books.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/customers.h"

namespace invoicing::testing {

inline model::Money M(std::string_view text) { return model::ParseMoney(text).value(); }

inline constexpr model::Date kToday{2026, 12, 8};

class BooksFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    session_.CurrentCompany = files::testing::NamedCompany("Harbor Supply");
    session_.CurrentCompany.CompanyNo = "1";
    session_.CurrentCompany.TotalAR = "0.00";
    WriteCompany();
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Create() && customers.Open());
    for (std::string_view number : {"10", "20"}) {
      model::CustomerRecord customer = files::testing::ClearCustomer(number, "Customer " + std::string(number));
      customer.ShortName = "Short " + std::string(number);
      files::RecordNumber added = 0;
      ASSERT_TRUE(customers.Add(customer, added));
    }
    for (files::KeyedFile* file : {&transactions_, &details_, &memos_}) ASSERT_TRUE(file->Create() && file->Open());
  }

  void WriteCompany() { files::testing::WriteCompanyFolder(session_.CurrentCompany, session_.CurrentCompany); }

  // The customer file is open only while a test looks at it: the bookkeeping opens it
  // itself, and a file set is open once at a time.
  model::CustomerRecord WithCustomer(std::string_view number,
                                     const std::function<void(files::KeyedFile&, files::RecordNumber,
                                                              model::CustomerRecord&)>& use = {}) {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    files::RecordNumber slot = 0;
    model::CustomerRecord customer{};
    EXPECT_TRUE(customers.Open() && shell::FindCustomerByNumber(customers, number, slot, customer));
    if (use) use(customers, slot, customer);
    return customer;
  }
  // Balance, then the buckets 0-30, 31-60, 61-90, over 90.
  std::string Aging(std::string_view number) {
    const model::CustomerRecord c = WithCustomer(number);
    return c.Balance.str() + " = " + c.AgeCurrent.str() + " " + c.Age31to60.str() + " " + c.Age61to90.str() + " " +
           c.AgeOver90.str();
  }

  model::CompanyRecord Listed() {
    files::KeyedFile list = services_.FileOf(files::CompanyFile::kCompanyList);
    model::CompanyRecord found{};
    files::RecordNumber number = 0;
    EXPECT_TRUE(list.Open() && files::FindCompanyByNumber(list, session_.CurrentCompany, number, found));
    return found;
  }

  std::string DateAgo(int days) {
    return model::FormatDisplayDate(model::AddDays(kToday, -days), session_.DateOrder());
  }

  InvoiceForm Form(std::string_view number, int daysAgo, std::string_view net, std::string_view paid,
                   std::string_view customer = "10") {
    InvoiceForm form;
    form.number = number;
    form.date = DateAgo(daysAgo);
    form.notes = "PO 5521";
    form.terms = "Net 30 Days";
    form.statementNote = "Thank you";
    form.customer = WithCustomer(customer);
    form.net = net;
    form.tax = "0.00";
    form.paid = paid;
    form.total = net;
    return form;
  }

  AddOutcome Add(const InvoiceForm& form) { return AddInvoice(services_, files_, form, labelQueue_); }

  model::TransactionRecord Stored(files::RecordNumber number) {
    return files::Table<model::TransactionRecord>(transactions_).Read(number).value();
  }

  // The company's A/R total, the sum of the customer balances and the sum of the open
  // balances due are one amount, and each customer's buckets add up to its balance.
  void ExpectBooksBalance(std::string_view expected) {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Open());
    books::testing::ExpectBooksBalance(customers, transactions_, M(Listed().TotalAR.str()), M(expected));
    EXPECT_EQ(M(session_.CurrentCompany.TotalAR.str()), M(expected));
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{kToday.year, kToday.month, kToday.day, 9, 0, 0}};
  model::CompanySession session_;
  files::Services services_{engine_, dialogs_, progress_, clock_, session_};
  files::KeyedFile transactions_{engine_, dialogs_, progress_,
                                 files::DescribeFile(files::CompanyFile::kTransactions, "1")};
  files::KeyedFile details_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kDetails, "1")};
  files::KeyedFile memos_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kMemos, "1")};
  InvoiceFiles files_{transactions_, details_, memos_};
  documents::LabelQueue labelQueue_;
};

}  // namespace invoicing::testing
