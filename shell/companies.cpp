#include "shell/companies.h"

#include <algorithm>
#include <system_error>

#include "files/company_files.h"
#include "files/company_files.h"
#include "files/table.h"
#include "model/company_defaults.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/fields.h"
#include "model/keys.h"
#include "model/text.h"
#include "model/whole_file.h"
#include "shell/startup.h"

namespace shell {
namespace {

using model::CompanyRecord;

constexpr std::string_view kAddCaption = "Add Company";
constexpr std::string_view kEditCaption = "Edit Company";
constexpr std::string_view kDeleteCaption = "Delete Company";
constexpr std::string_view kNumberCaption = "Company Number";
constexpr std::string_view kPictureCaption = "Bitmap Image";
constexpr std::string_view kListCaption = "Company List";
constexpr std::string_view kBackgroundGone =
    "Background bitmap image no longer exists. Use the Graphics tab to select another bitmap if desired.";
constexpr std::string_view kDeletingCurrent =
    "You are trying to delete the current default company. You need to have another company open to delete this "
    "one.";
constexpr std::string_view kDeleteQuestion =
    "If you delete this company, all invoices and payments will also be removed. ALL company data will be deleted! "
    "Data for other companies will NOT be removed. Continue?";
constexpr std::string_view kSortQuestion =
    "The companies will be sorted by name. Would you rather sort by company number?";

constexpr std::size_t kPictureNameCapacity = decltype(CompanyRecord::BackgroundFile)::kCapacity;
static_assert(kPictureNameCapacity == decltype(CompanyRecord::LogoFile)::kCapacity);

constexpr bool kDigits = true;

// Every control of the options dialogs with the field it is stored in. Visitors
// read, store or list them, so a control's field is named in this one place.
template <class Visit>
void ForEachCompanyControl(Visit&& visit) {
  using O = CompanyOptions;
  using R = CompanyRecord;
  visit.Text("CName", &O::CName, &R::CompanyName);
  visit.Text("CoNumb", &O::CoNumb, &R::CompanyNo);
  visit.Text("CAdd1", &O::CAdd1, &R::CoAddr1);
  visit.Text("CAdd2", &O::CAdd2, &R::CoAddr2);
  visit.Text("CAdd3", &O::CAdd3, &R::CoAddr3);
  visit.Text("CAdd4", &O::CAdd4, &R::CoAddr4);
  visit.Text("ExtraAdd1", &O::ExtraAdd1, &R::CoAddr5);
  visit.Check("CalcTaxes", &O::CalcTaxes, &R::CalcTaxes);
  visit.Text("TaxCRate", &O::TaxCRate, &R::TaxRate);
  visit.Text("TaxName", &O::TaxName, &R::TaxHeading);

  visit.Text("NextIno", &O::NextIno, &R::NextInvoiceNo);
  visit.Text("DefInvQuan", &O::DefInvQuan, &R::DefaultQuantity);
  visit.Text("DFTerms", &O::DFTerms, &R::DefaultTerms);
  visit.Check("PrintDupOnInv", &O::PrintDupOnInv, &R::PrintDuplicate);
  visit.YesNo("YYMMonInv", &O::YYMMonInv, &R::PrefixInvoiceNo);
  visit.Check("PFlag", &O::PFlag, &R::DefaultPrintFlag);
  visit.Choice("DMemo", &O::DMemo, &R::DefaultBodyStyle, 'M', 'P', "DProd");
  visit.Check("PSlip", &O::PSlip, &R::PrintPackingSlip);
  visit.Check("FileCpy", &O::FileCpy, &R::PrintFileCopy);
  visit.Text("NumCpys", &O::NumCpys, &R::InvoiceCopies, kDigits);
  visit.YesNo("CpyToLQue", &O::CpyToLQue, &R::CopyToLabelQueue);
  visit.YesNo("BatchLabels", &O::BatchLabels, &R::BatchToLabelQueue);

  visit.Choice("DDMMYY", &O::DDMMYY, &R::DateOrder, 'D', 'M', "MMDDYY");
  visit.Check("AgeRecap", &O::AgeRecap, &R::ShowAgingChart);
  visit.Check("CMaxProdWin", &O::CMaxProdWin, &R::MaxProductWindow);
  visit.Check("CMaxInvWin", &O::CMaxInvWin, &R::MaxInvoiceWindow);
  visit.Check("CMaxCustWin", &O::CMaxCustWin, &R::MaxCustomerWindow);
  visit.Check("SHints", &O::SHints, &R::ShowHints);
  visit.Text("CNxtCustNo", &O::CNxtCustNo, &R::NextCustNo);
  visit.Check("ACBillAdd", &O::ACBillAdd, &R::AutoCopyBilling);
  visit.YesNo("AuditCB", &O::AuditCB, &R::AuditTrail);

  // The two line boxes' names are crossed; their captions say which is which.
  visit.Check("HorLCB", &O::HorLCB, &R::PrintVerticalLines);
  visit.Check("VLineCB", &O::VLineCB, &R::PrintHorizontalLines);
  visit.Text("LineWidthVal", &O::LineWidthVal, &R::LineWidth, kDigits);
  visit.Check("ShadeCB", &O::ShadeCB, &R::PrintShading);
  visit.Check("CheckBox5", &O::CheckBox5, &R::LetterheadStyle);
  visit.Check("IBoxCB", &O::IBoxCB, &R::BoxInvoices);
  visit.Check("SBoxCB", &O::SBoxCB, &R::BoxStatements);
  visit.Check("PConICB", &O::PConICB, &R::PrintProductCodes);
  visit.Check("MoveDwnCB", &O::MoveDwnCB, &R::MoveDownTotals);
  visit.Check("CAgeCB", &O::CAgeCB, &R::PrintCustomerAging);
  visit.Check("SMsgCB", &O::SMsgCB, &R::PrintSalesMessage);
  visit.Check("UseBmpCB", &O::UseBmpCB, &R::PrintLogo);
  visit.Text("LogoFileName", &O::LogoFileName, &R::LogoFile);
  visit.Text("BigBxTop", &O::BigBxTop, &R::BoxTop, kDigits);
  visit.Text("TopFormMar", &O::TopFormMar, &R::TopMargin, kDigits);
  visit.Text("LeftFormMar", &O::LeftFormMar, &R::LeftMargin, kDigits);
  visit.Text("MaxLines", &O::MaxLines, &R::MaxLines, kDigits);
  visit.YesNo("CNameOnForm", &O::CNameOnForm, &R::OmitCompanyOnForms);
  visit.Text("PushAddr", &O::PushAddr, &R::AddressIndent);

  visit.Text("SM1", &O::SM1, &R::SalesMsg1);
  visit.Text("SM2", &O::SM2, &R::SalesMsg2);
  visit.Text("SM3", &O::SM3, &R::SalesMsg3);
  visit.Text("SM4", &O::SM4, &R::SalesMsg4);

  visit.Check("TCBitmaps", &O::TCBitmaps, &R::UseBackground);
  visit.Text("BackgroundFileName", &O::BackgroundFileName, &R::BackgroundFile);

  visit.Text("ELineSpace", &O::ELineSpace, &R::EnvLineSpacing);
  visit.Text("LMarSet", &O::LMarSet, &R::EnvLeftMargin);
  visit.Text("TopMarSet", &O::TopMarSet, &R::EnvTopMargin);
  visit.Text("SendAddLeft", &O::SendAddLeft, &R::EnvSendLeft);
  visit.Choice("LandSCB", &O::LandSCB, &R::EnvOrientation, 'L', 'P', "");
  visit.Choice("UseShipAdd", &O::UseShipAdd, &R::EnvAddress, 'S', 'B', "");
  visit.YesNo("PCoAddr", &O::PCoAddr, &R::PrintReturnAddress);
}

template <class Visit>
void ForEachHeaderControl(Visit&& visit) {
  using O = HeaderOptions;
  using R = CompanyRecord;
  visit.Text("InvCapData", &O::InvCapData, &R::InvoiceCaption);
  visit.Text("StmntCapData", &O::StmntCapData, &R::StatementCaption);
  visit.Text("PackSHeadData", &O::PackSHeadData, &R::PackingSlipCaption);
  visit.Text("FCHeadData", &O::FCHeadData, &R::FileCopyCaption);
  visit.Text("PrCdhead", &O::PrCdhead, &R::CodeHeading);
  visit.Text("QuanHead", &O::QuanHead, &R::QuantityHeading);
  visit.Text("DescHead", &O::DescHead, &R::DescHeading);
  visit.Text("Edit8", &O::Edit8, &R::PriceHeading);
  visit.Text("ExtHead", &O::ExtHead, &R::ExtensionHeading);
  visit.Text("MemoHeadr", &O::MemoHeadr, &R::MemoHeading);
  visit.Text("StmntNote", &O::StmntNote, &R::DefaultStatementNote);
}

template <class Options>
struct ReadFields {
  Options& options;
  const CompanyRecord& company;

