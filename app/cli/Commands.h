#pragma once
// The commands of halvex-cli, run on a connected session. Each returns the exit status.

#include <ostream>

#include "app/cli/Arguments.h"
#include "phonebook/PhoneSession.h"
#include "sms/SmsEngine.h"

namespace cli {

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailed = 1,        // the phone or the link failed
    kExitBadArguments = 2,  // with one line saying what is wrong
};

struct Context {
    const Options& options;
    CPhoneSession& session;
    CSmsEngine& engine;
    std::ostream& out;  // results
    std::ostream& err;  // "halvex-cli: ..." lines
    int maker;          // DetectNokia: 1 Nokia, 0 another maker, -1 no answer
};

int RunIdentify(Context& context);
int RunPhonebook(Context& context);
int RunSms(Context& context);
// The compose dialog's checks of `sms send`, made before connecting; false after its message.
bool SendAccepted(const Options& options, CPhoneSession& session);

}  // namespace cli
