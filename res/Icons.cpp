// The icons, drawn as SVG (res/icons).

#include "res/DialogTemplate.h"
#include "res/Resource.h"

namespace res {

namespace {
#include "IconsSvg.inc"
}  // namespace

std::string_view IconSvg(int id) {
    switch (id) {
        case IDR_MAINFRAME:
            return k_halvex_svg;
        case IDI_CONTACT:
            return k_contact_svg;
        case IDB_TB_CONNECT:
            return k_connect_svg;
        case IDI_DISCONNECT:
            return k_disconnect_svg;
        case IDB_TB_SAVE_DATA:
            return k_save_svg;
        case IDB_TB_GET_DATA:
            return k_getdata_svg;
        case IDB_TB_ADD_USER:
            return k_adduser_svg;
        case IDB_TB_DELETE:
            return k_delete_svg;
        case IDI_SEND:
            return k_send_svg;
        case IDI_EXIT:
            return k_exit_svg;
        default:
            return {};
    }
}

}  // namespace res
