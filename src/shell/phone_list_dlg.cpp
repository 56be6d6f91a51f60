#include "phone_list_dlg.h"

#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "alt_keys.h"
#include "dialog_frame.h"
#include "editable_bytes.h"
#include "fonts.h"
#include "hard_line_breaks.h"

namespace mokuro {

TPhoneListDlg* PhoneListDlg = nullptr;

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// A label as wide as its text, within the dialog's margin on the right.
QLabel* MakeLabel(QWidget* parent, const char* text, int left, int top, const QFont& font) {
  auto* label = new QLabel(Text(text), parent);
  label->setFont(CondensedToFit(font, label->text(), parent->width() - 2 * left));
  label->move(left, top);
  label->adjustSize();
  return label;
}

// Return presses the focused button; in the memo it ends a line.
QPushButton* MakeButton(QWidget* parent, const char* text, int left) {
  auto* button = new QPushButton(Text(text), parent);
  button->setGeometry(left, 180, 75, 25);
  button->setAutoDefault(true);
  return button;
}

}  // namespace

TPhoneListDlg::TPhoneListDlg(QWidget* owner) : QDialog(owner), book_(std::make_unique<EditableBytes>(TPhoneList{})) {
  PhoneListDlg = this;
  SetUpDialogFrame(*this, "電話帳の編集", 313, 214);

  Label1 = MakeLabel(this, "「09012345678=ポポ」というように各行に記述してください", 8, 8, font());
  Label2 = MakeLabel(this, "注意：電話番号は半角数字のみ、「=」も半角でお願いします", 8, 24, UiFont(11));
  QPalette green = Label2->palette();
  green.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x00));
  Label2->setPalette(green);

  PhoneListMemo = new QPlainTextEdit(this);
  PhoneListMemo->setGeometry(8, 40, 297, 129);
  PhoneListMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  PhoneListMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PhoneListMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  PhoneListMemo->setTabChangesFocus(true);
  new HardLineBreaks(PhoneListMemo);
  // Sticky: undoing every edit still leaves the book changed by the user.
  connect(PhoneListMemo->document(), &QTextDocument::modificationChanged, this,
          [this](bool changed) { modified_ = modified_ || changed; });

  OKBtn = MakeButton(this, "&OK", 79);
  OKBtn->setDefault(true);
  CancelBtn = MakeButton(this, "キャンセル", 159);
  setTabOrder(OKBtn, CancelBtn);
  setTabOrder(CancelBtn, PhoneListMemo);
  OKBtn->setFocus();
  KeepAltKeysFromTyping(*this);

  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TPhoneListDlg::~TPhoneListDlg() {
  if (PhoneListDlg == this) PhoneListDlg = nullptr;
}

void TPhoneListDlg::Fill(const TPhoneList& list) {
  book_ = std::make_unique<EditableBytes>(list);
  // Each line with its line break, as in the file: an empty last line shows as one.
  QString text;
  for (const QString& line : book_->Shown()) text += line + '\n';
  PhoneListMemo->setPlainText(text);
  PhoneListMemo->moveCursor(QTextCursor::Start);
}

void TPhoneListDlg::OfferCaller(const std::string& callerText) {
  if (callerText.size() < 10 || callerText.front() != '0') return;
  PhoneListMemo->insertPlainText(book_->Show(callerText) + '=');
  PhoneListMemo->setFocus();
}

void TPhoneListDlg::ClearModified() {
  PhoneListMemo->document()->setModified(false);
  modified_ = false;
}

TPhoneList TPhoneListDlg::Lines() const {
  QStringList lines;
  for (QTextBlock block = PhoneListMemo->document()->begin(); block.isValid(); block = block.next()) {
    lines.push_back(block.text());
  }
  // A line break at the end of the text ends the last line; it doesn't begin another.
  if (!lines.empty() && lines.back().isEmpty()) lines.pop_back();
  return book_->TakeBackLines(lines);
}

void RunPhoneListDialog(QWidget* owner, const std::string& callerText, TPhoneList& list, const std::string& folder,
                        PlainMessageBox& messages) {
  TPhoneListDlg dialog(owner);
  dialog.Fill(list);
  dialog.OfferCaller(callerText);
  dialog.ClearModified();
  if (dialog.exec() != QDialog::Accepted || !dialog.Modified()) return;
  list = dialog.Lines();
  if (SavePhoneList(folder + std::string(kPhoneListFileName), list)) {
    messages.ShowMessage("電話帳'PhoneLst.txt'の書き込みに失敗しました");
  }
}

}  // namespace mokuro
