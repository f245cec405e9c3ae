// Money in whole cents, and the exact decimal numbers amounts are read from and
// multiplied by.
//
// Records keep amounts as two-decimal text. They are read digit by digit into whole
// cents, never through binary floating point, so 2.675 is two dollars and 67.5 cents
// exactly and rounds up as it reads. Rates and quantities ("8.125" per cent, "1.5"
// hours) stay exact decimals; a product is rounded to the cent once, half away from
// zero.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace model {

// A decimal number exactly as written: units × 10^-scale.
struct Decimal {
  static constexpr int kMaxScale = 9;

  std::int64_t units = 0;
  int scale = 0;  // 0..kMaxScale

  // Whole units of 10^-places, rounded half away from zero.
  std::int64_t Rounded(int places) const;
  // The digits before the point, the sign kept.
  std::int64_t WholePart() const;
  bool IsZero() const { return units == 0; }
};

class Money {
 public:
  constexpr Money() = default;
  static constexpr Money FromCents(std::int64_t cents) { return Money(cents); }
  // The decimal rounded half away from zero to the cent.
  static Money Of(const Decimal& value) { return Money(value.Rounded(2)); }

  constexpr std::int64_t Cents() const { return cents_; }
  constexpr bool IsZero() const { return cents_ == 0; }
  constexpr Decimal AsDecimal() const { return {cents_, 2}; }

  friend constexpr Money operator+(Money a, Money b) { return Money(a.cents_ + b.cents_); }
  friend constexpr Money operator-(Money a, Money b) { return Money(a.cents_ - b.cents_); }
  friend constexpr Money operator-(Money a) { return Money(-a.cents_); }
  constexpr Money& operator+=(Money other) {
    cents_ += other.cents_;
    return *this;
  }
  constexpr Money& operator-=(Money other) {
    cents_ -= other.cents_;
    return *this;
  }
  friend constexpr auto operator<=>(Money, Money) = default;

  // The amount times an exact factor, rounded half away from zero to the cent.
  Money Times(const Decimal& factor) const;
  // `percent` per cent of the amount: 8.125 % of 1.00 is 0.08.
  Money PercentOf(const Decimal& percent) const;
  // The amount plus `percent` per cent of `other`, rounded once to the cent: a running
  // total brought to the cent after each addition, not a sum of rounded parts.
  Money PlusPercentOf(Money other, const Decimal& percent) const;
  // a × b exactly, rounded half away from zero to the cent: quantity times unit price.
  static Money Product(const Decimal& a, const Decimal& b);

 private:
  constexpr explicit Money(std::int64_t cents) : cents_(cents) {}
  std::int64_t cents_ = 0;
};

// Outer blanks (any char <= 32) and every ',' are dropped first; empty text reads as 0.
// What is left must be a plain decimal number: optional sign, digits, at most one '.',
// at most 15 digits before the point and kMaxScale after it.
std::optional<Decimal> ParseDecimal(std::string_view text);
// The same text as an amount; more than two decimals round half away from zero.
std::optional<Money> ParseMoney(std::string_view text);

// Formats by a picture such as "#,##0.00" or "0.0##". Before the '.': each '0' is a required
// digit, '#' an optional one, any ',' turns on grouping by thousands. After it: '0' a required
// decimal, '#' an optional one dropped when zero. Other characters are ignored. The value is
// rounded half away from zero to the picture's places; one that rounds to zero has no sign.
std::string FormatDecimal(const Decimal& value, std::string_view picture);
std::string FormatMoney(Money amount, std::string_view picture);

// The form amounts are stored in: "1234.50", "-12.00".
std::string MoneyText(Money amount);

}  // namespace model
