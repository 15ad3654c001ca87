// The string table, the frame's menu and its tool bar.

#include "res/Strings.h"

#include "res/Resource.h"

namespace res {

namespace {

struct StringEntry {
    int id;
    const char16_t* text;
};

constexpr StringEntry kStrings[] = {
    {IDS_TITLE, u"Halvex"},          {IDS_CONNECT, u"Connect"},   {IDS_GET_DATA, u"Get Data"},
    {IDS_SAVE_DATA, u"Save Data"},   {IDS_ADD_USER, u"Add User"}, {IDS_DELETE_USER, u"Delete User"},
    {IDS_DISCONNECT, u"Disconnect"},
};

constexpr MenuItem kPhoneMenu[] = {
    {ID_DELETE, u"Delete", u'D'},
    {ID_SEND_MESSAGE, u"Send message", u'm'},
    {ID_ADD_USER, u"Add User", u'A'},
    {0, u"", 0},
    {ID_GET_DATA, u"Get data", u'G'},
    {ID_SAVE_DATA, u"Save data", u'S'},
    {0, u"", 0},
    {ID_CONNECT, u"Connect", u'C'},
    {ID_DISCONNECT, u"Disconnect", u'i'},
    {ID_CHOOSE_PHONE, u"Choose phone...", u'h'},
    {0, u"", 0},
    {ID_APP_EXIT, u"Exit", u'x'},
};

constexpr ToolButton kToolBar[] = {
    {ID_TB_CONNECT, IDB_TB_CONNECT},   {ID_TB_SAVE_DATA, IDB_TB_SAVE_DATA},
    {ID_TB_GET_DATA, IDB_TB_GET_DATA}, {ID_TB_ADD_USER, IDB_TB_ADD_USER},
    {ID_TB_DELETE, IDB_TB_DELETE},
};

}  // namespace

const char16_t* LoadString(int id) {
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return u"";
}

std::span<const MenuItem> PhoneMenu() {
    return kPhoneMenu;
}

std::span<const ToolButton> ToolBar() {
    return kToolBar;
}

}  // namespace res
