#include "dialog_frame.h"

#include <QDialog>
#include <QScreen>
#include <QString>

#include "fonts.h"

namespace mokuro {

void SetUpDialogFrame(QDialog& dialog, const char* caption, int clientWidth, int clientHeight) {
  dialog.setWindowTitle(QString::fromUtf8(caption));
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint);
  dialog.setFont(UiFont(12));
  dialog.setFixedSize(clientWidth, clientHeight);
  if (const QScreen* screen = dialog.screen()) {
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(clientWidth / 2, clientHeight / 2));
  }
}

}  // namespace mokuro
