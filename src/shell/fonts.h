#pragma once

#include <QFont>

class QString;

namespace mokuro {

// The program's fonts, named as on the adapter users' Japanese Windows; where those fonts
// are missing, the Japanese gothic fonts of the system stand in for them.
QFont UiFont(int pixelSize);     // "ＭＳ Ｐゴシック", proportional
QFont FixedFont(int pixelSize);  // "ＭＳ ゴシック", fixed pitch

// `font`, condensed just enough for `text` to fit into `width` pixels where a stand-in font
// runs wider than the one the layout was made for.
QFont CondensedToFit(const QFont& font, const QString& text, int width);

}  // namespace mokuro
