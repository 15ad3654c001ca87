#include "app/ModemManager.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QStringList>

namespace app {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ModemManager1");
const QString kPath = QStringLiteral("/org/freedesktop/ModemManager1");
const QString kModems = QStringLiteral("/org/freedesktop/ModemManager1/Modem");
const QString kModemInterface = QStringLiteral("org.freedesktop.ModemManager1.Modem");
// A question to ModemManager never holds the window for long.
constexpr int kTimeoutMs = 3000;

QDBusMessage Call(const QDBusConnection& bus, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& args = {},
                  int timeoutMs = kTimeoutMs) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
    message.setArguments(args);
    return bus.call(message, QDBus::Block, timeoutMs);
}

QVariant Property(const QDBusConnection& bus, const QString& path, const QString& name) {
    const QDBusMessage reply = Call(bus, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {kModemInterface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant();
}

// "Ports": a(su), the port's name and its kind.
QStringList PortNames(const QVariant& value) {
    QStringList names;
    if (!value.canConvert<QDBusArgument>())
        return names;
    const QDBusArgument argument = qvariant_cast<QDBusArgument>(value);
    argument.beginArray();
    while (!argument.atEnd()) {
        QString name;
        uint kind = 0;
        argument.beginStructure();
        argument >> name >> kind;
        argument.endStructure();
        names << name;
    }
    argument.endArray();
    return names;
}

QString KernelName(const std::string& device) {
    const std::size_t slash = device.rfind('/');
    return QString::fromStdString(slash == std::string::npos ? device : device.substr(slash + 1));
}

}  // namespace

ModemManager::ModemManager(const QDBusConnection& bus) : m_bus(bus) {}

ModemManager::~ModemManager() {
    Release();
}

bool ModemManager::Running() const {
    return m_bus.isConnected() && m_bus.interface() != nullptr &&
           m_bus.interface()->isServiceRegistered(kService).value();
}

QString ModemManager::ManagingDevice(const platform::SerialPortInfo& port) const {
    if (!Running())
        return QString();
    const QDBusMessage introspected =
        Call(m_bus, kModems, QStringLiteral("org.freedesktop.DBus.Introspectable"),
             QStringLiteral("Introspect"));
    if (introspected.type() != QDBusMessage::ReplyMessage || introspected.arguments().isEmpty())
        return QString();
    const QString xml = introspected.arguments().first().toString();
    const QString kernel = KernelName(port.device);
    const QString usb = QString::fromStdString(port.usbDevice);
    static const QRegularExpression node(QStringLiteral("<node name=\"([0-9]+)\""));
    for (auto it = node.globalMatch(xml); it.hasNext();) {
        const QString path = kModems + QLatin1Char('/') + it.next().captured(1);
        const QString device = Property(m_bus, path, QStringLiteral("Device")).toString();
        if (device.isEmpty())
            continue;
        const bool mine =
            (!usb.isEmpty() && device == usb) ||
            Property(m_bus, path, QStringLiteral("PrimaryPort")).toString() == kernel ||
            PortNames(Property(m_bus, path, QStringLiteral("Ports"))).contains(kernel);
        if (mine)
            return device;
    }
    return QString();
}

bool ModemManager::Pause(const QString& device, QString& error) {
    // The desktop may ask for a password here: the policy decides, so the wait is long.
    const QDBusMessage reply =
        Call(m_bus, kPath, kService, QStringLiteral("InhibitDevice"), {device, true}, 120000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return false;
    }
    m_paused = device;
    return true;
}

void ModemManager::Release() {
    if (m_paused.isEmpty())
        return;
    Call(m_bus, kPath, kService, QStringLiteral("InhibitDevice"), {m_paused, false});
    m_paused.clear();
}

}  // namespace app
