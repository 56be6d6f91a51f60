#pragma once

class QWidget;

namespace mokuro {

// Alt with a letter is a mnemonic. When no control answers it (a disabled box, a letter
// that none has) the keystroke reaches the focused control, which must not take the letter
// as typed: so the edits and drop-down lists of `window` drop every keystroke with Alt that
// carries text. Call it once the window's controls exist.
void KeepAltKeysFromTyping(QWidget& window);

}  // namespace mokuro
