#pragma once
// Fixture for tests of the phone book and the pages' phone work: the simulated phone of
// SimPhoneTest, starting from the "empty" profile (each test puts what it needs) unless the
// fixture names another, plus what the program owns on it: the phone session, the phone book and
// the SMS engine, made for each test and deleted afterwards. "MemoryType" is 0 (an ordinary
// phone) unless a test changes it.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "app/BoxNotices.h"
#include "link/PhoneSession.h"
#include "phonebook/PhoneBooks.h"
#include "sms/SmsEngine.h"
#include "tests/support/SimPhoneFixture.h"

namespace halvex::test {

class SessionTest : public SimPhoneTest {
public:
    CPhoneSession& session() { return *session_; }
    CPhoneBooks& books() { return *books_; }
    CSmsEngine& sms() { return *sms_; }
    // A new session, phone book and SMS engine, as at a new start of the program.
    void Renew() {
        sms_.reset();
        books_.reset();
        session_ = std::make_unique<CPhoneSession>(notices_);
        books_ = std::make_unique<CPhoneBooks>(*session_);
        sms_ = std::make_unique<CSmsEngine>(session_->GetLink());
        session_->RecallPhoneKind();
    }

    // Connects and forgets the probe and everything else the phone heard so far.
    void Connect() {
        ASSERT_TRUE(books().Connect());
        phone().ClearTranscript();
    }
    // Connects, reads a memory of the phone book and forgets the commands of the read.
    void ConnectAndRead(phone::Memory memory = phone::Memory::Phone) {
        Connect();
        books().LoadBook(memory);
        phone().ClearTranscript();
    }
    // Stores an entry straight into a memory of the phone ("ME" or "SM").
    void Put(const std::string& memory, int index, const std::string& number,
             const std::u16string& name) {
        const int type = !number.empty() && number[0] == '+' ? 145 : 129;
        phone().Phonebook(memory).entries[index] = phonesim::PhonebookEntry{number, type, name};
    }
    // Sets "MemoryType" under HKEY_CURRENT_USER\Comm\MemoryType, as a connection finds it.
    void SetMemoryType(std::uint32_t value) {
        registry().SetDword(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", value);
        session_->RecallPhoneKind();
    }

    // Milliseconds between each command the phone received and the next, and from the last one
    // to now.
    std::vector<std::uint64_t> Gaps() {
        std::vector<std::uint64_t> gaps;
        for (std::size_t i = 0; i < transcript().size(); ++i) {
            const bool last = i + 1 == transcript().size();
            gaps.push_back((last ? clock().NowMs() : transcript()[i + 1].timeMs) -
                           transcript()[i].timeMs);
        }
        return gaps;
    }
    // A box with this text and type (buttons, icon, default button), no owner, answered with
    // `answer`; the caption is "Halvex" unless given.
    void ExpectBox(const std::u16string& text, platform::UINT type, int answer = platform::IDOK,
                   const std::u16string& caption = u"Halvex") {
        ui().Expect(platform::ExpectedBox{text, answer, type, caption, platform::HWND{0}, {}});
    }
    // "Connection lost, Please Connect again" and the other notices: OK and the exclamation icon.
    void ExpectNotice(const std::u16string& text) {
        ExpectBox(text, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    }

protected:
    explicit SessionTest(const std::string& profile = "empty") : SimPhoneTest(profile) {}
    void SetUp() override {
        SimPhoneTest::SetUp();
        SetMemoryType(0);
    }
    void TearDown() override {
        // The port closes on the platform it was opened on.
        session_->Disconnect();
        SimPhoneTest::TearDown();
    }

private:
    app::BoxNotices notices_;
    std::unique_ptr<CPhoneSession> session_ = std::make_unique<CPhoneSession>(notices_);
    std::unique_ptr<CPhoneBooks> books_ = std::make_unique<CPhoneBooks>(*session_);
    std::unique_ptr<CSmsEngine> sms_ = std::make_unique<CSmsEngine>(session_->GetLink());
};

}  // namespace halvex::test
