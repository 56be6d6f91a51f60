#pragma once

class QComboBox;
class QLineEdit;
class QString;

namespace mokuro {

// How many pixels wider than it is now a control must be to show `text` whole; 0 when it
// does. The layouts were made for a font with narrower digits than the stand-in fonts.
int TextShortfall(const QLineEdit& edit, const QString& text);
int TextShortfall(const QComboBox& combo, const QString& text);

}  // namespace mokuro
