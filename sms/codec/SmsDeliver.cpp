#include "sms/codec/SmsDeliver.h"

#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"
#include "sms/codec/UserData.h"

CSmsDeliver::CSmsDeliver(std::u16string_view pdu) : CShortMessage(0) {
    CPduReader reader(pdu);
    Decode(reader);
}

CSmsDeliver::CSmsDeliver(CPduReader& reader) : CShortMessage(0) {
    Decode(reader);
}

void CSmsDeliver::Decode(CPduReader& reader) {
    m_serviceCentre = reader.ReadAddress(true);
    m_messageType = reader.ReadMessageType();
    if (m_messageType != 0) {
        return;
    }
    m_moreMessages = static_cast<std::uint8_t>(reader.ReadBit());
    reader.ReadBits(2);  // TP-LP and a spare bit
    m_statusReportIndication = static_cast<std::uint8_t>(reader.ReadBit());
    const bool hasHeader = reader.ReadBit() != 0;
    m_replyPath = static_cast<std::uint8_t>(reader.ReadBit());
    m_originator = reader.ReadAddress(false);
    m_pid = reader.ReadOctet();
    m_dcs = reader.ReadOctet();
    m_timeStamp = reader.ReadTimeStamp();
    sms::ReadUserData(reader, m_dcs, hasHeader, m_header, m_text);
}

std::u16string CSmsDeliver::Encode() const {
    CPduWriter writer;
    writer.WriteAddress(m_serviceCentre, true);
    writer.WriteMessageType(m_messageType);
    writer.WriteBit(m_moreMessages);
    writer.WriteBits(0, 2);
    writer.WriteBit(m_statusReportIndication);
    writer.WriteBit(m_header.empty() ? 0 : 1);
    writer.WriteBit(m_replyPath);
    writer.WriteAddress(m_originator, false);
    writer.WriteOctet(m_pid);
    writer.WriteOctet(m_dcs);
    writer.WriteTimeStamp(m_timeStamp);
    sms::WriteUserData(writer, m_dcs, UserDataLength(m_dcs), m_header, m_text);
    return writer.Overflowed() ? std::u16string() : writer.ToHex();
}
