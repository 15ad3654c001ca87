#pragma once
// SMS-DELIVER: a message from the network to the phone (TP-MTI 0, incoming).

#include "sms/codec/ShortMessage.h"

class CPduReader;

class CSmsDeliver : public CShortMessage {
public:
    CSmsDeliver() : CShortMessage(0) {}
    explicit CSmsDeliver(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsDeliver(CPduReader& reader);

    std::u16string Encode() const override;
    SmsDateTime GetTimeStamp() const override { return m_timeStamp; }
    SmsAddress GetAddress() const override { return m_originator; }

    const SmsAddress& GetOriginator() const { return m_originator; }
    void SetOriginator(const SmsAddress& address) { m_originator = address; }
    void SetTimeStamp(const SmsDateTime& t) { m_timeStamp = t; }
    std::uint8_t GetMoreMessages() const { return m_moreMessages; }
    void SetMoreMessages(std::uint8_t flag) { m_moreMessages = flag; }
    std::uint8_t GetReplyPath() const { return m_replyPath; }
    void SetReplyPath(std::uint8_t flag) { m_replyPath = flag; }
    std::uint8_t GetStatusReportIndication() const { return m_statusReportIndication; }
    void SetStatusReportIndication(std::uint8_t flag) { m_statusReportIndication = flag; }
    std::uint8_t GetPid() const { return m_pid; }
    void SetPid(std::uint8_t pid) { m_pid = pid; }
    std::uint8_t GetDcs() const { return m_dcs; }
    void SetDcs(std::uint8_t dcs) { m_dcs = dcs; }

private:
    void Decode(CPduReader& reader);

    std::uint8_t m_moreMessages = 0;            // TP-MMS
    std::uint8_t m_replyPath = 0;               // TP-RP
    std::uint8_t m_statusReportIndication = 0;  // TP-SRI
    SmsAddress m_originator;
    std::uint8_t m_pid = 0;
    std::uint8_t m_dcs = 0;
    SmsDateTime m_timeStamp;
};
