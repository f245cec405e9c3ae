#include "tools/demo_company.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>

#include "books/aging.h"
#include "documents/label_layout.h"
#include "documents/label_list.h"
#include "documents/label_queue.h"
#include "documents/rtf_writer.h"
#include "files/company_files.h"
#include "invoicing/invoice_books.h"
#include "invoicing/invoice_entry.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/payments.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/money.h"
#include "model/side_files.h"
#include "platform/quiet_dialogs.h"
#include "reports/label_lists.h"
#include "shell/companies.h"
#include "shell/customers.h"
#include "shell/products.h"
#include "shell/startup.h"

namespace tools {
namespace {

constexpr int kInvoiceCount = 400;
constexpr int kDaysCovered = 455;  // fifteen months back from today

// A small generator of its own, so the demo comes out the same on every machine.
class DemoRandom {
 public:
  int Below(int bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(bound));
  }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  std::uint64_t state_ = 20261208;
};

struct DemoCustomer {
  const char* name;
  const char* street;
  const char* city;
  const char* phone;
  const char* terms;
  const char* creditLimit;
};

// Names, places and terms of many kinds; the accented name, the credit hold and the
// tax exemption are set below by position.
constexpr std::array<DemoCustomer, 40> kCustomers{{
    {"Anchor Marine Repair", "14 Wharf Street", "Port Haven, ME 04101", "(207) 555-0142", "Net 30 Days", "5000.00"},
    {"Bayside Hardware", "220 Shore Road", "Camden, ME 04843", "(207) 555-0188", "2% 10 Net 30", "2500.00"},
    {"Blue Heron Inn", "3 Lighthouse Lane", "Bar Harbor, ME 04609", "(207) 555-0117", "Net 15 Days", "1500.00"},
    {"Cape Lumber & Supply", "88 Mill Road", "Rockland, ME 04841", "(207) 555-0193", "2% 10 Net 30", "10000.00"},
    {"Café Zoë Bistro", "41 Rue du Port", "Québec, QC G1K 4E3", "(418) 555-0120", "Due Upon Receipt", ""},
    {"Coastal Fisheries Co-op", "1 Pier Plaza", "Portland, ME 04101", "(207) 555-0150", "Net 30 Days", "7500.00"},
    {"Dunmore Plumbing", "617 Elm Avenue", "Bangor, ME 04401", "(207) 555-0161", "Net 30 Days", "3000.00"},
    {"Eastport Boat Works", "9 Harbor Drive", "Eastport, ME 04631", "(207) 555-0102", "Net 45 Days", "6000.00"},
    {"Fairwind Sailing School", "55 Cove Road", "Castine, ME 04421", "(207) 555-0174", "Net 30 Days", "1000.00"},
    {"Granite State Builders", "1200 Route 1", "Portsmouth, NH 03801", "(603) 555-0135", "Net 30 Days", "12000.00"},
    {"Harborview Apartments", "300 Commercial St", "Portland, ME 04101", "(207) 555-0109", "Net 30 Days", "4000.00"},
    {"Island Ferry Service", "2 Ferry Landing", "Vinalhaven, ME 04863", "(207) 555-0156", "Net 15 Days", "2000.00"},
    {"Jetty Seafood Market", "18 Dock Square", "Kennebunkport, ME 04046", "(207) 555-0131", "Due Upon Receipt", ""},
    {"Kittery Point Yacht Club", "7 Pepperrell Road", "Kittery Point, ME 03905", "(207) 555-0199", "Net 30 Days",
     "8000.00"},
    {"Lobster Pound Restaurant", "460 Atlantic Hwy", "Lincolnville, ME 04849", "(207) 555-0144", "Net 15 Days",
     "1500.00"},
    {"Müller Ölbau GmbH", "Hafenstraße 12", "20457 Hamburg, Germany", "+49 40 555 0133", "Net 60 Days", "9000.00"},
    {"Nautilus Dive Shop", "12 Beach Avenue", "Ogunquit, ME 03907", "(207) 555-0127", "Net 30 Days", "1200.00"},
    {"Ocean Park Campground", "35 Temple Avenue", "Old Orchard Beach, ME 04064", "(207) 555-0185", "Net 30 Days",
     "2000.00"},
    {"Penobscot Paper Mill", "1 Mill Street", "Old Town, ME 04468", "(207) 555-0112", "Net 45 Days", "15000.00"},
    {"Quarry Road Landscaping", "74 Quarry Road", "Hallowell, ME 04347", "(207) 555-0168", "Net 30 Days", "2500.00"},
    {"Rockport Marine Supply", "5 Union Wharf", "Rockport, ME 04856", "(207) 555-0191", "Net 30 Days", "5000.00"},
    {"Saltwater Outfitters", "140 Main Street", "Freeport, ME 04032", "(207) 555-0126", "Net 30 Days", "3500.00"},
    {"Seacoast Electric", "902 Lafayette Road", "Hampton, NH 03842", "(603) 555-0147", "Net 30 Days", "4500.00"},
    {"Tidewater Hotel", "1 Ocean Boulevard", "York Beach, ME 03910", "(207) 555-0103", "Net 30 Days", "6000.00"},
    {"Union River Canoe", "23 Water Street", "Ellsworth, ME 04605", "(207) 555-0178", "Net 15 Days", "800.00"},
    {"Vinal Cove Oyster Farm", "Box 118", "North Haven, ME 04853", "(207) 555-0165", "Net 30 Days", "1500.00"},
    {"Wells Harbor Diner", "336 Post Road", "Wells, ME 04090", "(207) 555-0139", "Due Upon Receipt", ""},
    {"Westport Cannery", "66 Cannery Row", "Lubec, ME 04652", "(207) 555-0110", "Net 30 Days", "7000.00"},
    {"Yarmouth Clam Festival", "PO Box 24", "Yarmouth, ME 04096", "(207) 555-0184", "Net 30 Days", "1000.00"},
    {"Zephyr Kite Company", "8 Breeze Way", "Biddeford, ME 04005", "(207) 555-0159", "Net 30 Days", "900.00"},
    {"Acadia Bike Rentals", "48 Cottage Street", "Bar Harbor, ME 04609", "(207) 555-0121", "Net 15 Days", "700.00"},
    {"Boothbay Shipyard", "100 Commercial St", "Boothbay Harbor, ME 04538", "(207) 555-0197", "Net 45 Days",
     "20000.00"},
    {"Casco Bay Lines", "56 Commercial St", "Portland, ME 04101", "(207) 555-0115", "Net 30 Days", "10000.00"},
    {"Damariscotta Oyster Bar", "15 Main Street", "Damariscotta, ME 04543", "(207) 555-0170", "Net 30 Days",
     "1500.00"},
    {"City of Port Haven", "Town Hall, 1 Main St", "Port Haven, ME 04101", "(207) 555-0100", "Net 30 Days",
     "25000.00"},
    {"Frenchman Bay Kayaks", "6 West Street", "Bar Harbor, ME 04609", "(207) 555-0148", "Net 15 Days", "600.00"},
    {"Gulf of Maine Research", "350 Commercial St", "Portland, ME 04101", "(207) 555-0124", "Net 60 Days",
     "18000.00"},
    {"Hancock Point Chapel", "Box 7", "Hancock, ME 04640", "(207) 555-0166", "Due Upon Receipt", ""},
    {"Islesboro General Store", "150 Main Road", "Islesboro, ME 04848", "(207) 555-0138", "Net 30 Days", "1200.00"},
    {"Kennebec River Brewery", "1 Kennebec Street", "The Forks, ME 04985", "(207) 555-0182", "Net 30 Days",
     "3000.00"},
}};

constexpr std::size_t kCreditHoldCustomer = 12;  // Jetty Seafood Market
constexpr std::size_t kTaxExemptCustomer = 34;   // City of Port Haven

struct DemoProduct {
  const char* code;
  const char* description;
  const char* price;
  bool taxable;
};

constexpr std::array<DemoProduct, 30> kProducts{{
    {"ROPE-12", "Nylon dock line 1/2 in x 25 ft", "24.95", true},
    {"ROPE-58", "Nylon dock line 5/8 in x 35 ft", "39.50", true},
    {"FEND-M", "Boat fender, medium", "32.00", true},
    {"FEND-L", "Boat fender, large", "54.00", true},
    {"ANCH-15", "Galvanized anchor 15 lb", "89.00", true},
    {"ANCH-25", "Galvanized anchor 25 lb", "129.00", true},
    {"CHAIN-5", "Anchor chain 5/16 in, per foot", "4.85", true},
    {"BILGE-1", "Bilge pump 1100 gph", "74.99", true},
    {"PAINT-B", "Bottom paint, gallon", "189.00", true},
    {"PAINT-T", "Topside enamel, quart", "42.50", true},
    {"EPOXY", "Marine epoxy kit", "64.00", true},
    {"VARN-Q", "Spar varnish, quart", "36.75", true},
    {"CLEAT-6", "Stainless cleat 6 in", "18.40", true},
    {"SHACK-8", "Stainless shackle 3/8 in", "9.95", true},
    {"LIFEV-A", "Life vest, adult", "48.00", true},
    {"LIFEV-C", "Life vest, child", "39.00", true},
    {"FLARE-K", "Signal flare kit", "59.95", true},
    {"FIRE-EX", "Fire extinguisher, marine", "44.00", true},
    {"LIGHT-N", "LED navigation light set", "119.00", true},
    {"BATT-27", "Deep-cycle battery, group 27", "169.00", true},
    {"OIL-2C", "Two-cycle outboard oil, gallon", "27.50", true},
    {"FILTER-F", "Fuel/water separator filter", "22.80", true},
    {"ZINC-A", "Shaft zinc anode", "14.25", true},
    {"TARP-12", "Heavy tarp 12 x 16 ft", "58.00", true},
    {"GLOVE-W", "Work gloves, pair", "12.50", true},
    {"LABOR", "Shop labor, per hour", "85.00", false},
    {"HAUL", "Haul-out and block, per foot", "12.00", false},
    {"STORE-W", "Winter storage, per foot", "45.00", false},
    {"DELIV", "Delivery charge", "35.00", false},
    {"SURVEY", "Pre-purchase survey", "450.00", false},
}};

constexpr std::array<const char*, 6> kMemoBodies{{
    "Seasonal maintenance contract\nHull inspection, zinc replacement and\nbilge cleaning as agreed.",
    "Consulting on dock layout\nSite visit, measurements and written\nrecommendations for the new float system.",
    "Winterizing service\nEngine flush, fuel stabilizer, fogging,\nwater system drained and shrink wrap.",
    "Rigging inspection\nStanding and running rigging inspected aloft;\nreport attached.",
    "Emergency tow and recovery\nCalled out after hours; vessel towed\nto our yard and secured.",
    "Spring commissioning\nBottom painted, engine serviced,\nelectronics checked, launched.",
}};

bool AddDemoCompany(const files::Services& services) {
  files::KeyedFile list = services.FileOf(files::CompanyFile::kCompanyList);
  if (!list.Open()) return false;
  shell::CompanyEdit edit = shell::BeginNewCompany(list, services.session.CurrentCompany);
  shell::CompanyOptions options = shell::OptionsOf(edit.record);
  options.CName = kDemoCompanyName;
  options.CoNumb = kDemoCompanyNo;
  options.CAdd1 = "1 Commercial Wharf";
  options.CAdd2 = "Port Haven, ME 04101";
  options.CAdd3 = "(207) 555-0190";
  options.CAdd4 = "billing@harborsupply.example";
  options.CalcTaxes = true;
  options.TaxCRate = "8.125";
  options.NextIno = "1001";
  options.DFTerms = "Net 30 Days";
  options.SM1 = "Thank you for your business!";
  options.SM2 = "Winter storage spaces are filling up - reserve yours today.";
  const bool saved = shell::SaveCompany(list, services.dialogs, options, edit).saved;
  list.Close();
  if (!saved || shell::MakeCompanyCurrent(services, edit.record).state != shell::StartState::kReady) return false;
  model::SetTodayText(services.session, services.clock);
  return true;
}

shell::CustomerEntry EntryOfDemoCustomer(const model::CompanyRecord& company, std::size_t index) {
  const DemoCustomer& demo = kCustomers[index];
  shell::CustomerEntry entry = shell::NewCustomerEntry(company);
  entry.number = std::to_string(1001 + index);
  entry.name = demo.name;
  entry.billing = {demo.street, demo.city, "", ""};
  entry.shipping = entry.billing;
  entry.phone1 = demo.phone;
  entry.terms = demo.terms;
  entry.creditLimit = demo.creditLimit;
  entry.type = index % 3 == 0 ? "Marina" : index % 3 == 1 ? "Retail" : "Commercial";
  entry.taxExempt = index == kTaxExemptCustomer ? "Y" : "N";
  entry.creditHold = index == kCreditHoldCustomer;
  entry.shortName = shell::ShortNameOf(demo.name);
  if (index == kCreditHoldCustomer) entry.notes = "On credit hold until the old balance is settled.";
  return entry;
}

std::vector<model::CustomerRecord> AddDemoCustomers(const files::Services& services) {
  std::vector<model::CustomerRecord> added;
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  if (!customers.Open()) return added;
  for (std::size_t index = 0; index < kCustomers.size(); ++index) {
    model::CustomerRecord customer{};
    engine::RecordNumber number = 0;
    if (shell::AddCustomer(services, customers, EntryOfDemoCustomer(services.session.CurrentCompany, index), customer,
                           number)) {
      added.push_back(customer);
    }
  }
  customers.Close();
  return added;
}

std::vector<model::ProductRecord> AddDemoProducts(const files::Services& services) {
  std::vector<model::ProductRecord> added;
  files::KeyedFile products = services.FileOf(files::CompanyFile::kProducts);
  if (!products.Open()) return added;
  const std::string setUp = model::FormatDisplayDate(
      model::AddDays(model::TodayOf(services.clock), -kDaysCovered - 30), services.session.DateOrder());
  for (const DemoProduct& demo : kProducts) {
    const model::ProductRecord product =
        shell::NewProduct({demo.code, demo.description, demo.price, demo.taxable, ""}, setUp);
    engine::RecordNumber number = 0;
    if (shell::AddProduct(products, product, services.dialogs, number)) added.push_back(product);
  }
  products.Close();
  return added;
}

// Older invoices are mostly settled, recent ones mostly open, and a few old ones are
// left owing, so that every aging bucket holds something.
model::Money PaidAtEntry(model::Money total, int age, DemoRandom& random) {
  const int paidInFull = age > 120 ? 93 : age > 60 ? 70 : age > 30 ? 50 : 15;
  const int partly = age > 120 ? 4 : age > 60 ? 15 : 20;
  const int roll = random.Below(100);
  if (roll < paidInFull) return total;
  if (roll < paidInFull + partly) return model::Money::FromCents(total.Cents() / 100 * (25 + random.Below(50)));
  return {};
}

void FillLineItems(invoicing::InvoiceForm& form, const std::vector<model::ProductRecord>& products,
                   DemoRandom& random) {
  const int lineCount = 1 + random.Below(5);
  for (int row = 1; row <= lineCount; ++row) {
    const model::ProductRecord& product = products[static_cast<std::size_t>(random.Below(
        static_cast<int>(products.size())))];
    const std::string quantity = std::to_string(1 + random.Below(product.Taxable ? 12 : 6));
    invoicing::FillFromProduct(form.Line(row), product, quantity);
    invoicing::ExtendLine(form.Line(row));
  }
}

void FillMemo(invoicing::InvoiceForm& form, const model::CompanyRecord& company, bool taxed, DemoRandom& random) {
  form.kind = invoicing::InvoiceKind::kMemo;
  form.memo = kMemoBodies[static_cast<std::size_t>(random.Below(static_cast<int>(kMemoBodies.size())))];
  form.memoDescription = "Services as described";
  form.memoQuantity = "1";
  const model::Money net = model::Money::FromCents((150 + random.Below(1800)) * 100);
  form.net = model::MoneyText(net);
  const std::optional<model::Decimal> rate = model::ParseDecimal(company.TaxRate.raw());
  form.tax = model::MoneyText(taxed && rate ? net.PercentOf(*rate) : model::Money{});
}

invoicing::InvoiceForm DemoInvoice(const files::Services& services, const model::CustomerRecord& customer,
                                   const std::vector<model::ProductRecord>& products, int age, DemoRandom& random) {
  const model::CompanyRecord& company = services.session.CurrentCompany;
  const model::Date date = model::AddDays(model::TodayOf(services.clock), -age);
  invoicing::InvoiceForm form =
      invoicing::NewInvoiceForm(company, model::FormatDisplayDate(date, services.session.DateOrder()));
  form.number = invoicing::NewInvoiceNumber(company, date);
  form.customer = customer;
  form.terms = customer.Terms.empty() ? company.DefaultTerms.str() : customer.Terms.str();
  form.calcTax = !model::IsYes(customer.TaxExempt);
  form.notes = age % 5 == 0 ? "PO " + std::to_string(4400 + random.Below(500)) : "";
  form.keyCode = age % 7 == 0 ? "SEASON" : "None";
  if (random.Chance(12)) {
    FillMemo(form, company, form.calcTax, random);
  } else {
    FillLineItems(form, products, random);
  }
  const invoicing::Totals totals = invoicing::ComputeTotals(form, company);
  form.paid = model::MoneyText(PaidAtEntry(totals.total, age, random));
  invoicing::ComputeTotals(form, company);
  return form;
}

int AddDemoInvoices(const files::Services& services, const std::vector<model::CustomerRecord>& customers,
                    const std::vector<model::ProductRecord>& products) {
  files::KeyedFile transactions = services.FileOf(files::CompanyFile::kTransactions);
  files::KeyedFile details = services.FileOf(files::CompanyFile::kDetails);
  files::KeyedFile memos = services.FileOf(files::CompanyFile::kMemos);
  if (!transactions.Open() || !details.Open() || !memos.Open() || customers.empty() || products.empty()) return 0;
  invoicing::InvoiceFiles files{transactions, details, memos};
  documents::LabelQueue unusedQueue;
  DemoRandom random;
  int added = 0;
  for (int index = 0; index < kInvoiceCount; ++index) {
    const int age = kDaysCovered - index * kDaysCovered / kInvoiceCount;
    const model::CustomerRecord& customer =
        customers[static_cast<std::size_t>(random.Below(static_cast<int>(customers.size())))];
    const invoicing::InvoiceForm form = DemoInvoice(services, customer, products, age, random);
    if (invoicing::AddInvoice(services, files, form, unusedQueue).added) ++added;
  }
  return added;
}

// Service contracts billed on a schedule: each starts as a memo invoice and is made a
// repeat master, as the repeat billing set-up does. One is due already, so the repeat
// billing run has something to make.
struct DemoContract {
  std::size_t customer;
  std::string_view service;
  std::int64_t netCents;
  invoicing::RepeatSchedule schedule;  // nextDue counted in days from today
  int nextDueInDays;
};

const std::array<DemoContract, 3> kContracts{{
    {4, "Monthly dock and mooring maintenance", 42500, {1, true, {}}, -2},
    {16, "Quarterly safety equipment inspection", 68000, {3, true, {}}, 45},
    {31, "Fortnightly bilge and pump service", 12000, {14, false, {}}, 9},
}};

invoicing::InvoiceForm ContractInvoice(const files::Services& services, const model::CustomerRecord& customer,
                                       const DemoContract& contract) {
  const model::CompanyRecord& company = services.session.CurrentCompany;
  const model::Date date = model::AddDays(model::TodayOf(services.clock), -30);
  invoicing::InvoiceForm form =
      invoicing::NewInvoiceForm(company, model::FormatDisplayDate(date, services.session.DateOrder()));
  form.number = invoicing::NewInvoiceNumber(company, date);
  form.customer = customer;
  form.terms = customer.Terms.empty() ? company.DefaultTerms.str() : customer.Terms.str();
  form.calcTax = false;
  form.notes = std::string(contract.service);
  form.keyCode = "CONTRACT";
  form.kind = invoicing::InvoiceKind::kMemo;
  form.memo = std::string(contract.service) + " under the service agreement on file.";
  form.memoDescription = "Service agreement";
  form.memoQuantity = "1";
  form.net = model::MoneyText(model::Money::FromCents(contract.netCents));
  form.tax = model::MoneyText(model::Money{});
  form.paid = model::MoneyText(model::Money{});
  invoicing::ComputeTotals(form, company);
  return form;
}

int AddDemoRepeatMasters(const files::Services& services, const std::vector<model::CustomerRecord>& customers) {
  files::KeyedFile transactions = services.FileOf(files::CompanyFile::kTransactions);
  files::KeyedFile details = services.FileOf(files::CompanyFile::kDetails);
  files::KeyedFile memos = services.FileOf(files::CompanyFile::kMemos);
  if (!transactions.Open() || !details.Open() || !memos.Open()) return 0;
  invoicing::InvoiceFiles files{transactions, details, memos};
  documents::LabelQueue unusedQueue;
  int made = 0;
  for (const DemoContract& contract : kContracts) {
    if (contract.customer >= customers.size()) continue;
    const invoicing::AddOutcome added =
        invoicing::AddInvoice(services, files, ContractInvoice(services, customers[contract.customer], contract),
                              unusedQueue);
    invoicing::RepeatSchedule schedule = contract.schedule;
    schedule.nextDue = model::AddDays(model::TodayOf(services.clock), contract.nextDueInDays);
    if (added.added &&
        invoicing::StoreRepeatMaster(services, files, added.number, added.header, schedule)) {
      ++made;
    }
  }
  return made;
}

// Payments received since the invoices went out, posted as the payment wizard posts
// them: whole invoices paid, invoices paid in part (some twice), deposits on account,
// and one deposit settled against an invoice without money changing hands.
class DemoPayments {
 public:
  DemoPayments(const files::Services& services, files::KeyedFile& transactions)
      : services_(services), transactions_(transactions) {}

