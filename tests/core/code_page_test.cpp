#include "code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace mokuro {
namespace {

TEST(CodePageOf, ValidUtf8IsUtf8AndAnythingElseShiftJis) {
  struct Case {
    std::string bytes;
    CodePage page;
  };
  const Case cases[] = {
      {"", CodePage::Utf8},
      {"09012345678=Shop", CodePage::Utf8},
      {"ポポ", CodePage::Utf8},
      {"\xF0\x9F\x98\x80", CodePage::Utf8},
      {"\xD0\xB6", CodePage::Utf8},  // Shift_JIS ﾐｶ, and UTF-8 ж: the text can't tell
      {"\x83\x7C\x83\x7C", CodePage::ShiftJis},
      {"\xD0\xB6 \x83\x7C", CodePage::ShiftJis},  // decided on all the bytes
      {"\xC0\x80", CodePage::ShiftJis},          // overlong
      {"\xED\xA0\x80", CodePage::ShiftJis},      // a surrogate
      {"\xF4\x90\x80\x80", CodePage::ShiftJis},  // beyond U+10FFFF
      {"\xE3\x83", CodePage::ShiftJis},          // cut short
  };
  for (const Case& c : cases) EXPECT_EQ(CodePageOf(c.bytes), c.page) << testing::PrintToString(c.bytes);
}

TEST(ToUtf8, DecodesTheCodePageAndMarksWhatIsNoCharacter) {
  struct Case {
    std::string bytes;
    CodePage page;
    std::string utf8;
  };
  const Case cases[] = {
      {"\xD0\xB6\xD5\xB7\xCF\xB7", CodePage::ShiftJis, "ﾐｶﾕｷﾏｷ"},
      {"\xD0\xB6", CodePage::Utf8, "ж"},
      {"0312=\x83\x7C\x83\x7C", CodePage::ShiftJis, "0312=ポポ"},
      {"=\x83", CodePage::ShiftJis, "=\xEF\xBF\xBD"},
      {"\x83\x7C\x83\r\n", CodePage::ShiftJis, "ポ\xEF\xBF\xBD\r\n"},
      {"a\xFF" "b", CodePage::Utf8, "a\xEF\xBF\xBD" "b"},
      {std::string("a\0b", 3), CodePage::ShiftJis, std::string("a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(ToUtf8(c.bytes, c.page), c.utf8) << testing::PrintToString(c.bytes);
}

TEST(FromUtf8, EncodesAndMarksWhatThePageLacks) {
  EXPECT_EQ(FromUtf8("ポポ", CodePage::ShiftJis), "\x83\x7C\x83\x7C");
  EXPECT_EQ(FromUtf8("ポポ", CodePage::Utf8), "ポポ");
  EXPECT_EQ(FromUtf8("a\xF0\x9F\x98\x80" "b", CodePage::ShiftJis), "a?b");
}

TEST(InCodePageOf, TheProgramsWordsFollowTheBytesTheyGoBeside) {
  const std::string words = "[Charge0.txt に書き込めません]";
  const std::string shiftJis = "[Charge0.txt \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1]";
  EXPECT_EQ(InCodePageOf("CHARGE = \x82\x50\x82\x51 YEN\r\n", words), shiftJis);
  EXPECT_EQ(InCodePageOf("CHARGE = １２ YEN\r\n", words), words);
  EXPECT_EQ(InCodePageOf("CHARGE = 12 YEN\r\n", words), words);
}

}  // namespace
}  // namespace mokuro
