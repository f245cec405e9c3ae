#include "model/money.h"

#include <algorithm>
#include <limits>

#include "model/text.h"

namespace model {
namespace {

using Wide = __int128;

constexpr int kMaxWholeDigits = 15;
// All the digits together must fit the 64-bit units: 18 always do.
constexpr std::size_t kMaxDigits = 18;

constexpr Wide PowerOfTen(int exponent) {
  Wide power = 1;
  for (int i = 0; i < exponent; ++i) power *= 10;
  return power;
}

// numerator / denominator rounded half away from zero (denominator > 0).
Wide DivideRounded(Wide numerator, Wide denominator) {
  const Wide magnitude = numerator < 0 ? -numerator : numerator;
  const Wide quotient = (magnitude + denominator / 2) / denominator;
  return numerator < 0 ? -quotient : quotient;
}

// Products too large for the field of any record are held at the limit rather than
// wrapped around into a wrong sign.
std::int64_t Saturated(Wide value) {
  constexpr Wide kMax = std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(std::clamp<Wide>(value, -kMax, kMax));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of `text` (sign already taken off) as a decimal; nullopt unless they
// form a plain number within the limits.
std::optional<Decimal> ReadDigits(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (!std::all_of(whole.begin(), whole.end(), IsDigit) || !std::all_of(fraction.begin(), fraction.end(), IsDigit))
    return std::nullopt;
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  const std::string_view significant = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
  if (significant.size() > kMaxWholeDigits || fraction.size() > static_cast<std::size_t>(Decimal::kMaxScale) ||
      significant.size() + fraction.size() > kMaxDigits)
    return std::nullopt;
  Decimal value{0, static_cast<int>(fraction.size())};
  for (const char digit : significant) value.units = value.units * 10 + (digit - '0');
  for (const char digit : fraction) value.units = value.units * 10 + (digit - '0');
  return value;
}

struct Picture {
  std::size_t requiredWholeDigits = 0;
  bool grouped = false;
  int decimals = 0;
  std::size_t requiredDecimals = 0;
};

Picture ReadPicture(std::string_view pattern) {
  Picture picture;
  const std::size_t point = pattern.find('.');
  const std::string_view whole = pattern.substr(0, point);
  picture.requiredWholeDigits = static_cast<std::size_t>(std::count(whole.begin(), whole.end(), '0'));
  picture.grouped = whole.find(',') != std::string_view::npos;
  if (point == std::string_view::npos) return picture;
  for (char c : pattern.substr(point + 1)) {
    if (c != '0' && c != '#') continue;
    ++picture.decimals;
    // Once a later place is required, the optional ones before it must print too.
    if (c == '0') picture.requiredDecimals = static_cast<std::size_t>(picture.decimals);
  }
  return picture;
}

std::string GroupThousands(const std::string& digits) {
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string WholeText(std::string digits, const Picture& picture) {
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.size() < picture.requiredWholeDigits) digits.insert(0, picture.requiredWholeDigits - digits.size(), '0');
  return picture.grouped ? GroupThousands(digits) : digits;
}

std::string FractionText(std::string fraction, const Picture& picture) {
  fraction.resize(static_cast<std::size_t>(picture.decimals), '0');
  while (fraction.size() > picture.requiredDecimals && fraction.back() == '0') fraction.pop_back();
  return fraction;
}

}  // namespace

std::int64_t Decimal::Rounded(int places) const {
  if (places >= scale) return Saturated(static_cast<Wide>(units) * PowerOfTen(places - scale));
  return Saturated(DivideRounded(units, PowerOfTen(scale - places)));
}

std::int64_t Decimal::WholePart() const { return static_cast<std::int64_t>(units / PowerOfTen(scale)); }

Money Money::Times(const Decimal& factor) const {
  return Money(Saturated(DivideRounded(static_cast<Wide>(cents_) * factor.units, PowerOfTen(factor.scale))));
}

Money Money::PercentOf(const Decimal& percent) const {
  return Money(Saturated(DivideRounded(static_cast<Wide>(cents_) * percent.units, PowerOfTen(percent.scale + 2))));
}

Money Money::PlusPercentOf(Money other, const Decimal& percent) const {
  const Wide scale = PowerOfTen(percent.scale + 2);
  return Money(Saturated(DivideRounded(static_cast<Wide>(cents_) * scale + static_cast<Wide>(other.cents_) * percent.units,
                                       scale)));
}

// Both factors hold at most 18 digits (ParseDecimal's limit), so the exact product
// fits 128 bits.
Money Money::Product(const Decimal& a, const Decimal& b) {
  const Wide exact = static_cast<Wide>(a.units) * b.units;
  const int scale = a.scale + b.scale;
  return Money(Saturated(scale >= 2 ? DivideRounded(exact, PowerOfTen(scale - 2)) : exact * PowerOfTen(2 - scale)));
}

std::optional<Decimal> ParseDecimal(std::string_view text) {
  std::string plain(TrimBlanks(text));
  std::erase(plain, ',');
  std::string_view number = TrimBlanks(plain);
  if (number.empty()) return Decimal{};
  const bool negative = number.front() == '-';
  if (negative || number.front() == '+') number.remove_prefix(1);
  std::optional<Decimal> value = ReadDigits(number);
  if (value && negative) value->units = -value->units;
  return value;
}

std::optional<Money> ParseMoney(std::string_view text) {
  const std::optional<Decimal> value = ParseDecimal(text);
  if (!value) return std::nullopt;
  return Money::Of(*value);
}

std::string FormatDecimal(const Decimal& value, std::string_view pattern) {
  const Picture picture = ReadPicture(pattern);
  const int places = std::min(picture.decimals, value.scale);
  const std::int64_t rounded = value.Rounded(places);
  const auto placeCount = static_cast<std::size_t>(places);
  std::string digits = std::to_string(rounded < 0 ? -rounded : rounded);
  if (digits.size() <= placeCount) digits.insert(0, placeCount - digits.size() + 1, '0');
  const std::string whole = WholeText(digits.substr(0, digits.size() - placeCount), picture);
  const std::string fraction = FractionText(digits.substr(digits.size() - placeCount), picture);
  // A picture with no required place would print nothing at all for zero.
  if (whole.empty() && fraction.empty()) return "0";
  const std::string sign = rounded < 0 ? "-" : "";
  return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string FormatMoney(Money amount, std::string_view picture) { return FormatDecimal(amount.AsDecimal(), picture); }

std::string MoneyText(Money amount) { return FormatMoney(amount, "0.00"); }

}  // namespace model
