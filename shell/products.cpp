#include "shell/products.h"

#include "files/table.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/money.h"
#include "model/text.h"

namespace shell {
namespace {

constexpr std::string_view kNewProductCode = "/";
constexpr std::string_view kNoPrice = "0.00";
constexpr std::string_view kPriceFormat = ",0.00";

constexpr std::size_t kCodeWidth = 10;
constexpr std::size_t kDescriptionWidth = 32;
constexpr std::size_t kPriceWidth = 12;
constexpr std::size_t kDateWidth = 10;

void FillProduct(model::ProductRecord& product, const ProductEntry& entry) {
  product.ProductCode = entry.PNum;
  product.ProdDesc = entry.PDesc;
  product.Taxable = entry.Taxable;
  product.UnitPrice = StoredPrice(entry.PSell);
  product.ProdNotes = entry.PNote;
}

std::string PriceText(const model::ProductRecord& product) {
  return model::FormatMoney(model::ReadMoney(product.UnitPrice).value_or(model::Money()), kPriceFormat);
}

void Refuse(platform::Dialogs& dialogs, std::string_view caption, std::string_view text) {
  dialogs.inform(caption, text, platform::Icon::kWarning);
}

documents::ListEntry ListEntryOf(const model::ProductRecord& product) {
  return {std::string(model::TrimBlanks(product.ProdDesc.str())),
          {{"Code:", std::string(model::TrimBlanks(product.ProductCode.str()))},
           {"Price:", PriceText(product)},
           {"Setup Date:", product.SetupDate.str()},
           {"Last Modified:", product.LastChanged.str()},
           {"Taxed:", product.Taxable ? "Yes" : "No"}},
          {}};
}

// The report's proportions, in multiples of the body font size.
constexpr double kTitleScale = 1.8;
constexpr double kHeadingScale = 1.1;
constexpr double kNameScale = 1.2;
constexpr double kIndentScale = 1.8;
constexpr double kValueColumnScale = 8;
constexpr double kSecondLabelScale = 20;
constexpr double kSecondValueScale = 28;
constexpr std::uint32_t kLabelColor = 0x00555555;

documents::TextRun RunIn(const BodyFont& font, std::string text, double scale = 1) {
  return {.text = std::move(text), .font = font.face, .points = font.points * scale};
}

documents::Paragraph Centred(documents::TextRun run, double spaceAfter) {
  return {.alignment = documents::Alignment::kCentre, .runs = {std::move(run)}, .spaceAfter = spaceAfter};
}

// Two labelled values a line, the labels muted, the values in tab-aligned columns.
documents::Paragraph FieldLine(const BodyFont& font, const documents::ListEntry& entry, std::size_t first) {
  const double indent = font.points * kIndentScale;
  documents::Paragraph line{.leftIndent = indent,
                         .tabStops = {indent + font.points * kValueColumnScale,
                                      indent + font.points * kSecondLabelScale,
                                      indent + font.points * kSecondValueScale}};
  for (std::size_t i = first; i < std::min(first + 2, entry.fields.size()); ++i) {
    documents::TextRun label = RunIn(font, (i == first ? "" : "\t") + entry.fields[i].first + "\t");
    label.color = kLabelColor;
    line.runs.push_back(std::move(label));
    line.runs.push_back(RunIn(font, entry.fields[i].second));
  }
  return line;
}

void AppendEntry(documents::RtfDocument& document, const BodyFont& font, const documents::ListEntry& entry) {
  documents::TextRun name = RunIn(font, entry.name, kNameScale);
  name.bold = true;
  document.paragraphs.push_back({.runs = {std::move(name)}, .spaceBefore = font.points, .spaceAfter = font.points / 5});
  for (std::size_t i = 0; i < entry.fields.size(); i += 2) document.paragraphs.push_back(FieldLine(font, entry, i));
  for (const std::string& text : entry.lines) {
    document.paragraphs.push_back({.runs = {RunIn(font, text)}, .leftIndent = font.points * kIndentScale});
  }
}

}  // namespace

ProductDialog AddProductDialog(std::string_view today) {
  ProductDialog dialog;
  dialog.caption = "Add Product";
  dialog.entry.PSell = kNoPrice;
  dialog.setupText = "Setup Date: " + std::string(today);
  dialog.changedText = "Last Changed:";
  dialog.oldCode = kNewProductCode;
  return dialog;
}

ProductDialog EditProductDialog(const model::ProductRecord& product) {
  ProductDialog dialog;
  dialog.caption = "Edit Product";
  dialog.entry = {product.ProductCode.str(), product.ProdDesc.str(), product.UnitPrice.str(),
                  static_cast<bool>(product.Taxable), product.ProdNotes.str()};
  dialog.setupText = "Setup Date: " + product.SetupDate.str();
  dialog.changedText = "Last Changed:" + product.LastChanged.str();
  dialog.oldCode = model::Folded(product.ProductCode.str());
  return dialog;
}

ProductField CheckProduct(ProductEntry& entry, std::string_view oldCode, files::KeyedFile& products,
                          platform::Dialogs& dialogs) {
  if (model::TrimBlanks(entry.PNum).empty()) {
    Refuse(dialogs, "Product Code", "You need to enter a product code.");
    return ProductField::kPNum;
  }
  if (model::TrimBlanks(entry.PDesc).empty()) {
    Refuse(dialogs, "Product Description", "You need to enter a product description or name.");
    return ProductField::kPDesc;
  }
  const std::optional<FoundProduct> existing = FindProductByCode(products, entry.PNum);
  if (existing && model::Folded(entry.PNum) != oldCode) {
    Refuse(dialogs, "Product Code",
           "This Product Code already exists for: " + std::string(model::TrimBlanks(existing->record.ProdDesc.str())) +
               ". Use a different code.");
    return ProductField::kPNum;
  }
  if (!model::ParseMoney(entry.PSell)) {
    Refuse(dialogs, "Sales Price",
           "The Sales Price \"" + std::string(model::TrimBlanks(entry.PSell)) +
               "\" is not an amount. Type it with digits and a decimal point, such as 12.50.");
    return ProductField::kPSell;
  }
  entry.PSell = StoredPrice(entry.PSell);
  return ProductField::kNone;
}

std::string StoredPrice(std::string_view typed) {
  if (model::TrimBlanks(typed).empty()) return std::string(kNoPrice);
  return std::string(typed);
}

model::ProductRecord NewProduct(const ProductEntry& entry, std::string_view today) {
  model::ProductRecord product{};
  FillProduct(product, entry);
  product.SetupDate = today;
  return product;
}

model::ProductRecord ChangedProduct(const model::ProductRecord& asRead, const ProductEntry& entry,
                                    std::string_view today) {
  model::ProductRecord product = asRead;
  FillProduct(product, entry);
  product.LastChanged = today;
  return product;
}

bool AddProduct(files::KeyedFile& products, const model::ProductRecord& product, platform::Dialogs& dialogs,
                engine::RecordNumber& added) {
  if (products.Add(product, added)) return true;
  Refuse(dialogs, "Add Product", "Add operation failed");
  return false;
}

bool ChangeProduct(files::KeyedFile& products, engine::RecordNumber number, const model::ProductRecord& changed,
                   const model::ProductRecord& asRead, platform::Dialogs& dialogs) {
  if (products.Update(number, changed, &asRead)) return true;
  Refuse(dialogs, "Edit Product", "Modify operation failed");
  return false;
}

bool DeleteProduct(files::KeyedFile& products, engine::RecordNumber number, const model::ProductRecord& product,
                   platform::Dialogs& dialogs) {
  const std::string caption = "Delete Product Code: " + std::string(model::TrimBlanks(product.ProductCode.str()));
  if (!dialogs.confirm(caption, "Are you sure you want to delete this product?")) return false;
  if (products.Delete(number, product)) return true;
  Refuse(dialogs, caption, "Product delete failed");
  return false;
}

std::optional<FoundProduct> FindProductByCode(files::KeyedFile& products, std::string_view code) {
  model::ProductRecord probe{};
  probe.ProductCode = model::TrimBlanks(code);
  const files::Table<model::ProductRecord> table(products);
  const auto row = table.FindExact(model::product_key::kCode, table.KeyOf(probe, model::product_key::kCode));
  if (!row) return std::nullopt;
  return FoundProduct{row->number, row->record};
}

std::string ProductRow(const model::ProductRecord& product) {
  return model::PadRight(product.ProductCode.str(), kCodeWidth) + " " +
         model::PadRight(model::TrimBlanks(product.ProdDesc.str()), kDescriptionWidth) + " " +
         model::PadLeft(PriceText(product), kPriceWidth) + " " + model::PadRight(product.SetupDate.str(), kDateWidth);
}

std::string ProductHeader() {
  return model::PadRight("Code", kCodeWidth) + " " + model::PadRight("Description", kDescriptionWidth) + " " +
         model::PadLeft("Sales Price", kPriceWidth) + " " + model::PadRight("Setup Date", kDateWidth);
}

bool AskProductListByCode(platform::Dialogs& dialogs) {
  return dialogs.confirm("Product List",
                         "The products will be sorted by description. Would you rather sort by product code?");
}

documents::ListReport ProductListReport(files::KeyedFile& products, bool byCode, const model::CompanyRecord& company,
                                     std::string_view dateTime) {
  documents::ListReport report;
  report.title = byCode ? "Product List by Code" : "Product List by Description";
  report.headings = {"Product List for " + std::string(model::TrimBlanks(company.CompanyName.str())),
                     "Date: " + std::string(dateTime)};
  const engine::KeyNumber order = byCode ? model::product_key::kCode : model::product_key::kDescription;
  files::Table<model::ProductRecord>(products).ForEach(order, [&](const auto& row) {
    report.entries.push_back(ListEntryOf(row.record));
    return true;
  });
  return report;
}

documents::RtfDocument ProductListDocument(const documents::ListReport& report, const BodyFont& font) {
  documents::RtfDocument document;
  documents::TextRun title = RunIn(font, report.title, kTitleScale);
  title.bold = true;
  document.paragraphs.push_back(Centred(std::move(title), font.points / 2));
  for (std::size_t i = 0; i < report.headings.size(); ++i) {
    const bool last = i + 1 == report.headings.size();
    document.paragraphs.push_back(Centred(RunIn(font, report.headings[i], kHeadingScale), last ? font.points : 0));
  }
  for (const documents::ListEntry& entry : report.entries) AppendEntry(document, font, entry);
  return document;
}

}  // namespace shell
