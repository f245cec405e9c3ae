// The product manager's rules: what the edit dialog starts with, how its entries are
// checked and stored, adding, changing and deleting a product with its keys, the
// browser's rows, and the product list report as a rich-text document.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "documents/list_report.h"
#include "documents/rtf_writer.h"
#include "files/keyed_file.h"
#include "model/records.h"
#include "platform/dialogs.h"

namespace shell {

// What the edit dialog's controls hold, as plain text.
struct ProductEntry {
  std::string PNum;
  std::string PDesc;
  std::string PSell;
  bool Taxable = false;
  std::string PNote;
  friend bool operator==(const ProductEntry&, const ProductEntry&) = default;
};

// The edit dialog as it opens.
struct ProductDialog {
  std::string caption;  // "Add Product" or "Edit Product"
  ProductEntry entry;
  std::string setupText;    // status bar, first panel
  std::string changedText;  // status bar, second panel
  // The product's code trimmed and upper-cased, "/" for a new product: a code equal
  // to it is the product's own and no duplicate.
  std::string oldCode;
};

ProductDialog AddProductDialog(std::string_view today);
ProductDialog EditProductDialog(const model::ProductRecord& product);

// The control a refused entry sends the user back to.
enum class ProductField { kNone, kPNum, kPDesc, kPSell };

// Checks the entries in order (code, description, duplicate code, price) and tells
// the user about the first fault. A price left empty becomes "0.00"; one that is no
// amount is refused rather than stored as zero.
ProductField CheckProduct(ProductEntry& entry, std::string_view oldCode, files::KeyedFile& products,
                          platform::Dialogs& dialogs);

// The price as it is stored: as typed, but "0.00" when blank.
std::string StoredPrice(std::string_view typed);

// The record to add (set up today) and the record an edit writes (changed today,
// its setup date and reserved bytes kept).
model::ProductRecord NewProduct(const ProductEntry& entry, std::string_view today);
model::ProductRecord ChangedProduct(const model::ProductRecord& asRead, const ProductEntry& entry,
                                    std::string_view today);

// Each tells the user when the file refuses ("Add operation failed" and the like).
bool AddProduct(files::KeyedFile& products, const model::ProductRecord& product, platform::Dialogs& dialogs,
                engine::RecordNumber& added);
// `asRead` is the record as it was when the dialog opened: a product someone else
// changed in the meantime is not overwritten.
bool ChangeProduct(files::KeyedFile& products, engine::RecordNumber number, const model::ProductRecord& changed,
                   const model::ProductRecord& asRead, platform::Dialogs& dialogs);
// Asks first; true only when the product was deleted.
bool DeleteProduct(files::KeyedFile& products, engine::RecordNumber number, const model::ProductRecord& product,
                   platform::Dialogs& dialogs);

struct FoundProduct {
  engine::RecordNumber number = 0;
  model::ProductRecord record{};
};

// The product whose code equals `code` trimmed, case ignored.
std::optional<FoundProduct> FindProductByCode(files::KeyedFile& products, std::string_view code);

// One browser line, and the captions above it in the same widths.
std::string ProductRow(const model::ProductRecord& product);
std::string ProductHeader();

// Asks how to sort the product list; true for by code.
bool AskProductListByCode(platform::Dialogs& dialogs);

// Every product in code or description order, with the report's title and headings.
// `dateTime` is the long date and time the report is headed with.
documents::ListReport ProductListReport(files::KeyedFile& products, bool byCode, const model::CompanyRecord& company,
                                     std::string_view dateTime);

// The font the report's text is set in; titles and names are sized from it.
struct BodyFont {
  std::string face = "Arial";
  double points = 10;
};

// The report laid out for reading and saving: the title large and bold, the headings
// under it, then one block per product, its name in bold over its values.
documents::RtfDocument ProductListDocument(const documents::ListReport& report, const BodyFont& font = {});

}  // namespace shell