  int posted() const { return posted_; }

  void PayInFull(const model::CustomerRecord& customer, int daysAgo) {
    if (const auto line = FirstOpen(customer, model::Money::FromCents(1))) Post(customer, daysAgo, {*line}, "Check");
  }

  // Pays `percent` of the first open invoice owing at least 50.00.
  void PayInPart(const model::CustomerRecord& customer, int daysAgo, int percent) {
    invoicing::PaymentLists lists = Lists(customer);
    const auto index = FirstOpenIndex(lists, model::Money::FromCents(5000));
    if (!index) return;
    const model::Money part = model::Money::FromCents(lists.open[*index].amount.Cents() / 100 * percent);
    invoicing::TakePartialPayment(lists, *index, part);
    Post(customer, daysAgo, lists.posted, "Part payment");
  }

  void Deposit(const model::CustomerRecord& customer, int daysAgo, model::Money amount) {
    invoicing::PaymentLists lists;
    invoicing::AddDepositLine(lists, amount, DateAgo(daysAgo), services_.session.DateOrder());
    Post(customer, daysAgo, lists.posted, "Deposit received");
  }

  // The customer's deposit against the same amount of its first invoice owing more;
  // false when it has no deposit or no such invoice.
  bool OffsetDeposit(const model::CustomerRecord& customer, int daysAgo) {
    invoicing::PaymentLists lists = Lists(customer);
    const auto deposit = std::find_if(lists.open.begin(), lists.open.end(), [](const auto& line) {
      return invoicing::TypeOf(line.source->record) == invoicing::TransactionType::kDeposit;
    });
    if (deposit == lists.open.end()) return false;
    const invoicing::PaymentLine taken = *deposit;
    const auto index = FirstOpenIndex(lists, -taken.amount + model::Money::FromCents(1));
    if (!index) return false;
    invoicing::TakePartialPayment(lists, *index, -taken.amount);
    lists.posted.push_back(taken);
    return Post(customer, daysAgo, lists.posted, "Deposit applied");
  }

