#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "file_io.h"
#include "dialog_user.h"
#include "phone_list_dlg.h"
#include "qt_application.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const char* const kWriteFailed = "電話帳'PhoneLst.txt'の書き込みに失敗しました";

class RecordingMessages : public PlainMessageBox {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class PhoneListDlgTest : public ::testing::Test {
 protected:
  std::string BookPath() const { return dir.File("PhoneLst.txt"); }

  // The phone book button's whole cycle, with `user` acting on the open editor.
  void Run(const std::string& caller, const std::function<void(TPhoneListDlg&)>& user) {
    test::DialogUser<TPhoneListDlg> dialogUser(user);
    RunPhoneListDialog(nullptr, caller, list, dir.Folder(), messages);
    ASSERT_TRUE(dialogUser.acted());
  }

  test::TempDir dir;
  TPhoneList list;
  RecordingMessages messages;
};

TEST_F(PhoneListDlgTest, UnnamedCallerIsOfferedAtTheStartWithAnEquals) {
  struct Case {
    std::string caller;
    bool offered;
  };
  const Case cases[] = {
      {"09012345678", true},
      {"0312345678", true},
      {"031234567", false},
      {"19012345678", false},
      {"", false},
      {"ポポ商店さんの携帯", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caller);
    TPhoneListDlg dialog(nullptr);
    dialog.Fill({"0311112222=Shop", "0322223333=Home"});
    dialog.OfferCaller(c.caller);
    dialog.ClearModified();
    const QString text = dialog.PhoneListMemo->toPlainText();
    if (c.offered) {
      const QString offer = QString::fromStdString(c.caller) + "=";
      EXPECT_EQ(text, offer + "0311112222=Shop\n0322223333=Home\n");
      EXPECT_EQ(dialog.PhoneListMemo->textCursor().position(), offer.size());
      EXPECT_EQ(dialog.focusWidget(), dialog.PhoneListMemo);
    } else {
      EXPECT_EQ(text, "0311112222=Shop\n0322223333=Home\n");
      EXPECT_EQ(dialog.PhoneListMemo->textCursor().position(), 0);
      EXPECT_EQ(dialog.focusWidget(), dialog.OKBtn);
    }
    EXPECT_FALSE(dialog.Modified());
  }
}

TEST_F(PhoneListDlgTest, OkWithoutTypingSavesNothing) {
  list = {"0311112222=Shop"};
  Run("09012345678", [](TPhoneListDlg& dialog) { dialog.OKBtn->click(); });
  EXPECT_FALSE(FileExists(BookPath()));
  EXPECT_EQ(list, TPhoneList{"0311112222=Shop"});
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(PhoneListDlgTest, TypingAndDeletingACharacterSavesTheBookWithCrLfAndItsOwnCodePage) {
  const std::string shiftJis = "0333334444=\x83\x7C\x83\x7C";  // ポポ
  WriteBytes(BookPath(), "0311112222=Shop\n" + shiftJis + "\r");
  LoadPhoneList(BookPath(), list);
  bool pointerSet = false;
  Run("", [&](TPhoneListDlg& dialog) {
    pointerSet = PhoneListDlg == &dialog;
    QTest::keyClick(dialog.PhoneListMemo, Qt::Key_X);
    QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Backspace);
    dialog.OKBtn->click();
  });
  EXPECT_TRUE(pointerSet);
  EXPECT_EQ(PhoneListDlg, nullptr);
  EXPECT_EQ(ReadBytes(BookPath()), "0311112222=Shop\r\n" + shiftJis + "\r\n");
  EXPECT_EQ(list, (TPhoneList{"0311112222=Shop", shiftJis}));
}

TEST_F(PhoneListDlgTest, NewEntryTypedInAShiftJisBookIsSavedInShiftJis) {
  list = {"0333334444=\x83\x7C\x83\x7C"};
  Run("09012345678", [](TPhoneListDlg& dialog) {
    dialog.PhoneListMemo->insertPlainText(QString::fromUtf8("ポ"));
    QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Return);
    dialog.OKBtn->click();
  });
  EXPECT_EQ(ReadBytes(BookPath()), "09012345678=\x83\x7C\r\n0333334444=\x83\x7C\x83\x7C\r\n");
}

