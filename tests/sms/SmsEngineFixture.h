#pragma once
// The SMS engine on the simulated phone, as the pages use it: the session holds the port open
// and the engine borrows its handle. Every byte the engine writes is recorded too.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "phonesim/PduBuilder.h"
#include "sms/SmsEngine.h"
#include "tests/support/SessionFixture.h"

namespace halvex::test {

using Strings = std::vector<std::string>;
using Ms = std::vector<std::uint64_t>;

class SmsEngineTest : public SessionTest {
protected:
    SmsEngineTest();
    void SetUp() override;

    // Puts a message straight into a storage of the phone ("SM" or "ME").
    void Put(const std::string& storage, int index, int status, const std::string& pdu);
    // Forgets what the phone heard and what was written so far.
    void Forget();
    // The writes that reached the port, in order.
    const std::vector<std::string>& Writes() const { return *writes_; }
    // "Message full!": OK, no icon.
    void ExpectMessageFull() { ExpectBox(u"Message full!", platform::MB_OK); }

    CSmsEngine engine;

private:
    std::shared_ptr<std::vector<std::string>> writes_;
};

// A received message from `from` with `text`.
std::string Deliver(const std::string& from, const std::u16string& text,
                    phonesim::SmsTime time = {});
// A message to `to` with `text` as the compose dialog would store it.
std::string Submit(const std::string& to, const std::u16string& text);
std::u16string U16(const std::string& ascii);
// The entries of a box as "index@storage code", in order.
Strings Slots(const sms::MessageList& list);

}  // namespace halvex::test
