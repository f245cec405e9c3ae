#include "reports/statement_batch.h"

#include <optional>

#include "books/customer_transactions.h"
#include "books/posting.h"
#include "files/table.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "platform/progress.h"
#include "reports/statement_page.h"
#include "shell/customers.h"

namespace reports {
namespace {

template <std::size_t N>
bool NotZero(const model::MoneyField<N>& field) {
  const std::optional<model::Money> amount = model::ReadMoney(field);
  return !amount || *amount != model::Money();
}

// What every statement of one batch run is printed with.
struct SpoolJob {
  const files::Services& services;
  files::KeyedFile* transactions;  // null when the company has no transaction file yet
  Activity detail;
  std::string_view today;
  documents::LabelQueue& labelQueue;
  platform::PageCanvas& canvas;
};

Statement StatementOf(const SpoolJob& job, const model::CustomerRecord& customer) {
  return job.transactions ? BuildStatement(*job.transactions, customer, job.detail)
                          : BuildStatement(job.services, customer, job.detail).value();
}

// Prints the statements in turn while the progress window (and its hourglass) shows;
// the customer whose statement could not be printed, which ends the run, or null.
const model::CustomerRecord* SpoolStatements(const SpoolJob& job, const std::vector<model::CustomerRecord>& selected) {
  const platform::ProgressRun run(job.services.progress, kBatchCaption, "Printing Statements...");
  const bool toLabelQueue = model::IsYes(job.services.session.CurrentCompany.BatchToLabelQueue);
  const std::string count = std::to_string(selected.size());
  for (std::size_t i = 0; i < selected.size(); ++i) {
    const model::CustomerRecord& customer = selected[i];
    if (toLabelQueue) shell::AddToLabelQueue(job.labelQueue, customer);
    const Statement statement = StatementOf(job, customer);
    const std::string lines[] = {"Spooling statement " + std::to_string(i + 1) + " of " + count + "..."};
    job.services.progress.Show(lines);
    job.services.progress.KeepResponsive();
    if (!PrintStatement(statement, job.services.session.CurrentCompany, job.today, job.canvas)) return &customer;
  }
  return nullptr;
}

}  // namespace

bool MeetsSelection(const model::CustomerRecord& customer, BalanceSelection selection) {
  switch (selection) {
    case BalanceSelection::kAllNonZero: return NotZero(customer.Balance);
    case BalanceSelection::kOver30: return NotZero(customer.Age31to60) || NotZero(customer.Age61to90) ||
                                           NotZero(customer.AgeOver90);
    case BalanceSelection::kOver60: return NotZero(customer.Age61to90) || NotZero(customer.AgeOver90);
    case BalanceSelection::kOver90: return NotZero(customer.AgeOver90);
  }
  return false;
}

std::vector<model::CustomerRecord> CustomersForStatements(files::KeyedFile& customers, BalanceSelection selection) {
  std::vector<model::CustomerRecord> selected;
  files::Table<model::CustomerRecord>(customers).ForEach(model::customer_key::kName, [&](const auto& row) {
    if (MeetsSelection(row.record, selection)) selected.push_back(row.record);
    return true;
  });
  return selected;
}

std::string BatchQuestion(const model::CompanyRecord& company, std::size_t count) {
  return "Last Batch Print: " + company.LastStatementDate.str() + "\n\nThere are " + std::to_string(count) +
         " statement(s) to be printed. Make sure your printer has plenty of paper. Continue?";
}

std::string PrintStatementBatch(const files::Services& services, files::KeyedFile& customers, const BatchChoice& choice,
                                documents::LabelQueue& labelQueue, platform::PageCanvas& canvas) {
  const std::vector<model::CustomerRecord> selected = CustomersForStatements(customers, choice.balances);
  if (selected.empty()) {
    services.dialogs.inform(kBatchCaption,
                            "There are no customers with a non-zero balance that meet your aging selection. There are "
                            "no statements to print.",
                            platform::Icon::kInformation);
    return {};
  }
  if (services.dialogs.ask(kBatchCaption, BatchQuestion(services.session.CurrentCompany, selected.size()),
                           platform::Buttons::kYesNo, platform::Icon::kQuestion) != platform::Answer::kYes) {
    return {};
  }
  std::optional<files::KeyedFile> transactions = books::TransactionFileIfAny(services);
  if (transactions && !transactions->Open()) return {};
  const std::string today = StatementDate(services);
  const SpoolJob job{services, transactions ? &*transactions : nullptr, choice.detail, today, labelQueue, canvas};
  if (const model::CustomerRecord* failed = SpoolStatements(job, selected)) {
    services.dialogs.inform(kBatchCaption,
                            "Batch printing stopped: the statement for " + failed->CustName.str() +
                                " could not be printed.",
                            platform::Icon::kError);
    return {};
  }
  if (!books::ChangeCurrentCompany(services, [&](model::CompanyRecord& company) {
        company.LastStatementDate = today;
      })) {
    services.dialogs.inform(kBatchCaption, "The date of this batch print could not be stored.",
                            platform::Icon::kError);
  }
  return "Batch printing complete.";
}

}  // namespace reports
