#include "reports/interest.h"

#include <array>

#include "books/posting.h"
#include "files/table.h"
#include "invoicing/invoice_books.h"
#include "invoicing/invoice_entry.h"
#include "invoicing/invoice_form.h"
#include "invoicing/invoice_manager.h"
#include "model/company_session.h"
#include "model/dates.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/text.h"
#include "reports/report_print.h"
#include "shell/customers.h"

namespace reports {
namespace {

constexpr std::string_view kDefaultPercentage = "1.50";
constexpr std::string_view kDefaultMinimum = ".10";
// Stored settings shorter than this count as never set.
constexpr std::size_t kShortestSetting = 2;

constexpr std::string_view kShownAmount = ",0.00";
constexpr std::string_view kInterestCode = "Interest";
constexpr std::string_view kLineDescription = "Interest Charges";

using Wide = __int128;

// --- Options ---------------------------------------------------------------------

// Each age with its stored days choice and its grid heading; the first is the default.
struct DaysEntry {
  OverdueDays days;
  std::string_view choice;
  std::string_view heading;
};
constexpr DaysEntry kDaysEntries[] = {
    {OverdueDays::k30, "3", "Over 30 Days"},
    {OverdueDays::k60, "6", "Over 60 Days"},
    {OverdueDays::k90, "9", "Over 90 Days"},
};

const DaysEntry& EntryOf(OverdueDays days) {
  for (const DaysEntry& entry : kDaysEntries) {
    if (entry.days == days) return entry;
  }
  return kDaysEntries[0];
}

OverdueDays DaysOfChoice(std::string_view choice) {
  for (const DaysEntry& entry : kDaysEntries) {
    if (entry.choice == choice) return entry.days;
  }
  return kDaysEntries[0].days;
}

std::string SettingOr(std::string_view stored, std::string_view fallback) {
  return std::string(stored.size() < kShortestSetting ? fallback : stored);
}

// --- Charges ---------------------------------------------------------------------

std::optional<model::Money> FlatFeeOf(std::string_view text) {
  return model::ParseMoney(model::TrimBlanks(text).empty() ? std::string_view("0.00") : text);
}

// The flat rate checked and read; nullopt, after telling the user, when there is none.
std::optional<model::Money> CheckedFlatFee(std::string_view text, platform::Dialogs& dialogs) {
  if (!CheckFlatRate(text, dialogs)) return std::nullopt;
  const std::optional<model::Money> fee = FlatFeeOf(text);
  if (!fee || fee->IsZero()) {
    dialogs.inform("Flat Rate Fee", "No flat rate is specified.", platform::Icon::kInformation);
    return std::nullopt;
  }
  return fee;
}

// Text that is no number (only a point, say) counts as zero: it charges nothing.
std::optional<ChargeRule> RuleOf(const InterestOptions& options, platform::Dialogs& dialogs) {
  ChargeRule rule;
  rule.percent = model::ParseDecimal(options.percentage).value_or(model::Decimal{});
  if (!options.flatFee) {
    rule.minimum = model::ParseMoney(options.minimum).value_or(model::Money());
    return rule;
  }
  rule.flatFee = CheckedFlatFee(options.flatRate, dialogs);
  if (!rule.flatFee) return std::nullopt;
  return rule;
}

// Whether percent % of `overdue`, exactly as computed, is at least `minimum`.
bool InterestReachesMinimum(model::Money overdue, const model::Decimal& percent, model::Money minimum) {
  Wide scale = 100;  // the rate is in percent
  for (int i = 0; i < percent.scale; ++i) scale *= 10;
  return Wide{overdue.Cents()} * percent.units >= Wide{minimum.Cents()} * scale;
}

// --- Generation ------------------------------------------------------------------

invoicing::InvoiceForm InvoiceFormOf(const InterestRow& row, const model::CustomerRecord& customer,
                                     std::string_view number, const InterestOptions& options) {
  invoicing::InvoiceForm form;
  form.number = number;
  form.date = options.invoiceDate;
  form.notes = options.comments;
  form.terms = options.terms;
  form.statementNote = options.statementNote;
  form.keyCode = kInterestCode;
  form.customer = customer;
  form.net = form.total = model::MoneyText(row.charge);
  form.tax = form.paid = "0.00";
  return form;
}

invoicing::GridLine InterestLine(model::Money charge) {
  const std::string amount = model::MoneyText(charge);
  return {std::string(kInterestCode), "1", std::string(kLineDescription), amount, "N", amount};
}

std::optional<model::CustomerRecord> CustomerOfRow(const files::Services& services, const InterestRow& row) {
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  files::RecordNumber number = 0;
  model::CustomerRecord customer{};
  if (!customers.Open() || !shell::FindCustomerByNumber(customers, row.customerNo, number, customer)) {
    return std::nullopt;
  }
  return customer;
}

std::optional<model::TransactionRecord> HeaderOfRow(const files::Services& services, const InterestRow& row,
                                                    std::string_view number, const InterestOptions& options) {
  const std::optional<model::CustomerRecord> customer = CustomerOfRow(services, row);
  if (!customer) return std::nullopt;
  std::optional<model::TransactionRecord> header =
      invoicing::HeaderOfForm(InvoiceFormOf(row, *customer, number, options), services.session.CurrentCompany);
  if (header && options.markPrinted) header->PrintedFlag = "Y";
  return header;
}

// The invoice's one line; false when it is not on file. An invoice whose line could
// not be filed is taken back, so it is neither owed nor charged; one that cannot be
// taken back stays owed and is charged like the rest.
bool FileLineOrWithdraw(const files::Services& services, InterestFiles& files, files::RecordNumber slot,
                        const model::TransactionRecord& header, model::Money charge) {
  const std::optional<model::DetailRecord> line = invoicing::DetailOf(InterestLine(charge), header);
  files::RecordNumber added = 0;
  if (line && files.details.Add(*line, added)) return true;
  services.dialogs.inform(kInterestCaption, "TDtl add failed.", platform::Icon::kError);
  return !files.transactions.Delete(slot, header);
}

// Written in this order: the invoice, its line, the customer, the company. A crash
// after the invoice leaves it on file without its line (the integrity check reports
// an invoice without its body), and until the customer is written both the customer's
// balance and the A/R total short by the charge; after it, the A/R total alone. The
// books-integrity check rebuilds the balances and the total from the open amounts.
// True when the invoice was filed and charged.
bool BillRow(const files::Services& services, InterestFiles& files, const InterestRow& row, std::string_view number,
             const InterestOptions& options) {
  const std::optional<model::TransactionRecord> header = HeaderOfRow(services, row, number, options);
  files::RecordNumber slot = 0;
  if (!header || !files.transactions.Add(*header, slot)) {
    services.dialogs.inform(kInterestCaption, "Add Late Fee Failed.", platform::Icon::kError);
    return false;
  }
  if (!FileLineOrWithdraw(services, files, slot, *header, row.charge)) return false;
  invoicing::PostAddedInvoice(services, *header, kInterestCaption);
  return true;
}

void ShowGenerationProgress(const files::Services& services, std::size_t done, std::size_t count) {
  const std::string lines[] = {"Creating invoice " + std::to_string(done) + " of " + std::to_string(count) + "..."};
  services.progress.Show(lines);
  services.progress.KeepResponsive();
}

void ReportNoFreeNumber(const files::Services& services) {
  services.dialogs.inform(kInterestCaption,
                          "No free invoice number follows the next invoice number " +
                              services.session.CurrentCompany.NextInvoiceNo.str() +
                              ". Correct it in the company options; the remaining customers were not charged.",
                          platform::Icon::kError);
}

int BillRows(const files::Services& services, InterestFiles& files, InterestScan& scan,
             const InterestOptions& options, const model::Date& date) {
  int created = 0;
  for (std::size_t i = 0; i < scan.rows.size(); ++i) {
    ShowGenerationProgress(services, i + 1, scan.rows.size());
    const std::optional<std::string> number =
        invoicing::FreeInvoiceNumber(files.transactions, services.session.CurrentCompany, date);
    if (!number) {
      ReportNoFreeNumber(services);
      break;
    }
    InterestRow& row = scan.rows[i];
    if (!BillRow(services, files, row, *number, options)) continue;
    row.invoiceNo = *number;
    ++created;
  }
  return created;
}

// --- Report ----------------------------------------------------------------------

constexpr std::array<std::size_t, 5> kColumnCharacters = {33, 10, 11, 10, 9};
constexpr std::size_t kFirstAmountColumn = 2, kLastAmountColumn = 3;
// A page takes lines down to this far above its foot.
constexpr int kFootReserve = 200;

std::string HeadOfRun(const InterestOptions& options) {
  const std::string charged =
      options.flatFee
          ? " and charged a flat rate of " + std::string(model::TrimBlanks(options.flatRate)) + " as fee."
          : " and charged " + std::string(model::TrimBlanks(options.percentage)) + " percent interest.";
  return "Created Invoices Dated: " + options.invoiceDate + charged;
}

// Lays the report out line by line, starting a page, with its head, when the next
// line would not fit.
class InterestReportPages {
 public:
  InterestReportPages(platform::PageCanvas& canvas, std::string_view now, std::string runHead)
      : canvas_(canvas), now_(now), runHead_(std::move(runHead)) {
    bold_.bold = true;
    canvas_.SetFont(plain_);
    line_ = canvas_.TextHeight("Xy") * 5 / 4;
    // A gap between columns keeps a right-aligned amount from running into the
    // invoice number after it.
    const int gap = canvas_.TextWidth("Xx");
    int x = 0;
    for (std::size_t column = 0; column < kColumnCharacters.size(); ++column) {
      left_[column] = x;
      width_[column] = canvas_.TextWidth(std::string(kColumnCharacters[column], 'X'));
      x += width_[column] + gap;
    }
    Head();
  }