// A damaged book: names of random bytes, many of them no text in any code page and some
// showing alike, with every kind of line end. The user adds the caller and changes one
// entry far down; every other line is saved as it was.
TEST_F(PhoneListDlgTest, LinesTheUserLeftAloneAreSavedByteForByte) {
  std::mt19937 random(11);
  std::string file;
  TPhoneList lines;
  const char* const ends[] = {"\r\n", "\r", "\n"};
  for (int i = 0; i < 8185; ++i) {
    std::string line;
    if (i % 500 == 7) {
      line = i % 1000 == 7 ? "=\x83" : "=\x94";  // lines that show alike
    } else if (i == 7000) {
      line = "0399999999=\x83\x7C";
    } else {
      line = "0" + std::to_string(300000000 + i) + "=";
      for (int n = static_cast<int>(random() % 120); n > 0; --n) {
        char c = static_cast<char>(random() % 256);
        if (c == '\r' || c == '\n') c = '\x83';
        line += c;
      }
    }
    lines.push_back(line);
    file += line + ends[random() % 3];
  }
  WriteBytes(BookPath(), file);
  LoadPhoneList(BookPath(), list);
  ASSERT_EQ(list, lines);

  Run("09012345678", [](TPhoneListDlg& dialog) {
    dialog.PhoneListMemo->insertPlainText(QString::fromUtf8("ﾐｶ"));
    QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Return);
    QTextCursor cursor(dialog.PhoneListMemo->document()->findBlockByNumber(7001));
    cursor.movePosition(QTextCursor::EndOfBlock);
    dialog.PhoneListMemo->setTextCursor(cursor);
    QTest::keyClicks(dialog.PhoneListMemo, "x");
    dialog.OKBtn->click();
  });
  std::string expected = "09012345678=\xD0\xB6\r\n";
  for (const std::string& line : lines) expected += (line == "0399999999=\x83\x7C" ? line + "x" : line) + "\r\n";
  const std::string saved = ReadBytes(BookPath());
  EXPECT_EQ(saved.size(), expected.size());
  EXPECT_TRUE(saved == expected) << "first difference at byte "
                                 << std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end()).first -
                                        saved.begin();
}

TEST_F(PhoneListDlgTest, LineSeparatorsInsideUtf8NamesStayInTheirLines) {
  const std::string book = "01=a\u2028b\r\n02=c\u2029d\r\n03=e\r\n\r\n";
  WriteBytes(BookPath(), book);
  LoadPhoneList(BookPath(), list);
  Run("09012345678", [](TPhoneListDlg& dialog) {
    dialog.PhoneListMemo->insertPlainText(QString::fromUtf8("ミカ"));
    QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Return);
    dialog.OKBtn->click();
  });
  EXPECT_EQ(ReadBytes(BookPath()), "09012345678=ミカ\r\n" + book) << "the empty last line too";
}

TEST_F(PhoneListDlgTest, CancelNeverSaves) {
  WriteBytes(BookPath(), "0311112222=Shop\n");
  LoadPhoneList(BookPath(), list);
  Run("09012345678", [](TPhoneListDlg& dialog) {
    QTest::keyClicks(dialog.PhoneListMemo, "Friend");
    QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Return);
    dialog.CancelBtn->click();
  });
  EXPECT_EQ(ReadBytes(BookPath()), "0311112222=Shop\n");
  EXPECT_EQ(list, TPhoneList{"0311112222=Shop"});
}

// Return presses the focused button, and Escape cancels; in the memo Return ends a line.
TEST_F(PhoneListDlgTest, ReturnPressesTheFocusedButtonAndEscapeCancels) {
  struct Case {
    const char* name;
    QPushButton* TPhoneListDlg::*button;
    Qt::Key key;
    bool saved;
  };
  const Case cases[] = {{"Return on OK", &TPhoneListDlg::OKBtn, Qt::Key_Return, true},
                        {"Return on Cancel", &TPhoneListDlg::CancelBtn, Qt::Key_Return, false},
                        {"Escape on OK", &TPhoneListDlg::OKBtn, Qt::Key_Escape, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::unlink(BookPath().c_str());
    list = {"0311112222=Shop"};
    Run("09012345678", [&](TPhoneListDlg& dialog) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
      test::PressOn(dialog.PhoneListMemo, Qt::Key_F);
      QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Return);
      QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Q, Qt::AltModifier);
      test::PressOn(dialog.*c.button, c.key);
      if (dialog.isVisible()) {
        ADD_FAILURE() << "the key left the dialog open";
        dialog.reject();
      }
    });
    EXPECT_EQ(ReadBytes(BookPath()), c.saved ? "09012345678=f\r\n0311112222=Shop\r\n" : "");
  }
}

