#include "fonts.h"

#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace mokuro {
namespace {

const QString& UiFamily() {
  static const QString family = QString::fromUtf8("ＭＳ Ｐゴシック");
  return family;
}

const QString& FixedFamily() {
  static const QString family = QString::fromUtf8("ＭＳ ゴシック");
  return family;
}

void InsertSubstitutesOnce() {
  static const bool done = [] {
    QFont::insertSubstitutions(UiFamily(), {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic"});
    QFont::insertSubstitutions(FixedFamily(),
                               {"IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "DejaVu Sans Mono"});
    return true;
  }();
  (void)done;
}

QFont Make(const QString& family, int pixelSize) {
  InsertSubstitutesOnce();
  QFont font(family);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

QFont UiFont(int pixelSize) { return Make(UiFamily(), pixelSize); }

QFont FixedFont(int pixelSize) {
  QFont font = Make(FixedFamily(), pixelSize);
  font.setFixedPitch(true);
  font.setStyleHint(QFont::Monospace);
  return font;
}

QFont CondensedToFit(const QFont& font, const QString& text, int width) {
  const int natural = QFontMetrics(font).horizontalAdvance(text);
  if (natural <= width || natural == 0) return font;
  QFont condensed = font;
  for (int stretch = 100 * width / natural; stretch > 0; --stretch) {
    condensed.setStretch(stretch);
    if (QFontMetrics(condensed).horizontalAdvance(text) <= width) break;
  }
  return condensed;
}

}  // namespace mokuro
