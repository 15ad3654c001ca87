// Message storage, listing, reading, deleting and the service centre, in PDU mode.

#include <gtest/gtest.h>

#include "phonesim/Pdu.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

class SmsCommands : public ::testing::Test {
protected:
    SmsCommands() { h.At("AT+CMEE=1"); }
    SmsStorage& Sm() { return h.phone.Storage("SM"); }
    SmsStorage& Me() { return h.phone.Storage("ME"); }
    PhoneHarness h;
};

TEST_F(SmsCommands, StorageQueryAndSelection) {
    EXPECT_EQ(h.At("AT+CPMS=?"),
              "\r\n+CPMS: (\"SM\",\"ME\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPMS?"),
              "\r\n+CPMS: \"ME\",11,150,\"ME\",11,150,\"ME\",11,150\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPMS=\"SM\",\"SM\",\"ME\""), "\r\n+CPMS: 4,20,4,20,11,150\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPMS?"), "\r\n+CPMS: \"SM\",4,20,\"SM\",4,20,\"ME\",11,150\r\n\r\nOK\r\n");
    // Fewer names change only those storages; names are not case-sensitive.
    EXPECT_EQ(h.At("AT+CPMS=\"me\""), "\r\n+CPMS: 11,150,4,20,11,150\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPMS=\"XX\",\"SM\""), "\r\n+CMS ERROR: 302\r\n");
    EXPECT_EQ(h.phone.State().selectedStorages[1], "SM");
}

TEST_F(SmsCommands, ServiceCentre) {
    EXPECT_EQ(h.At("AT+CSCA?"), "\r\n+CSCA: \"+447802000332\",145\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CSCA=\"0123456\""), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CSCA?"), "\r\n+CSCA: \"0123456\",129\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CSCA=\"12;34\""), "\r\n+CMS ERROR: 304\r\n");
}

TEST_F(SmsCommands, ListingGivesHeaderAndPduPerMessageFromTheFirstStorage) {
    h.At("AT+CPMS=\"SM\"");
    const std::string pdu3 = Sm().messages.at(3).pdu;
    EXPECT_EQ(h.At("AT+CMGL=0"), "\r\n+CMGL: 3,0,," + std::to_string(TpduLength(pdu3)) + "\r\n" +
                                     pdu3 + "\r\n\r\nOK\r\n");
    // Listed once, the unread message is read now.
    EXPECT_EQ(Sm().messages.at(3).status, kReceivedRead);
    EXPECT_EQ(h.At("AT+CMGL=0"), "\r\nOK\r\n");
    const std::string all = h.At("AT+CMGL=4");
    for (int index = 1; index <= 4; ++index) {
        EXPECT_NE(all.find("+CMGL: " + std::to_string(index) + ",1,,"), std::string::npos);
    }
}

TEST_F(SmsCommands, ListingHeaderCarriesTheTpduLength) {
    Me().messages = {
        {3, {kReceivedRead, "07914477080000F0040B914477009001F300004230501241220005C8329BFD06"}}};
    EXPECT_EQ(
        h.At("AT+CMGL=1"),
        "\r\n+CMGL: 3,1,,24\r\n07914477080000F0040B914477009001F300004230501241220005C8329BFD06"
        "\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CMGL=2"), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CMGL=5"), "\r\n+CMS ERROR: 304\r\n");
    EXPECT_EQ(h.At("AT+CMGL=16"), "\r\n+CMS ERROR: 304\r\n");
}

TEST_F(SmsCommands, ReadingOneMessageMarksItRead) {
    const std::string pdu = Me().messages.at(6).pdu;
    EXPECT_EQ(h.At("AT+CMGR=6"),
              "\r\n+CMGR: 0,," + std::to_string(TpduLength(pdu)) + "\r\n" + pdu + "\r\n\r\nOK\r\n");
    EXPECT_EQ(Me().messages.at(6).status, kReceivedRead);
    EXPECT_EQ(h.At("AT+CMGR=60"), "\r\n+CMS ERROR: 321\r\n");
}

TEST_F(SmsCommands, DeleteRemovesFromTheFirstStorage) {
    h.At("AT+CPMS=\"SM\",\"ME\",\"ME\"");
    EXPECT_EQ(h.At("AT+CMGD=2"), "\r\nOK\r\n");
    EXPECT_EQ(Sm().messages.count(2), 0u);
    EXPECT_EQ(Me().messages.count(2), 1u);
    EXPECT_EQ(h.At("AT+CMGD=2"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(h.At("AT+CMGD=?"), "\r\n+CMGD: (1,3,4),(0-4)\r\n\r\nOK\r\n");
}

TEST_F(SmsCommands, DeleteFlagsRemoveByStatus) {
    // ME holds read (1), unread (0) and sent (3) messages.
    EXPECT_EQ(h.At("AT+CMGD=1,1"), "\r\nOK\r\n");
    for (const auto& [index, message] : Me().messages)
        EXPECT_NE(message.status, 1) << index;
    EXPECT_EQ(h.At("AT+CMGD=1,2"), "\r\nOK\r\n");
    EXPECT_EQ(Me().Used(), 2);  // the two unread ones
    EXPECT_EQ(h.At("AT+CMGD=1,4"), "\r\nOK\r\n");
    EXPECT_EQ(Me().Used(), 0);
}

TEST_F(SmsCommands, SendingAStoredMessage) {
    EXPECT_EQ(h.At("AT+CMSS=9"), "\r\n+CMSS: 1\r\n\r\nOK\r\n");
    ASSERT_EQ(h.phone.Sent().size(), 1u);
    EXPECT_EQ(h.phone.Sent()[0].pdu, Me().messages.at(9).pdu);
    EXPECT_EQ(h.phone.Sent()[0].storedIndex, 9);
    EXPECT_EQ(h.At("AT+CMSS=99"), "\r\n+CMS ERROR: 321\r\n");
    EXPECT_EQ(h.At("AT+CMSS=1"), "\r\n+CMS ERROR: 302\r\n");  // a received message
}

TEST_F(SmsCommands, TextModeIsNotOffered) {
    EXPECT_EQ(h.At("AT+CMGF=?"), "\r\n+CMGF: (0)\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CMGF?"), "\r\n+CMGF: 0\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CMGF=0"), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CMGF=1"), "\r\n+CMS ERROR: 303\r\n");
}

TEST_F(SmsCommands, NewMessageIndicationSettings) {
    EXPECT_EQ(h.At("AT+CNMI=2,1,0,0,0"), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CNMI?"), "\r\n+CNMI: 2,1,0,0,0\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CNMI=3"), "\r\n+CMS ERROR: 303\r\n");
}

}  // namespace
}  // namespace phonesim::test
