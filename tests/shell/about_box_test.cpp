#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "about_box.h"
#include "dialog_user.h"
#include "qt_application.h"
#include "version_info.h"

namespace mokuro {
namespace {

TEST(AboutBox, ShowsTheProgramItsVersionAndTheApplicationIcon) {
  QPixmap drawn(32, 32);
  drawn.fill(Qt::red);
  const QIcon icon(drawn);

  test::DialogUser<TAboutBox> user([](TAboutBox& shown) {
    const TAboutBox* box = &shown;
    EXPECT_EQ(AboutBox, box);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("バージョン情報"));
    EXPECT_EQ(box->ProductName->text(), "Mokuro");
    EXPECT_TRUE(box->ProductName->font().bold());
    EXPECT_EQ(box->ProductName->font().pixelSize(), 24);
    EXPECT_EQ(box->ProductName->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    EXPECT_EQ(box->Version->text(), "Version 1.03");
    EXPECT_EQ(box->ProgramIcon->pixmap().toImage().pixelColor(16, 16), QColor(Qt::red));
    EXPECT_LE(box->ProductName->geometry().bottom(), box->Version->y());
    EXPECT_LE(box->Comments->heightForWidth(box->Comments->width()), box->Comments->height());
    box->OKButton->click();
  });
  RunAboutBox(nullptr, icon);
  EXPECT_TRUE(user.acted());
  EXPECT_EQ(AboutBox, nullptr);
}

TEST(AboutBox, ReturnOrEscapeClosesIt) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    test::DialogUser<TAboutBox> user([key](TAboutBox& box) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
      test::PressOn(box.OKButton, key);
      if (box.isVisible()) {
        ADD_FAILURE() << "the key left the box open";
        box.reject();
      }
    });
    RunAboutBox(nullptr, QIcon());
    EXPECT_TRUE(user.acted());
  }
}

TEST(AboutBox, VersionRecord) {
  EXPECT_STREQ(kFileVersion, "1.0.3.0");
  EXPECT_STREQ(kVersionLabel, "Version 1.03");
  EXPECT_STREQ(kProductName, "Mokuro");
  EXPECT_STREQ(kInternalName, "Mokuro");
  EXPECT_STREQ(kFileDescription, "ターミナルアダプタの着信番号・累積料金を表示");
}

}  // namespace
}  // namespace mokuro
