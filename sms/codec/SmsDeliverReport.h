#pragma once
// SMS-DELIVER-REPORT: the phone's answer to a delivered message (TP-MTI 0, outgoing).

#include "sms/codec/SmsTransferReport.h"

class CSmsDeliverReport : public CSmsTransferReport {
public:
    explicit CSmsDeliverReport(std::u16string_view pdu);
    // Decodes from the reader's current position, the service-centre field first.
    explicit CSmsDeliverReport(CPduReader& reader);

    std::u16string Encode() const override { return EncodeReport(nullptr); }
};
