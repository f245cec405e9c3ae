#include "shell/company_list.h"

#include "files/table.h"
#include "model/keys.h"

namespace shell {

bool FindCompanyByNumber(files::KeyedFile& list, const model::CompanyRecord& wanted, engine::RecordNumber& number,
                         model::CompanyRecord& found) {
  const files::Table<model::CompanyRecord> companies(list);
  const auto row = companies.FindExact(model::company_key::kNumber, companies.KeyOf(wanted, model::company_key::kNumber));
  if (!row) return false;
  number = row->number;
  found = row->record;
  return true;
}

}  // namespace shell
