#pragma once

class QDialog;

namespace mokuro {

// The frame every dialog of the program has: its caption, a fixed client size, the
// program's font, no resizing, centred on the screen.
void SetUpDialogFrame(QDialog& dialog, const char* caption, int clientWidth, int clientHeight);

}  // namespace mokuro