 private:
  std::string DateAgo(int days) const {
    return model::FormatDisplayDate(model::AddDays(model::TodayOf(services_.clock), -days),
                                    services_.session.DateOrder());
  }

  invoicing::PaymentLists Lists(const model::CustomerRecord& customer) {
    return invoicing::ListsForCustomer(transactions_, customer, services_.session.DateOrder(), services_.dialogs);
  }

  // The first invoice owing at least `least`, paid in part or not at all.
  static std::optional<std::size_t> FirstOpenIndex(const invoicing::PaymentLists& lists, model::Money least) {
    for (std::size_t i = 0; i < lists.open.size(); ++i) {
      const invoicing::PaymentLine& line = lists.open[i];
      const invoicing::TransactionType type = invoicing::TypeOf(line.source->record);
      if (line.amount >= least &&
          (type == invoicing::TransactionType::kInvoice || type == invoicing::TransactionType::kPartlyPaid)) {
        return i;
      }
    }
    return std::nullopt;
  }
  std::optional<invoicing::PaymentLine> FirstOpen(const model::CustomerRecord& customer, model::Money least) {
    const invoicing::PaymentLists lists = Lists(customer);
    const auto index = FirstOpenIndex(lists, least);
    return index ? std::optional(lists.open[*index]) : std::nullopt;
  }

