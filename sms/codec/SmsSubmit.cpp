#include "sms/codec/SmsSubmit.h"

#include "sms/codec/DialNumber.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"
#include "sms/codec/UserData.h"

namespace {

// Relative validity octet of a new message: two days.
constexpr std::uint8_t kDefaultRelativeValidity = 0xA8;

}  // namespace

CSmsSubmit::CSmsSubmit() : CShortMessage(1) {
    m_validity.format = kValidityRelative;
    m_validity.relative = kDefaultRelativeValidity;
}

CSmsSubmit::CSmsSubmit(std::u16string_view text, std::u16string_view dialString) : CSmsSubmit() {
    m_destination = ParseDialNumber(dialString);
    m_text = text;
}

CSmsSubmit::CSmsSubmit(std::u16string_view pdu) : CShortMessage(1) {
    CPduReader reader(pdu);
    Decode(reader);
}

CSmsSubmit::CSmsSubmit(CPduReader& reader) : CShortMessage(1) {
    Decode(reader);
}

void CSmsSubmit::Decode(CPduReader& reader) {
    m_serviceCentre = reader.ReadAddress(true);
    m_messageType = reader.ReadMessageType();
    m_rejectDuplicates = static_cast<std::uint8_t>(reader.ReadBit());
    m_validityPeriodFormat = reader.ReadMessageType();
    m_statusReportRequest = static_cast<std::uint8_t>(reader.ReadBit());
    const bool hasHeader = reader.ReadBit() != 0;
    m_replyPath = static_cast<std::uint8_t>(reader.ReadBit());
    m_messageReference = reader.ReadOctet();
    m_destination = reader.ReadAddress(false);
    m_pid = reader.ReadOctet();
    m_dcs = reader.ReadOctet();
    // Format 0 reads nothing and leaves a validity that encodes to nothing, as received.
    m_validity = reader.ReadValidity(m_validityPeriodFormat);
    sms::ReadUserData(reader, m_dcs, hasHeader, m_header, m_text);
}

std::u16string CSmsSubmit::Encode() const {
    CPduWriter writer;
    writer.WriteAddress(m_serviceCentre, true);
    writer.WriteMessageType(m_messageType);
    writer.WriteBit(m_rejectDuplicates);
    writer.WriteMessageType(m_validityPeriodFormat);
    writer.WriteBit(m_statusReportRequest);
    writer.WriteBit(m_header.empty() ? 0 : 1);
    writer.WriteBit(m_replyPath);
    writer.WriteOctet(m_messageReference);
    writer.WriteAddress(m_destination, false);
    writer.WriteOctet(m_pid);
    writer.WriteOctet(m_dcs);
    writer.WriteValidity(m_validity);
    sms::WriteUserData(writer, m_dcs, UserDataLength(m_dcs), m_header, m_text);
    return writer.Overflowed() ? std::u16string() : writer.ToHex();
}
