#pragma once
// Text crosses into Qt only here: UTF-16 strings of the core to QString and back.

#include <QString>
#include <string>
#include <string_view>

namespace platform::qt {

inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
    return text.toStdU16String();
}

}  // namespace platform::qt
