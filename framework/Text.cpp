// Conversion between numbers and text, without Qt and without the C library's locale:
// std::from_chars and std::to_chars read and write a '.' whatever the user's regional settings.
#include "framework/Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>
#include <vector>

namespace gui {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsDigitPlace(char c) { return c == '0' || c == '#'; }

// Only ever called on a number that std::from_chars found out of range. Decides by the decimal
// order of magnitude of the text: a leading digit at 10^k with k >= 0 overflows, k < 0 underflows.
// The true limits lie near 10^308 and 10^-324, so the split at 10^0 is never close.
// `integer` and `fraction` are the digit runs around the point, `exponent` the exponent digits
// with their sign (possibly empty).
bool OverflowsRatherThanUnderflows(std::string_view integer, std::string_view fraction,
                                   std::string_view exponent) {
  // Far beyond any double's range, and far from overflowing the sum below.
  constexpr std::int64_t kClamp = 1'000'000'000;
  std::int64_t order = 0;
  const auto firstInteger = integer.find_first_not_of('0');
  if (firstInteger != std::string_view::npos) {
    const auto digits = static_cast<std::int64_t>(integer.size() - firstInteger);
    order = std::min<std::int64_t>(digits - 1, kClamp);
  } else {
    const auto firstFraction = fraction.find_first_not_of('0');
    if (firstFraction == std::string_view::npos) return false;  // all zeros: never out of range
    order = -std::min<std::int64_t>(static_cast<std::int64_t>(firstFraction) + 1, kClamp);
  }
  bool negativeExponent = false;
  if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-')) {
    negativeExponent = exponent.front() == '-';
    exponent.remove_prefix(1);
  }
  std::int64_t power = 0;
  for (const char c : exponent) power = std::min<std::int64_t>(power * 10 + (c - '0'), kClamp);
  return order + (negativeExponent ? -power : power) >= 0;
}

// The exact decimal expansion of a finite, non-negative double: every double is an integer times
// a power of two, so its expansion ends after as many fractional digits as it has fractional bits.
// Returns the digits before and after the point.
struct ExactDecimal {
  std::string integer;   // no leading zeros; empty for a value below 1
  std::string fraction;  // every digit up to the last non-zero one
};

ExactDecimal ExpandExactly(double magnitude) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;  // value = mantissa * 2^exponent
  if (biasedExponent != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biasedExponent - 1075;
  }
  int fractionalBits = 0;
  if (mantissa != 0) fractionalBits = std::max(0, -(exponent + std::countr_zero(mantissa)));

  // At most 309 integer digits, a point and 1074 fractional digits.
  std::array<char, 1400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::fixed, fractionalBits);
  const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  ExactDecimal exact;
  const auto point = text.find('.');
  exact.integer = std::string(text.substr(0, point));
  if (point != std::string_view::npos) exact.fraction = std::string(text.substr(point + 1));
  const auto firstNonZero = exact.integer.find_first_not_of('0');
  exact.integer.erase(0, firstNonZero == std::string::npos ? exact.integer.size() : firstNonZero);
  return exact;
}

// Adds one unit in the last place of integer.fraction, both plain digit strings.
void IncrementLastPlace(std::string& integer, std::string& fraction) {
  for (auto it = fraction.rbegin(); it != fraction.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  for (auto it = integer.rbegin(); it != integer.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  integer.insert(integer.begin(), '1');
}

}  // namespace

double Val(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // From here on the number without its sign: from_chars refuses a '+', and applying the sign
  // ourselves keeps both signs alike.
  const std::size_t start = i;
  while (i < n && IsDigit(text[i])) ++i;
  const std::string_view integer = text.substr(start, i - start);
  std::string_view fraction;
  if (i < n && text[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < n && IsDigit(text[i])) ++i;
    fraction = text.substr(fractionStart, i - fractionStart);
  }
  if (integer.empty() && fraction.empty()) return 0.0;  // ".", "-", "abc", "nan", ".e5"
  std::string_view exponent;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t digitsStart = j;
    while (j < n && IsDigit(text[j])) ++j;
    // "1e" and "1e+" are the number 1 followed by text.
    if (j > digitsStart) {
      exponent = text.substr(i + 1, j - i - 1);
      i = j;
    }
  }

  double magnitude = 0.0;
  const auto result = std::from_chars(text.data() + start, text.data() + i, magnitude,
                                      std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value untouched here; give what the rounding would have given.
    magnitude = OverflowsRatherThanUnderflows(integer, fraction, exponent)
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
  } else if (result.ec != std::errc{}) {
    return 0.0;  // cannot happen: the scanned text is a well-formed decimal number
  }
  return negative ? -magnitude : magnitude;
}

double Abs(double value) { return std::fabs(value); }

