// Arbitrary bytes into Val and Asc. Besides not crashing, each result is checked against
// something that does not share the code under test:
// - Val never gives NaN, and text without a digit gives +0.
// - Text made only of blanks, digits, points, signs and e/E is read by the C library's strtod
//   (this process stays in the "C" locale) exactly like Val reads it: same grammar there, same
//   correct rounding, same saturation to infinity and signed zero.
// - Appending a character that extends no number, or prepending a blank, changes nothing; a
//   minus in front of a number negates it.
// - Asc agrees with a decoder that validates by encoding again (-1 for the empty text, 0xFFFD
//   for a malformed start).
#include "framework/Text.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void Require(bool condition, const char* what, std::string_view input) {
  if (condition) return;
  std::fprintf(stderr, "check failed: %s\ninput (%zu bytes):", what, input.size());
  for (const unsigned char c : input) std::fprintf(stderr, " %02x", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

bool SameDouble(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

std::string EncodeUtf8(std::int64_t code) {
  std::string out;
  const auto put = [&](std::int64_t v) { out += static_cast<char>(v); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | (code >> 6));
    put(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    put(0xE0 | (code >> 12));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | (code >> 18));
    put(0x80 | ((code >> 12) & 0x3F));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  }
  return out;
}

void CheckVal(std::string_view text) {
  const double value = gui::Val(text);
  Require(!std::isnan(value), "Val is never NaN", text);

  if (text.find_first_of("0123456789") == std::string_view::npos)
    Require(SameDouble(value, 0.0), "text without a digit reads as +0", text);

  if (text.find_first_not_of(" \t0123456789.+-eE") == std::string_view::npos) {
    const std::string copy(text);  // strtod needs the terminating NUL
    Require(SameDouble(value, std::strtod(copy.c_str(), nullptr)), "Val agrees with strtod", text);
  }

  Require(SameDouble(value, gui::Val(std::string(text) + "x")), "a trailing x changes nothing",
          text);
  Require(SameDouble(value, gui::Val(" " + std::string(text))), "a leading blank changes nothing",
          text);
  if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) {
    const double negated = gui::Val("-" + std::string(text));
    Require(negated == -value && (value == 0 || std::signbit(negated) != std::signbit(value)),
            "a leading minus negates", text);
  }
}

// The first character decoded the other way round: take the payload bits that the lead byte
// promises, then accept the result only if encoding it again gives back the same bytes. That
// rejects overlong forms and bad continuation bytes without any table of byte ranges.
std::int64_t ReferenceAsc(std::string_view text) {
  if (text.empty()) return -1;
  const unsigned lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  std::int64_t code = 0;
  if (lead < 0x80) return lead;
  if ((lead >> 5) == 0x6) {
    length = 2;
    code = lead & 0x1F;
  } else if ((lead >> 4) == 0xE) {
    length = 3;
    code = lead & 0x0F;
  } else if ((lead >> 3) == 0x1E) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0xFFFD;
  }
  if (text.size() < length) return 0xFFFD;
  for (std::size_t k = 1; k < length; ++k)
    code = (code << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
  const bool scalar = code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
  return scalar && EncodeUtf8(code) == text.substr(0, length) ? code : 0xFFFD;
}

void CheckAsc(std::string_view text) {
  Require(gui::Asc(text) == ReferenceAsc(text), "Asc agrees with the re-encoding decoder", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckVal(text);
  CheckAsc(text);
  return 0;
}
