#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace mokuro {

// Spin buttons bound to an edit that shows their position: the arrows and the Up and Down
// keys in the edit step the position within its range (no wrap), and what the user types
// into the edit is the position once it is a number in the range (a number outside it is
// taken as the nearest end).
class TUpDown : public QWidget {
 public:
  TUpDown(QLineEdit* associate, int min, int max, QWidget* parent);

  int Position() const;
  // Clamped to the range.
  void SetPosition(int position);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Step(int delta);

  QLineEdit* associate_;
  int min_;
  int max_;
  // The last position set: what a text that is no number stands for.
  int position_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace mokuro
