// The first 8 bytes are a double (any bit pattern: NaNs, infinities, subnormals included), the
// rest a mask. Besides not crashing:
// - Infinities and NaN give "INF", "-INF", "NAN" whatever the mask.
// - A mask made only of "0", "#" and at most one "." gives the value that the C library's
//   printf("%.*f") gives for as many decimals, read back with Val. printf is exact but rounds an
//   exact tie to even; on a tie it is handed the next long double away from zero instead, which
//   has the same away-from-zero rounding and is no tie.
// - The calculator's own mask ".0000" gives printf's text itself, less the "0" before the point
//   and less the "-" of a value that rounds to zero; read back, it lies within 0.00005.
// - Any mask: its literal characters all appear, in order; a negative value gives the result for
//   its magnitude, with a "-" in front unless it rounds to zero; a mask with neither a point nor
//   a digit place comes back as it is; a "," between the integer places only adds a comma before
//   every third integer digit.
#include "framework/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition, const char* what, double value, std::string_view mask,
             std::string_view result) {
  if (condition) return;
  std::fprintf(stderr, "check failed: %s\nvalue %a (%.17g), mask \"%.*s\", result \"%.*s\"\n", what,
               value, value, static_cast<int>(mask.size()), mask.data(),
               static_cast<int>(result.size()), result.data());
  std::abort();
}

// Whether `value` lies exactly halfway between two multiples of 10^-decimals: then it has exactly
// decimals + 1 decimals, that is exactly decimals + 1 fractional bits, so scaled by
// 2^(decimals + 1) it is an odd integer.
bool IsTie(double value, std::size_t decimals) {
  if (decimals > 1100) return false;  // no double has more than 1074 fractional bits
  const double scaled = std::ldexp(value, static_cast<int>(decimals) + 1);
  return std::isfinite(scaled) && std::trunc(scaled) == scaled && std::fmod(scaled, 2.0) != 0.0;
}

// printf's rounding of `value` to `decimals` places, ties away from zero. A tie is nudged by one
// step of long double, which has 11 bits more than double: far less than 10^-decimals, where a
// step of double can be more (0.015625 at 8e13).
std::string Printf(double value, std::size_t decimals) {
  long double printed = value;
  if (IsTie(value, decimals))
    printed = std::nextafter(printed, std::copysign(std::numeric_limits<long double>::infinity(),
                                                    printed));
  const int precision = static_cast<int>(decimals);
  const int length = std::snprintf(nullptr, 0, "%.*Lf", precision, printed);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  std::snprintf(buffer.data(), buffer.size(), "%.*Lf", precision, printed);
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

bool AllZeroDigits(std::string_view text) {
  return text.find_first_of("123456789") == std::string_view::npos;
}

void CheckResultMask(double value) {
  constexpr std::string_view mask = ".0000";
  const std::string result = gui::Format(value, mask);
  std::string expected = Printf(value, 4);
  if (AllZeroDigits(expected) && expected.front() == '-') expected.erase(0, 1);
  const auto point = expected.find('.');
  if (expected.compare(point - 1, 2, "0.") == 0 && (point == 1 || expected[point - 2] == '-'))
    expected.erase(point - 1, 1);
  Require(result == expected, "\".0000\" agrees with printf", value, mask, result);
  Require(std::fabs(gui::Val(result) - value) <= 0.00005 * (1 + 1e-12) + std::fabs(value) * 1e-15,
          "\".0000\" reads back within 0.00005", value, mask, result);
}

void CheckAnyMask(double value, std::string_view mask) {
  const std::string result = gui::Format(value, mask);
  const auto point = mask.find('.');
  if (point == std::string_view::npos && mask.find_first_of("0#") == std::string_view::npos) {
    Require(result == mask, "a mask without a place for a number is shown as it is", value, mask,
            result);
    return;
  }

  // Literal characters stay, in their order (and the point is shown where it stands).
  std::size_t at = 0;
  for (const char c : mask) {
    if (c == '0' || c == '#' || c == ',') continue;
    at = result.find(c, at);
    Require(at != std::string::npos, "every literal character of the mask is shown", value, mask,
            result);
    ++at;
  }

  std::size_t decimals = 0;
  if (point != std::string_view::npos)
    for (const char c : mask.substr(point + 1)) decimals += c == '0' || c == '#';

  if (mask.find_first_not_of("0#.") == std::string_view::npos &&
      mask.find('.', point == std::string_view::npos ? 0 : point + 1) == std::string_view::npos) {
    const std::string expected = Printf(value, decimals);
    Require(gui::Val(result) == gui::Val(expected), "a plain mask agrees with printf", value, mask,
            result);
  }

  // Grouping only inserts commas, one before every third integer digit counted from the point.
  const std::string_view integerMask = mask.substr(0, point);
  const auto isPlace = [](char c) { return c == '0' || c == '#'; };
  if (mask.find_first_not_of("0#,.") == std::string_view::npos && integerMask.size() > 1 &&
      isPlace(integerMask.front()) && isPlace(integerMask.back()) &&
      integerMask.find(',') != std::string_view::npos && !result.empty()) {
    std::string plainMask(mask.substr(0, point));
    std::erase(plainMask, ',');
    if (point != std::string_view::npos) plainMask += mask.substr(point);
    std::string withoutCommas = result.substr(0, result.find('.'));
    std::erase(withoutCommas, ',');
    const std::string plain = gui::Format(value, plainMask);
    Require(withoutCommas + result.substr(std::min(result.find('.'), result.size())) == plain,
            "grouping changes nothing but the commas", value, mask, result);
    const std::size_t digitsStart = result.front() == '-' ? 1 : 0;
    const std::size_t integerEnd = std::min(result.find('.'), result.size());
    for (std::size_t k = digitsStart; k < integerEnd; ++k) {
      const bool commaHere = (integerEnd - k) % 4 == 0;
      Require((result[k] == ',') == commaHere, "a comma before every third digit", value, mask,
              result);
    }
  }

  if (std::signbit(value)) {
    const std::string positive = gui::Format(-value, mask);
    const std::string zeros = gui::Format(-value, "." + std::string(decimals, '0'));
    const bool roundsToZero = zeros.find_first_not_of(".0") == std::string::npos;
    Require(result == (roundsToZero ? positive : "-" + positive),
            "a negative value shows its magnitude behind a minus unless it rounds to zero", value,
            mask, result);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double value = 0;
  std::memcpy(&value, data, sizeof value);
  const std::string_view mask(reinterpret_cast<const char*>(data) + sizeof value,
                              size - sizeof value);

  if (std::isnan(value) || std::isinf(value)) {
    const std::string result = gui::Format(value, mask);
    const char* expected = std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";
    Require(result == expected, "infinity and NaN give their words", value, mask, result);
    return 0;
  }
  CheckResultMask(value);
  CheckAnyMask(value, mask);
  return 0;
}
