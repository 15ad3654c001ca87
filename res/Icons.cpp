// The icons, drawn as XPM text.

#include "res/DialogTemplate.h"
#include "res/Resource.h"

namespace res {

namespace {
#include "res/icons/contact.xpm"
}  // namespace

const char* const* IconImage(int id) {
    switch (id) {
        case IDI_CONTACT:
            return contact_xpm;
        default:
            return nullptr;
    }
}

}  // namespace res
