#include "tray_icon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMenu>
#include <QSystemTrayIcon>

namespace mokuro {

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent), icon_(new QSystemTrayIcon(this)) {
  // Every kind of click counts: there is no menu on the icon.
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason) {
    if (OnMouseDown) OnMouseDown();
  });
}

// The icon goes before its menu.
TTrayIcon::~TTrayIcon() { delete icon_; }

bool TTrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TTrayIcon::SetIcon(const QIcon& icon) { icon_->setIcon(icon); }

void TTrayIcon::SetTipHelp(const QString& tip) {
  tip_ = tip;
  icon_->setToolTip(tip);
}

void TTrayIcon::SetVisible(bool visible) {
  visible_ = visible;
  if (visible && !menu_ && Available() && StatusNotifierHost()) {
    // Such a host opens the item's menu on a right click instead of telling the program;
    // the menu's opening is that click.
    menu_ = std::make_unique<QMenu>();
    connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
      if (OnMouseDown) OnMouseDown();
    });
    icon_->setContextMenu(menu_.get());
  }
  icon_->setVisible(visible && Available());
}

bool TTrayIcon::StatusNotifierHost() {
  const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  return bus != nullptr && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

}  // namespace mokuro
