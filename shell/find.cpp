#include "shell/find.h"

#include "files/table.h"

#include <initializer_list>

#include "model/field_values.h"
#include "model/money.h"
#include "model/text.h"

namespace shell {
namespace {

constexpr std::string_view kInvoiceTotalPicture = ",.00";

// The fields are compared as stored, folded the way the search text was.
bool AnyFieldContains(std::initializer_list<std::string_view> fields, std::string_view searchText) {
  for (std::string_view field : fields) {
    if (model::FoldForSearch(field).find(searchText) != std::string::npos) return true;
  }
  return false;
}

// The row is built only for a match, so a search over a large file builds few strings.
template <class Record>
std::optional<FoundRow> RowWhen(bool matches, const Record& record, FoundRow (*rowOf)(const Record&)) {
  if (!matches) return std::nullopt;
  return rowOf(record);
}

FoundRow TransactionRow(const model::TransactionRecord& t) {
  // Balance due as stored: only the total has a display picture in this list.
  return {t.SortDate.str(),
          {t.InvoiceNo.str(), t.CustNo.str(), t.KeyCode.str(), model::AmountText(t.TotalAmount, kInvoiceTotalPicture), t.ShortName.str(),
           t.BalanceDue.str()}};
}

FoundRow CustomerRow(const model::CustomerRecord& c) {
  return {c.CustName.str(),
          {c.CustNo.str(), c.Phone1.str(), c.BillAddr1.str(), c.BillAddr2.str(), c.BillAddr3.str(), c.BillAddr4.str()}};
}

FoundRow ProductRow(const model::ProductRecord& p) { return {p.ProductCode.str(), {p.ProdDesc.str(), p.UnitPrice.str()}}; }

FoundRow CompanyRow(const model::CompanyRecord& c) {
  return {c.CompanyName.str(),
          {c.CompanyNo.str(), c.CoAddr1.str(), c.CoAddr2.str(), c.CoAddr3.str(), c.CoAddr4.str()}};
}

template <class Record>
std::vector<FoundRow> CollectRows(files::KeyedFile& file, std::string_view searchText) {
  std::vector<FoundRow> rows;
  files::Table<Record>(file).ForEachRecord([&](const files::Row<Record>& row) {
    if (std::optional<FoundRow> found = MatchingRow(row.record, searchText)) rows.push_back(std::move(*found));
    return true;
  });
  return rows;
}

}  // namespace

const FindHeadings& FindColumnHeadings(FindMode mode) {
  static const FindHeadings kTransactions{"Year/Mo/Dy", "Invoice#",    "Customer#",  "Key Code",
                                          "Invoice Total", "Short Name", "Balance Due"};
  static const FindHeadings kCustomers{"Customer Name",  "Number",         "Phone Number",  "Address Line 1",
                                       "Address Line 2", "Address Line 3", "Address Line 4"};
  static const FindHeadings kProducts{"Product#", "Description", "Unit Price", "", "", "", ""};
  static const FindHeadings kCompanies{"Company Name",   "Number",         "Address Line 1", "Address Line 2",
                                       "Address Line 3", "Address Line 4", ""};
  switch (mode) {
    case FindMode::kTransactions: return kTransactions;
    case FindMode::kCustomers: return kCustomers;
    case FindMode::kProducts: return kProducts;
    case FindMode::kCompanies: return kCompanies;
  }
  return kTransactions;
}

std::string SearchTextOf(std::string_view typed) {
  return model::FoldForSearch(model::ToWindows1252(model::FirstCharacters(model::TrimBlanks(typed), kSearchTextLength)));
}

std::optional<FoundRow> MatchingRow(const model::TransactionRecord& t, std::string_view searchText) {
  const bool matches = AnyFieldContains(
      {t.CustNo.raw(), t.SortDate.raw(), t.InvoiceNo.raw(), t.KeyCode.raw(), t.ShortName.raw()}, searchText);
  return RowWhen(matches, t, &TransactionRow);
}

std::optional<FoundRow> MatchingRow(const model::CustomerRecord& c, std::string_view searchText) {
  const bool matches = AnyFieldContains({c.CustNo.raw(), c.CustName.raw(), c.Phone1.raw(), c.BillAddr1.raw(),
                                         c.BillAddr2.raw(), c.BillAddr3.raw(), c.BillAddr4.raw()},
                                        searchText);
  return RowWhen(matches, c, &CustomerRow);
}

std::optional<FoundRow> MatchingRow(const model::ProductRecord& p, std::string_view searchText) {
  const bool matches = AnyFieldContains({p.ProductCode.raw(), p.ProdDesc.raw(), p.UnitPrice.raw()}, searchText);
  return RowWhen(matches, p, &ProductRow);
}

std::optional<FoundRow> MatchingRow(const model::CompanyRecord& c, std::string_view searchText) {
  const bool matches = AnyFieldContains({c.CompanyName.raw(), c.CompanyNo.raw(), c.CoAddr1.raw(), c.CoAddr2.raw(),
                                         c.CoAddr3.raw(), c.CoAddr4.raw()},
                                        searchText);
  return RowWhen(matches, c, &CompanyRow);
}

std::vector<FoundRow> FindRows(files::KeyedFile& file, FindMode mode, std::string_view searchText) {
  switch (mode) {
    case FindMode::kTransactions: return CollectRows<model::TransactionRecord>(file, searchText);
    case FindMode::kCustomers: return CollectRows<model::CustomerRecord>(file, searchText);
    case FindMode::kProducts: return CollectRows<model::ProductRecord>(file, searchText);
    case FindMode::kCompanies: return CollectRows<model::CompanyRecord>(file, searchText);
  }
  return {};
}

}  // namespace shell
