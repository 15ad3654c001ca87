#pragma once
// SMS-DELIVER-REPORT: the phone's answer to a delivered message (TP-MTI 0, outgoing).

#include "sms/codec/ShortMessage.h"

class CPduReader;

class CSmsDeliverReport : public CShortMessage {
public:
    explicit CSmsDeliverReport(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsDeliverReport(CPduReader& reader);

    std::u16string Encode() const override;
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

    std::uint8_t m_pidPresent = 0;
    std::uint8_t m_dcsPresent = 0;
    std::uint8_t m_udlPresent = 0;
    std::uint8_t m_pid = 0;
    std::uint8_t m_dcs = 0;
};
