#include "memo_text.h"

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using namespace std::string_view_literals;

TEST(MemoText, LinesAreCrLfLines) {
  MemoText memo;
  memo.SetText("zero\r\none\ncontinued\r\n\r\nthree " + std::string(400, 'x') + "\r\nfour");
  EXPECT_EQ(memo.Line(0), "zero");
  EXPECT_EQ(memo.Line(1), "one\ncontinued") << "a lone LF is no line break";
  EXPECT_EQ(memo.Line(2), "");
  EXPECT_EQ(memo.Line(3), "three " + std::string(400, 'x'));
  EXPECT_EQ(memo.Line(4), "four");
  EXPECT_EQ(memo.Line(5), "");
  EXPECT_EQ(MemoText().Line(0), "");
}

TEST(MemoText, DeleteAndInsertLine0KeepTheRestByteForByte) {
  MemoText memo;
  int changes = 0;
  memo.SetOnChange([&] { ++changes; });
  memo.SetText(std::string("echo\r\nbody\0with zero\r\n"sv));
  memo.DeleteLine0();
  EXPECT_EQ(memo.Text(), "body\0with zero\r\n"sv);
  memo.InsertLine0("header");
  EXPECT_EQ(memo.Text(), "header\r\nbody\0with zero\r\n"sv);
  memo.DeleteLine0();
  memo.DeleteLine0();
  EXPECT_EQ(memo.Text(), "");
  memo.SetText("no line break");
  memo.DeleteLine0();
  EXPECT_EQ(memo.Text(), "");
  EXPECT_EQ(changes, 7);
  memo.DeleteLine0();
  memo.SetText("");
  memo.SetText("same");
  memo.SetText("same");
  EXPECT_EQ(changes, 8) << "only a new text is a change";
}

TEST(MemoText, WritesAndAppendsTheTextUnchanged) {
  test::TempDir dir;
  MemoText memo;
  memo.SetText("\x82\xa0\r\nline\n");
  const auto path = dir.File("RxInfo.txt");
  test::WriteBytes(path, "an older and longer file");
  ASSERT_FALSE(memo.WriteToFile(path));
  EXPECT_EQ(test::ReadBytes(path), "\x82\xa0\r\nline\n");
  ASSERT_FALSE(memo.AppendToFile(path));
  EXPECT_EQ(test::ReadBytes(path), "\x82\xa0\r\nline\n\x82\xa0\r\nline\n");
  EXPECT_TRUE(memo.WriteToFile(dir.File("missing/RxInfo.txt")));
}

}  // namespace
}  // namespace mokuro
