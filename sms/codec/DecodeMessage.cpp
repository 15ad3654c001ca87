#include <exception>

#include "sms/codec/PduReader.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsCommand.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsDeliverReport.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsSubmit.h"
#include "sms/codec/SmsSubmitReport.h"

std::unique_ptr<CShortMessage> DecodeMessage(std::u16string_view pdu, bool incoming) {
    try {
        // One reader for both the look at TP-MTI and the decoding itself.
        CPduReader reader(pdu);
        const int messageType = reader.MessageTypeAfterServiceCentre();
        switch (messageType) {
            case 0:
                return incoming ? std::unique_ptr<CShortMessage>(new CSmsDeliver(reader))
                                : std::unique_ptr<CShortMessage>(new CSmsDeliverReport(reader));
            case 1:
                return incoming ? std::unique_ptr<CShortMessage>(new CSmsSubmitReport(reader))
                                : std::unique_ptr<CShortMessage>(new CSmsSubmit(reader));
            case 2:
                return incoming ? std::unique_ptr<CShortMessage>(new CSmsStatusReport(reader))
                                : std::unique_ptr<CShortMessage>(new CSmsCommand(reader));
            default:
                return nullptr;
        }
    } catch (const std::exception&) {
        // Out of memory: the caller skips the entry as it does for TP-MTI 3.
        return nullptr;
    }
}

std::unique_ptr<CShortMessage> DecodeStoredMessage(std::u16string_view pdu) {
    try {
        CPduReader reader(pdu);
        switch (reader.MessageTypeAfterServiceCentre()) {
            case 0:
                return std::make_unique<CSmsDeliver>(reader);
            case 1:
                return std::make_unique<CSmsSubmit>(reader);
            case 2:
                return std::make_unique<CSmsStatusReport>(reader);
            default:
                return nullptr;
        }
    } catch (const std::exception&) {
        return nullptr;
    }
}
