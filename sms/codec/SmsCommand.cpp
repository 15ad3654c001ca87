#include "sms/codec/SmsCommand.h"

#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"

CSmsCommand::CSmsCommand(std::u16string_view pdu) : CShortMessage(2) {
    CPduReader reader(pdu);
    Decode(reader);
}

CSmsCommand::CSmsCommand(CPduReader& reader) : CShortMessage(2) {
    Decode(reader);
}

void CSmsCommand::Decode(CPduReader& reader) {
    m_serviceCentre = reader.ReadAddress(true);
    m_messageType = reader.ReadMessageType();
    reader.ReadBits(3);  // bits 2 to 4 are spare
    m_statusReportRequest = static_cast<std::uint8_t>(reader.ReadBit());
    m_messageReference = reader.ReadOctet();
    m_pid = reader.ReadOctet();
    m_commandType = reader.ReadOctet();
    m_messageNumber = reader.ReadOctet();
    m_destination = reader.ReadAddress(false);
    m_commandDataLength = reader.ReadOctet();
    // Kept, so that encoding the record again gives the command it came from.
    m_commandData = reader.ReadOctets(m_commandDataLength);
}

std::u16string CSmsCommand::Encode() const {
    CPduWriter writer;
    writer.WriteAddress(m_serviceCentre, true);
    writer.WriteMessageType(m_messageType);
    writer.WriteBits(0, 3);
    writer.WriteBit(m_statusReportRequest);
    writer.WriteOctet(m_messageReference);
    writer.WriteOctet(m_pid);
    writer.WriteOctet(m_commandType);
    writer.WriteOctet(m_messageNumber);
    writer.WriteAddress(m_destination, false);
    writer.WriteOctet(static_cast<std::uint8_t>(m_commandData.size() & 0xFF));
    writer.WriteOctets(m_commandData, m_commandData.size());
    return writer.Overflowed() ? std::u16string() : writer.ToHex();
}
