#pragma once
// The SMS command object: message storages, listing, reading, sending, storing and deleting in
// PDU mode, and the inbox and outbox lists the pages show. It works on the link it is given (the
// session's) and never opens or closes the port itself.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/PhoneKinds.h"
#include "link/PhoneLink.h"
#include "link/Reply.h"
#include "sms/MessageList.h"
#include "sms/SmsReplies.h"

class CSmsEngine {
public:
    static constexpr int kSendUnconfirmed = -1;
    // How long a send waits for the phone's answer after the message text: the network may take
    // tens of seconds to take a message.
    static constexpr platform::DWORD kSendResultLimitMs = 60000;

    explicit CSmsEngine(CPhoneLink& link);
    ~CSmsEngine();
    CSmsEngine(const CSmsEngine&) = delete;
    CSmsEngine& operator=(const CSmsEngine&) = delete;

    void ClearInbox();
    void ClearOutbox();

    // "AT+CPMS=" with the three names quoted. 1 when the phone confirmed the selection (the
    // following QueryStorage reports what it selected).
    platform::BOOL SelectStorage(const std::u16string& first, const std::u16string& second,
                                 const std::u16string& third);
    // The storage the phone confirmed last as the one messages are read and deleted from,
    // Storage::None when a selection was not confirmed.
    sms::Storage GetConfirmedStorage() const { return m_confirmedStorage; }
    platform::BOOL QueryStorage();
    // `kind` is the kind of phone (nothing when unknown: the number kept so far stays).
    platform::BOOL QueryServiceCentre(std::optional<phone::Kind> kind);
    // Appends the messages of one status to the box.
    platform::BOOL ListMessages(sms::Status status, sms::Box box);
    platform::BOOL ReadMessage(int index, sms::Box box);

    // 1 when the phone confirmed the message (its reference or OK), 0 when it refused it or never
    // took the text, kSendUnconfirmed when the text went out and no final answer came within
    // kSendResultLimitMs: the message may or may not have gone.
    int SendPdu(int length, std::u16string pdu);
    // The status goes on the command line, except All, which the phone cannot store.
    platform::BOOL StorePdu(int length, std::u16string pdu, sms::Status status);
    platform::BOOL SendStored(int index);
    platform::BOOL DeleteMessage(int index, int position, sms::Box box);

    static int DecimalValue(std::u16string_view text) { return sms::DecimalValue(text); }

    const sms::MessageList& GetInbox() const { return m_inbox; }
    const sms::MessageList& GetOutbox() const { return m_outbox; }
    sms::Storage GetFirstStorage() const { return m_storage.codes[0]; }
    sms::Storage GetSecondStorage() const { return m_storage.codes[1]; }
    sms::Storage GetThirdStorage() const { return m_storage.codes[2]; }
    const std::u16string& GetServiceCentre() const { return m_serviceCentre; }
    const std::u16string& GetStorageUsed() const { return m_storage.used; }
    const std::u16string& GetStorageTotal() const { return m_storage.total; }

private:
    sms::MessageList& Box(sms::Box box) { return box == sms::Box::Inbox ? m_inbox : m_outbox; }
    // Writes the command and waits, also when the write failed; true when it was written.
    bool SendAndWait(std::u16string command, float seconds);
    // The reply up to its first null; false when none came (nothing, bad UTF-8, port failure).
    bool ReadReply(std::u16string& reply);
    // SendAndWait and ReadReply for a command whose answer is searched. The result when the
    // exchange already decides it: 0 when the write failed or the phone said "ERROR", 1 when
    // no answer came (silence is no failure); nothing when `reply` holds an answer to read.
    std::optional<platform::BOOL> Query(std::u16string command, float seconds,
                                        std::u16string& reply);
    // The PDU line after the prompt, then Ctrl-Z, each with its wait. The tick when Ctrl-Z went.
    platform::DWORD WritePdu(const std::u16string& pdu);
    // Esc, for a prompt that did not come in time: a phone that gives it late would otherwise
    // take the next commands as the message's text.
    void CancelText();
    // After a send's Ctrl-Z (written at `since`): reads until the phone's final answer, as
    // SendPdu's result.
    int AwaitSendResult(platform::DWORD since);
    // Reads until the answer, every piece of it read into `reply`, holds its final result (or,
    // when `promptExpected`, the prompt): kEnded, kTimedOut when none came within the time
    // limit, kPortFailed when the port failed.
    static constexpr int kEnded = 0;
    static constexpr int kTimedOut = -1;
    static constexpr int kPortFailed = -2;
    int ReadUntilResult(at::Reply& reply, bool promptExpected);
    // The reading both share: until `ended` holds for the answer so far, or `limitMs` after
    // `since`.
    int ReadAnswer(platform::DWORD since, platform::DWORD limitMs, at::Reply& reply,
                   const std::function<bool(const at::Reply&)>& ended);
    // "Message full!" for a box; a listing shows it once per load (until the box is cleared).
    void ShowMessageFull(sms::Box box, bool oncePerLoad);

    CPhoneLink& m_link;
    sms::MessageList m_inbox;
    sms::MessageList m_outbox;
    sms::StorageState m_storage;
    std::u16string m_serviceCentre;
    sms::Storage m_confirmedStorage = sms::Storage::None;
    // Whether "Message full!" was shown since the box was last cleared.
    bool m_inboxFullShown = false;
    bool m_outboxFullShown = false;
};
