// Val, Format and Asc: the number text the calculator reads from its fields, the Result text it
// shows, and the key codes its key filters judge.
#include "framework/Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

using gui::Asc;
using gui::Format;
using gui::Val;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();

// Exactly equal, the sign of a zero included.
::testing::AssertionResult SameDouble(double expected, double actual) {
  if (expected == actual && std::signbit(expected) == std::signbit(actual))
    return ::testing::AssertionSuccess();
  const auto describe = [](double v) {
    return ::testing::PrintToString(v) + (std::signbit(v) ? " (sign bit set)" : "");
  };
  return ::testing::AssertionFailure() << "expected " << describe(expected) << ", got "
                                       << describe(actual);
}

struct ValCase {
  std::string_view text;
  double expected;
};

void ExpectVal(const ValCase& c) {
  EXPECT_TRUE(SameDouble(c.expected, Val(c.text))) << "Val(\"" << c.text << "\")";
}

TEST(Val, ReadsTheLongestLeadingNumber) {
  const ValCase cases[] = {
      {"0.9", 0.9},          {".5", 0.5},           {"5.", 5.0},          {"007", 7.0},
      {"-.5", -0.5},         {"+.5", 0.5},          {" \t-0.25", -0.25},  {"1.2.3", 1.2},
      {".5-", 0.5},          {"12abc", 12.0},       {"1 2", 1.0},         {"0..5", 0.0},
      {"1e3", 1000.0},       {"1E3", 1000.0},       {"2.5e-1", 0.25},     {"1.e2", 100.0},
      {"1e+2", 100.0},       {"1e", 1.0},           {"1e+", 1.0},         {"1e-x", 1.0},
      {"1ee2", 1.0},         {"-0", -0.0},
      // Correctly rounded however many digits there are.
      {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
      {"0.30000000000000004", 0.30000000000000004},
  };
  for (const auto& c : cases) ExpectVal(c);
}

TEST(Val, GivesZeroWhenThereIsNoNumber) {
  // The calculator range-checks whatever comes back, so anything typed or pasted must give a
  // plain number, never NaN.
  const ValCase cases[] = {
      {"", 0.0},     {" ", 0.0},    {".", 0.0},     {"-", 0.0},      {"+", 0.0},
      {"-.", 0.0},   {"--.5", 0.0}, {"-+1", 0.0},   {"- 1", 0.0},    {".e5", 0.0},
      {"e5", 0.0},   {"abc", 0.0},  {"0,5", 0.0},   {",5", 0.0},     {"\n1", 0.0},
      {"nan", 0.0},  {"NaN", 0.0},  {"inf", 0.0},   {"-inf", 0.0},   {"infinity", 0.0},
      {"0x10", 0.0}, {"0x1p3", 0.0}, {"\xD9\xA3", 0.0} /* Arabic-Indic three */,
      {"\xEF\xBC\x91", 0.0} /* fullwidth one */, {"\xE2\x88\x92" "1", 0.0} /* typographic minus */,
  };
  for (const auto& c : cases) ExpectVal(c);
}

TEST(Val, SaturatesOutOfRangeToSignedInfinityOrZero) {
  const std::string hugeDigits = "1" + std::string(400, '0');
  const std::string tinyDigits = "0." + std::string(400, '0') + "1";
  const std::string negativeTinyDigits = "-" + tinyDigits;
  const ValCase cases[] = {
      {"1e999", kInf},
      {"-1e999", -kInf},
      {"1e-999", 0.0},
      {"-1e-999", -0.0},
      {hugeDigits, kInf},
      {tinyDigits, 0.0},
      {negativeTinyDigits, -0.0},
      {"0.1e99999999999999999999", kInf},
      {"1000e-99999999999999999999", 0.0},
      {"0e99999", 0.0},
      {"1.7976931348623157e308", kMax},
      {"1.8e308", kInf},
      {"4.9e-324", kTiny},
      {"2.4703282292062328e-324", kTiny},  // just above half the smallest double: rounds up
      {"2e-324", 0.0},
      {"1e-310", 1e-310},  // subnormal, not out of range
  };
  for (const auto& c : cases) ExpectVal(c);
}

// Sets a locale whose decimal separator is a comma for the scope of a test, when one is there.
class CommaLocale {
 public:
  CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point == std::string(",")) {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_ALL, saved_.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

TEST(TextUnderLocale, CommaDecimalLocaleChangesNothing) {
  const CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_TRUE(SameDouble(3.25, Val("3.25")));
  EXPECT_TRUE(SameDouble(3.0, Val("3,25")));
  EXPECT_TRUE(SameDouble(-0.5, Val("-.5e0")));
  EXPECT_EQ(Format(0.8, ".0000"), ".8000");
  EXPECT_EQ(Format(-1234.5, "#,##0.00"), "-1,234.50");
}

struct FormatCase {
  double value;
  std::string_view mask;
  std::string_view expected;
};

void ExpectFormats(const FormatCase& c) {
  EXPECT_EQ(Format(c.value, c.mask), c.expected)
      << "Format(" << std::hexfloat << c.value << std::defaultfloat << " = " << c.value
      << ", \"" << c.mask << "\")";
}

TEST(Format, ResultMaskFourDecimals) {
  const FormatCase cases[] = {
      {0.5, ".0000", ".5000"},
      {0.8, ".0000", ".8000"},
      {1.0, ".0000", "1.0000"},
      {-0.666666, ".0000", "-.6667"},
      {-999999.0, ".0000", "-999999.0000"},
      {0.0, ".0000", ".0000"},
      // Values that round to zero lose their sign.
      {-0.0, ".0000", ".0000"},
      {-0.00004, ".0000", ".0000"},
      {-kTiny, ".0000", ".0000"},
      // The carry runs into the integer part and adds a digit.
      {0.99995, ".0000", "1.0000"},
      {9.99995, ".0000", "10.0000"},
      {-9.99995, ".0000", "-10.0000"},
  };
  for (const auto& c : cases) ExpectFormats(c);
}

TEST(Format, RoundsTheExactBinaryValueHalfAwayFromZero) {
  // Exact ties (a double with exactly one more decimal than the mask) go away from zero, where
  // printf's round-half-even would not. Near-ties go by the binary value, where scaling by a
  // power of ten first (x * 10000 + 0.5) or rounding a shorter decimal rendering would not.
  const FormatCase cases[] = {
      // exact ties
      {0.03125, ".0000", ".0313"},
      {-0.15625, ".0000", "-.1563"},
      {0.125, "0.00", "0.13"},
      {0.25, "0.0", "0.3"},
      {0.5, "0", "1"},
      {2.5, "0", "3"},
      {-2.5, "0", "-3"},
      {-82514911690751.40625, ".0000", "-82514911690751.4063"},  // neighbours 1/64 away
      // stored just above the tie
      {0.00005, ".0000", ".0001"},
      {-0.00005, ".0000", "-.0001"},
      {1.00005, ".0000", "1.0001"},
      {0.12345, ".0000", ".1235"},
      {-0.005, "0.00", "-0.01"},
      // stored just below the tie
      {0.66665, ".0000", ".6666"},
      {0.00035, ".0000", ".0003"},
      {2.675, "0.00", "2.67"},
      {1.005, "0.00", "1.00"},
      {0.35, "0.0", "0.3"},
      {0.49999999999999994, "0", "0"},
  };
  for (const auto& c : cases) ExpectFormats(c);
}

TEST(Format, ShowsEveryIntegerDigitExactly) {
  const std::string exact1e300 =
      "1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375"
      "0804478640437044438328838781769425232353604305756447921847867069828483872009265758037378302"
      "3379478809005936895323497079994508111903896764088007465274278014249457925878882005684283811"
      "5669472196386865459400540160";
  const std::string exactMax =
      "1797693134862315708145274237317043567980705675258449965989174768031572607800285387605895586"
      "3276687817154045895351438246423432132688946418276846754670353751698604991057655128207624549"
      "0090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738"
      "177180919299881250404026184124858368";
  const std::string e300Mask = exact1e300 + ".0000";
  const std::string negativeMax = "-" + exactMax + ".0000";
  const FormatCase cases[] = {
      {1e300, ".0000", e300Mask},
      {-kMax, ".0000", negativeMax},
      {123456789012345678.0, ".0000", "123456789012345680.0000"},
      {1e21, "#,##0.00", "1,000,000,000,000,000,000,000.00"},
      {12345.0, "00", "12345"},
      {12345.0, "#", "12345"},
  };
  for (const auto& c : cases) ExpectFormats(c);
}

TEST(Format, MaskGrammar) {
  const FormatCase cases[] = {
      // "0" shows a digit always, "#" only a significant one.
      {0.5, "0.00", "0.50"},
      {0.5, "#.00", ".50"},
      {5.0, "000", "005"},
      {5.0, "#0#", "05"},
      {0.0, "#", ""},
      {-0.4, "#", ""},
      {-0.4, "0", "0"},
      {12.0, "#", "12"},
      // Trailing "#" decimals drop their zeros but still count for the rounding.
      {1.5, "0.0#", "1.5"},
      {1.25, "0.0#", "1.25"},
      {2.0, "0.0#", "2.0"},
      {2.0, "#.##", "2."},
      {1.255, "0.0#", "1.25"},
      // Thousands grouping, with the carry crossing a group.
      {1234567.891, "#,##0.00", "1,234,567.89"},
      {-1234.5, "#,##0.00", "-1,234.50"},
      {0.0, "#,##0.00", "0.00"},
      {100.0, "#,##0.00", "100.00"},
      {999.999, "#,##0.00", "1,000.00"},
      {999999.5, "#,##0", "1,000,000"},
      {1234.0, "0,0", "1,234"},
      // Without a point: an integer.
      {1234.5, "0", "1235"},
      {1.5, "0.", "2."},
      // Literal text stays where it stands; the sign leads; nothing is scaled.
      {-1234.5, "$#,##0.00", "-$1,234.50"},
      {0.8, "Rd = .0000", "Rd = .8000"},
      {1.5, "(0.00)", "(1.50)"},
      {12.5, "0.0 %", "12.5 %"},
      {5.0, "a,b 0", "a,b 5"},
      {12.0, "x.00", "x12.00"},
      {1.25, "0.0.0", "1.2.5"},  // only the first point is the decimal point
      {1.25, "0.0,0", "1.2,5"},
      // No place for a number at all.
      {5.0, "abc", "abc"},
      {5.0, "", ""},
  };
  for (const auto& c : cases) ExpectFormats(c);
}

TEST(Format, InfinityAndNaNWhateverTheMask) {
  for (const std::string_view mask : {".0000", "#,##0.00", "abc", ""}) {
    EXPECT_EQ(Format(kInf, mask), "INF") << mask;
    EXPECT_EQ(Format(-kInf, mask), "-INF") << mask;
    EXPECT_EQ(Format(kNaN, mask), "NAN") << mask;
    EXPECT_EQ(Format(-kNaN, mask), "NAN") << mask;
  }
}

struct AscCase {
  std::string_view text;
  std::int64_t expected;
};

TEST(Asc, CodePointOfTheFirstCharacter) {
  const AscCase cases[] = {
      {"", -1},
      {"a", 97},
      {"abc", 97},
      {"\b", 8},
      {"\t", 9},
      {"\r", 13},
      {"\x1b", 27},
      {"\x7f", 127},
      {std::string_view("\0x", 2), 0},
      {"0", 48},
      {"9", 57},
      {".", 46},
      {"-", 45},
      {"\xC2\x80", 0x80},
      {"\xC3\xB7", 247},              // division sign
      {"\xE2\x82\xAC" "x", 8364},     // euro sign, then more text
      {"\xE2\x88\x92", 8722},         // typographic minus
      {"\xE0\xA0\x80", 0x800},
      {"\xED\x9F\xBF", 0xD7FF},
      {"\xEF\xBF\xBF", 0xFFFF},
      {"\xF0\x90\x80\x80", 0x10000},
      {"\xF0\x9F\x98\x80", 0x1F600},  // emoji
      {"\xF4\x8F\xBF\xBF", 0x10FFFF},
  };
  for (const auto& c : cases) EXPECT_EQ(Asc(c.text), c.expected) << "Asc(\"" << c.text << "\")";
}

TEST(Asc, MalformedFirstCharacterGivesTheReplacementCode) {
  const std::string_view cases[] = {
      "\x80",              // continuation byte first
      "\xBF" "a",
      "\xC0\xAF",          // overlong "/"
      "\xC1\xBF",
      "\xE0\x80\xAF",      // overlong three-byte form
      "\xF0\x80\x80\xAF",  // overlong four-byte form
      "\xED\xA0\x80",      // surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xF5\x80\x80\x80",
      "\xFF",
      "\xC3",              // truncated
      "\xE2\x82",
      "\xF0\x9F\x98",
      "\xC3" "a",          // continuation missing
      "\xE2\x82" "a",
  };
  for (const auto text : cases)
    EXPECT_EQ(Asc(text), 0xFFFD) << ::testing::PrintToString(std::string(text));
}

}  // namespace
