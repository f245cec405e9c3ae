#include "invoicing/invoice_form.h"

#include "model/text.h"

namespace invoicing {

char BodyStyleLetter(InvoiceKind kind) { return kind == InvoiceKind::kMemo ? 'M' : 'P'; }

InvoiceKind KindOfBodyStyle(std::string_view bodyStyle) {
  return model::Folded(bodyStyle) == "M" ? InvoiceKind::kMemo : InvoiceKind::kLineItem;
}

bool GridLine::IsStored() const {
  return !model::TrimBlanks(productCode).empty() || !model::TrimBlanks(description).empty();
}

std::string& GridLine::Cell(GridColumn column) {
  return const_cast<std::string&>(static_cast<const GridLine&>(*this).Cell(column));
}

const std::string& GridLine::Cell(GridColumn column) const {
  switch (column) {
    case GridColumn::kProduct: return productCode;
    case GridColumn::kQuantity: return quantity;
    case GridColumn::kDescription: return description;
    case GridColumn::kUnitPrice: return unitPrice;
    case GridColumn::kTaxable: return taxable;
    case GridColumn::kExtension:
    case GridColumn::kLine: break;
  }
  return extension;
}

}  // namespace invoicing
