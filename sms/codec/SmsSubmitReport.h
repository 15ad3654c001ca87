#pragma once
// SMS-SUBMIT-REPORT: the network's answer to a submitted message (TP-MTI 1, incoming).
// The time stamp precedes the parameter indicator, in both directions.

#include "sms/codec/SmsTransferReport.h"

class CSmsSubmitReport : public CSmsTransferReport {
public:
    explicit CSmsSubmitReport(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsSubmitReport(CPduReader& reader);

    std::u16string Encode() const override { return EncodeReport(&m_timeStamp); }
    SmsDateTime GetTimeStamp() const override { return m_timeStamp; }

private:
    SmsDateTime m_timeStamp;
};