  int Pages() const { return page_; }

  void Row(const std::vector<std::string>& cells, bool heading) {
    MakeRoom();
    canvas_.SetFont(heading ? bold_ : plain_);
    for (std::size_t column = 0; column < cells.size() && column < kColumnCharacters.size(); ++column) {
      if (cells[column].empty()) continue;
      const bool amount = column >= kFirstAmountColumn && column <= kLastAmountColumn;
      const int x = amount ? left_[column] + width_[column] - canvas_.TextWidth(cells[column]) : left_[column];
      canvas_.DrawText(x, y_, cells[column]);
    }
    canvas_.SetFont(plain_);
    y_ += line_;
  }

  void Text(std::string_view text) {
    MakeRoom();
    canvas_.DrawText(0, y_, text);
    y_ += line_;
  }

 private:
  void Head() {
    ++page_;
    y_ = 0;
    canvas_.SetFont(bold_);
    canvas_.DrawText(0, y_, "Interest Charges Report");
    canvas_.SetFont(plain_);
    const std::string page = "Page " + std::to_string(page_);
    canvas_.DrawText(canvas_.PageWidth() - canvas_.TextWidth(page), y_, page);
    y_ += line_;
    canvas_.DrawText(0, y_, "Date: " + now_);
    y_ += line_;
    canvas_.DrawText(0, y_, runHead_);
    y_ += 2 * line_;
  }

