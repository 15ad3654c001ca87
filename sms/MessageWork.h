#pragma once
// What the message pages and dialogs work with, handed to them by the program: the connection,
// the SMS engine, and the names of the phone book's contacts.

#include "link/PhoneSession.h"
#include "sms/SenderNames.h"
#include "sms/SmsEngine.h"

namespace sms {

struct MessageWork {
    CPhoneSession& session;
    CSmsEngine& engine;
    ContactNames names;
};

}  // namespace sms
