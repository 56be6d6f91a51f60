#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace mokuro
