// Message storage, listing, reading, deleting and the service centre, in PDU mode.

#include <gtest/gtest.h>

#include "phonesim/Pdu.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

class SmsCommands : public ::testing::Test {
protected:
    SmsCommands() { h.At("AT+CMEE=1"); }
    SmsStorage& Me() { return h.phone.Storage("ME"); }
    PhoneHarness h;
};

TEST_F(SmsCommands, StorageQueryAndSelection) {
    h.Talk({{"AT+CPMS=?", Info({R"(+CPMS: ("SM","ME"),("SM","ME"),("SM","ME"))"})},
            {"AT+CPMS?", Info({R"(+CPMS: "ME",12,150,"ME",12,150,"ME",12,150)"})},
            {R"(AT+CPMS="SM","SM","ME")", Info({"+CPMS: 4,20,4,20,12,150"})},
            {"AT+CPMS?", Info({R"(+CPMS: "SM",4,20,"SM",4,20,"ME",12,150)"})},
            // Fewer names change only those storages; names are not case-sensitive.
            {R"(AT+CPMS="me")", Info({"+CPMS: 12,150,4,20,12,150"})},
            {R"(AT+CPMS="XX","ME")", Cms(302)},
            {"AT+CPMS?", Info({R"(+CPMS: "ME",12,150,"SM",4,20,"ME",12,150)"})}});
}

TEST_F(SmsCommands, ServiceCentre) {
    h.Talk({{"AT+CSCA?", Info({R"(+CSCA: "+447802000332",145)"})},
            {R"(AT+CSCA="0123456")", Ok()},
            {"AT+CSCA?", Info({R"(+CSCA: "0123456",129)"})},
            {R"(AT+CSCA="12;34")", Cms(304)}});
}

TEST_F(SmsCommands, ListingGivesAHeaderWithTheTpduLengthAndThePduPerMessage) {
    const std::string pdu = "07914477080000F0040B914477009001F300004230501241220005C8329BFD06";
    Me().messages = {{3, {kReceivedRead, pdu}}};
    h.Talk({{"AT+CMGL=1", Info({"+CMGL: 3,1,,24", pdu})},
            {"AT+CMGL=2", Ok()},
            {"AT+CMGL=5", Cms(304)},
            {"AT+CMGL=16", Cms(304)}});
}

TEST_F(SmsCommands, ReadingOrListingAReceivedMessageMarksItRead) {
    const std::string pdu6 = Me().messages.at(6).pdu;
    const std::string length6 = std::to_string(TpduLength(pdu6));
    h.Talk({{"AT+CMGR=6", Info({"+CMGR: 0,," + length6, pdu6})},
            {"AT+CMGR=6", Info({"+CMGR: 1,," + length6, pdu6})},
            {"AT+CMGR=60", Cms(321)}});

    h.At(R"(AT+CPMS="SM")");
    const std::string pdu3 = h.phone.Storage("SM").messages.at(3).pdu;
    h.Talk({{"AT+CMGL=0", Info({"+CMGL: 3,0,," + std::to_string(TpduLength(pdu3)), pdu3})},
            {"AT+CMGL=0", Ok()}});
    const std::string all = h.At("AT+CMGL=4");
    for (int index = 1; index <= 4; ++index)
        EXPECT_NE(all.find("+CMGL: " + std::to_string(index) + ",1,,"), std::string::npos);
}

TEST_F(SmsCommands, DeleteByIndexOrByStatusFromTheFirstStorage) {
    h.At(R"(AT+CPMS="SM","ME","ME")");
    h.Talk({{"AT+CMGD=2", Ok()},
            {"AT+CMGD=2", Cms(321)},
            {"AT+CMGD=?", Info({"+CMGD: (1,3,4),(0-4)"})}});
    EXPECT_EQ(Me().messages.count(2), 1u);

    // ME holds read (1), unread (0) and sent (3) messages.
    h.At(R"(AT+CPMS="ME")");
    EXPECT_EQ(h.At("AT+CMGD=1,1"), Ok());
    for (const auto& [index, message] : Me().messages)
        EXPECT_NE(message.status, kReceivedRead) << index;
    EXPECT_EQ(h.At("AT+CMGD=1,2"), Ok());
    EXPECT_EQ(Me().Used(), 2);  // the two unread ones
    EXPECT_EQ(h.At("AT+CMGD=1,4"), Ok());
    EXPECT_EQ(Me().Used(), 0);
}

TEST_F(SmsCommands, SendingAStoredMessage) {
    EXPECT_EQ(h.At("AT+CMSS=9"), Info({"+CMSS: 1"}));
    ASSERT_EQ(h.phone.Sent().size(), 1u);
    EXPECT_EQ(h.phone.Sent()[0].pdu, Me().messages.at(9).pdu);
    EXPECT_EQ(h.phone.Sent()[0].storedIndex, 9);
    h.Talk({{"AT+CMSS=99", Cms(321)}, {"AT+CMSS=1", Cms(302)}});  // 1: a received message
}

TEST_F(SmsCommands, OnlyPduModeAndTheIndicationSettings) {
    h.Talk({{"AT+CMGF=?", Info({"+CMGF: (0)"})},
            {"AT+CMGF?", Info({"+CMGF: 0"})},
            {"AT+CMGF=0", Ok()},
            {"AT+CMGF=1", Cms(303)},
            {"AT+CNMI=2,1,0,0,0", Ok()},
            {"AT+CNMI?", Info({"+CNMI: 2,1,0,0,0"})},
            {"AT+CNMI=3", Cms(303)}});
}

}  // namespace
}  // namespace phonesim::test
