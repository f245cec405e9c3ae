#include "books/posting.h"

#include "files/company_files.h"
#include "files/table.h"
#include "model/company_session.h"
#include "model/field_values.h"

namespace books {
namespace {

template <std::size_t N>
bool AddTo(model::MoneyField<N>& field, model::Money amount) {
  const std::optional<model::Money> stored = model::ReadMoney(field);
  return stored && model::StoreMoney(field, *stored + amount);
}

}  // namespace

bool ChangeCurrentCompany(const files::Services& services,
                          const std::function<void(model::CompanyRecord&)>& change) {
  model::CompanySession& session = services.session;
  files::KeyedFile list = services.FileOf(files::CompanyFile::kCompanyList);
  model::CompanyRecord company = session.CurrentCompany;
  files::RecordNumber number = 0;
  const bool found = list.Open() && files::FindCompanyByNumber(list, session.CurrentCompany, number, company);
  change(company);
  const bool stored = found && list.Update(number, company);
  session.CurrentCompany = company;
  return stored;
}

bool PostToCustomer(model::CustomerRecord& customer, model::Money amount, AgingBucket bucket) {
  model::CustomerRecord posted = customer;
  if (!AddTo(posted.Balance, amount) || !AddTo(BucketField(posted, bucket), amount)) return false;
  customer = posted;
  return true;
}

bool RepostToCustomer(model::CustomerRecord& customer, model::Money oldAmount, AgingBucket oldBucket,
                      model::Money newAmount, AgingBucket newBucket) {
  model::CustomerRecord posted = customer;
  const model::Money difference = newAmount - oldAmount;
  // Within one bucket only the difference is added, so a bucket near the width of its
  // field is not refused for a sum it never holds.
  const bool moved = oldBucket == newBucket
                         ? AddTo(BucketField(posted, newBucket), difference)
                         : AddTo(BucketField(posted, oldBucket), -oldAmount) &&
                               AddTo(BucketField(posted, newBucket), newAmount);
  if (!moved || !AddTo(posted.Balance, difference)) return false;
  customer = posted;
  return true;
}

bool PostPaymentToCustomer(model::CustomerRecord& customer, model::Money paid, const AgingTotals& stillOpen) {
  model::CustomerRecord posted = customer;
  if (!AddTo(posted.Balance, -paid) || !StoreAgingBuckets(posted, stillOpen)) return false;
  customer = posted;
  return true;
}

bool PostToCompany(model::CompanyRecord& company, model::Money amount) { return AddTo(company.TotalAR, amount); }

bool PostAmount(const files::Services& services, files::KeyedFile& customers, files::RecordNumber number,
                model::Money amount, const model::Date& documentDate, std::string_view caption) {
  const files::Table<model::CustomerRecord> table(customers);
  std::optional<model::CustomerRecord> customer = table.Read(number);
  const AgingBucket bucket = BucketOfAge(model::DaysBetween(documentDate, model::TodayOf(services.clock)));
  if (!customer || !PostToCustomer(*customer, amount, bucket) || !customers.Update(number, *customer)) {
    services.dialogs.inform(caption, "The customer's balance could not be updated.", platform::Icon::kError);
    return false;
  }
  bool posted = true;
  const bool stored = ChangeCurrentCompany(services, [&](model::CompanyRecord& company) {
    posted = PostToCompany(company, amount);
  });
  if (!stored || !posted) {
    services.dialogs.inform(caption, "The company's accounts receivable total could not be updated.",
                            platform::Icon::kError);
    return false;
  }
  return true;
}

}  // namespace books
