#include "sms/codec/SmsStatusReport.h"

#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"

CSmsStatusReport::CSmsStatusReport(std::u16string_view pdu) : CShortMessage(2) {
    CPduReader reader(pdu);
    Decode(reader);
}

CSmsStatusReport::CSmsStatusReport(CPduReader& reader) : CShortMessage(2) {
    Decode(reader);
}

void CSmsStatusReport::Decode(CPduReader& reader) {
    m_serviceCentre = reader.ReadAddress(true);
    m_messageType = reader.ReadMessageType();
    m_moreMessages = static_cast<std::uint8_t>(reader.ReadBit());
    reader.ReadBits(2);  // TP-LP and a spare bit
    m_statusReportQualifier = static_cast<std::uint8_t>(reader.ReadBit());
    m_messageReference = reader.ReadOctet();
    m_recipient = reader.ReadAddress(false);
    m_timeStamp = reader.ReadTimeStamp();
    m_dischargeTime = reader.ReadTimeStamp();
    m_hasStatus = !reader.AtEnd();
    m_status = reader.ReadOctet();
}

std::u16string CSmsStatusReport::Encode() const {
    CPduWriter writer;
    writer.WriteAddress(m_serviceCentre, true);
    writer.WriteMessageType(m_messageType);
    writer.WriteBit(m_moreMessages);
    writer.WriteBits(0, 2);
    writer.WriteBit(m_statusReportQualifier);
    writer.WriteOctet(m_messageReference);
    writer.WriteAddress(m_recipient, false);
    writer.WriteTimeStamp(m_timeStamp);
    writer.WriteTimeStamp(m_dischargeTime);
    writer.WriteOctet(m_status);
    return writer.Overflowed() ? std::u16string() : writer.ToHex();
}
