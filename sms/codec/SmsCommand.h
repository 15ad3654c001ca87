#pragma once
// SMS-COMMAND: a request about a submitted message (TP-MTI 2, outgoing).

#include "sms/codec/ShortMessage.h"

class CPduReader;

class CSmsCommand : public CShortMessage {
public:
    explicit CSmsCommand(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsCommand(CPduReader& reader);

    std::u16string Encode() const override;
    SmsAddress GetAddress() const override { return m_destination; }

    std::uint8_t GetMessageReference() const { return m_messageReference; }
    std::uint8_t GetStatusReportRequest() const { return m_statusReportRequest; }
    std::uint8_t GetPid() const { return m_pid; }
    std::uint8_t GetCommandType() const { return m_commandType; }
    std::uint8_t GetMessageNumber() const { return m_messageNumber; }
    const SmsAddress& GetDestination() const { return m_destination; }
    // TP-CDL as received; encoding writes the length of the command data instead.
    std::uint8_t GetCommandDataLength() const { return m_commandDataLength; }
    // TP-CD, one character per octet.
    const std::u16string& GetCommandData() const { return m_commandData; }

private:
    void Decode(CPduReader& reader);

    std::uint8_t m_messageReference = 0;     // TP-MR
    std::uint8_t m_statusReportRequest = 0;  // TP-SRR
    std::uint8_t m_pid = 0;
    std::uint8_t m_commandType = 0;    // TP-CT
    std::uint8_t m_messageNumber = 0;  // TP-MN
    SmsAddress m_destination;
    std::uint8_t m_commandDataLength = 0;  // TP-CDL
    std::u16string m_commandData;
};
