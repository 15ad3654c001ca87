#pragma once
// The SMS engine on the simulated phone, as the pages use it: the session's link has the port
// open, and the engine borrows its handle. Every byte the engine writes is recorded too.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/PhoneLink.h"
#include "phonesim/PduBuilder.h"
#include "sms/SmsEngine.h"
#include "tests/support/SimPhoneFixture.h"

namespace halvex::test {

class SmsEngineTest : public SimPhoneTest {
protected:
    SmsEngineTest();
    void SetUp() override;

    // Puts a message straight into a storage of the phone ("SM" or "ME").
    void Put(const std::string& storage, int index, int status, const std::string& pdu);
    void SetMemoryType(std::uint32_t value);
    // Forgets what the phone heard and what was written so far.
    void Forget();

    // Milliseconds between each command and the next, and from the last one to now.
    std::vector<std::uint64_t> Gaps();
    // The writes that reached the port, in order.
    const std::vector<std::string>& Writes() const { return *writes_; }

    // "Message full!": caption "Halvex", OK, no icon, no owner.
    void ExpectMessageFull();

    // The inbox loader and the outbox loader of the pages.
    void LoadInbox();
    void LoadOutbox();

    CPhoneLink link;  // the session's
    CSmsEngine engine;

private:
    std::shared_ptr<std::vector<std::string>> writes_;
};

// A received message from `from` with `text`, sent at the given minute of a fixed day.
std::string Deliver(const std::string& from, const std::u16string& text, int minute = 0);
// A message to `to` with `text` as the compose dialog would store it.
std::string Submit(const std::string& to, const std::u16string& text);
std::u16string U16(const std::string& ascii);

}  // namespace halvex::test
