#pragma once
// Dialog templates: the controls of a page or dialog with their identifiers, texts, styles and
// places in dialog units, in tab order. The window toolkit builds widgets from them.

#include <cstdint>
#include <span>
#include <string_view>

namespace res {

enum class ControlKind : std::uint8_t {
    Static,
    Icon,  // a static showing the icon whose id is the control's text ("#128")
    Edit,
    Button,
    CheckBox,
    RadioButton,
    GroupBox,
    ComboBox,
    ListView,
};

// Style bits, as the templates give them.
namespace style {
inline constexpr std::uint32_t Hidden = 1u << 0;    // created invisible
inline constexpr std::uint32_t Disabled = 1u << 1;  // created disabled
inline constexpr std::uint32_t Center = 1u << 2;    // static: centred text
inline constexpr std::uint32_t Border = 1u << 3;
// Edits.
inline constexpr std::uint32_t AutoHScroll = 1u << 4;
inline constexpr std::uint32_t MultiLine = 1u << 5;
inline constexpr std::uint32_t ReadOnly = 1u << 6;
inline constexpr std::uint32_t VScroll = 1u << 7;
inline constexpr std::uint32_t WantReturn = 1u << 8;  // Enter starts a new line
// List views (always report view here).
inline constexpr std::uint32_t SingleSel = 1u << 9;
inline constexpr std::uint32_t ShowSelAlways = 1u << 10;
inline constexpr std::uint32_t EditLabels = 1u << 11;
// Combo boxes.
inline constexpr std::uint32_t DropDownList = 1u << 12;  // a list only
inline constexpr std::uint32_t DropDown = 1u << 13;      // a list with an edit field
inline constexpr std::uint32_t Sort = 1u << 14;
// Buttons.
inline constexpr std::uint32_t Group = 1u << 15;  // first control of a group
inline constexpr std::uint32_t DefPushButton = 1u << 16;
// Not reached with Tab (statics, group boxes and icons never are).
inline constexpr std::uint32_t NoTabStop = 1u << 17;
}  // namespace style

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char16_t* text;
    std::uint32_t style;
    int x;
    int y;
    int cx;
    int cy;
};

// How a control follows its page when the page is larger than the template: of every pixel the
// page gains in width (height), the control moves right (down) by moveX (moveY) percent and
// widens (grows) by sizeX (sizeY) percent, as the device toolkit's dynamic layouts have it.
struct ControlAnchor {
    int id;  // the control's id (IDC_STATIC for one without), in template order
    int moveX;
    int moveY;
    int sizeX;
    int sizeY;
};

struct DialogTemplate {
    int id;
    const char16_t* caption;  // empty for a page without caption
    int cx;
    int cy;
    const char16_t* fontFace;
    int fontPoints;
    std::span<const ControlTemplate> controls;
    // One per control, in the same order; empty: the controls keep their places.
    std::span<const ControlAnchor> anchors;
};

// The template with this id, or null.
const DialogTemplate* FindDialog(int id);

// The drawing of an icon resource as SVG text, empty for an unknown id. Drawn on a 16 or 24 pixel
// grid, shown at any size.
std::string_view IconSvg(int id);

}  // namespace res
