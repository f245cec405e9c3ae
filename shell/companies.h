// The company manager and the company options without their windows: the browser's
// row, the options dialog's control values and how they map to a CompanyRecord,
// adding, changing and deleting a company with its files, and the printed company list.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "documents/list_report.h"
#include "files/keyed_file.h"
#include "model/records.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/page_canvas.h"

namespace shell {

constexpr std::string_view kCompanyCountPrefix = "Companies: ";
constexpr std::string_view kUnableToOpenCompanies = "Unable to open company database";

// --- Browser --------------------------------------------------------------------

// Column widths in characters: name, number, balance (right-aligned), one blank apart.
constexpr std::size_t kNameColumnWidth = 35;
constexpr std::size_t kNumberColumnWidth = 6;
constexpr std::size_t kBalanceColumnWidth = 14;

std::string CompanyBrowserHeader();
std::string CompanyBrowserRow(const model::CompanyRecord& company);

// --- Control values of the options dialogs -----------------------------------------

using ScreenFontBlock = decltype(model::CompanyRecord::ScreenFont);
using ManagerFontBlock = decltype(model::CompanyRecord::ManagerFont);
using EnvelopeFontBlock = decltype(model::CompanyRecord::EnvelopeFont);
using FormFontBlock = std::remove_extent_t<decltype(model::CompanyRecord::FormFonts)>;

// "Headers, Fonts and Colors": form titles, column headings, the memo heading, the
// statement note and the six form fonts.
struct HeaderOptions {
  std::string InvCapData, StmntCapData, PackSHeadData, FCHeadData;
  std::string PrCdhead, QuanHead, DescHead, Edit8, ExtHead;
  std::string MemoHeadr, StmntNote;
  FormFontBlock FormFonts[6]{};
};

// "Company Options": one member per control, named after it. Radio pairs are one
// member (DMemo: "Memo Invoice" rather than "Line-Item Invoice"; DDMMYY: day first).
struct CompanyOptions {
  // Address/Taxes
  std::string CName, CoNumb, CAdd1, CAdd2, CAdd3, CAdd4, ExtraAdd1;
  bool CalcTaxes = false;
  std::string TaxCRate, TaxName;
  // Invoice Options
  std::string NextIno, DefInvQuan, DFTerms;
  bool PrintDupOnInv = false, YYMMonInv = false, PFlag = false, DMemo = false, PSlip = false, FileCpy = false;
  std::string NumCpys;
  bool CpyToLQue = false, BatchLabels = false;
  // General
  bool DDMMYY = false, AgeRecap = false, CMaxProdWin = false, CMaxInvWin = false, CMaxCustWin = false,
       SHints = false;
  std::string CNxtCustNo;
  bool ACBillAdd = false, AuditCB = false;
  // Forms Setup
  bool HorLCB = false, VLineCB = false;
  std::string LineWidthVal;
  bool ShadeCB = false, CheckBox5 = false, IBoxCB = false, SBoxCB = false, PConICB = false, MoveDwnCB = false,
       CAgeCB = false, SMsgCB = false, UseBmpCB = false;
  std::string LogoFileName;
  std::string BigBxTop, TopFormMar, LeftFormMar, MaxLines;
  bool CNameOnForm = false;
  std::string PushAddr;
  // Sales Message
  std::string SM1, SM2, SM3, SM4;
  // System Graphics
  bool TCBitmaps = false;
  std::string BackgroundFileName;
  ScreenFontBlock ScreenFont{};
  ManagerFontBlock ManagerFont{};
  // Envelopes
  EnvelopeFontBlock EnvelopeFont{};
  std::string ELineSpace, LMarSet, TopMarSet, SendAddLeft;
  bool LandSCB = false, UseShipAdd = false, PCoAddr = false;

