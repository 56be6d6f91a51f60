#pragma once

#include <QDialog>

#include <memory>
#include <string>

#include "phone_list.h"
#include "plain_message_box.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace mokuro {

class EditableBytes;

// The phone book editor: the book as plain text, one entry a line.
class TPhoneListDlg : public QDialog {
 public:
  explicit TPhoneListDlg(QWidget* owner);
  ~TPhoneListDlg() override;

  // Puts the book's lines into the memo, each with its line break, the caret at the start.
  void Fill(const TPhoneList& list);
  // A caller with a number of at least 10 characters that begins with "0" (no name found
  // for it) is put at the caret with an "=", ready for the name.
  void OfferCaller(const std::string& callerText);
  // What the program wrote up to now is no change of the user's.
  void ClearModified();
  // The user changed the memo, even when the text is as it was again.
  bool Modified() const { return modified_; }
  // The memo's lines as the user typed them, however they are wrapped on the screen; the
  // lines the user left alone are the book's bytes as they were.
  TPhoneList Lines() const;

  QLabel* Label1;
  QLabel* Label2;
  QPlainTextEdit* PhoneListMemo;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 private:
  std::unique_ptr<EditableBytes> book_;
  bool modified_ = false;
};

// Set while the phone book editor exists.
extern TPhoneListDlg* PhoneListDlg;

// The phone book button: the editor, opened with the unnamed caller's number offered. On
// OK with a change, `list` takes the new lines and "PhoneLst.txt" in `folder` is replaced
// by them as a whole; if that fails the old file stays and `messages` says so.
void RunPhoneListDialog(QWidget* owner, const std::string& callerText, TPhoneList& list, const std::string& folder,
                        PlainMessageBox& messages);

}  // namespace mokuro
