#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace mokuro {

// The main window's icon in the notification area. A press of any mouse button on it
// raises OnMouseDown. Where the desktop has no notification area there is no icon, and
// Available() tells the window to minimise instead of hiding.
class TTrayIcon : public QObject {
 public:
  explicit TTrayIcon(QObject* parent = nullptr);
  ~TTrayIcon() override;

  static bool Available();

  void SetIcon(const QIcon& icon);
  // The tip shown over the icon.
  void SetTipHelp(const QString& tip);
  QString TipHelp() const { return tip_; }
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }

  std::function<void()> OnMouseDown;

 private:
  // A notification area of the freedesktop.org StatusNotifier kind serves the icon.
  static bool StatusNotifierHost();

  QSystemTrayIcon* icon_;
  std::unique_ptr<QMenu> menu_;
  QString tip_;
  bool visible_ = false;
};

}  // namespace mokuro
