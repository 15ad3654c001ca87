#include "sms/codec/SmsSubmitReport.h"

#include "sms/codec/PduReader.h"

CSmsSubmitReport::CSmsSubmitReport(std::u16string_view pdu) : CSmsTransferReport(1) {
    CPduReader reader(pdu);
    DecodeReport(reader, &m_timeStamp);
}

CSmsSubmitReport::CSmsSubmitReport(CPduReader& reader) : CSmsTransferReport(1) {
    DecodeReport(reader, &m_timeStamp);
}
