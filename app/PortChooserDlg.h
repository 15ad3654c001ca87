#pragma once
// "Choose phone...": the serial ports found here with their maker, model and state, a Probe
// that asks the selected one whether a phone answers, and a box to type any path. OK stores
// the port as "Port"; the view then connects to it.

#include <QDialog>
#include <functional>
#include <vector>

#include "platform/PortSurvey.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace app {
class ModemManager;
}

class CPortChooserDlg : public QDialog {
    Q_OBJECT
public:
    using Lister = std::function<std::vector<platform::SerialPortInfo>()>;
    using Inspector = std::function<platform::SerialPortInfo(const std::string&)>;

    // `reason` (may be empty) says why the dialog came up: no port set, or why it would not open.
    // With a running ModemManager, a column says which ports it manages.
    explicit CPortChooserDlg(QWidget* parent, const QString& reason = QString(),
                             app::ModemManager* modemManager = nullptr);

    // Where the ports come from; the system's when not set (tests give a made-up tree).
    static void SetSurvey(Lister lister, Inspector inspector);

    QTableWidget* List() const { return m_pList; }
    QLineEdit* PathBox() const { return m_pPath; }
    // The ports as listed, row by row.
    const std::vector<platform::SerialPortInfo>& Ports() const { return m_ports; }

    void Refresh();
    // Asks the port in the path box and shows the answer on its row.
    void Probe();

    // Stores the typed or chosen port; refuses (with a message) what is no port name.
    void accept() override;

private:
    void AddRow(const platform::SerialPortInfo& port);
    int RowOf(const std::string& path) const;

    QLabel* m_pNote = nullptr;
    QTableWidget* m_pList = nullptr;
    QLineEdit* m_pPath = nullptr;
    QPushButton* m_pProbe = nullptr;
    QPushButton* m_pRefresh = nullptr;
    std::vector<platform::SerialPortInfo> m_ports;
    app::ModemManager* m_pModemManager = nullptr;
};
