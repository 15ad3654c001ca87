#pragma once
// One short message in decoded form: the base of the six TPDU record classes, the factory that
// picks the class of a PDU, and the text helpers for "FM:"/"MSG:" style messages.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sms/codec/SmsTypes.h"

class CShortMessage {
public:
    // The PDU hex text, service-centre field first, upper case. Empty when the message does not
    // fit the writer's 2000 octets (a cut-off PDU would be sent as a different message).
    virtual std::u16string Encode() const = 0;
    // Zero for the classes that carry no service-centre time stamp.
    virtual SmsDateTime GetTimeStamp() const { return SmsDateTime{}; }
    // The other party: originator, destination or recipient; empty for the reports.
    virtual SmsAddress GetAddress() const = 0;
    virtual void SetText(const std::u16string& text) { m_text = text; }
    virtual std::u16string GetText() const { return m_text; }
    // User-data header octets, one character each; empty when there is none.
    virtual void SetHeader(const std::u16string& header) { m_header = header; }
    virtual std::u16string GetHeader() const { return m_header; }
    virtual ~CShortMessage() = default;

    const SmsAddress& GetServiceCentre() const { return m_serviceCentre; }
    void SetServiceCentre(const SmsAddress& address) { m_serviceCentre = address; }
    // TP-MTI, 0 to 3.
    std::int32_t GetMessageType() const { return m_messageType; }

    // TP-UDL for this text and header in the alphabet of `dcs`: septets for 7-bit data (the
    // header and its fill bits included), octets otherwise; kept to 8 bits.
    std::uint8_t UserDataLength(std::uint8_t dcs) const;

protected:
    explicit CShortMessage(std::int32_t messageType) : m_messageType(messageType) {}
    CShortMessage(const CShortMessage&) = default;
    CShortMessage& operator=(const CShortMessage&) = default;

    std::u16string m_text;
    std::u16string m_header;
    SmsAddress m_serviceCentre;
    std::int32_t m_messageType;
};

// A new record of the class that the TP-MTI and the direction give (incoming: from the
// network), or null for TP-MTI 3. Never throws.
std::unique_ptr<CShortMessage> DecodeMessage(std::u16string_view pdu, bool incoming);
// A record of a PDU that a phone keeps in its message storage, of the class its TP-MTI alone
// gives: 0 SMS-DELIVER, 1 SMS-SUBMIT, 2 SMS-STATUS-REPORT, whatever status the phone listed it
// with (phones store sent messages as "received read" and received ones as "stored sent"); null
// for the reserved TP-MTI 3. Never throws.
std::unique_ptr<CShortMessage> DecodeStoredMessage(std::u16string_view pdu);

// The text after "MSG:" and one separator, or the text unchanged.
std::u16string StripMessagePrefix(std::u16string_view text);
// The sender between "FM:" and "MSG:", or "Unknown" when either marker is missing.
std::u16string ExtractSender(std::u16string_view text);

namespace sms {

// TPDU octets of a PDU hex text: the octets after its service-centre field, as AT+CMGS and
// AT+CMGW want them. -1 when the text is too short to hold the field it announces.
int TpduLength(std::u16string_view pdu);

}  // namespace sms
