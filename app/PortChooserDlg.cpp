#include "app/PortChooserDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ModemManager.h"
#include "link/PortOpening.h"
#include "link/PortProbe.h"
#include "platform/TermiosSerialPort.h"
#include "platform/Win32.h"
#include "platform/qt/Windows.h"
#include "res/Resource.h"

using namespace platform;

namespace {

CPortChooserDlg::Lister g_lister;
CPortChooserDlg::Inspector g_inspector;

enum Column { kPort, kDevice, kState, kAnswer, kColumns };

// Object name = the control's id, accessible name = what it says.
template <typename W>
W* Named(W* widget, int id, const QString& accessible) {
    widget->setObjectName(QString::number(id));
    widget->setAccessibleName(accessible);
    return widget;
}

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

void CPortChooserDlg::SetSurvey(Lister lister, Inspector inspector) {
    g_lister = std::move(lister);
    g_inspector = std::move(inspector);
}

CPortChooserDlg::CPortChooserDlg(QWidget* parent, const QString& reason,
                                 app::ModemManager* modemManager)
    : QDialog(parent) {
    if (modemManager != nullptr && modemManager->Running()) {
        m_pModemManager = modemManager;
    }
    setObjectName(QString::number(res::IDD_PORT_CHOOSER));
    setWindowTitle(QStringLiteral("Choose phone"));
    setAccessibleName(windowTitle());

    const QString note = (reason.isEmpty() ? QString() : reason + QStringLiteral("\n\n")) +
                         QStringLiteral(
                             "Choose the port your phone is on, or type its path. Probe asks the "
                             "port whether a phone answers.");
    m_pNote = Named(new QLabel(note, this), res::IDC_PORT_NOTE, QStringLiteral("About ports"));
    m_pNote->setWordWrap(true);

    m_pList = Named(new QTableWidget(0, m_pModemManager ? kColumns + 1 : kColumns, this),
                    res::IDC_PORT_LIST, QStringLiteral("Serial ports"));
    QStringList headers = {QStringLiteral("Port"), QStringLiteral("Device"),
                           QStringLiteral("State"), QStringLiteral("Answer")};
    if (m_pModemManager) {
        headers << QStringLiteral("ModemManager");
    }
    m_pList->setHorizontalHeaderLabels(headers);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setTabKeyNavigation(false);
    m_pList->verticalHeader()->hide();
    m_pList->horizontalHeader()->setStretchLastSection(true);

    auto* label = Named(new QLabel(QStringLiteral("Port &path:"), this), res::IDC_PORT_PATH_LABEL,
                        QStringLiteral("Port path"));
    m_pPath = Named(new QLineEdit(this), res::IDC_PORT_PATH, QStringLiteral("Port path"));
    label->setBuddy(m_pPath);
    m_pPath->setText(QString::fromStdU16String(ports::ReadPortName()));

    m_pProbe = Named(new QPushButton(QStringLiteral("P&robe"), this), res::IDC_PORT_PROBE,
                     QStringLiteral("Probe"));
    m_pRefresh = Named(new QPushButton(QStringLiteral("R&efresh"), this), res::IDC_PORT_REFRESH,
                       QStringLiteral("Refresh"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Named(buttons->button(QDialogButtonBox::Ok), res::IDC_PORT_OK, QStringLiteral("OK"));
    Named(buttons->button(QDialogButtonBox::Cancel), res::IDC_PORT_CANCEL,
          QStringLiteral("Cancel"));
    // Enter in the path box is OK; it never leaves without the path being checked.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(label);
    pathRow->addWidget(m_pPath, 1);
    pathRow->addWidget(m_pProbe);
    pathRow->addWidget(m_pRefresh);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pNote);
    layout->addWidget(m_pList, 1);
    layout->addLayout(pathRow);
    layout->addWidget(buttons);

    setTabOrder(m_pList, m_pPath);
    setTabOrder(m_pPath, m_pProbe);
    setTabOrder(m_pProbe, m_pRefresh);
    setTabOrder(m_pRefresh, buttons->button(QDialogButtonBox::Ok));
    setTabOrder(buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel));

    connect(m_pList, &QTableWidget::itemSelectionChanged, this, [this] {
        const int row = m_pList->currentRow();
        if (row >= 0 && row < static_cast<int>(m_ports.size()))
            m_pPath->setText(Text(m_ports[static_cast<std::size_t>(row)].path));
    });
    connect(m_pList, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
    connect(m_pProbe, &QPushButton::clicked, this, [this] { Probe(); });
    connect(m_pRefresh, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CPortChooserDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Refresh();
    resize(760, 320);
    m_pList->setFocus();
}

void CPortChooserDlg::AddRow(const SerialPortInfo& port) {
    const int row = m_pList->rowCount();
    m_pList->insertRow(row);
    const QString cells[] = {
        Text(port.path == port.device ? port.path : port.path + " -> " + port.device),
        Text(ports::DeviceText(port)), Text(ports::StateText(port)), QString()};
    for (int column = 0; column < kColumns; ++column)
        m_pList->setItem(row, column, new QTableWidgetItem(cells[column]));
    if (m_pModemManager) {
        const bool managed = !m_pModemManager->ManagingDevice(port).isEmpty();
        m_pList->setItem(row, kColumns,
                         new QTableWidgetItem(managed ? QStringLiteral("manages it") : QString()));
    }
    m_ports.push_back(port);
}

int CPortChooserDlg::RowOf(const std::string& path) const {
    for (std::size_t i = 0; i < m_ports.size(); ++i) {
        if (m_ports[i].path == path || m_ports[i].device == path)
            return static_cast<int>(i);
    }
    return -1;
}

void CPortChooserDlg::Refresh() {
    m_pList->setRowCount(0);
    m_ports.clear();
    for (const SerialPortInfo& port : g_lister ? g_lister() : PortSurvey().List())
        AddRow(port);
    m_pList->resizeColumnsToContents();
    const int row = RowOf(TermiosSerialPorts::DevicePath(m_pPath->text().toStdU16String()));
    if (row >= 0)
        m_pList->selectRow(row);
}

void CPortChooserDlg::Probe() {
    const std::u16string name = m_pPath->text().trimmed().toStdU16String();
    const std::string path = TermiosSerialPorts::DevicePath(name);
    if (path.empty())
        return;
    int row = RowOf(path);
    if (row < 0) {
        AddRow(g_inspector ? g_inspector(path) : PortSurvey().Inspect(path));
        row = m_pList->rowCount() - 1;
    }
    BeginWaitCursor();
    const ports::ProbeResult result = ports::Probe(name);
    EndWaitCursor();
    const std::string answer =
        result.opened ? ports::ProbeSummary(result)
                      : "not opened: " + ports::Narrow(ports::ExplainFailure(name, result.failure));
    m_pList->item(row, kAnswer)->setText(Text(answer));
    m_pList->item(row, kAnswer)->setToolTip(Text(result.identity));
    m_pList->resizeColumnsToContents();
    m_pList->selectRow(row);
}

void CPortChooserDlg::accept() {
    const std::u16string name = m_pPath->text().trimmed().toStdU16String();
    std::string why;
    if (name.empty()) {
        MessageBoxW(platform::qt::HandleOf(this), u"Choose a port, or type its path.", u"Halvex",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (TermiosSerialPorts::DevicePath(name, &why).empty()) {
        const std::u16string text =
            u"\"" + name + u"\" is not a port name: " + ports::Widen(why) + u".";
        MessageBoxW(platform::qt::HandleOf(this), text.c_str(), u"Halvex",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!ports::StorePortName(name)) {
        MessageBoxW(platform::qt::HandleOf(this), u"The port cannot be stored in the settings.",
                    u"Halvex", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    QDialog::accept();
}
