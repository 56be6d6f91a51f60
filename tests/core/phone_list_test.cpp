#include "phone_list.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "phone_index.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

struct RecordingBox : PlainMessageBox {
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

TEST(PhoneList, EveryKindOfLineEndEndsALine) {
  test::TempDir dir;
  test::WriteBytes(dir.File("PhoneLst.txt"), "a=1\r\nb=2\rc=3\nd=4\r\n\r\n\x82\xa0=\x83\x7c");
  TPhoneList list{"stale"};
  RecordingBox box;
  LoadPhoneBook(dir.Folder(), list, box);
  EXPECT_EQ(list, (TPhoneList{"a=1", "b=2", "c=3", "d=4", "", "\x82\xa0=\x83\x7c"}));
  EXPECT_TRUE(box.shown.empty());
}

TEST(PhoneList, MissingFileIsReportedAndLeavesTheBookEmpty) {
  test::TempDir dir;
  TPhoneList list{"stale"};
  RecordingBox box;
  LoadPhoneBook(dir.Folder(), list, box);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(box.shown, (std::vector<std::string>{"電話帳'PhoneLst.txt'の読み出しに失敗しました"}));
}

TEST(PhoneList, SavingEndsEveryLineWithCrLf) {
  test::TempDir dir;
  const auto path = dir.File("PhoneLst.txt");
  test::WriteBytes(path, "old=1\nolder=2");
  ASSERT_FALSE(SavePhoneList(path, {"0312345678=Office", "", "09012345678=\x83\x7c\x83\x7c"}));
  EXPECT_EQ(test::ReadBytes(path), "0312345678=Office\r\n\r\n09012345678=\x83\x7c\x83\x7c\r\n");
  ASSERT_FALSE(SavePhoneList(path, {}));
  EXPECT_EQ(test::ReadBytes(path), "");
}

// A phone book kept in a synced folder and linked beside the program stays there.
TEST(PhoneList, SavingThroughALinkUpdatesItsTarget) {
  test::TempDir dir;
  test::TempDir synced;
  const auto target = synced.File("PhoneLst.txt");
  test::WriteBytes(target, "old=1\r\n");
  ASSERT_EQ(::symlink(target.c_str(), dir.File("PhoneLst.txt").c_str()), 0);
  ASSERT_FALSE(SavePhoneList(dir.File("PhoneLst.txt"), {"new=2"}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("PhoneLst.txt")));
  EXPECT_EQ(test::ReadBytes(target), "new=2\r\n");
}

TEST(PhoneList, LookupMatchesTheTextBeforeTheFirstEquals) {
  const TPhoneList book{"no equals here", "=nameless number", "0312345678=", "0312345678=late", "abc=x=y"};
  EXPECT_EQ(LookupName(book, "0312345678"), "") << "an empty name found first";
  EXPECT_EQ(LookupName(book, "ABC"), "x=y");
  EXPECT_EQ(LookupName(book, ""), "nameless number");
  EXPECT_EQ(LookupName(book, "no equals here"), "");
}

// The index answers as the scan of the lines does, whatever the case of the letters, and
// knows the book's code page.
TEST(PhoneIndex, AnswersAsTheLinesDo) {
  const TPhoneList book{"no equals here", "=nameless number", "0312345678=", "0312345678=late", "abc=x=y",
                        "AbD=first", "abd=second", "09012345678 =blank", "\x83\x7c=\x83\x7c"};
  const PhoneIndex index(book);
  for (const char* number : {"0312345678", "ABC", "abc", "", "no equals here", "abd", "ABD", "09012345678",
                             "09012345678 ", "\x83\x7c", "\x83\x5c", "unknown"}) {
    EXPECT_EQ(index.Lookup(number), LookupName(book, number)) << number;
  }
  EXPECT_EQ(index.Lookup("aBd"), "first");
  EXPECT_EQ(index.Page(), CodePage::ShiftJis);
  EXPECT_EQ(PhoneIndex(TPhoneList{"1=ポポ"}).Page(), CodePage::Utf8);
  EXPECT_EQ(PhoneIndex().Lookup("1"), "");
}

}  // namespace
}  // namespace mokuro
