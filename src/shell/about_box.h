#pragma once

#include <QDialog>

class QFrame;
class QIcon;
class QLabel;
class QPushButton;

namespace mokuro {

// The version box.
class TAboutBox : public QDialog {
 public:
  explicit TAboutBox(QWidget* owner);
  ~TAboutBox() override;

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Description;
  QLabel* Comments;
  QPushButton* OKButton;
};

// Set while the version box exists.
extern TAboutBox* AboutBox;

// The version button: the box with the application's icon, shown modally.
void RunAboutBox(QWidget* owner, const QIcon& appIcon);

}  // namespace mokuro
