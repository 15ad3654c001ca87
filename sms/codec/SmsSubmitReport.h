#pragma once
// SMS-SUBMIT-REPORT: the network's answer to a submitted message (TP-MTI 1, incoming).
// The time stamp precedes the parameter indicator, in both directions.

#include "sms/codec/ShortMessage.h"

class CPduReader;

class CSmsSubmitReport : public CShortMessage {
public:
    explicit CSmsSubmitReport(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsSubmitReport(CPduReader& reader);

    std::u16string Encode() const override;
    SmsDateTime GetTimeStamp() const override { return m_timeStamp; }
    SmsAddress GetAddress() const override { return SmsAddress{}; }
    // Setting a text or a header also marks the user data present.
    void SetText(const std::u16string& text) override;
    void SetHeader(const std::u16string& header) override;

    // TP-PI bits 0, 1 and 2.
    std::uint8_t GetPidPresent() const { return m_pidPresent; }
    std::uint8_t GetDcsPresent() const { return m_dcsPresent; }
    std::uint8_t GetUdlPresent() const { return m_udlPresent; }
    std::uint8_t GetPid() const { return m_pid; }
    std::uint8_t GetDcs() const { return m_dcs; }

private:
    void Decode(CPduReader& reader);

    SmsDateTime m_timeStamp;
    std::uint8_t m_pidPresent = 0;
    std::uint8_t m_dcsPresent = 0;
    std::uint8_t m_udlPresent = 0;
    std::uint8_t m_pid = 0;
    std::uint8_t m_dcs = 0;
};
