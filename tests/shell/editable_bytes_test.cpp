#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editable_bytes.h"
#include "qt_application.h"

namespace mokuro {
namespace {

TEST(EditableBytes, EditedTextsComeBackInTheCodePageOfTheOriginals) {
  const EditableBytes shiftJis({"01=\x83\x7C", "02=abc"});
  EXPECT_EQ(shiftJis.Show("01=\x83\x7C"), QString::fromUtf8("01=ポ"));
  EXPECT_EQ(shiftJis.TakeBack(QString::fromUtf8("03=ポポ")), "03=\x83\x7C\x83\x7C");

  const EditableBytes utf8({"01=ポ"});
  EXPECT_EQ(utf8.TakeBack(QString::fromUtf8("03=ポポ")), "03=ポポ");
}

TEST(EditableBytes, TextsThatReadAsAnOriginalKeepItsBytes) {
  const std::string broken = "01=\x83\x7C\xFD";  // a byte that is no character
  const EditableBytes book({"02=x", broken});
  EXPECT_EQ(book.TakeBack(book.Show(broken)), broken);
  EXPECT_EQ(book.TakeBack(book.Show(broken) + "y"), "01=\x83\x7C?y");
}

// Lines that show alike (bytes that are no character in the book's code page) each keep
// their own bytes when the user edits elsewhere.
TEST(EditableBytes, LinesLeftAloneKeepTheirOwnBytesThoughTheyShowAlike) {
  const std::vector<std::string> book = {"=\x83", "0311112222=\x83\x7C", "=\x94", "0322223333=\xD0\xB6", "=\x83"};
  const EditableBytes editable(book);
  const QStringList shown = editable.Shown();
  ASSERT_EQ(shown[0], shown[2]) << "the case in point: two lines that show alike";

  struct Case {
    const char* name;
    QStringList edited;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"one line changed", {shown[0], "0311112222=X", shown[2], shown[3], shown[4]},
       {"=\x83", "0311112222=X", "=\x94", "0322223333=\xD0\xB6", "=\x83"}},
      {"a line added at the top", {"09012345678=" + QString::fromUtf8("ﾐｶ"), shown[0], shown[1], shown[2], shown[3], shown[4]},
       {"09012345678=\xD0\xB6", "=\x83", "0311112222=\x83\x7C", "=\x94", "0322223333=\xD0\xB6", "=\x83"}},
      {"the first of the alike lines deleted", {shown[1], shown[2], shown[3], shown[4]},
       {"0311112222=\x83\x7C", "=\x94", "0322223333=\xD0\xB6", "=\x83"}},
      {"a line moved to the end", {shown[0], shown[2], shown[3], shown[4], shown[1]},
       {"=\x83", "=\x94", "0322223333=\xD0\xB6", "=\x83", "0311112222=\x83\x7C"}},
  };
  for (const Case& c : cases) EXPECT_EQ(editable.TakeBackLines(c.edited), c.expected) << c.name;
}

// A text document takes U+2029 and its frame marks for the end of a paragraph: they are
// shown within the line, and an untouched line keeps them.
TEST(EditableBytes, LineSeparatorsInsideALineStayInIt) {
  const std::vector<std::string> book = {"01=a\u2028b", "02=c\u2029d", "03=e\xEF\xB7\x90" "f", "04=g"};
  const EditableBytes editable(book);
  const QStringList shown = editable.Shown();
  EXPECT_EQ(shown[0], QString::fromUtf8("01=a\u2028b"));
  EXPECT_EQ(shown[1], QString::fromUtf8("02=c\u2028d"));
  EXPECT_EQ(shown[2], QString::fromUtf8("03=e\uFFFDf"));
  EXPECT_EQ(editable.TakeBackLines({shown[0], shown[1], shown[2], "04=G"}),
            (std::vector<std::string>{book[0], book[1], book[2], "04=G"}));
}

}  // namespace
}  // namespace mokuro
