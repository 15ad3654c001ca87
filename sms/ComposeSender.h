#pragma once
// Send and Save&Send of the compose dialog, without the dialog: the checks of the recipient and
// the text, the SMS-SUBMIT it builds (UCS2, the service centre the phone reports), the send, the
// store of a copy when the phone has room, and the one outcome box.

#include <string>
#include <string_view>

#include "link/PhoneSession.h"
#include "platform/Win32Types.h"
#include "sms/SmsEngine.h"

namespace sms {

struct ComposeFields {
    std::u16string recipient;  // as typed: blanks are dropped, a leading "+" means international
    std::u16string text;
    bool deliverReport = false;  // TP-SRR
    bool replyPath = false;      // TP-RP
};

enum class SendOutcome {
    Refused,       // a check failed (its box was shown); nothing was sent
    NotConnected,  // nothing happened
    Sent,          // "Message sent ok!" (and stored, for Save&Send)
    SendError,     // "Message sent error!"
    Unconfirmed,   // the phone never answered the message: it may have gone (kUnconfirmedText)
    StorageFull,   // "Phone storage full!!": sent, but the phone had no room for the copy
    SaveError,     // "Message saved error!!!": sent, but the copy was not stored
};

class CComposeSender {
public:
    // The message edit takes at most this many characters (UCS2: 140 octets).
    static constexpr std::size_t kMaxTextLength = 70;
    // Semi-octets an address field can carry.
    static constexpr std::size_t kMaxRecipientDigits = 20;

    CComposeSender(CSmsEngine& engine, CPhoneSession& session);
    void SetOwner(platform::HWND owner) { m_hOwner = owner; }

    // The dialog's checks, the recipient first: "Phone number is empty!", "Message is empty!",
    // then a recipient that is not a number and a text longer than the edit takes. Shows the
    // first problem found and returns false.
    bool CheckFields(const ComposeFields& fields);

    // Send (1035) and, with `save`, Save&Send (1036). Shows the outcome box.
    SendOutcome Send(const ComposeFields& fields, bool save);

    // What the user is told when the phone took the text but never confirmed or refused it.
    static constexpr const char16_t* kUnconfirmedText =
        u"The phone did not confirm the message. It may have been sent: check with the recipient "
        u"before you send it again.";
    // What Send is told when the phone is not connected (the dialog keeps the text).
    static constexpr const char16_t* kNotConnectedText =
        u"The phone is not connected. Connect to it, then send the message again.";

    // The text of the outcome box; empty for Refused and NotConnected.
    static std::u16string OutcomeText(SendOutcome outcome);

private:
    CSmsEngine& m_engine;
    CPhoneSession& m_session;
    platform::HWND m_hOwner = 0;
};

// True for a dial number: digits with an optional leading "+", blanks anywhere, at most
// kMaxRecipientDigits digits.
bool IsDialNumber(std::u16string_view text);

// A relative validity octet as the compose dialog shows it, in whole units: "720 Minute(s)",
// "12 Hour(s)", "2 Day(s)", "63 Week(s)".
std::u16string RelativeValidityText(std::uint8_t octet);

}  // namespace sms
