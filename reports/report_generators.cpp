#include "reports/report_generators.h"

#include <algorithm>
#include <functional>
#include <map>

#include "books/aging.h"
#include "books/aging_as_of.h"
#include "files/table.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/keys.h"
#include "model/money.h"
#include "model/text.h"

namespace reports {

namespace {

using model::DetailRecord;
using model::TransactionRecord;
using Visit = std::function<bool(const files::Row<TransactionRecord>&)>;

constexpr std::size_t kAmountWidth = 12;

struct Column {
  std::string_view heading;
  std::size_t width;
  bool right = false;
};

std::string Trim(std::string_view text) { return std::string(model::TrimBlanks(text)); }

bool Blank(std::string_view text) { return model::TrimBlanks(text).empty(); }

// Builds rows whose cells are the line's fixed-width fields, noting damaged records.
class Builder {
 public:
  explicit Builder(std::vector<Column> columns) : columns_(std::move(columns)) {
    Cells heading;
    for (const Column& column : columns_) heading.push_back(Field(column, column.heading));
    table_.rows.push_back(std::move(heading));
  }

  void Add(const std::vector<std::string>& texts) {
    Cells cells;
    for (std::size_t i = 0; i < columns_.size(); ++i) cells.push_back(Field(columns_[i], texts.at(i)));
    table_.rows.push_back(std::move(cells));
  }

  // The stored amount text as ",0.00"; text that is no amount shows "0.00" and its
  // record is noted once.
  model::Money Amount(std::string_view text, engine::RecordNumber record) {
    if (const auto money = model::ParseMoney(text)) return *money;
    if (std::find(damaged_.begin(), damaged_.end(), record) == damaged_.end()) damaged_.push_back(record);
    return {};
  }
  std::string AmountText(std::string_view text, engine::RecordNumber record) {
    return model::FormatMoney(Amount(text, record), ",0.00");
  }
  std::string QuantityText(std::string_view text, engine::RecordNumber record) {
    if (const auto value = model::ParseDecimal(text)) return model::FormatDecimal(*value, ",0.000");
    Amount("?", record);
    return model::FormatDecimal({}, ",0.000");
  }

  bool HasData() const { return table_.rows.size() > 1; }
  ReportTable& Table() { return table_; }
  std::vector<engine::RecordNumber>& Damaged() { return damaged_; }

 private:
  static std::string Field(const Column& column, std::string_view text) {
    return column.right ? RightField(text, column.width) : LeftField(text, column.width);
  }

