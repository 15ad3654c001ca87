#pragma once
// Window handles for widgets: the core names a message box's owner by a handle, as it names ports
// and registry keys. A handle is a small number, never reused; once its widget is gone it finds
// nothing.

#include <QWidget>

#include "platform/Win32Types.h"

namespace platform::qt {

// The widget's handle, given on first use.
HWND HandleOf(QWidget* widget);
// The widget of a handle, or null for 0, an unknown handle or a widget that is gone.
QWidget* WidgetOf(HWND handle);

}  // namespace platform::qt
