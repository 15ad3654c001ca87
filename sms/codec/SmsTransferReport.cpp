#include "sms/codec/SmsTransferReport.h"

#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"
#include "sms/codec/UserData.h"

void CSmsTransferReport::SetText(const std::u16string& text) {
    CShortMessage::SetText(text);
    m_udlPresent = 1;
}

void CSmsTransferReport::SetHeader(const std::u16string& header) {
    CShortMessage::SetHeader(header);
    m_udlPresent = 1;
}

void CSmsTransferReport::DecodeReport(CPduReader& reader, SmsDateTime* timeStamp) {
    m_serviceCentre = reader.ReadAddress(true);
    m_messageType = reader.ReadMessageType();
    reader.AlignToOctet();
    if (timeStamp != nullptr) {
        *timeStamp = reader.ReadTimeStamp();
    }
    m_pidPresent = static_cast<std::uint8_t>(reader.ReadBit());
    m_dcsPresent = static_cast<std::uint8_t>(reader.ReadBit());
    m_udlPresent = static_cast<std::uint8_t>(reader.ReadBit());
    if (m_pidPresent != 0) {
        m_pid = reader.ReadOctet();
    }
    if (m_dcsPresent != 0) {
        m_dcs = reader.ReadOctet();
    }
    if (m_udlPresent != 0) {
        sms::ReadUserData(reader, m_dcs, false, m_header, m_text);
    }
}

std::u16string CSmsTransferReport::EncodeReport(const SmsDateTime* timeStamp) const {
    CPduWriter writer;
    writer.WriteAddress(m_serviceCentre, true);
    writer.WriteMessageType(m_messageType);
    writer.AlignToOctet();
    if (timeStamp != nullptr) {
        writer.WriteTimeStamp(*timeStamp);
    }
    writer.WriteBit(m_pidPresent);
    writer.WriteBit(m_dcsPresent);
    writer.WriteBit(m_udlPresent);
    if (m_pidPresent != 0) {
        writer.WriteOctet(m_pid);
    }
    if (m_dcsPresent != 0) {
        writer.WriteOctet(m_dcs);
    }
    if (m_udlPresent != 0) {
        // No header is written: TP-UDL counts the text alone.
        const std::size_t units = (m_dcs & sms::kAlphabetMask) == sms::kAlphabetUcs2 ? 2 : 1;
        const auto udl = static_cast<std::uint8_t>((units * m_text.size()) & 0xFF);
        sms::WriteUserData(writer, m_dcs, udl, std::u16string_view(), m_text);
    }
    return writer.Overflowed() ? std::u16string() : writer.ToHex();
}
