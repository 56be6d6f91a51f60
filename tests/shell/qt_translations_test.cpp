#include "qt_translations.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>

#include "qt_application.h"

namespace mokuro {
namespace {

// The texts of the memo's context menu, without their shortcuts.
QStringList ContextMenuTexts(QPlainTextEdit& memo) {
  const std::unique_ptr<QMenu> menu(memo.createStandardContextMenu());
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) texts.push_back(action->text().section('\t', 0, 0));
  }
  return texts;
}

TEST(QtTranslations, QtsOwnTextsAreInTheLocalesLanguage) {
  QPlainTextEdit memo;
  memo.setPlainText("0312345678=Office");
  EXPECT_FALSE(InstallQtTranslations(test::TestApplication(), QLocale::c())) << "none for the C locale";
  EXPECT_TRUE(ContextMenuTexts(memo).contains("Select All"));

  ASSERT_TRUE(InstallQtTranslations(test::TestApplication(), QLocale("ja_JP")));
  const QStringList texts = ContextMenuTexts(memo);
  EXPECT_TRUE(texts.contains(QString::fromUtf8("コピー(&C)"))) << texts.join(", ").toStdString();
  EXPECT_TRUE(texts.contains(QString::fromUtf8("すべてを選択"))) << texts.join(", ").toStdString();
}

}  // namespace
}  // namespace mokuro