  HeaderOptions Headers;
};

// A text control: its name, its value among the options, the characters its field
// holds and whether it takes digits only.
template <class Options>
struct TextControl {
  std::string_view name;
  std::string Options::*value;
  int capacity;
  bool digitsOnly;
};

// A check box, or the first of a pair of radio buttons whose partner is checked
// when the value is false.
template <class Options>
struct CheckControl {
  std::string_view name;
  bool Options::*value;
  std::string_view partner;
};

const std::vector<TextControl<CompanyOptions>>& CompanyTextControls();
const std::vector<CheckControl<CompanyOptions>>& CompanyCheckControls();
const std::vector<TextControl<HeaderOptions>>& HeaderTextControls();

CompanyOptions OptionsOf(const model::CompanyRecord& company);
// Every value into its field, cut to the field's capacity, with the defaults for
// what was left empty: TaxRate "0.000", AddressIndent "0", and InvoiceCopies "1"
// unless it is a digit from 2 to 5.
void StoreOptions(const CompanyOptions& options, model::CompanyRecord& company);

// --- Adding and changing -------------------------------------------------------------

// What the options dialog saves: a company to add, or the stored record `number`
// to change. After a successful save `record` is the record as stored and `number`
// its slot.
struct CompanyEdit {
  bool adding = false;
  engine::RecordNumber number = 0;
  model::CompanyRecord record{};
};

// "&Add": a copy of the current company with the new-company values, numbered after
// the companies on file.
CompanyEdit BeginNewCompany(files::KeyedFile& list, const model::CompanyRecord& current);
// "&Edit": warns when the background picture named by the company is gone.
CompanyEdit BeginEditCompany(engine::RecordNumber number, const model::CompanyRecord& stored,
                             platform::Dialogs& dialogs);

// What "&Save" came to: stored, or refused, and then, when a number the invoices
// compute with was the reason, the control to go back to.
struct SaveOutcome {
  bool saved = false;
  std::string_view refusedControl;
  explicit operator bool() const { return saved; }
};

// "&Save": the numbers and the company number are checked before anything is written,
// then the options are stored and the record added or changed. A refusal, with the
// reason shown, leaves the file and `edit` as they were.
SaveOutcome SaveCompany(files::KeyedFile& list, platform::Dialogs& dialogs, const CompanyOptions& options,
                        CompanyEdit& edit);

// The first of the tax rate, next invoice number, default quantity and address shift
// that is not a number of its kind, told to the user; empty when all are numbers or
// left empty. They used to be stored as typed and computed with later.
std::string_view RefusedNumberControl(const CompanyOptions& options, platform::Dialogs& dialogs);

// False, with the reason shown (caption "Company Number"), when the number cannot
// name the company's files.
bool CompanyNumberAccepted(std::string_view companyNo, platform::Dialogs& dialogs);

// A picture chosen in the file dialog as it is stored: relative to the data folder
// when it lies inside it. nullopt, with the reason shown, when the name does not fit
// its field and would name another file once cut.
std::optional<std::string> PictureFileName(const std::filesystem::path& chosen, platform::Dialogs& dialogs);

// --- Deleting, choosing, listing -----------------------------------------------------

// "&Delete" of the company at `number`: refused for the current company, asked, then
// the record with its keys and the company's ten files. True when the record went.
bool DeleteCompany(files::KeyedFile& list, platform::Dialogs& dialogs, const model::CompanyRecord& current,
                   engine::RecordNumber number, const model::CompanyRecord& company);

// Two records stand for one company when their number keys agree (blanks around
// and case ignored), as the company list's unique index sees them.
bool SameCompanyNumber(const model::CompanyRecord& a, const model::CompanyRecord& b);

// "&Set As Default": a company whose number cannot name files cannot be worked in.
bool CanBeDefault(const model::CompanyRecord& company, platform::Dialogs& dialogs);

// The company with this number (as typed or as listed), for positioning the browser.
bool LocateCompany(files::KeyedFile& list, std::string_view companyNo, engine::RecordNumber& number,
                   model::CompanyRecord& found);

documents::ListReport CompanyListReport(files::KeyedFile& list, bool byNumber, const platform::Clock& clock);
// "Company &List": asks for the order, then prints. False when printing failed.
bool PrintCompanyList(files::KeyedFile& list, platform::Dialogs& dialogs, const platform::Clock& clock,
                      platform::PageCanvas& canvas);

}  // namespace shell
