#include "app_icons.h"

#include <QtGlobal>

static void InitIconResources() { Q_INIT_RESOURCE(mokuro); }

namespace mokuro {

QIcon ApplicationIcon() {
  InitIconResources();
  QIcon icon;
  for (const char* size : {"16", "32", "48", "64"}) icon.addFile(QString(":/icons/mokuro-%1.png").arg(size));
  return icon;
}

QIcon TrayIconImage() {
  InitIconResources();
  return QIcon(":/icons/tray-16.png");
}

}  // namespace mokuro
