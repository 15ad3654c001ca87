#include "app/BoxNotices.h"

#include <string>

#include "platform/Win32.h"

using namespace platform;

namespace app {

namespace {

constexpr const char16_t* kCaption = u"Halvex";

void Exclaim(const std::u16string& text) {
    MessageBoxW(0, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void BoxNotices::Tell(phone::Notice notice, std::u16string_view detail) {
    using phone::Notice;
    switch (notice) {
        case Notice::PortNotOpened:
            Exclaim(u"Open port error\n\n" + std::u16string(detail));
            return;
        case Notice::PortNotConfigured:
            Exclaim(u"Unable to configure the serial port");
            return;
        case Notice::ReadFailed:
            Exclaim(u"Read port error");
            return;
        case Notice::ReplyTooLarge:
            Exclaim(u"realloc Memory error");
            return;
        case Notice::NoSuchStorage:
            Exclaim(u"No this storage type");
            return;
        case Notice::ConnectionLost:
            Exclaim(u"Connection lost, Please Connect again");
            return;
        case Notice::OutOfEntryNumber:
            MessageBoxW(0, u"Out of Entry Number", u"Error", MB_OK);
            return;
        case Notice::PhoneNotRead:
            Exclaim(u"Please get phone data first.");
            return;
        case Notice::SimNotRead:
            Exclaim(u"Please get SIM Data first");
            return;
        case Notice::UnreadableNames:
            Exclaim(std::u16string(detail) +
                    u" phone book entries have names that cannot be read in the phone's character "
                    u"set. They are left out, and their places are kept.");
            return;
        case Notice::MessageFull:
            MessageBoxW(0, u"Message full!", kCaption, MB_OK);
            return;
    }
}

bool BoxNotices::RetryConnect() {
    return MessageBoxW(0, u"Unable to connect to phone.", kCaption,
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

}  // namespace app
