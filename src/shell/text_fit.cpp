#include "text_fit.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

#include <algorithm>

namespace mokuro {
namespace {

// The line edit keeps this many pixels free on each side of its text; a combo box label one.
constexpr int kLineEditMargin = 2;
constexpr int kComboLabelMargin = 1;

int Shortfall(const QWidget& widget, const QString& text, int room) {
  return std::max(0, widget.fontMetrics().horizontalAdvance(text) + 1 - room);
}

}  // namespace

int TextShortfall(const QLineEdit& edit, const QString& text) {
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
  const QMargins margins = edit.textMargins();
  return Shortfall(edit, text, contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin);
}

int TextShortfall(const QComboBox& combo, const QString& text) {
  QStyleOptionComboBox option;
  option.initFrom(&combo);
  option.editable = combo.isEditable();
  option.frame = combo.hasFrame();
  const QRect field =
      combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
  return Shortfall(combo, text, field.width() - 2 * kComboLabelMargin);
}

}  // namespace mokuro