  template <std::size_t N>
  void Text(std::string_view, std::string Options::*value, model::ShortString<N> CompanyRecord::*field,
            bool = false) {
    options.*value = (company.*field).str();
  }
  void Check(std::string_view, bool Options::*value, model::BoolByte CompanyRecord::*field) {
    options.*value = company.*field;
  }
  void YesNo(std::string_view, bool Options::*value, model::YesNoFlag CompanyRecord::*field) {
    options.*value = model::IsYes(company.*field);
  }
  void Choice(std::string_view, bool Options::*value, model::LetterCode CompanyRecord::*field, char on, char,
              std::string_view) {
    options.*value = model::HoldsLetter(company.*field, on);
  }
};

template <class Options>
struct StoreFields {
  const Options& options;
  CompanyRecord& company;

  template <std::size_t N>
  void Text(std::string_view, std::string Options::*value, model::ShortString<N> CompanyRecord::*field,
            bool = false) {
    company.*field = options.*value;
  }
  void Check(std::string_view, bool Options::*value, model::BoolByte CompanyRecord::*field) {
    company.*field = options.*value;
  }
  void YesNo(std::string_view, bool Options::*value, model::YesNoFlag CompanyRecord::*field) {
    model::SetYes(company.*field, options.*value);
  }
  void Choice(std::string_view, bool Options::*value, model::LetterCode CompanyRecord::*field, char on, char off,
              std::string_view) {
    company.*field = std::string(1, options.*value ? on : off);
  }
};

template <class Options>
struct ListControls {
  std::vector<TextControl<Options>> texts;
  std::vector<CheckControl<Options>> checks;