std::string Format(double value, std::string_view mask) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  const auto point = mask.find('.');
  const std::string_view integerMask = mask.substr(0, point);
  const std::string_view fractionMask =
      point == std::string_view::npos ? std::string_view{} : mask.substr(point + 1);

  std::vector<std::size_t> integerPlaces;  // positions in integerMask
  for (std::size_t k = 0; k < integerMask.size(); ++k)
    if (IsDigitPlace(integerMask[k])) integerPlaces.push_back(k);
  std::vector<std::size_t> fractionPlaces;  // positions in fractionMask
  for (std::size_t k = 0; k < fractionMask.size(); ++k)
    if (IsDigitPlace(fractionMask[k])) fractionPlaces.push_back(k);

  // Nowhere to put a number: the mask is all text.
  if (point == std::string_view::npos && integerPlaces.empty()) return std::string(mask);

  // Round the exact expansion half away from zero: the first dropped digit alone decides, since
  // a 5 followed by nothing at all is the exact tie and a 5 followed by anything is above it.
  ExactDecimal exact = ExpandExactly(std::fabs(value));
  std::string& integerDigits = exact.integer;
  std::string& fractionDigits = exact.fraction;
  const std::size_t decimals = fractionPlaces.size();
  const bool roundUp = fractionDigits.size() > decimals && fractionDigits[decimals] >= '5';
  fractionDigits.resize(decimals, '0');
  if (roundUp) IncrementLastPlace(integerDigits, fractionDigits);
  const bool zero = integerDigits.empty() &&
                    fractionDigits.find_first_not_of('0') == std::string::npos;

  // Every integer place from the leftmost '0' on shows a digit, leading zeros included.
  std::size_t forced = 0;
  for (std::size_t k = 0; k < integerPlaces.size(); ++k) {
    if (integerMask[integerPlaces[k]] == '0') {
      forced = integerPlaces.size() - k;
      break;
    }
  }
  if (integerDigits.size() < forced) integerDigits.insert(0, forced - integerDigits.size(), '0');

  // A ',' among the integer places asks for grouping by thousands; anywhere else it is text.
  bool grouping = false;
  if (!integerPlaces.empty()) {
    const auto comma = integerMask.find(',', integerPlaces.front());
    grouping = comma != std::string_view::npos && comma < integerPlaces.back();
  }

  std::string out;
  if (std::signbit(value) && !zero) out += '-';

  // The rightmost place takes the last digit, and so on leftwards; the leftmost place takes
  // every digit left over, so no integer digit is ever lost. A mask without integer places
  // puts them all just before the point.
  const std::size_t digitCount = integerDigits.size();
  std::size_t nextDigit = 0;
  const auto emitDigits = [&](std::size_t upTo) {
    for (; nextDigit < upTo; ++nextDigit) {
      out += integerDigits[nextDigit];
      const std::size_t fromRight = digitCount - 1 - nextDigit;
      if (grouping && fromRight > 0 && fromRight % 3 == 0) out += ',';
    }
  };
  std::size_t placeIndex = 0;
  for (std::size_t k = 0; k < integerMask.size(); ++k) {
    const char c = integerMask[k];
    if (IsDigitPlace(c)) {
      // Places to the right of this one, each of which claims one digit if there is one.
      const std::size_t placesRight = integerPlaces.size() - 1 - placeIndex;
      ++placeIndex;
      emitDigits(digitCount > placesRight ? digitCount - placesRight : 0);
    } else if (c == ',' && grouping && k > integerPlaces.front() && k < integerPlaces.back()) {
      // Stands for the separators, which go wherever the digits need them.
    } else {
      out += c;
    }
  }
  emitDigits(digitCount);

  if (point == std::string_view::npos) return out;
  out += '.';

  // Trailing '#' places drop their zeros; the digits are rounded to every place all the same.
  std::size_t shown = decimals;
  while (shown > 0 && fractionMask[fractionPlaces[shown - 1]] == '#' &&
         fractionDigits[shown - 1] == '0')
    --shown;
  std::size_t fractionIndex = 0;
  for (const char c : fractionMask) {
    if (IsDigitPlace(c)) {
      if (fractionIndex < shown) out += fractionDigits[fractionIndex];
      ++fractionIndex;
    } else {
      out += c;
    }
  }
  return out;
}

std::int64_t Asc(std::string_view text) {
  constexpr std::int64_t kReplacement = 0xFFFD;
  if (text.empty()) return -1;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned lead = byte(0);
  if (lead < 0x80) return lead;

  // The lead byte gives the length and its own payload bits; the bounds on the second byte
  // refuse overlong forms, UTF-16 surrogates and code points beyond U+10FFFF.
  std::size_t length = 0;
  std::int64_t code = 0;
  unsigned secondLow = 0x80, secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    if (lead == 0xE0) secondLow = 0xA0;
    if (lead == 0xED) secondHigh = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;
  } else {
    return kReplacement;  // a continuation byte, C0, C1 or F5 to FF
  }
  if (text.size() < length) return kReplacement;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned b = byte(k);
    const unsigned low = k == 1 ? secondLow : 0x80;
    const unsigned high = k == 1 ? secondHigh : 0xBF;
    if (b < low || b > high) return kReplacement;
    code = (code << 6) | (b & 0x3F);
  }
  return code;
}

}  // namespace gui
