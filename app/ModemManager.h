#pragma once
// Working beside ModemManager, which takes USB phones and modems on most desktops: whether it
// manages the device a port belongs to, and pausing it for that device while Halvex is
// connected (InhibitDevice on the system bus; ModemManager also ends the pause when Halvex's bus
// connection goes). Without a system bus or without ModemManager every question answers "no",
// quietly.

#include <QDBusConnection>
#include <QString>

#include "platform/PortSurvey.h"

namespace app {

class ModemManager {
public:
    // The system bus unless another connection is given.
    explicit ModemManager(const QDBusConnection& bus = QDBusConnection::systemBus());
    ~ModemManager();
    ModemManager(const ModemManager&) = delete;
    ModemManager& operator=(const ModemManager&) = delete;

    // Whether ModemManager runs on the bus.
    bool Running() const;
    // The device id ModemManager knows the port's modem by (its "Device"), when one of its
    // modems has the port among its "Ports", as its "PrimaryPort", or is the port's USB device;
    // "" when none does.
    QString ManagingDevice(const platform::SerialPortInfo& port) const;
    // Pauses ModemManager for the device; false with its reason in `error` when refused.
    bool Pause(const QString& device, QString& error);
    // Ends the pause begun here, if any.
    void Release();
    bool Paused() const { return !m_paused.isEmpty(); }

private:
    QDBusConnection m_bus;
    QString m_paused;
};

}  // namespace app
