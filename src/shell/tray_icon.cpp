#include "tray_icon.h"

#include <QSystemTrayIcon>

namespace mokuro {

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent), icon_(new QSystemTrayIcon(this)) {
  // Every kind of click counts: there is no menu on the icon.
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason) {
    if (OnMouseDown) OnMouseDown();
  });
}

TTrayIcon::~TTrayIcon() = default;

bool TTrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TTrayIcon::SetIcon(const QIcon& icon) { icon_->setIcon(icon); }

void TTrayIcon::SetTipHelp(const QString& tip) {
  tip_ = tip;
  icon_->setToolTip(tip);
}

void TTrayIcon::SetVisible(bool visible) {
  visible_ = visible;
  icon_->setVisible(visible && Available());
}

}  // namespace mokuro
