// Stored messages as phones list them: a sent message listed as "received read", a received one
// and a status report as "stored sent", each read by what its PDU is. The listings are written
// out here as a phone sends them.

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsSubmit.h"
#include "tests/sms/SmsEngineFixture.h"

namespace halvex::test {
namespace {

using phonesim::Fault;

// Each through the service centre +447802000332, with the text "Hi" in 7-bit.
// From +447700900123, time-stamped 12/07/26 10:30:00.
const std::string kDeliver =
    "0791448720003023"
    "04"
    "0C91447700091032"
    "0000"
    "62217001030000"
    "02C834";
// To +447700900456, message reference 0, relative validity.
const std::string kSubmit =
    "0791448720003023"
    "1100"
    "0C91447700094065"
    "0000AA"
    "02C834";
// On message 42 to +447700900123, handed over 12/07/26 10:30:05; the status octet last.
const std::string kReport =
    "0791448720003023"
    "062A"
    "0C91447700091032"
    "62217001030000"
    "62217001035000"
    "00";

class StoredMessagesTest : public SmsEngineTest {
protected:
    // The row of a listing of `status` that holds one message, in the box a page lists that
    // status into: 0 and 1 the inbox, 2 and 3 the outbox.
    sms::MessageRow Listed(int status, const std::string& pdu) {
        const bool inbox = status < 2;
        const std::string reply = "\r\n+CMGL: 1," + std::to_string(status) + ",," +
                                  std::to_string(sms::TpduLength(U16(pdu))) + "\r\n" + pdu +
                                  "\r\n\r\nOK\r\n";
        engine.ClearInbox();
        engine.ClearOutbox();
        phone().AddFault(Fault::RawReply("AT+CMGL", reply));
        EXPECT_EQ(engine.ListMessages(static_cast<sms::Status>(status),
                                      inbox ? sms::Box::Inbox : sms::Box::Outbox),
                  1);
        const sms::MessageList& list = inbox ? engine.GetInbox() : engine.GetOutbox();
        EXPECT_EQ(list.Count(), 1);
        return sms::BuildRow(list, 0, inbox);
    }
};

// The kind, the number shown, where a reply goes, the date and the text, whatever the status.
TEST_F(StoredMessagesTest, EachKindReadsAsItselfUnderEveryStatus) {
    const std::tuple<std::string, const std::type_info*, const char16_t*, const char16_t*> kinds[] =
        {{kDeliver, &typeid(CSmsDeliver), u"+447700900123 +447700900123 12/07/26", u"Hi"},
         {kSubmit, &typeid(CSmsSubmit), u"+447700900456 +447700900456 ", u"Hi"},
         {kReport, &typeid(CSmsStatusReport), u"+447700900123 +447700900123 12/07/26",
          u"Delivered to +447700900123 on 12/07/26 at 10:30:05"}};
    for (const auto& [pdu, kind, party, text] : kinds) {
        for (int status = 0; status <= 3; ++status) {
            SCOPED_TRACE(pdu + " listed with status " + std::to_string(status));
            const sms::MessageRow row = Listed(status, pdu);
            ASSERT_TRUE(row.decoded);
            const CShortMessage& message = *row.message;
            EXPECT_EQ(typeid(message), *kind);
            // A sent message's date is not shown in the outbox.
            const std::u16string date = pdu == kSubmit ? u"" : row.date;
            EXPECT_EQ(
                row.number + u" " + sms::DialBackNumber(row.message->GetAddress()) + u" " + date,
                party);
            EXPECT_EQ(row.text, text);
            EXPECT_EQ(row.fullText, text);  // what the message view shows
        }
    }
    // A sent message in the inbox has no date, not 00/00/00.
    EXPECT_EQ(Listed(1, kSubmit).date, u"");
}

// What a report says by its status octet: reached, handed on, still trying, or failed (the
// reserved values from 0x80 on too); without one it claims nothing.
TEST_F(StoredMessagesTest, AStatusReportSaysWhatHappened) {
    const std::pair<const char*, const char16_t*> cases[] = {
        {"00", u"Delivered to +447700900123 on 12/07/26 at 10:30:05"},
        {"02", u"Delivered to +447700900123 on 12/07/26 at 10:30:05"},
        {"01", u"Passed on to +447700900123 on 12/07/26 at 10:30:05, delivery not confirmed"},
        {"20", u"Still trying to deliver to +447700900123 (last try on 12/07/26 at 10:30:05)"},
        {"3F", u"Still trying to deliver to +447700900123 (last try on 12/07/26 at 10:30:05)"},
        {"41", u"Not delivered to +447700900123 on 12/07/26 at 10:30:05"},
        {"65", u"Not delivered to +447700900123 on 12/07/26 at 10:30:05"},
        {"FF", u"Not delivered to +447700900123 on 12/07/26 at 10:30:05"},
        {"", u"Report on the message to +447700900123 cut short: delivery unknown"}};
    for (const auto& [status, text] : cases) {
        const std::string pdu = kReport.substr(0, kReport.size() - 2) + status;
        EXPECT_EQ(Listed(3, pdu).text, text) << status;
    }
}

// The reserved message type, whole or cut short, gives a row that keeps its place and its
// storage and says it cannot be read (decoded false), in either box.
TEST_F(StoredMessagesTest, TheReservedTypeGivesAnUnreadableRow) {
    const std::string reserved[] = {
        "0791448720003023"
        "03"
        "2A0C91447700091032"
        "0000"
        "02C834",
        "0791448720003023"
        "FF",
        "00"
        "07"
        "00"};
    for (const std::string& pdu : reserved) {
        for (int status : {1, 3}) {
            const sms::MessageRow row = Listed(status, pdu);
            EXPECT_FALSE(row.decoded) << pdu << " " << status;
            EXPECT_EQ(row.message, nullptr);
            EXPECT_EQ(row.idText + u" " + sms::StorageName(row.storage) + row.text, u"1 SM");
        }
    }
}

}  // namespace
}  // namespace halvex::test
