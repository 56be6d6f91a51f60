#pragma once

#include <QIcon>

namespace mokuro {

// The application's icon, in every size it is drawn in.
QIcon ApplicationIcon();
// The 16 by 16 icon of the notification area.
QIcon TrayIconImage();

}  // namespace mokuro
