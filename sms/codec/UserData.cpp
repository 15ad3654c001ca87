#include "sms/codec/UserData.h"

#include "sms/codec/GsmAlphabet.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"

namespace sms {

void ReadUserData(CPduReader& reader, std::uint8_t dcs, bool withHeader, std::u16string& header,
                  std::u16string& text) {
    std::size_t count = reader.ReadOctet();
    reader.AlignToOctet();
    reader.SetSeptetOrigin();
    const std::uint8_t alphabet = dcs & kAlphabetMask;
    header.clear();
    if (withHeader) {
        header = reader.ReadUserDataHeader();
        // 7-bit TP-UDL counts septets, the header and its fill bits included.
        count -= alphabet == kAlphabet7Bit ? HeaderSeptets(header.size()) : header.size() + 1;
    }
    // A TP-UDL shorter than its own header wraps; the reads below stop at the end of the data.
    count %= 256;
    if (alphabet == kAlphabet7Bit) {
        text = reader.ReadSeptetText(count);
    } else if (alphabet == kAlphabetUcs2) {
        text = reader.ReadUcs2(count);
    } else {
        text = reader.ReadOctets(count);
    }
}

void WriteUserData(CPduWriter& writer, std::uint8_t dcs, std::uint8_t udl,
                   std::u16string_view header, std::u16string_view text) {
    writer.WriteOctet(udl);
    writer.AlignToOctet();
    writer.SetSeptetOrigin();
    if (!header.empty()) {
        writer.WriteUserDataHeader(header);
    }
    const std::uint8_t alphabet = dcs & kAlphabetMask;
    if (alphabet == kAlphabet7Bit) {
        writer.WriteSeptets(TextToGsm(text));
    } else if (alphabet == kAlphabetUcs2) {
        writer.WriteUcs2(text, text.size());
    } else {
        writer.WriteOctets(text, text.size());
    }
}

}  // namespace sms
