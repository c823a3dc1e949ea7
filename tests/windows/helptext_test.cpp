// The help text as compiled into the program: its exact bytes, line ends and fixed lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "resources/HelpText.h"

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t cr; (cr = text.find('\r', start)) != std::string_view::npos; start = cr + 1)
    lines.push_back(text.substr(start, cr - start));
  lines.push_back(text.substr(start));
  return lines;
}

// Characters, not bytes: a UTF-8 continuation byte starts no character.
std::size_t CharacterCount(std::string_view text) {
  return std::count_if(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

TEST(HelpText, SeventeenLinesSeparatedByCrAlone) {
  const std::string_view text = mobrigan::HelpText();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 16);
  EXPECT_EQ(text.find('\n'), std::string_view::npos);
  EXPECT_EQ(text.find('\0'), std::string_view::npos);  // nothing after the last line's text
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\r');
  EXPECT_EQ(Lines(text).size(), 17u);
}

TEST(HelpText, HeadingsAndEmptyLinesSitWhereTheWindowShowsThem) {
  const auto lines = Lines(mobrigan::HelpText());
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[0], "Mobrigan");
  EXPECT_EQ(lines[8], "Reference");
  for (int number : {2, 4, 6, 7, 8, 11, 12, 14, 16}) EXPECT_EQ(lines[number - 1], "") << "line " << number;
  for (int number : {3, 5, 10, 13, 15, 17}) EXPECT_FALSE(lines[number - 1].empty()) << "line " << number;
  EXPECT_TRUE(lines[4].ends_with("Rd = (.5 (Rxx + Ryy) - Rxy) \xC3\xB7 1 - Rxy.")) << lines[4];
  EXPECT_TRUE(lines[9].find("(2008)") != std::string_view::npos) << lines[9];
}

TEST(HelpText, TheDivisionSignIsItsOnlyCharacterOutsideAscii) {
  const std::string_view text = mobrigan::HelpText();
  std::string outside;
  std::copy_if(text.begin(), text.end(), std::back_inserter(outside),
               [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  EXPECT_EQ(outside, "\xC3\xB7");  // U+00F7, two bytes of one character
  EXPECT_EQ(CharacterCount(text), text.size() - 1);
}

TEST(HelpText, SomeTwoThousandCharactersOfWhichTheDisclaimerIsNearlyHalf) {
  const std::string_view text = mobrigan::HelpText();
  const std::size_t characters = CharacterCount(text);
  EXPECT_GE(characters, 1700u);
  EXPECT_LE(characters, 2400u);
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_GE(CharacterCount(lines[16]) * 100, characters * 35);
  EXPECT_LE(CharacterCount(lines[16]) * 100, characters * 55);
}

// The build turns resources/HelpText.txt into a byte array; the program must carry the file's
// bytes, no more and no fewer. The source tree is found from this file's own path.
TEST(HelpText, IsTheSourceFileByteForByte) {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "../../resources/HelpText.txt";
  std::ifstream file(path, std::ios::binary);
  if (!file) GTEST_SKIP() << "source tree not found at " << path;
  const std::string onDisk{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(mobrigan::HelpText(), onDisk);
}

}  // namespace
