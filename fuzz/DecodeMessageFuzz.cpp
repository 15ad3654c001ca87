// Any PDU text, as a phone could list it, in both directions: decoding never fails badly, and a
// record that comes back encodes to a PDU that decodes to the same record (after the one step
// in which encoding fits the text to the alphabet it is sent in). The concatenation element of
// any header is read without harm.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sms/codec/Concatenation.h"
#include "sms/codec/ShortMessage.h"

namespace {

// Stops the run at a broken promise, saying which.
#define CHECK(c) ((c) ? void() : (std::fprintf(stderr, "broken: %s\n", #c), std::abort()))

void RoundTrip(const std::u16string& pdu, bool incoming) {
    const auto first = DecodeMessage(pdu, incoming);
    if (!first)
        return;
    // Whatever header came, the walk over its elements stays inside it.
    const auto part = sms::FindConcatenation(first->GetHeader());
    CHECK(!part || part->wideReference || part->reference < 256);
    const std::u16string once = first->Encode();
    if (once.empty()) {
        return;  // too long to write: nothing goes out
    }
    const auto second = DecodeMessage(once, incoming);
    CHECK(second != nullptr);
    CHECK(second->GetMessageType() == first->GetMessageType());
    const std::u16string twice = second->Encode();
    CHECK(twice == once);
    const auto third = DecodeMessage(twice, incoming);
    CHECK(third != nullptr);
    CHECK(third->GetText() == second->GetText());
    CHECK(third->GetHeader() == second->GetHeader());
    CHECK(third->GetAddress() == second->GetAddress());
    CHECK(third->GetTimeStamp() == second->GetTimeStamp());
    CHECK(third->GetServiceCentre() == second->GetServiceCentre());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as the text a phone lists: mostly hex, but anything may come.
    const std::u16string pdu(data, data + size);
    RoundTrip(pdu, true);
    RoundTrip(pdu, false);
    return 0;
}
