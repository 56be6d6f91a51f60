#include "up_down.h"

#include <QEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace mokuro {
namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

TUpDown::TUpDown(QLineEdit* associate, int min, int max, QWidget* parent)
    : QWidget(parent),
      associate_(associate),
      min_(min),
      max_(max),
      position_(min),
      up_(MakeArrow(Qt::UpArrow, this)),
      down_(MakeArrow(Qt::DownArrow, this)) {
  setFocusPolicy(Qt::NoFocus);
  associate_->setValidator(new QIntValidator(std::min(0, min), max, associate_));
  associate_->setMaxLength(static_cast<int>(QString::number(max).size()));
  associate_->installEventFilter(this);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(associate_, &QLineEdit::editingFinished, this, [this] { SetPosition(Position()); });
  SetPosition(min_);
}

int TUpDown::Position() const {
  bool ok = false;
  const int typed = associate_->text().toInt(&ok);
  return ok ? std::clamp(typed, min_, max_) : position_;
}

void TUpDown::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  associate_->setText(QString::number(position_));
}

void TUpDown::Step(int delta) { SetPosition(Position() + delta); }

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == associate_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
  QWidget::resizeEvent(event);
}

}  // namespace mokuro
