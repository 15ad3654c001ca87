// The icons, drawn as XPM text.

#include "res/DialogTemplate.h"
#include "res/Resource.h"

namespace res {

namespace {
#include "res/icons/adduser.xpm"
#include "res/icons/connect.xpm"
#include "res/icons/contact.xpm"
#include "res/icons/deleteuser.xpm"
#include "res/icons/getdata.xpm"
#include "res/icons/halvex.xpm"
#include "res/icons/save.xpm"
}  // namespace

const char* const* IconImage(int id) {
    switch (id) {
        case IDR_MAINFRAME:
            return halvex_xpm;
        case IDI_CONTACT:
            return contact_xpm;
        case IDB_TB_CONNECT:
            return connect_xpm;
        case IDB_TB_SAVE_DATA:
            return save_xpm;
        case IDB_TB_GET_DATA:
            return getdata_xpm;
        case IDB_TB_ADD_USER:
            return adduser_xpm;
        case IDB_TB_DELETE:
            return deleteuser_xpm;
        default:
            return nullptr;
    }
}

}  // namespace res
