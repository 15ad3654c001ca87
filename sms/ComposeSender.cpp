#include "sms/ComposeSender.h"

#include "platform/Win32.h"
#include "sms/codec/DialNumber.h"
#include "sms/codec/SmsSubmit.h"

using namespace platform;

namespace sms {

namespace {

constexpr std::uint8_t kUcs2 = 0x08;

}  // namespace

bool IsDialNumber(std::u16string_view text) {
    const std::u16string number = RemoveWhiteSpace(text);
    std::u16string_view digits = number;
    if (!digits.empty() && digits.front() == u'+') {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > CComposeSender::kMaxRecipientDigits) {
        return false;
    }
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

std::u16string RelativeValidityText(std::uint8_t octet) {
    const int v = octet;
    int number = 0;
    const char16_t* unit = u"";
    if (v <= 143) {
        number = (v + 1) * 5;
        unit = u" Minute(s)";
    } else if (v <= 167) {
        number = 12 + ((v - 143) * 30) / 60;
        unit = u" Hour(s)";
    } else if (v <= 196) {
        number = v - 166;
        unit = u" Day(s)";
    } else {
        number = v - 192;
        unit = u" Week(s)";
    }
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end()) + unit;
}

CComposeSender::CComposeSender(CSmsEngine& engine, CPhoneSession& session)
    : m_engine(engine), m_session(session) {}

bool CComposeSender::CheckFields(const ComposeFields& fields) {
    const char16_t* problem = nullptr;
    if (fields.recipient.empty()) {
        problem = u"Phone number is empty!";
    } else if (fields.text.empty()) {
        problem = u"Message is empty!";
    } else if (!IsDialNumber(fields.recipient)) {
        // Each character becomes a semi-octet of the address: a letter would send the message
        // to some other number.
        problem = u"Phone number is not valid!";
    } else if (fields.text.size() > kMaxTextLength) {
        problem = u"Message is longer than 70 characters!";
    }
    if (problem == nullptr) {
        return true;
    }
    MessageBoxW(m_hOwner, problem, u"Halvex", MB_OK);
    return false;
}

std::u16string CComposeSender::OutcomeText(SendOutcome outcome) {
    switch (outcome) {
        case SendOutcome::Sent:
            return u"Message sent ok!";
        case SendOutcome::SendError:
            return u"Message sent error!";
        case SendOutcome::StorageFull:
            return u"Phone storage full!!";
        case SendOutcome::SaveError:
            return u"Message saved error!!!";
        case SendOutcome::Unconfirmed:
            return kUnconfirmedText;
        default:
            return u"";
    }
}

SendOutcome CComposeSender::Send(const ComposeFields& fields, bool save) {
    if (!CheckFields(fields)) {
        return SendOutcome::Refused;
    }
    if (!m_session.IsConnected()) {
        return SendOutcome::NotConnected;
    }
    BeginWaitCursor();
    m_engine.QueryServiceCentre(m_session.GetPhoneKind());

    CSmsSubmit message(fields.text, fields.recipient);
    message.SetServiceCentre(ParseDialNumber(m_engine.GetServiceCentre()));
    message.SetReplyPath(fields.replyPath ? 1 : 0);
    message.SetStatusReportRequest(fields.deliverReport ? 1 : 0);
    message.SetDcs(kUcs2);
    const std::u16string pdu = message.Encode();
    const int length = TpduLength(pdu);

    // An empty or malformed PDU never reaches the phone: the engine refuses it.
    const int result = length >= 0 ? m_engine.SendPdu(length, pdu) : FALSE;
    SendOutcome outcome = result == CSmsEngine::kSendUnconfirmed ? SendOutcome::Unconfirmed
                          : result == TRUE                       ? SendOutcome::Sent
                                                                 : SendOutcome::SendError;
    // A copy is stored only of a message the phone confirmed.
    if (outcome == SendOutcome::Sent && save) {
        m_engine.QueryStorage();
        if (CSmsEngine::DecimalValue(m_engine.GetStorageUsed()) <
            CSmsEngine::DecimalValue(m_engine.GetStorageTotal())) {
            if (!m_engine.StorePdu(length, pdu, sms::Status::StoredSent)) {
                outcome = SendOutcome::SaveError;
            }
        } else {
            outcome = SendOutcome::StorageFull;
        }
    }
    EndWaitCursor();
    const std::u16string text = OutcomeText(outcome);
    MessageBoxW(m_hOwner, text.c_str(), u"Halvex",
                outcome == SendOutcome::Unconfirmed ? MB_OK | MB_ICONEXCLAMATION : MB_OK);
    return outcome;
}

}  // namespace sms
