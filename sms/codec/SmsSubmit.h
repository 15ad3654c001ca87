#pragma once
// SMS-SUBMIT: a message from the phone to the network (TP-MTI 1, outgoing).

#include "sms/codec/ShortMessage.h"

class CPduReader;

class CSmsSubmit : public CShortMessage {
public:
    // Reject duplicates, relative validity 0xA8, everything else 0 or empty.
    CSmsSubmit();
    // The default message to `dialString` (see ParseDialNumber) with `text`.
    CSmsSubmit(std::u16string_view text, std::u16string_view dialString);
    explicit CSmsSubmit(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsSubmit(CPduReader& reader);

    std::u16string Encode() const override;
    SmsAddress GetAddress() const override { return m_destination; }

    const SmsAddress& GetDestination() const { return m_destination; }
    void SetDestination(const SmsAddress& address) { m_destination = address; }
    std::uint8_t GetRejectDuplicates() const { return m_rejectDuplicates; }
    void SetRejectDuplicates(std::uint8_t flag) { m_rejectDuplicates = flag; }
    // TP-VPF as written in the first octet; the validity carries its own format.
    std::int32_t GetValidityPeriodFormat() const { return m_validityPeriodFormat; }
    void SetValidityPeriodFormat(std::int32_t format) { m_validityPeriodFormat = format; }
    std::uint8_t GetReplyPath() const { return m_replyPath; }
    void SetReplyPath(std::uint8_t flag) { m_replyPath = flag; }
    std::uint8_t GetStatusReportRequest() const { return m_statusReportRequest; }
    void SetStatusReportRequest(std::uint8_t flag) { m_statusReportRequest = flag; }
    std::uint8_t GetMessageReference() const { return m_messageReference; }
    void SetMessageReference(std::uint8_t mr) { m_messageReference = mr; }
    std::uint8_t GetPid() const { return m_pid; }
    void SetPid(std::uint8_t pid) { m_pid = pid; }
    std::uint8_t GetDcs() const { return m_dcs; }
    void SetDcs(std::uint8_t dcs) { m_dcs = dcs; }
    const SmsValidity& GetValidity() const { return m_validity; }
    void SetValidity(const SmsValidity& validity) { m_validity = validity; }

private:
    void Decode(CPduReader& reader);

    std::uint8_t m_rejectDuplicates = 1;  // TP-RD
    std::int32_t m_validityPeriodFormat = kValidityRelative;
    std::uint8_t m_replyPath = 0;            // TP-RP
    std::uint8_t m_statusReportRequest = 0;  // TP-SRR
    std::uint8_t m_messageReference = 0;     // TP-MR
    SmsAddress m_destination;
    std::uint8_t m_pid = 0;
    std::uint8_t m_dcs = 0;
    SmsValidity m_validity;
};