TEST_F(PhoneListDlgTest, LongEntryWrappedOnTheScreenIsSavedAsOneLine) {
  const std::string entry = "09011112222=" + std::string(120, 'a');
  int screenLines = 0;
  Run("", [&](TPhoneListDlg& dialog) {
    QTest::keyClicks(dialog.PhoneListMemo, QString::fromStdString(entry));
    const QTextBlock block = dialog.PhoneListMemo->document()->firstBlock();
    dialog.PhoneListMemo->document()->documentLayout()->blockBoundingRect(block);
    screenLines = block.layout()->lineCount();
    dialog.OKBtn->click();
  });
  EXPECT_GT(screenLines, 1);
  EXPECT_EQ(ReadBytes(BookPath()), entry + "\r\n");
}

TEST_F(PhoneListDlgTest, LinesAreTheTypedLines) {
  struct Case {
    std::vector<std::pair<QString, Qt::KeyboardModifiers>> keys;  // text, or a Return with its modifiers
    TPhoneList lines;
  };
  const auto line = [](const char* text) { return std::pair{QString(text), Qt::KeyboardModifiers()}; };
  const auto enter = std::pair{QString(), Qt::KeyboardModifiers()};
  const auto softBreak = std::pair{QString(), Qt::KeyboardModifiers(Qt::ShiftModifier)};
  const Case cases[] = {
      {{}, {}},
      {{line("01=A")}, {"01=A"}},
      {{line("01=A"), enter, line("02=B"), enter}, {"01=A", "02=B"}},
      {{line("01=A"), enter, enter}, {"01=A", ""}},
      {{line("01=A"), softBreak, line("02=B")}, {"01=A", "02=B"}},
      {{enter, line("02=B")}, {"", "02=B"}},
  };
  for (const auto& c : cases) {
    TPhoneListDlg dialog(nullptr);
    dialog.Fill({});
    for (const auto& [text, modifiers] : c.keys) {
      if (text.isEmpty()) {
        QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Return, modifiers);
      } else {
        QTest::keyClicks(dialog.PhoneListMemo, text);
      }
    }
    EXPECT_EQ(dialog.Lines(), c.lines) << dialog.PhoneListMemo->toPlainText().toStdString();
  }
}

TEST_F(PhoneListDlgTest, FailedWriteLeavesTheOldFileAndKeepsTheNewLines) {
  WriteBytes(BookPath(), "0311112222=Shop\n");
  ASSERT_EQ(::chmod(BookPath().c_str(), 0444), 0);
  LoadPhoneList(BookPath(), list);
  Run("09012345678", [](TPhoneListDlg& dialog) {
    QTest::keyClicks(dialog.PhoneListMemo, "Friend");
    QTest::keyClick(dialog.PhoneListMemo, Qt::Key_Return);
    dialog.OKBtn->click();
  });
  EXPECT_EQ(messages.texts, std::vector<std::string>{kWriteFailed});
  EXPECT_EQ(ReadBytes(BookPath()), "0311112222=Shop\n");
  EXPECT_EQ(list, (TPhoneList{"09012345678=Friend", "0311112222=Shop"}));
}

TEST_F(PhoneListDlgTest, TextsFitTheDialog) {
  TPhoneListDlg dialog(nullptr);
  for (const QLabel* label : {dialog.Label1, dialog.Label2}) {
    EXPECT_LE(label->geometry().right(), dialog.width() - 8);
  }
  EXPECT_LE(dialog.Label1->geometry().bottom(), dialog.Label2->y());
  EXPECT_LE(dialog.Label2->geometry().bottom(), dialog.PhoneListMemo->y());
}

}  // namespace
}  // namespace mokuro
