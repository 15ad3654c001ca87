#pragma once
// What SMS-DELIVER-REPORT and SMS-SUBMIT-REPORT share: the rest of the first octet is unused,
// then TP-PI announces TP-PID, TP-DCS and the user data, which never has a header.

#include "sms/codec/ShortMessage.h"

class CPduReader;

class CSmsTransferReport : public CShortMessage {
public:
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

protected:
    explicit CSmsTransferReport(std::int32_t messageType) : CShortMessage(messageType) {}

    // The whole PDU, service-centre field first; `timeStamp`, where the class has one, stands
    // between the first octet and TP-PI.
    void DecodeReport(CPduReader& reader, SmsDateTime* timeStamp);
    std::u16string EncodeReport(const SmsDateTime* timeStamp) const;

private:
    std::uint8_t m_pidPresent = 0;
    std::uint8_t m_dcsPresent = 0;
    std::uint8_t m_udlPresent = 0;
    std::uint8_t m_pid = 0;
    std::uint8_t m_dcs = 0;
};
