#include "shell/company_list.h"

#include "model/keys.h"

namespace shell {

bool FindCompanyByNumber(files::KeyedFile& list, const model::CompanyRecord& wanted, engine::RecordNumber& number,
                         model::CompanyRecord& found) {
  const engine::KeyString wantedKey = model::BuildKey(wanted, model::company_key::kNumber);
  engine::KeyString key = wantedKey;
  if (!list.Search(model::company_key::kNumber, number, key) || !(key == wantedKey)) return false;
  list.engine().GetRecord(list.Block(), number, engine::RecordBytes(found));
  return list.engine().Ok();
}

}  // namespace shell
