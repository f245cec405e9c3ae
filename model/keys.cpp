#include "model/keys.h"

#include <string>

#include "model/text.h"

namespace model {

namespace {

// Keys are stored bytes, one a character, so they are padded by bytes.
std::string PaddedBytes(std::string_view bytes, std::size_t width) {
  std::string padded(bytes);
  if (padded.size() < width) padded.append(width - padded.size(), ' ');
  return padded;
}

}  // namespace

engine::KeyString KeyText(std::string_view field, std::size_t width, KeyCase keyCase) {
  if (keyCase == KeyCase::kAsStored) return engine::KeyString(PaddedBytes(field, width));
  return engine::KeyString(ToUpperAscii(PaddedBytes(TrimBlanks(field), width)));
}

engine::KeyString BuildKey(const CompanyRecord& record, engine::KeyNumber key) {
  switch (key) {
    case company_key::kNumber: return KeyText(record.CompanyNo.raw(), 5);
    case company_key::kName: return KeyText(record.CompanyName.raw(), 30);
    default: return {};
  }
}

engine::KeyString BuildKey(const CustomerRecord& record, engine::KeyNumber key) {
  switch (key) {
    case customer_key::kName: return KeyText(record.CustName.raw(), 30);
    case customer_key::kNumber: return KeyText(record.CustNo.raw(), 8);
    default: return {};
  }
}

engine::KeyString BuildKey(const TransactionRecord& record, engine::KeyNumber key) {
  switch (key) {
    case transaction_key::kInvoiceNo: return KeyText(record.InvoiceNo.raw(), 9);
    case transaction_key::kCustNo: return KeyText(record.CustNo.raw(), 8);
    case transaction_key::kSortDate: return KeyText(record.SortDate.raw(), 10, KeyCase::kAsStored);
    case transaction_key::kKeyCode: return KeyText(record.KeyCode.raw(), 8);
    case transaction_key::kTypeAndInvoice: {
      const std::string typeAndNumber =
          std::string(TrimBlanks(record.TransType.raw())) + std::string(TrimBlanks(record.InvoiceNo.raw()));
      return KeyText(typeAndNumber, 10);
    }
    case transaction_key::kPaidSortDate: return KeyText(record.PaidSortDate.raw(), 10, KeyCase::kAsStored);
    default: return {};
  }
}

engine::KeyString BuildKey(const DetailRecord& record, engine::KeyNumber key) {
  switch (key) {
    case detail_key::kSortDate: return KeyText(record.SortDate.raw(), 10);
    case detail_key::kInvoiceNo: return KeyText(record.InvoiceNo.raw(), 9);
    default: return {};
  }
}

engine::KeyString BuildKey(const MemoRecord& record, engine::KeyNumber key) {
  return key == memo_key::kInvoiceNo ? KeyText(record.InvoiceNo.raw(), 9) : engine::KeyString{};
}

engine::KeyString BuildKey(const ProductRecord& record, engine::KeyNumber key) {
  switch (key) {
    case product_key::kCode: return KeyText(record.ProductCode.raw(), 10);
    case product_key::kDescription: return KeyText(record.ProdDesc.raw(), 30);
    default: return {};
  }
}

}  // namespace model
