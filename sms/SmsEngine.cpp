#include "sms/SmsEngine.h"

#include <optional>
#include <string>
#include <utility>

#include "link/Reply.h"
#include "platform/Win32.h"

using namespace platform;

namespace {

constexpr float kStorageWait = 1.0f;
constexpr float kServiceCentreWait = 3.0f;
constexpr float kListWait = 2.0f;
constexpr float kReadWait = 3.0f;
constexpr float kSendWait = 3.0f;  // every wait of a send, a store, a stored send and a delete
// A phone that never finishes a store, a stored send or a delete must not hold the program
// forever.
constexpr DWORD kReadLoopLimitMs = 30000;
constexpr float kReadLoopPause = 0.1f;
constexpr char16_t kCtrlZ = 26;
constexpr char16_t kEsc = 27;

std::u16string Number(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// Storage names go between quotes on the command line: nothing that could end the quote or
// the command may be in them.
bool IsStorageName(const std::u16string& name) {
    for (char16_t c : name) {
        if (c < 0x20 || c > 0x7E || c == u'"') {
            return false;
        }
    }
    return true;
}

}  // namespace

CSmsEngine::CSmsEngine(CPhoneLink& link) : m_link(link) {}

CSmsEngine::~CSmsEngine() = default;

void CSmsEngine::ClearInbox() {
    m_inbox.Clear();
    m_inboxFullShown = false;
}

void CSmsEngine::ClearOutbox() {
    m_outbox.Clear();
    m_outboxFullShown = false;
}

bool CSmsEngine::SendAndWait(std::u16string command, float seconds) {
    const BOOL written = m_link.SendCommand(command);
    m_link.Wait(seconds);
    return written != FALSE;
}

bool CSmsEngine::ReadReply(std::u16string& reply) {
    reply.clear();
    if (m_link.ReadResponse(reply) < 2) {
        reply.clear();
        return false;
    }
    reply.resize(sms::UpToNull(reply).size());
    return true;
}

std::optional<BOOL> CSmsEngine::Query(std::u16string command, float seconds,
                                      std::u16string& reply) {
    if (!SendAndWait(std::move(command), seconds)) {
        return FALSE;
    }
    if (!ReadReply(reply)) {
        return TRUE;
    }
    if (at::ReadReply(reply).Refused()) {
        return FALSE;
    }
    return std::nullopt;
}

DWORD CSmsEngine::WritePdu(const std::u16string& pdu) {
    SendAndWait(pdu, kSendWait);
    const DWORD sent = GetTickCount();
    SendAndWait(std::u16string(1, kCtrlZ), kSendWait);
    return sent;
}

void CSmsEngine::CancelText() {
    SendAndWait(std::u16string(1, kEsc), kStorageWait);
}

int CSmsEngine::AwaitSendResult(DWORD since) {
    // "+CMGS: 7" (the message's reference) is as good as the OK that may follow it later; a port
    // that fails after the text went out leaves it open whether the phone sent it.
    at::Reply reply;
    const int read = ReadAnswer(since, kSendResultLimitMs, reply, [](const at::Reply& answer) {
        return answer.Refused() || answer.Accepted() || answer.Line(u"+CMGS:") != nullptr;
    });
    if (read != kEnded) {
        return kSendUnconfirmed;
    }
    return reply.Refused() ? FALSE : TRUE;
}

int CSmsEngine::ReadUntilResult(at::Reply& reply, bool promptExpected) {
    return ReadAnswer(
        GetTickCount(), kReadLoopLimitMs, reply, [promptExpected](const at::Reply& answer) {
            return answer.Refused() || answer.Accepted() || (promptExpected && answer.Prompted());
        });
}

int CSmsEngine::ReadAnswer(DWORD since, DWORD limitMs, at::Reply& reply,
                           const std::function<bool(const at::Reply&)>& ended) {
    std::u16string answer;
    for (;;) {
        std::u16string part;
        const int length = m_link.ReadResponse(part);
        if (length < 0) {
            // The port failed and said so; reading on would only repeat the message.
            return kPortFailed;
        }
        if (length >= 2) {
            // An answer may come in pieces ("+CMGW: 5" now, "OK" later).
            answer += sms::UpToNull(part);
            reply = at::ReadReply(answer);
            if (ended(reply)) {
                return kEnded;
            }
        }
        if (GetTickCount() - since >= limitMs) {
            return kTimedOut;
        }
        m_link.Wait(kReadLoopPause);
    }
}

void CSmsEngine::ShowMessageFull(sms::Box box, bool oncePerLoad) {
    bool& shown = box == sms::Box::Inbox ? m_inboxFullShown : m_outboxFullShown;
    if (oncePerLoad && shown) {
        return;
    }
    shown = true;
    m_link.GetNotices().Tell(phone::Notice::MessageFull);
}

BOOL CSmsEngine::SelectStorage(const std::u16string& first, const std::u16string& second,
                               const std::u16string& third) {
    if (!IsStorageName(first) || !IsStorageName(second) || !IsStorageName(third)) {
        return FALSE;
    }
    const std::u16string command =
        u"AT+CPMS=\"" + first + u"\",\"" + second + u"\",\"" + third + u"\"";
    m_confirmedStorage = sms::Storage::None;
    std::u16string reply;
    if (SendAndWait(command, kStorageWait) && ReadReply(reply) && at::ReadReply(reply).Accepted()) {
        m_confirmedStorage = sms::StorageOf(first);
        return TRUE;
    }
    return FALSE;
}

BOOL CSmsEngine::QueryStorage() {
    std::u16string reply;
    if (const std::optional<BOOL> settled = Query(u"AT+CPMS?", kStorageWait, reply)) {
        return *settled;
    }
    return sms::ParseStorageReply(reply, m_storage) ? TRUE : FALSE;
}

BOOL CSmsEngine::QueryServiceCentre(std::optional<phone::Kind> kind) {
    std::u16string reply;
    if (const std::optional<BOOL> settled = Query(u"AT+CSCA?", kServiceCentreWait, reply)) {
        return *settled;
    }
    const std::optional<sms::ServiceCentreReply> parsed = sms::ParseServiceCentreReply(reply);
    if (!parsed) {
        return FALSE;
    }
    m_serviceCentre = sms::ServiceCentreNumber(*parsed, kind, m_serviceCentre);
    return TRUE;
}

BOOL CSmsEngine::ListMessages(sms::Status status, sms::Box box) {
    std::u16string reply;
    if (const std::optional<BOOL> settled =
            Query(u"AT+CMGL=" + Number(sms::StatusCode(status)), kListWait, reply)) {
        return *settled;
    }
    sms::MessageList& list = Box(box);
    for (sms::ListedMessage& entry : sms::ParseMessageList(reply)) {
        if (list.IsFull()) {
            // A load lists several times into the one box: the user hears of it once.
            ShowMessageFull(box, true);
            return FALSE;
        }
        // The same message listed from both storages is shown once in the inbox.
        if (box == sms::Box::Inbox && list.HoldsPdu(entry.pdu)) {
            continue;
        }
        list.Append(std::move(entry.pdu), std::move(entry.index), m_storage.codes[0]);
    }
    return TRUE;
}

BOOL CSmsEngine::ReadMessage(int index, sms::Box box) {
    std::u16string reply;
    if (const std::optional<BOOL> settled = Query(u"AT+CMGR=" + Number(index), kReadWait, reply)) {
        return *settled;
    }
    if (!sms::Contains(reply, u"+CMGR:")) {
        return FALSE;
    }
    sms::MessageList& list = Box(box);
    for (std::u16string& line : sms::ParseReadReply(reply)) {
        if (list.IsFull()) {
            ShowMessageFull(box, false);
            return FALSE;
        }
        list.AppendPdu(std::move(line));
    }
    return TRUE;
}

int CSmsEngine::SendPdu(int length, std::u16string pdu) {
    // Only hex reaches the line after the prompt, so the text cannot end the message early.
    if (!sms::IsPduText(pdu)) {
        return FALSE;
    }
    if (!SendAndWait(u"AT+CMGS=" + Number(length), kSendWait)) {
        return FALSE;
    }
    std::u16string reply;
    ReadReply(reply);
    if (!at::ReadReply(reply).Prompted()) {
        CancelText();
        return FALSE;
    }
    // The service centre always goes out as international (type 91). Without one ("00") the
    // third character belongs to the first TPDU octet, where it would set the reply path.
    if (pdu.size() > 2 && pdu.compare(0, 2, u"00") != 0) {
        pdu[2] = u'9';
    }
    // Sent only when the phone says so (its message reference, or OK), refused when it says
    // ERROR; a phone that stays silent may have sent the message or not.
    return AwaitSendResult(WritePdu(pdu));
}

BOOL CSmsEngine::StorePdu(int length, std::u16string pdu, sms::Status status) {
    if (!sms::IsPduText(pdu)) {
        return FALSE;
    }
    std::u16string command = u"AT+CMGW=" + Number(length);
    if (status != sms::Status::All) {
        command += u"," + Number(sms::StatusCode(status));
    }
    if (!SendAndWait(command, kSendWait)) {
        return FALSE;
    }
    at::Reply reply;
    switch (ReadUntilResult(reply, true)) {
        case kEnded:
            if (reply.Accepted()) {
                return TRUE;  // the phone took it without a prompt; nothing to add
            }
            if (!reply.Prompted()) {
                return FALSE;
            }
            break;
        case kTimedOut:
            CancelText();
            return FALSE;
        default:
            return FALSE;
    }
    WritePdu(pdu);
    if (ReadUntilResult(reply, false) != kEnded || !reply.Accepted()) {
        return FALSE;
    }

    const std::u16string* stored = reply.Line(u"+CMGW:");
    std::u16string index = stored != nullptr ? sms::ParseStoredIndex(*stored) : u"";
    if (index.empty()) {
        // Stored, but at an index the phone did not tell: an entry without it could only
        // delete some other message later.
        return TRUE;
    }
    if (m_outbox.IsFull()) {
        // The message is on the phone; only the list has no room for it.
        ShowMessageFull(sms::Box::Outbox, false);
        return TRUE;
    }
    m_outbox.Append(std::move(pdu), std::move(index), m_storage.codes[1]);
    return TRUE;
}

BOOL CSmsEngine::SendStored(int index) {
    if (!SendAndWait(u"AT+CMSS=" + Number(index), kSendWait)) {
        return FALSE;
    }
    at::Reply reply;
    return ReadUntilResult(reply, false) == kEnded && reply.Accepted() ? TRUE : FALSE;
}

BOOL CSmsEngine::DeleteMessage(int index, int position, sms::Box box) {
    sms::MessageList& list = Box(box);
    // A position outside the list would delete on the phone what the list cannot follow.
    if (position < 0 || position >= list.Count()) {
        return FALSE;
    }
    if (!SendAndWait(u"AT+CMGD=" + Number(index), kSendWait)) {
        return FALSE;
    }
    // A phone that answers late has still deleted the message: the entry must go with it.
    at::Reply reply;
    if (ReadUntilResult(reply, false) != kEnded || !reply.Accepted()) {
        return FALSE;
    }
    list.Remove(position);
    return TRUE;
}
