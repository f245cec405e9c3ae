#include "model/money.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace model {
namespace {

// A finite double as its shortest round-trip decimal text, split for digit-wise rounding.
struct DecimalDigits {
  bool negative = false;
  std::string whole = "0";
  std::string fraction;
};

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsPlainDecimal(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  int digits = 0;
  int points = 0;
  for (char c : text) {
    if (IsDigit(c)) {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return false;
    }
  }
  return digits > 0 && points <= 1;
}

DecimalDigits ToDecimal(double value) {
  DecimalDigits decimal;
  if (!std::isfinite(value)) return decimal;
  // The longest shortest-form fixed text (a denormal or a value near the maximum) is under 400 chars.
  char buffer[512];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (error != std::errc()) return decimal;
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  if (text.front() == '-') {
    decimal.negative = true;
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  decimal.whole = std::string(text.substr(0, point));
  if (point != std::string_view::npos) decimal.fraction = std::string(text.substr(point + 1));
  return decimal;
}

// Adds one unit in the last place; a carry out of the top digit lengthens the whole part.
void IncrementLastPlace(DecimalDigits& decimal) {
  for (std::string* part : {&decimal.fraction, &decimal.whole}) {
    for (auto digit = part->rbegin(); digit != part->rend(); ++digit) {
      if (*digit != '9') {
        ++*digit;
        return;
      }
      *digit = '0';
    }
  }
  decimal.whole.insert(decimal.whole.begin(), '1');
}

// The dropped digits are the exact decimal tail, so a first dropped digit of 5 or more
// means at least half a unit: round away from zero.
void RoundToPlaces(DecimalDigits& decimal, std::size_t places) {
  if (decimal.fraction.size() <= places) return;
  const bool up = decimal.fraction[places] >= '5';
  decimal.fraction.resize(places);
  if (up) IncrementLastPlace(decimal);
}

bool IsZero(const DecimalDigits& decimal) {
  auto zero = [](const std::string& digits) { return digits.find_first_not_of('0') == std::string::npos; };
  return zero(decimal.whole) && zero(decimal.fraction);
}

std::optional<double> ReadDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

struct Picture {
  std::size_t requiredWholeDigits = 0;
  bool grouped = false;
  std::size_t decimals = 0;
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
    if (c == '0') picture.requiredDecimals = picture.decimals;
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

std::string WholeText(const std::string& whole, const Picture& picture) {
  std::string digits = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
  if (digits.size() < picture.requiredWholeDigits) {
    digits.insert(0, picture.requiredWholeDigits - digits.size(), '0');
  }
  return picture.grouped ? GroupThousands(digits) : digits;
}

std::string FractionText(std::string fraction, const Picture& picture) {
  fraction.resize(picture.decimals, '0');
  while (fraction.size() > picture.requiredDecimals && fraction.back() == '0') fraction.pop_back();
  return fraction;
}

}  // namespace

std::optional<double> ParseMoney(std::string_view text) {
  std::string plain(Trimmed(text));
  std::erase(plain, ',');
  const std::string_view number = Trimmed(plain);
  if (number.empty()) return 0.0;
  if (!IsPlainDecimal(number)) return std::nullopt;
  return ReadDecimal(number);
}

double RoundMoney(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  DecimalDigits decimal = ToDecimal(value);
  RoundToPlaces(decimal, static_cast<std::size_t>(std::max(decimals, 0)));
  if (IsZero(decimal)) return 0.0;
  const std::string fraction = decimal.fraction.empty() ? "" : "." + decimal.fraction;
  const std::string text = (decimal.negative ? "-" : "") + decimal.whole + fraction;
  return ReadDecimal(text).value_or(value);
}

std::string FormatMoney(double value, std::string_view pattern) {
  const Picture picture = ReadPicture(pattern);
  DecimalDigits decimal = ToDecimal(value);
  RoundToPlaces(decimal, picture.decimals);
  const std::string whole = WholeText(decimal.whole, picture);
  const std::string fraction = FractionText(decimal.fraction, picture);
  // A picture with no required place would print nothing at all for zero.
  if (whole.empty() && fraction.empty()) return "0";
  const std::string sign = decimal.negative && !IsZero(decimal) ? "-" : "";
  return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string MoneyText(double value) { return FormatMoney(value, "0.00"); }

}  // namespace model
