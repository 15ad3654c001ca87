#include <gtest/gtest.h>

#include "phonesim/Fault.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using Lines = std::vector<std::string>;

class PhoneSessionTest : public SessionTest {};

// A failed connect empties the books (the main window's failed connection); a disconnect keeps
// them and closes the port (the failed read's disconnect).
TEST_F(PhoneSessionTest, DetectNokiaLooksForTheMakerInExactCase) {
    using enum phone::Kind;
    Connect();
    EXPECT_EQ(session().DetectPhoneKind(), Ordinary);
    EXPECT_EQ(commands(), (Lines{"ATI"}));
    phone().State().identity.maker = "Nokia Mobile Phones";
    EXPECT_EQ(session().DetectPhoneKind(), Nokia);
    phone().State().identity.maker = "NOKIA";
    EXPECT_EQ(session().DetectPhoneKind(), Ordinary);
    // A phone that does not answer is no Nokia; one that cannot be written to is unknown.
    phone().AddFault(phonesim::Fault::NoReply("ATI"));
    EXPECT_EQ(session().DetectPhoneKind(), Ordinary);
    session().Disconnect();
    EXPECT_EQ(session().DetectPhoneKind(), NoAnswer);
}

TEST_F(PhoneSessionTest, StorageCodesOutsideTheTableAreRefusedWithoutSending) {
    Connect();
    ExpectNotice(u"No this storage type");
    EXPECT_FALSE(session().SelectStorage(10));
    EXPECT_TRUE(session().SelectStorage(8));
    EXPECT_EQ(commands(), (Lines{R"(AT+CPBS="HP")"}));
    EXPECT_EQ(session().GetSelectedStorage(), 8);
    // A selection that cannot be written is not taken.
    session().Disconnect();
    EXPECT_FALSE(session().SelectStorage(2));
    EXPECT_EQ(session().GetSelectedStorage(), CPhoneSession::StorageCode(phone::Memory::Sim));
}

}  // namespace
