// A notification area of the freedesktop.org StatusNotifier kind, for the tray tests: it
// takes the watcher's name on the session bus, notes the item that registers, and clicks
// it when told on standard input ("left", "middle", "right") as the usual hosts do: the
// left button activates the item, the middle one activates it the secondary way, and the
// right one opens the item's menu as hosts built on libdbusmenu do, which never call the
// item's ContextMenu. Each click is answered on standard output.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSocketNotifier>

#include <cstdio>

namespace {

const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");

void Say(const QString& line) {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

class Watcher final : public QDBusVirtualObject {
 public:
  QString item;

  QString introspect(const QString&) const override {
    return QStringLiteral(
        "<interface name=\"org.kde.StatusNotifierWatcher\">"
        "<method name=\"RegisterStatusNotifierItem\"><arg name=\"service\" type=\"s\" direction=\"in\"/></method>"
        "<method name=\"RegisterStatusNotifierHost\"><arg name=\"service\" type=\"s\" direction=\"in\"/></method>"
        "<property name=\"RegisteredStatusNotifierItems\" type=\"as\" access=\"read\"/>"
        "<property name=\"IsStatusNotifierHostRegistered\" type=\"b\" access=\"read\"/>"
        "<property name=\"ProtocolVersion\" type=\"i\" access=\"read\"/>"
        "</interface>");
  }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    const QString member = message.member();
    if (member == QLatin1String("RegisterStatusNotifierItem")) {
      // The item names its service, or only its path on the caller's connection.
      const QString named = message.arguments().value(0).toString();
      item = named.startsWith(QLatin1Char('/')) ? message.service() : named;
      Say(QStringLiteral("item ") + item);
      return bus.send(message.createReply());
    }
    if (member == QLatin1String("RegisterStatusNotifierHost")) return bus.send(message.createReply());
    if (member == QLatin1String("Get")) {
      const QVariant value = Property(message.arguments().value(1).toString());
      return bus.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
    }
    if (member == QLatin1String("GetAll")) {
      QVariantMap all;
      for (const char* name : {"IsStatusNotifierHostRegistered", "ProtocolVersion", "RegisteredStatusNotifierItems"}) {
        all[QLatin1String(name)] = Property(QLatin1String(name));
      }
      return bus.send(message.createReply(all));
    }
    return false;
  }

 private:
  QVariant Property(const QString& name) const {
    if (name == QLatin1String("IsStatusNotifierHostRegistered")) return true;
    if (name == QLatin1String("ProtocolVersion")) return 0;
    if (name == QLatin1String("RegisteredStatusNotifierItems")) {
      return item.isEmpty() ? QStringList() : QStringList{item};
    }
    return {};
  }
};

// The reply's error, or an empty text when the call went through.
QString Call(const QDBusConnection& bus, const QString& service, const QString& path, const QString& interface,
             const QString& method, const QVariantList& arguments) {
  QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
  call.setArguments(arguments);
  const QDBusMessage reply = bus.call(call);
  return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() + QLatin1Char(' ') + reply.errorMessage()
                                                    : QString();
}

QString OpenMenu(const QDBusConnection& bus, const QString& item) {
  QDBusMessage get = QDBusMessage::createMethodCall(item, kItemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
  get.setArguments({kItemInterface, QStringLiteral("Menu")});
  const QDBusMessage reply = bus.call(get);
  const QString menu =
      qvariant_cast<QDBusObjectPath>(qvariant_cast<QDBusVariant>(reply.arguments().value(0)).variant()).path();
  const QString menuInterface = QStringLiteral("com.canonical.dbusmenu");
  if (QString error = Call(bus, item, menu, menuInterface, QStringLiteral("AboutToShow"), {0}); !error.isEmpty()) {
    return menu + QStringLiteral(": ") + error;
  }
  return Call(bus, item, menu, menuInterface, QStringLiteral("Event"),
              {0, QStringLiteral("opened"), QVariant::fromValue(QDBusVariant(0)), 0u});
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  Watcher watcher;
  if (!bus.registerVirtualObject(QStringLiteral("/StatusNotifierWatcher"), &watcher) ||
      !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
    std::fprintf(stderr, "status-notifier-host: the watcher's name is taken or there is no session bus\n");
    return 1;
  }
  Say(QStringLiteral("ready"));

  QSocketNotifier input(0, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
    char line[64];
    if (std::fgets(line, sizeof line, stdin) == nullptr) {
      QCoreApplication::quit();
      return;
    }
    const QString button = QString::fromLatin1(line).trimmed();
    const QVariantList at = {8, 8};
    QString error;
    if (button == QLatin1String("left")) {
      error = Call(bus, watcher.item, kItemPath, kItemInterface, QStringLiteral("Activate"), at);
    } else if (button == QLatin1String("middle")) {
      error = Call(bus, watcher.item, kItemPath, kItemInterface, QStringLiteral("SecondaryActivate"), at);
    } else if (button == QLatin1String("right")) {
      error = OpenMenu(bus, watcher.item);
    } else {
      error = QStringLiteral("no such button");
    }
    Say(error.isEmpty() ? QStringLiteral("clicked ") + button : QStringLiteral("failed ") + button + ": " + error);
  });
  return app.exec();
}
