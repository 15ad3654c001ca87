#include "platform/qt/Windows.h"

#include <QPointer>
#include <unordered_map>

namespace platform::qt {

namespace {

constexpr const char* kHandleProperty = "halvexHwnd";

struct Table {
    HWND next = 1;
    std::unordered_map<HWND, QPointer<QWidget>> widgets;
};

Table& TheTable() {
    static Table table;
    return table;
}

}  // namespace

HWND HandleOf(QWidget* widget) {
    if (widget == nullptr) {
        return 0;
    }
    const QVariant known = widget->property(kHandleProperty);
    if (known.isValid()) {
        return known.value<qulonglong>();
    }
    Table& table = TheTable();
    const HWND handle = table.next++;
    table.widgets.emplace(handle, widget);
    widget->setProperty(kHandleProperty, QVariant::fromValue<qulonglong>(handle));
    // Forget the entry with the widget, so the table does not grow with every dialog opened.
    QObject::connect(widget, &QObject::destroyed, [handle] { TheTable().widgets.erase(handle); });
    return handle;
}

QWidget* WidgetOf(HWND handle) {
    Table& table = TheTable();
    const auto it = table.widgets.find(handle);
    return it == table.widgets.end() ? nullptr : it->second.data();
}

}  // namespace platform::qt
