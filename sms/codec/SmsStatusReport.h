#pragma once
// SMS-STATUS-REPORT: the network's report on a submitted message (TP-MTI 2, incoming).

#include "sms/codec/ShortMessage.h"

class CPduReader;

class CSmsStatusReport : public CShortMessage {
public:
    explicit CSmsStatusReport(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsStatusReport(CPduReader& reader);

    std::u16string Encode() const override;
    SmsDateTime GetTimeStamp() const override { return m_timeStamp; }
    SmsAddress GetAddress() const override { return m_recipient; }

    std::uint8_t GetMoreMessages() const { return m_moreMessages; }
    std::uint8_t GetStatusReportQualifier() const { return m_statusReportQualifier; }
    std::uint8_t GetMessageReference() const { return m_messageReference; }
    const SmsAddress& GetRecipient() const { return m_recipient; }
    const SmsDateTime& GetDischargeTime() const { return m_dischargeTime; }
    std::uint8_t GetStatus() const { return m_status; }
    // False when the PDU ends before TP-ST: the status then reads as 0 but says nothing.
    bool HasStatus() const { return m_hasStatus; }

private:
    void Decode(CPduReader& reader);

    std::uint8_t m_moreMessages = 0;           // TP-MMS
    std::uint8_t m_statusReportQualifier = 0;  // TP-SRQ
    std::uint8_t m_messageReference = 0;       // TP-MR
    SmsAddress m_recipient;
    SmsDateTime m_timeStamp;
    SmsDateTime m_dischargeTime;
    std::uint8_t m_status = 0;  // TP-ST
    bool m_hasStatus = false;
};
