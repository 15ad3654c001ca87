#pragma once
// The notice that a system setting changed, which the windows get when the input panel comes up,
// goes down or moves: the phone book pages move out of its way.

#include <QObject>

namespace platform::qt {

class InputPanelEvents : public QObject {
    Q_OBJECT
public:
    static InputPanelEvents& Instance();
    // Tells every listener (the shell does when the panel changes; tests after changing theirs).
    void NotifySettingChange() { emit settingChanged(); }

signals:
    void settingChanged();
};

}  // namespace platform::qt
