#include "sms/codec/SmsDeliverReport.h"

#include "sms/codec/PduReader.h"

CSmsDeliverReport::CSmsDeliverReport(std::u16string_view pdu) : CSmsTransferReport(0) {
    CPduReader reader(pdu);
    DecodeReport(reader, nullptr);
}

CSmsDeliverReport::CSmsDeliverReport(CPduReader& reader) : CSmsTransferReport(0) {
    DecodeReport(reader, nullptr);
}