  bool Post(const model::CustomerRecord& customer, int daysAgo, const std::vector<invoicing::PaymentLine>& lines,
            std::string_view notes) {
    invoicing::PaymentLists lists;
    lists.posted = lines;
    const invoicing::Payment payment{customer.CustNo.str(), DateAgo(daysAgo),
                                     model::FormatMoney(invoicing::PostedSum(lists), "0.00"), std::string(notes), lines};
    const bool posted = invoicing::PostPayment(services_, transactions_, payment).result == invoicing::PostResult::kPosted;
    posted_ += posted;
    return posted;
  }

  const files::Services& services_;
  files::KeyedFile& transactions_;
  int posted_ = 0;
};

int PostDemoPayments(const files::Services& services, const std::vector<model::CustomerRecord>& customers) {
  files::KeyedFile transactions = services.FileOf(files::CompanyFile::kTransactions);
  if (customers.size() < 12 || !transactions.Open()) return 0;
  DemoPayments payments(services, transactions);
  for (std::size_t index : {1, 5, 9, 13}) payments.PayInFull(customers[index], static_cast<int>(index));
  for (std::size_t index : {2, 6, 10}) payments.PayInPart(customers[index], 20 - static_cast<int>(index), 40);
  payments.PayInPart(customers[2], 4, 25);
  const std::pair<std::size_t, std::int64_t> deposits[] = {{3, 25000}, {7, 40000}, {11, 15000}};
  for (auto [index, cents] : deposits) {
    payments.Deposit(customers[index], 25 - static_cast<int>(index), model::Money::FromCents(cents));
  }
  for (auto [index, cents] : deposits) {
    if (payments.OffsetDeposit(customers[index], 2)) break;
  }
  return payments.posted();
}

// Sheets of ten shipping labels, two across and five down, 4 by 2 inches: room for the
// return address above the customer's.
documents::LabelLayout DemoLabelLayout() {
  documents::LabelLayout layout;
  layout.description = "Shipping labels, 2 across, 5 down";
  layout.leftMargin = "94";
  layout.topMargin = "300";
  layout.columns = "2";
  layout.rows = "5";
  layout.labelWidth = "2475";
  layout.labelHeight = "1200";
  layout.font = {.name = "Arial", .pointSize = 9};
  layout.returnAddress = true;
  layout.bitmapName = " ";
  layout.printLine = true;
  layout.lineWidth = "1";
  layout.sendToCaption = "To:";
  return layout;
}

documents::Paragraph LetterParagraph(std::string text, documents::Alignment alignment = documents::Alignment::kLeft,
                                     bool bold = false, double points = 11) {
  documents::Paragraph paragraph{.alignment = alignment, .spaceAfter = 4};
  paragraph.runs.push_back({.text = std::move(text), .points = points, .bold = bold});
  return paragraph;
}

// A reminder to customers with old balances, showing most merge codes and formats.
documents::RtfDocument DemoReminderLetter() {
  using documents::Alignment;
  documents::RtfDocument letter;
  auto& p = letter.paragraphs;
  p.push_back(LetterParagraph("QYCMPNAME", Alignment::kCentre, true, 16));
  p.push_back(LetterParagraph("QYCMPADD1\nQYCMPADD2\nQYCMPADD3", Alignment::kCentre, false, 10));
  p.push_back(LetterParagraph(""));
  p.push_back(LetterParagraph("QYCSTNAME\nQYCSTADD1\nQYCSTADD2\nQYCSTADD3\nQYCSTADD4"));
  p.push_back(LetterParagraph(""));
  p.push_back(LetterParagraph("Account QYCSTNO", Alignment::kRight, true));
  p.push_back(LetterParagraph("Dear QYCSTNAME,"));
  documents::Paragraph balance = LetterParagraph("Our records show a balance of ");
  balance.runs.push_back({.text = "QYCSTBAL", .points = 11, .bold = true});
  balance.runs.push_back({.text = " on your account. Of this amount,", .points = 11});
  p.push_back(balance);
  for (const char* line : {"QYCSTA3060 is 31 to 60 days old,", "QYCSTA6090 is 61 to 90 days old, and",
                           "QYCSTAOV90 is more than 90 days old."}) {
    documents::Paragraph bullet = LetterParagraph(line);
    bullet.bullet = true;
    bullet.leftIndent = 36;
    bullet.firstLineIndent = -18;
    p.push_back(bullet);
  }
  p.push_back(LetterParagraph("Our terms are QYCSTTERMS. Your last payment reached us on QYCSTLPMT. If it has crossed "
                              "this letter in the post, please accept our thanks; otherwise we would be glad of "
                              "your payment within ten days."));
  documents::Paragraph closing = LetterParagraph("Yours sincerely,");
  closing.spaceBefore = 12;
  p.push_back(closing);
  p.push_back(LetterParagraph(""));
  p.push_back(LetterParagraph("Accounts Department, QYCMPNAME"));
  return letter;
}

// The label layout the label wizard opens first, a saved list of the customers with
// amounts over 90 days and a reminder letter for them; false when a file failed.
bool AddDemoMailings(const files::Services& services) {
  const std::filesystem::path folder = std::filesystem::current_path();
  const std::filesystem::path layout = folder / "Shipping labels 2x5.LBL";
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  documents::LabelQueue overdue;
  if (!customers.Open()) return false;
  reports::LoadAgingBucket(customers, overdue, reports::AgingPull::kOver90, services.dialogs);
  return documents::WriteLabelLayout(layout, DemoLabelLayout()) && documents::WriteLastLayoutPath(folder, layout) &&
         documents::WriteRecordList(folder / "Over 90 days.LST", overdue.Entries()) &&
         documents::SaveRtf(DemoReminderLetter(), (folder / "Overdue reminder.RTF").string());
}

}  // namespace

DemoReport BuildDemoCompany(const files::Services& base) {
  platform::QuietDialogs dialogs;
  const files::Services services{base.engine, dialogs, base.progress, base.clock, base.session};
  DemoReport report;
  const bool started = model::ReadLastCompany(services.session.CurrentCompany) && shell::RereadCurrentCompany(services);
  if (!started || !AddDemoCompany(services)) {
    report.problems = dialogs.problems;
    report.problems.push_back("The demo company could not be added.");
    return report;
  }
  const std::vector<model::CustomerRecord> customers = AddDemoCustomers(services);
  const std::vector<model::ProductRecord> products = AddDemoProducts(services);
  report.customers = static_cast<int>(customers.size());
  report.products = static_cast<int>(products.size());
  report.invoices = AddDemoInvoices(services, customers, products);
  report.repeatMasters = AddDemoRepeatMasters(services, customers);
  report.payments = PostDemoPayments(services, customers);
  books::RunAging(services, false);
  if (!AddDemoMailings(services)) dialogs.problems.push_back("The demo label layout, list and letter could not be written.");
  report.problems = dialogs.problems;
  return report;
}

}  // namespace tools
