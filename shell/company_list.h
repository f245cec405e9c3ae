// Finding a company in the company list file by its number, the one way every window
// re-reads a company before it changes it.
#pragma once

#include "files/keyed_file.h"
#include "model/records.h"

namespace shell {

// The company with `wanted`'s number into `found`, and its record number; false when
// the list holds no such company or it cannot be read.
bool FindCompanyByNumber(files::KeyedFile& list, const model::CompanyRecord& wanted, engine::RecordNumber& number,
                         model::CompanyRecord& found);

}  // namespace shell