  void MakeRoom() {
    if (y_ + line_ <= canvas_.PageHeight() - kFootReserve) return;
    canvas_.DrawText(0, y_, "Continued on page " + std::to_string(page_ + 1) + " ...");
    canvas_.NewPage();
    Head();
  }

  platform::PageCanvas& canvas_;
  std::string now_;
  std::string runHead_;
  platform::FontSpec plain_;
  platform::FontSpec bold_;
  int line_ = 0;
  std::array<int, kColumnCharacters.size()> left_{};
  std::array<int, kColumnCharacters.size()> width_{};
  int page_ = 0;
  int y_ = 0;
};

}  // namespace

InterestOptions OpeningOptions(const model::CompanyRecord& company, std::string_view today) {
  const model::InterestSettingsBlock& stored = company.InterestSettings;
  InterestOptions options;
  options.days = DaysOfChoice(stored.DaysChoice.raw());
  options.percentage = SettingOr(stored.MonthlyRate.str(), kDefaultPercentage);
  options.minimum = SettingOr(stored.MinimumCharge.str(), kDefaultMinimum);
  options.markPrinted = stored.MarkPrinted;
  options.terms = stored.Terms.str();
  options.invoiceDate = today;
  return options;
}

void StoreInterestSettings(model::CompanyRecord& company, const InterestOptions& options) {
  model::InterestSettingsBlock& stored = company.InterestSettings;
  stored.DaysChoice = EntryOf(options.days).choice;
  stored.MonthlyRate = options.percentage;
  stored.MinimumCharge = options.minimum;
  stored.MarkPrinted = options.markPrinted;
  stored.Terms = options.terms;
  company.LastInterestDate = options.invoiceDate;
}

std::string LastRunText(const model::CompanyRecord& company) {
  return "Last Interest Invoices: " + company.LastInterestDate.str();
}

std::string_view OverdueHeading(OverdueDays days) { return EntryOf(days).heading; }

bool CheckFlatRate(std::string_view text, platform::Dialogs& dialogs) {
  if (text.find('-') != std::string_view::npos) {
    dialogs.inform("Flat Rate Amount", "You should not enter a negative number in the flat rate box.",
                   platform::Icon::kWarning);
    return false;
  }
  if (!FlatFeeOf(text)) {
    dialogs.inform("Invalid Flat Rate Amount", "The flat rate must be a numeric value.", platform::Icon::kWarning);
    return false;
  }
  return true;
}

std::optional<model::Money> OverdueAmount(const model::CustomerRecord& customer, OverdueDays days) {
  const std::optional<model::Money> over90 = model::ReadMoney(customer.AgeOver90);
  const std::optional<model::Money> over60 = model::ReadMoney(customer.Age61to90);
  const std::optional<model::Money> over30 = model::ReadMoney(customer.Age31to60);
  if (!over90 || !over60 || !over30) return std::nullopt;
  switch (days) {
    case OverdueDays::k90: return *over90;
    case OverdueDays::k60: return *over60 + *over90;
    case OverdueDays::k30: return *over30 + *over60 + *over90;
  }
  return std::nullopt;
}

std::optional<model::Money> InterestCharge(model::Money overdue, const ChargeRule& rule) {
  if (overdue <= model::Money()) return std::nullopt;
  if (!rule.flatFee && !InterestReachesMinimum(overdue, rule.percent, rule.minimum)) return std::nullopt;
  const model::Money charge = rule.flatFee ? *rule.flatFee : overdue.PercentOf(rule.percent);
  if (charge <= model::Money()) return std::nullopt;
  return charge;
}

std::optional<InterestScan> ScanForInterest(const files::Services& services, const InterestOptions& options) {
  const std::optional<ChargeRule> rule = RuleOf(options, services.dialogs);
  if (!rule) return std::nullopt;
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  if (!customers.Open()) return std::nullopt;
  InterestScan scan;
  scan.days = options.days;
  files::Table<model::CustomerRecord>(customers).ForEach(model::customer_key::kName, [&](const auto& entry) {
    const model::CustomerRecord& customer = entry.record;
    const std::optional<model::Money> overdue = OverdueAmount(customer, options.days);
    const std::optional<model::Money> charge = overdue ? InterestCharge(*overdue, *rule) : std::nullopt;
    if (charge) {
      scan.rows.push_back({customer.CustName.str(), customer.CustNo.str(), *overdue, *charge, {}});
      scan.overdueTotal += *overdue;
      scan.chargeTotal += *charge;
    }
    return true;
  });
  if (scan.rows.empty()) {
    services.dialogs.inform(kInterestCaption, "No records were found.", platform::Icon::kInformation);
  }
  return scan;
}

std::string ScanStatus(const InterestScan& scan) {
  if (scan.rows.empty()) return "No records found.";
  return std::to_string(scan.rows.size()) + " found. Complete data below then select generate button...";
}

std::vector<std::vector<std::string>> InterestGrid(const InterestScan& scan) {
  const auto amount = [](model::Money money) { return model::FormatMoney(money, kShownAmount); };
  std::vector<std::vector<std::string>> grid;
  grid.push_back({"Customer Name", "Customer#", std::string(OverdueHeading(scan.days)), "Interest Chg."});
  if (scan.generated) grid.back().push_back("Invoice#");
  for (const InterestRow& row : scan.rows) {
    grid.push_back({row.customerName, row.customerNo, amount(row.overdue), amount(row.charge)});
    if (scan.generated) grid.back().push_back(row.invoiceNo);
  }
  grid.push_back({"Totals:", "", amount(scan.overdueTotal), amount(scan.chargeTotal)});
  if (scan.generated) grid.back().push_back("");
  return grid;
}

std::optional<int> GenerateInterestInvoices(const files::Services& services, InterestFiles files, InterestScan& scan,
                                            const InterestOptions& options) {
  const std::optional<model::Date> date =
      invoicing::CheckInvoiceDate(options.invoiceDate, services.session.DateOrder(), services.dialogs);
  if (!date) return std::nullopt;
  scan.generated = true;
  services.progress.Begin(kInterestCaption, "Generating Invoices...");
  const int created = BillRows(services, files, scan, options, *date);
  services.progress.End();
  if (!books::ChangeCurrentCompany(services, [&](model::CompanyRecord& company) {
        StoreInterestSettings(company, options);
      })) {
    services.dialogs.inform(kInterestCaption, "The interest settings of this run could not be stored.",
                            platform::Icon::kError);
  }
  return created;
}

void OfferInterestReport(const files::Services& services, const InterestScan& scan, const InterestOptions& options,
                         int created, platform::PageCanvas& canvas) {
  const std::string question =
      std::to_string(created) + " invoices were created. Would you like to send a report to the printer?";
  if (services.dialogs.ask("Operation Complete", question, platform::Buttons::kYesNo) != platform::Answer::kYes) {
    return;
  }
  if (PrintInterestReport(scan, options, model::ClockText(services.clock), canvas) > 0) {
    services.ShowStatus("Interest Report sent to print queue.");
  }
}

int PrintInterestReport(const InterestScan& scan, const InterestOptions& options, std::string_view now,
                        platform::PageCanvas& canvas) {
  if (!canvas.BeginDocument("Interest Charges")) return 0;
  InterestReportPages pages(canvas, now, HeadOfRun(options));
  const std::vector<std::vector<std::string>> grid = InterestGrid(scan);
  for (std::size_t row = 0; row < grid.size(); ++row) pages.Row(grid[row], row == 0);
  pages.Text(ReportCompleteNote(scan.rows.size()));
  return canvas.EndDocument() ? pages.Pages() : 0;
}

}  // namespace reports