  template <std::size_t N>
  void Text(std::string_view name, std::string Options::*value, model::ShortString<N> CompanyRecord::*,
            bool digitsOnly = false) {
    texts.push_back({name, value, static_cast<int>(N), digitsOnly});
  }
  template <class Field>
  void Check(std::string_view name, bool Options::*value, Field CompanyRecord::*) {
    checks.push_back({name, value, {}});
  }
  template <class Field>
  void YesNo(std::string_view name, bool Options::*value, Field CompanyRecord::*) {
    checks.push_back({name, value, {}});
  }
  void Choice(std::string_view name, bool Options::*value, model::LetterCode CompanyRecord::*, char, char,
              std::string_view partner) {
    checks.push_back({name, value, partner});
  }
};

ListControls<CompanyOptions> CompanyControls() {
  ListControls<CompanyOptions> controls;
  ForEachCompanyControl(controls);
  return controls;
}

bool LeftEmpty(std::string_view text) { return model::TrimBlanks(text).empty(); }

enum class NumberKind { kPercentage, kWholeNumber, kQuantity };

struct NumberRule {
  std::string_view control;
  std::string_view label;
  std::string CompanyOptions::*value;
  NumberKind kind;
  std::string_view expected;
};

constexpr NumberRule kNumberRules[] = {
    {"TaxCRate", "Tax Rate", &CompanyOptions::TaxCRate, NumberKind::kPercentage,
     "is not a percentage. Type it as a number such as 8.125."},
    {"NextIno", "Next Invoice Number", &CompanyOptions::NextIno, NumberKind::kWholeNumber,
     "is not a whole number. Type digits only, such as 1001."},
    {"DefInvQuan", "Default Invoice Quantity", &CompanyOptions::DefInvQuan, NumberKind::kQuantity,
     "is not a quantity. Type it as a number such as 1.00."},
    {"PushAddr", "Address Shift", &CompanyOptions::PushAddr, NumberKind::kWholeNumber,
     "is not a whole number. Type digits only, such as 0."},
};

bool IsNumberOfKind(std::string_view typed, NumberKind kind) {
  const std::optional<model::Decimal> value = model::ParseDecimal(typed);
  if (!value || value->units < 0) return false;
  switch (kind) {
    case NumberKind::kPercentage: return value->scale <= 3;
    case NumberKind::kWholeNumber: return typed.find_first_not_of("0123456789") == std::string_view::npos;
    case NumberKind::kQuantity: return true;
  }
  return false;
}

void ApplyEmptyValueDefaults(CompanyRecord& company) {
  if (LeftEmpty(company.TaxRate.raw())) company.TaxRate = "0.000";
  if (LeftEmpty(company.AddressIndent.raw())) company.AddressIndent = "0";
  const std::string_view copies = company.InvoiceCopies.raw();
  if (copies.size() != 1 || copies[0] < '2' || copies[0] > '5') company.InvoiceCopies = "1";
}

HeaderOptions HeadersOf(const CompanyRecord& company) {
  HeaderOptions headers;
  ForEachHeaderControl(ReadFields<HeaderOptions>{headers, company});
  std::copy(std::begin(company.FormFonts), std::end(company.FormFonts), std::begin(headers.FormFonts));
  return headers;
}

void StoreHeaders(const HeaderOptions& headers, CompanyRecord& company) {
  ForEachHeaderControl(StoreFields<HeaderOptions>{headers, company});
  std::copy(std::begin(headers.FormFonts), std::end(headers.FormFonts), std::begin(company.FormFonts));
}

void WarnOfMissingBackground(const CompanyRecord& company, platform::Dialogs& dialogs) {
  if (BackgroundFileMissing(company)) dialogs.inform(kEditCaption, kBackgroundGone, platform::Icon::kWarning);
}

// Only a number that names files inside the data folder has files to remove.
void RemoveCompanyFiles(std::string_view companyNo, platform::Dialogs& dialogs) {
  if (!files::CompanyNumberProblem(companyNo).empty()) return;
  for (const std::string& file : files::CompanyDataFiles(companyNo)) {
    // Left behind, the files would turn up in the next company given this number.
    if (const model::FileOutcome removed = model::RemoveFile(file); !removed) {
      dialogs.inform(kDeleteCaption, removed.error, platform::Icon::kError);
    }
  }
}

std::string BrowserLine(std::string_view name, std::string_view number, std::string_view balance) {
  return model::PadRight(name, kNameColumnWidth) + " " + model::PadRight(number, kNumberColumnWidth) + " " +
         model::PadLeft(balance, kBalanceColumnWidth);
}

std::vector<CompanyRecord> CompaniesInKeyOrder(files::KeyedFile& list, engine::KeyNumber order) {
  std::vector<CompanyRecord> companies;
  files::Table<CompanyRecord>(list).ForEach(order, [&](const auto& row) {
    companies.push_back(row.record);
    return true;
  });
  return companies;
}

}  // namespace

std::string CompanyBrowserHeader() { return BrowserLine("Company Name", "Number", "Balance"); }

std::string CompanyBrowserRow(const CompanyRecord& company) {
  return BrowserLine(company.CompanyName.str(), company.CompanyNo.str(), model::AmountText(company.TotalAR));
}

const std::vector<TextControl<CompanyOptions>>& CompanyTextControls() {
  static const std::vector<TextControl<CompanyOptions>> controls = CompanyControls().texts;
  return controls;
}

const std::vector<CheckControl<CompanyOptions>>& CompanyCheckControls() {
  static const std::vector<CheckControl<CompanyOptions>> controls = CompanyControls().checks;
  return controls;
}

const std::vector<TextControl<HeaderOptions>>& HeaderTextControls() {
  static const std::vector<TextControl<HeaderOptions>> controls = [] {
    ListControls<HeaderOptions> list;
    ForEachHeaderControl(list);
    return list.texts;
  }();
  return controls;
}

CompanyOptions OptionsOf(const CompanyRecord& company) {
  CompanyOptions options;
  ForEachCompanyControl(ReadFields<CompanyOptions>{options, company});
  options.ScreenFont = company.ScreenFont;
  options.ManagerFont = company.ManagerFont;
  options.EnvelopeFont = company.EnvelopeFont;
  options.Headers = HeadersOf(company);
  return options;
}

void StoreOptions(const CompanyOptions& options, CompanyRecord& company) {
  ForEachCompanyControl(StoreFields<CompanyOptions>{options, company});
  company.ScreenFont = options.ScreenFont;
  company.ManagerFont = options.ManagerFont;
  company.EnvelopeFont = options.EnvelopeFont;
  StoreHeaders(options.Headers, company);
  ApplyEmptyValueDefaults(company);
}

CompanyEdit BeginNewCompany(files::KeyedFile& list, const CompanyRecord& current) {
  CompanyEdit edit;
  edit.adding = true;
  edit.record = current;
  const int companiesOnFile = list.KeysInIndex(model::company_key::kNumber);
  model::ApplyNewCompanyValues(edit.record, companiesOnFile);
  // The invoice manager positions on this invoice; the new company has none.
  edit.record.LastSavedInvoiceNo = "";
  return edit;
}

CompanyEdit BeginEditCompany(engine::RecordNumber number, const CompanyRecord& stored, platform::Dialogs& dialogs) {
  CompanyEdit edit{false, number, stored};
  WarnOfMissingBackground(edit.record, dialogs);
  return edit;
}

bool CompanyNumberAccepted(std::string_view companyNo, platform::Dialogs& dialogs) {
  const std::string problem = files::CompanyNumberProblem(companyNo);
  if (problem.empty()) return true;
  dialogs.inform(kNumberCaption, problem, platform::Icon::kWarning);
  return false;
}

std::string_view RefusedNumberControl(const CompanyOptions& options, platform::Dialogs& dialogs) {
  for (const NumberRule& rule : kNumberRules) {
    const std::string_view typed = model::TrimBlanks(options.*rule.value);
    if (typed.empty() || IsNumberOfKind(typed, rule.kind)) continue;
    dialogs.inform(rule.label,
                   "The " + std::string(rule.label) + " \"" + std::string(typed) + "\" " + std::string(rule.expected),
                   platform::Icon::kWarning);
    return rule.control;
  }
  return {};
}

SaveOutcome SaveCompany(files::KeyedFile& list, platform::Dialogs& dialogs, const CompanyOptions& options,
                        CompanyEdit& edit) {
  if (const std::string_view refused = RefusedNumberControl(options, dialogs); !refused.empty())
    return {false, refused};
  if (!CompanyNumberAccepted(options.CoNumb, dialogs)) return {false, "CoNumb"};
  CompanyRecord record = edit.record;
  StoreOptions(options, record);
  if (edit.adding) {
    engine::RecordNumber added = 0;
    if (!list.Add(record, added)) {
      dialogs.inform(kAddCaption, "Add operation failed", platform::Icon::kError);
      return {};
    }
    edit.number = added;
  } else if (!list.Update(edit.number, record, &edit.record)) {
    dialogs.inform(kEditCaption, "Modify Company failed", platform::Icon::kError);
    return {};
  }
  edit.record = record;
  return {true, {}};
}

std::optional<std::string> PictureFileName(const std::filesystem::path& chosen, platform::Dialogs& dialogs) {
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::current_path(ignored);
  std::filesystem::path name = chosen.lexically_normal();
  const std::filesystem::path inside = name.lexically_relative(folder);
  if (!inside.empty() && *inside.begin() != "..") name = inside;
  std::string text = name.string();
  if (text.size() > kPictureNameCapacity) {
    dialogs.inform(kPictureCaption,
                   "The name of this file is longer than " + std::to_string(kPictureNameCapacity) +
                       " characters. Choose a file in a folder with a shorter path.",
                   platform::Icon::kWarning);
    return std::nullopt;
  }
  return text;
}

bool DeleteCompany(files::KeyedFile& list, platform::Dialogs& dialogs, const CompanyRecord& current,
                   engine::RecordNumber number, const CompanyRecord& company) {
  if (SameCompanyNumber(company, current)) {
    dialogs.inform(kDeleteCaption, kDeletingCurrent, platform::Icon::kWarning);
    return false;
  }
  if (!dialogs.confirm("Please Confirm", kDeleteQuestion, platform::Answer::kNo)) return false;
  if (!list.Delete(number, company)) {
    dialogs.inform(kDeleteCaption, "Delete operation failed", platform::Icon::kError);
    return false;
  }
  RemoveCompanyFiles(company.CompanyNo.str(), dialogs);
  return true;
}

bool SameCompanyNumber(const CompanyRecord& a, const CompanyRecord& b) {
  return model::BuildKey(a, model::company_key::kNumber) == model::BuildKey(b, model::company_key::kNumber);
}

bool CanBeDefault(const CompanyRecord& company, platform::Dialogs& dialogs) {
  return CompanyNumberAccepted(company.CompanyNo.str(), dialogs);
}

bool LocateCompany(files::KeyedFile& list, std::string_view companyNo, engine::RecordNumber& number,
                   CompanyRecord& found) {
  CompanyRecord wanted{};
  wanted.CompanyNo = companyNo;
  return files::FindCompanyByNumber(list, wanted, number, found);
}

documents::ListReport CompanyListReport(files::KeyedFile& list, bool byNumber, const platform::Clock& clock) {
  documents::ListReport report;
  report.title = byNumber ? "Company List by Number" : "Company List by Name";
  report.headings = {"Quillary Company List", "Date: " + model::ClockText(clock)};
  const engine::KeyNumber order = byNumber ? model::company_key::kNumber : model::company_key::kName;
  for (const CompanyRecord& company : CompaniesInKeyOrder(list, order)) {
    report.entries.push_back(
        {company.CompanyName.str(), {{"Number:", company.CompanyNo.str()}, {"A/R:", model::AmountText(company.TotalAR)}}, {}});
  }
  return report;
}

bool PrintCompanyList(files::KeyedFile& list, platform::Dialogs& dialogs, const platform::Clock& clock,
                      platform::PageCanvas& canvas) {
  const bool byNumber = dialogs.confirm(kListCaption, kSortQuestion);
  return documents::PrintListReport(CompanyListReport(list, byNumber, clock), canvas);
}

}  // namespace shell