  std::vector<Column> columns_;
  ReportTable table_;
  std::vector<engine::RecordNumber> damaged_;
};

struct Walk {
  files::Table<TransactionRecord>& table;
  // Walks `index` from `from` while the key is not past `to`.
  void Range(engine::KeyNumber index, const std::string& from, const std::string& to, const Visit& visit) const {
    const engine::KeyString last = model::KeyText(to, 10, model::KeyCase::kAsStored);
    table.ForEachFrom(index, model::KeyText(from, 10, model::KeyCase::kAsStored), [&](const auto& row) {
      return Compare(row.key, last) <= 0 && visit(row);
    });
  }
  // Walks `index` from `from` while the key begins with `prefix`.
  void Prefix(engine::KeyNumber index, const engine::KeyString& from, std::string_view prefix,
              const Visit& visit) const {
    table.ForEachFrom(index, from, [&](const auto& row) { return row.key.view().starts_with(prefix) && visit(row); });
  }
};

bool IsType(const TransactionRecord& record, char letter) { return model::HoldsLetter(record.TransType, letter); }

const std::vector<Column> kInvoiceColumns{{"Year/Mo/Dy", 10}, {"Invoice#", 9}, {"Short Name", 10},
                                          {"Customer#", 8},  {"Net Amount", kAmountWidth, true},
                                          {"Tax Amount", kAmountWidth, true}, {"Grand Total", kAmountWidth, true},
                                          {"C", 1}};

void InvoiceRegister(Builder& out, const Walk& walk, const std::string& from, const std::string& to) {
  walk.Range(model::transaction_key::kSortDate, from, to, [&](const auto& row) {
    const TransactionRecord& r = row.record;
    const model::Money total = out.Amount(r.TotalAmount.str(), row.number);
    if (!IsType(r, 'R') && !Blank(r.InvoiceNo.str()) && (!total.IsZero() || IsType(r, 'I'))) {
      out.Add({r.SortDate.str(), r.InvoiceNo.str(), r.ShortName.str(), r.CustNo.str(),
               out.AmountText(r.NetAmount.str(), row.number), out.AmountText(r.TaxAmount.str(), row.number),
               out.AmountText(r.TotalAmount.str(), row.number), r.TransType.str()});
    }
    return true;
  });
}

void KeyCodeInquiry(Builder& out, const Walk& walk, const std::string& from, const std::string& to) {
  walk.Range(model::transaction_key::kSortDate, from, to, [&](const auto& row) {
    const TransactionRecord& r = row.record;
    if (!IsType(r, 'R') && !Blank(r.InvoiceNo.str()) && !out.Amount(r.TotalAmount.str(), row.number).IsZero()) {
      out.Add({r.KeyCode.str(), r.InvoiceNo.str(), r.ShortName.str(), r.SortDate.str(),
               out.AmountText(r.NetAmount.str(), row.number), out.AmountText(r.TaxAmount.str(), row.number),
               out.AmountText(r.TotalAmount.str(), row.number), r.TransType.str()});
    }
    return true;
  });
}

bool Within(std::string_view sortable, const std::string& from, const std::string& to) {
  const std::string date = Trim(sortable);
  return !date.empty() && date >= from && date <= to;
}

void PaymentRegister(Builder& out, const Walk& walk, const std::string& from, const std::string& to) {
  walk.Range(model::transaction_key::kPaidSortDate, from, to, [&](const auto& row) {
    const TransactionRecord& r = row.record;
    if (Within(r.PaidSortDate.str(), from, to)) {
      out.Add({r.PaidSortDate.str(), r.InvoiceNo.str(), r.ShortName.str(), r.CustNo.str(),
               out.AmountText(r.TotalAmount.str(), row.number), out.AmountText(r.PaidAmount.str(), row.number),
               out.AmountText(r.BalanceDue.str(), row.number), r.TransType.str()});
    }
    return true;
  });
}

void TaxReport(Builder& out, const Walk& walk, const std::string& from, const std::string& to) {
  const auto add = [&](const files::Row<TransactionRecord>& row, const std::string& date) {
    const TransactionRecord& r = row.record;
    out.Add({date, r.InvoiceNo.str(), r.ShortName.str(), r.CustNo.str(), r.KeyCode.str(),
             out.AmountText(r.PaidAmount.str(), row.number), out.AmountText(r.TaxAmount.str(), row.number),
             r.TransType.str()});
  };
  walk.Range(model::transaction_key::kPaidSortDate, from, to, [&](const auto& row) {
    if (Within(row.record.PaidSortDate.str(), from, to)) add(row, row.record.PaidSortDate.str());
    return true;
  });
  // Then the part-paid invoices of the period, which have no date paid yet.
  walk.Range(model::transaction_key::kSortDate, from, to, [&](const auto& row) {
    const TransactionRecord& r = row.record;
    if (!Blank(r.InvoiceNo.str()) && !out.Amount(r.PaidAmount.str(), row.number).IsZero() &&
        !out.Amount(r.BalanceDue.str(), row.number).IsZero() && !IsType(r, 'D')) {
      const std::string paid = r.PaidSortDate.str();
      add(row, model::CharacterCount(paid) < 5 ? r.SortDate.str() : paid);
    }
    return true;
  });
}

std::string AgingCategory(int age) {
  switch (books::BucketOfAge(age)) {
    case books::AgingBucket::kCurrent: return "0 - 30";
    case books::AgingBucket::kDays31to60: return "31 - 60";
    case books::AgingBucket::kDays61to90: return "61 - 90";
    case books::AgingBucket::kOver90: return "Over 90";
  }
  return {};
}

// One row of the Accounts Receivable report: the record aged to `day`, owing `owed`.
void AddReceivable(Builder& out, const files::Row<TransactionRecord>& row, model::Money owed, const model::Date& day,
                   model::DateOrder order) {
  const TransactionRecord& r = row.record;
  const std::optional<model::Date> date = books::DocumentDate(r, order);
  const int age = date ? model::DaysBetween(*date, day) : 0;
  out.Add({AgingCategory(age), r.InvoiceNo.str(), r.ShortName.str(), r.CustNo.str(), std::to_string(age) + " Days",
           r.SortDate.str(), model::FormatMoney(owed, ",0.00"), r.TransType.str()});
}

// The report's two selections: records whose date paid is blank, then deposits not
// marked paid.
bool UnpaidByDatePaid(const files::Row<TransactionRecord>& row) { return row.key.view().starts_with("  "); }
bool ListedUnpaid(const TransactionRecord& r) { return !IsType(r, 'R') && !Blank(r.InvoiceNo.str()); }
bool ListedDeposit(const TransactionRecord& r) {
  return IsType(r, 'D') && !Blank(r.InvoiceNo.str()) && !model::HoldsLetter(r.PaidFlag, 'P');
}

void AccountsReceivable(Builder& out, const Walk& walk, const model::Date& today, model::DateOrder order) {
  const auto add = [&](const files::Row<TransactionRecord>& row) {
    AddReceivable(out, row, out.Amount(row.record.BalanceDue.str(), row.number), today, order);
  };
  walk.Prefix(model::transaction_key::kPaidSortDate, model::KeyText("", 10, model::KeyCase::kAsStored), "  ",
              [&](const auto& row) {
                if (ListedUnpaid(row.record)) add(row);
                return true;
              });
  walk.Prefix(model::transaction_key::kTypeAndInvoice, "D", "D", [&](const auto& row) {
    if (ListedDeposit(row.record)) add(row);
    return true;
  });
}

// The report at the end of a past day: of the records on file by then, those the
// report lists now and those paid since that still owed at the day, each owing its
// balance due plus what was paid on it after the day (books/aging_as_of.h). The order
// is the report's own: by date paid, blank first, then the deposits.
void AccountsReceivableAsOf(Builder& out, const Walk& walk, const books::AsOf& day, model::DateOrder order) {
  std::vector<files::Row<TransactionRecord>> byDatePaid;
  walk.table.ForEach(model::transaction_key::kPaidSortDate, [&](const auto& row) {
    byDatePaid.push_back(row);
    return true;
  });
  const std::vector<books::RecordAsOf> records = books::RecordsAsOf(byDatePaid, day, order);
  std::map<files::RecordNumber, model::Money> paidAfter;
  for (const books::RecordAsOf& record : records) paidAfter[record.row.number] = record.paidAfter;
  const auto add = [&](const files::Row<TransactionRecord>& row) {
    const model::Money owed = out.Amount(row.record.BalanceDue.str(), row.number) + paidAfter.at(row.number);
    AddReceivable(out, row, owed, day.date, order);
  };
  for (const books::RecordAsOf& record : records) {
    const TransactionRecord& r = record.row.record;
    const bool paidSince = !IsType(r, 'D') && !record.paidAfter.IsZero();
    if (ListedUnpaid(r) && (UnpaidByDatePaid(record.row) || paidSince)) add(record.row);
  }
  walk.Prefix(model::transaction_key::kTypeAndInvoice, "D", "D", [&](const auto& row) {
    const auto onFile = paidAfter.find(row.number);
    if (onFile == paidAfter.end()) return true;
    const bool usedSince = IsType(row.record, 'D') && !Blank(row.record.InvoiceNo.str()) && !onFile->second.IsZero();
    if (ListedDeposit(row.record) || usedSince) add(row);
    return true;
  });
}

// "mm/dd/yyyy" as "yyyy/mm/dd"; other text is shown as it is.
std::string NextDueSortable(std::string_view nextDue) {
  const std::string text = Trim(nextDue);
  if (text.size() != 10) return text;
  return text.substr(6, 4) + "/" + text.substr(0, 2) + "/" + text.substr(3, 2);
}

void RepeatBillingList(Builder& out, const Walk& walk) {
  invoicing::ForEachRepeatMaster(walk.table, [&](const auto& row) {
    const TransactionRecord& r = row.record;
    if (!Blank(r.InvoiceNo.str())) {
      out.Add({NextDueSortable(r.NextDueDate.str()), r.InvoiceNo.str(), r.ShortName.str(), r.CustNo.str(),
               Trim(r.RepeatCount.str()), r.SortDate.str(), out.AmountText(r.TotalAmount.str(), row.number),
               model::HoldsLetter(r.RepeatCycle, 'M') ? "M" : "D"});
    }
    return true;
  });
}

// Characters `first` to `last` (1-based) of the stored line, as UTF-8.
std::string LinePart(const DetailRecord& line, std::size_t first, std::size_t last) {
  const std::string_view raw = line.LineText.raw();
  if (raw.size() < first) return {};
  return model::FromWindows1252(model::TrimBlanks(raw.substr(first - 1, last - first + 1)));
}

void SalesReport(Builder& out, files::Table<DetailRecord>& details, const std::string& from, const std::string& to) {
  const engine::KeyString last = model::KeyText(to, 10);
  details.ForEachFrom(model::detail_key::kSortDate, model::KeyText(from, 10), [&](const auto& row) {
    if (Compare(row.key, last) > 0) return false;
    const DetailRecord& d = row.record;
    if (!model::HoldsLetter(d.BodyStyle, 'R') && Within(d.SortDate.str(), from, to)) {
      const std::string product = Trim(d.ProductCode.str());
      out.Add({LinePart(d, 11, 42), product.empty() ? "*None*" : product, d.SortDate.str(), d.InvoiceNo.str(),
               d.ShortName.str(), d.CustNo.str(), out.AmountText(LinePart(d, 43, 52), row.number),
               out.QuantityText(LinePart(d, 1, 10), row.number), out.AmountText(LinePart(d, 54, 63), row.number)});
    }
    return true;
  });
}

std::vector<Column> ColumnsOf(ReportId id) {
  const Column amount{"", kAmountWidth, true};
  const auto money = [&](std::string_view heading) { return Column{heading, amount.width, true}; };
  switch (id) {
    case ReportId::kInvoiceRegister: return kInvoiceColumns;
    case ReportId::kPaymentRegister:
      return {{"Year/Mo/Dy", 10}, {"Invoice#", 9}, {"Short Name", 10}, {"Customer#", 8},
              money("Grand Total"), money("Paid Amount"), money("Balance Due"), {"C", 1}};
    case ReportId::kAccountsReceivable:
      return {{"Category", 10}, {"Invoice#", 9}, {"Short Name", 10}, {"Customer#", 8},
              money("Aging"), money("Year/Mo/Dy"), money("Balance Due"), {"C", 1}};
    case ReportId::kSales:
      return {{"Product Description", 32}, {"Product#", 10}, {"Year/Mo/Dy", 10}, {"Invoice#", 9},
              {"Short Name", 10}, {"Customer", 8}, money("Unit Price"), money("Quantity"), money("Line Amount")};
    case ReportId::kKeyCode:
      return {{"Key Code", 8}, {"Invoice#", 9}, {"Short Name", 10}, {"Year/Mo/Dy", 10},
              money("Net Amount"), money("Tax Amount"), money("Grand Total"), {"C", 1}};
    case ReportId::kTax:
      return {{"Year/Mo/Dy", 10}, {"Invoice#", 9}, {"Short Name", 10}, {"Customer#", 8},
              {"Key Code", 8}, money("Paid Amount"), money("Tax Amount"), {"C", 1}};
    case ReportId::kRepeatBilling:
      return {{"Next Due", 10}, {"Invoice#", 9}, {"Short Name", 10}, {"Customer#", 8},
              {"#Created", 8, true}, money("Year/Mo/Dy"), money("Grand Total"), {"C", 1}};
  }
  return {};
}

// Runs the walks of the report; false when its file could not be opened.
bool Fill(const files::Services& services, const ReportKind& kind, const std::string& from, const std::string& to,
          const std::optional<model::Date>& asOf, Builder& out) {
  if (kind.id == ReportId::kSales) {
    files::KeyedFile file = services.FileOf(files::CompanyFile::kDetails);
    if (!file.Open()) return false;
    files::Table<DetailRecord> details(file);
    SalesReport(out, details, from, to);
    return true;
  }
  files::KeyedFile file = services.FileOf(files::CompanyFile::kTransactions);
  if (!file.Open()) return false;
  files::Table<TransactionRecord> table(file);
  const Walk walk{table};
  switch (kind.id) {
    case ReportId::kInvoiceRegister: InvoiceRegister(out, walk, from, to); break;
    case ReportId::kPaymentRegister: PaymentRegister(out, walk, from, to); break;
    case ReportId::kAccountsReceivable: {
      const model::Date today = model::TodayOf(services.clock);
      if (asOf) {
        AccountsReceivableAsOf(out, walk, {*asOf, today}, services.session.DateOrder());
      } else {
        AccountsReceivable(out, walk, today, services.session.DateOrder());
      }
      break;
    }
    case ReportId::kKeyCode: KeyCodeInquiry(out, walk, from, to); break;
    case ReportId::kTax: TaxReport(out, walk, from, to); break;
    case ReportId::kRepeatBilling: RepeatBillingList(out, walk); break;
    case ReportId::kSales: break;
  }
  return true;
}

std::string SortableOf(std::string_view display, model::DateOrder order) {
  const auto date = model::ParseDisplayDate(display, order);
  return date ? model::SortableDate(*date) : std::string();
}

}  // namespace

std::string LeftField(std::string_view text, std::size_t width) { return model::PadRight(text, width); }

std::string RightField(std::string_view text, std::size_t width) {
  return std::string(model::FirstCharacters(model::PadLeft(text, width), width));
}

std::optional<Report> GenerateReport(const files::Services& services, const ReportKind& kind, const DateRange& range,
                                     const std::optional<model::Date>& asOf) {
  const model::CompanyRecord& company = services.session.CurrentCompany;
  // A past day may have had open items though nothing is owed now.
  const bool pastDay = asOf && *asOf < model::TodayOf(services.clock);
  if (kind.id == ReportId::kAccountsReceivable && !pastDay) {
    const auto balance = model::ParseMoney(company.TotalAR.str());
    if (balance && balance->IsZero()) {
      services.dialogs.inform("Account Receivable Report",
                              "Your Accounts Receivable balance is zero for this company. There are no outstanding "
                              "items.");
      return std::nullopt;
    }
  }
  const model::DateOrder order = services.session.DateOrder();
  Builder out(ColumnsOf(kind.id));
  if (!Fill(services, kind, SortableOf(range.from, order), SortableOf(range.to, order), asOf, out)) return std::nullopt;
  if (!out.HasData()) {
    if (kind.id == ReportId::kRepeatBilling) {
      services.dialogs.inform("Repeat Billing List", "No repeat billing master invoices were found.");
    } else {
      services.dialogs.inform(kind.noDataTitle, "No matching records found for the dates entered.");
    }
    return std::nullopt;
  }
  Report report{&kind, company.CompanyName.str(), "Date: " + model::ClockText(services.clock), {},
                std::move(out.Table()), std::move(out.Damaged())};
  switch (kind.id) {
    case ReportId::kAccountsReceivable:
      report.head3 = asOf ? "Records unpaid at the end of " + model::FormatDisplayDate(*asOf, order) + "."
                          : "All unpaid records selected.";
      break;
    case ReportId::kRepeatBilling: report.head3 = "Master Repeat Billing List"; break;
    default: report.head3 = "Selected records from " + range.from + " to " + range.to; break;
  }
  return report;
}

std::string DamagedNote(const std::vector<engine::RecordNumber>& damaged) {
  if (damaged.empty()) return {};
  std::string note = "Records with damaged amounts shown as 0.00:";
  for (std::size_t i = 0; i < damaged.size(); ++i) note += (i ? ", " : " ") + std::to_string(damaged[i]);
  return note;
}

}  // namespace reports
