// Conversion between numbers and text. Plain C++: no Qt, no locale, usable without a
// QApplication.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gui {

// The longest leading decimal number of `text`: leading blanks (spaces and tabs), an optional
// sign (+ or -), digits, an optional point and digits, an optional exponent (e or E, an optional
// sign, at least one digit; "1e" reads as 1). The number needs a digit before or after the point.
// 0 when there is none ("", ".", "-", "abc", "--.5"); reading stops at the first character that
// cannot extend the number ("0,5" reads as 0, "1.2.3" as 1.2, ".5-" as 0.5). Words such as "nan"
// or "inf" and hexadecimal are not numbers here ("0x10" reads as 0), so the result is never NaN.
// A number too large for a double gives the signed infinity, one too small the signed zero.
// Never depends on the user's locale.
double Val(std::string_view text);

// The absolute value.
double Abs(double value);

// `value` formatted by `mask`. The first "." of the mask is the decimal point; "0" and "#" are
// digit places; every other character is literal text, kept where it stands.
// - Integer part (the places before the point): the rightmost place takes the last digit, and so
//   on leftwards; the leftmost place takes every digit left over, so the integer part is shown in
//   full however few places the mask has (with no places at all it stands just before the point).
//   Every place from the leftmost "0" on shows a digit, "0" if need be; "#" places left of it show
//   nothing when the digits run out ("0.00" gives "0.50" for 0.5, "#.00" and ".00" give ".50").
// - A "," between the first and the last integer place groups the integer digits by thousands
//   ("#,##0.00" gives "1,234,567.89"); a "," anywhere else is literal text.
// - Decimal part: the value is rounded to as many decimals as there are places after the point,
//   exactly on the double's binary value, half away from zero: 0.125 gives "0.13" with "0.00",
//   while 2.675, stored a little below 2.675, gives "2.67". Trailing "#" places whose digit is 0
//   are left out.
//   A mask without a point rounds to an integer and shows no point.
// - A negative value shows "-" in front of everything else, unless it rounds to zero.
// - A mask with neither a point nor a digit place is shown as it is.
// Nothing is scaled ("%" is literal text). Infinities and NaN give "-INF", "INF" and "NAN",
// whatever the mask.
std::string Format(double value, std::string_view mask);

// The code point of the first character of `text`, read as UTF-8. An empty text gives -1; a
// first character that is not well-formed UTF-8 (a stray continuation byte, a truncated or
// overlong sequence, a surrogate, beyond U+10FFFF) gives 0xFFFD. Neither is a code that a key
// filter accepts.
std::int64_t Asc(std::string_view text);

}  // namespace gui
