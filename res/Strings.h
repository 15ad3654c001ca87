#pragma once
// The string table, the frame's menu and its tool bar.

#include <span>

namespace res {

// The text of a string id, or empty.
const char16_t* LoadString(int id);

struct MenuItem {
    int id;  // 0: a separator
    const char16_t* text;
    // The letter that opens the item from the keyboard, underlined; 0 for none.
    char16_t mnemonic;
};

// The menu "Phone" of the menu bar, in order.
std::span<const MenuItem> PhoneMenu();
inline constexpr const char16_t* kPhoneMenuTitle = u"Phone";

struct ToolButton {
    int id;
    int bitmap;
};

// The tool bar's buttons, in order, without separators.
std::span<const ToolButton> ToolBar();

}  // namespace res
