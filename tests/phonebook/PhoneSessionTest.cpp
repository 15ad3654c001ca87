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

}  // namespace
