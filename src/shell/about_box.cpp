#include "about_box.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "dialog_frame.h"
#include "fonts.h"
#include "version_info.h"

namespace mokuro {

TAboutBox* AboutBox = nullptr;

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
  AboutBox = this;
  SetUpDialogFrame(*this, "バージョン情報", 298, 213);

  Panel1 = new QFrame(this);
  Panel1->setGeometry(8, 8, 281, 161);
  Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setGeometry(24, 24, 32, 32);

  QFont title = UiFont(24);
  title.setBold(true);
  ProductName = new QLabel(QString::fromUtf8(kProductName), Panel1);
  ProductName->setFont(title);
  QPalette navy = ProductName->palette();
  navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
  ProductName->setPalette(navy);
  ProductName->move(88, 16);
  ProductName->adjustSize();

  Version = MakeLabel(Panel1, QString::fromUtf8(kVersionLabel), 120, 48);
  Description = MakeLabel(Panel1, QString::fromUtf8("着信番号・累積料金モニタ"), 88, 64);

  Comments = new QLabel(QString::fromUtf8("画面とタスクトレイのアイコンには\nQt (LGPL v3) を使用しています。"),
                        Panel1);
  Comments->setGeometry(56, 96, 196, 36);
  Comments->setWordWrap(true);
  Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  OKButton = new QPushButton(QString::fromUtf8("OK"), this);
  OKButton->setGeometry(111, 180, 75, 25);
  OKButton->setDefault(true);
  OKButton->setFocus();
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}

void RunAboutBox(QWidget* owner, const QIcon& appIcon) {
  TAboutBox box(owner);
  box.ProgramIcon->setPixmap(appIcon.pixmap(32, 32));
  box.exec();
}

}  // namespace mokuro
