#include "sms/MessageBoxes.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "platform/Win32.h"

using namespace platform;

namespace sms {

namespace {

// Empties the box, then lists the given statuses from the SIM card and from the phone memory.
bool Load(CSmsEngine& engine, CPhoneSession& session, Box box, std::initializer_list<Status> onSim,
          std::initializer_list<Status> inPhone, bool* complete) {
    if (complete != nullptr) {
        *complete = false;
    }
    if (!session.IsConnected()) {
        return false;
    }
    if (box == Box::Inbox) {
        engine.ClearInbox();
    } else {
        engine.ClearOutbox();
    }
    BeginWaitCursor();
    bool listed = true;
    ShowProgress(u"Reading messages: SIM");
    engine.SelectStorage(u"SM", u"SM", u"ME");
    engine.QueryStorage();
    for (Status status : onSim) {
        listed = engine.ListMessages(status, box) && listed;
    }
    ShowProgress(u"Reading messages: phone");
    engine.SelectStorage(u"ME", u"ME", u"ME");
    engine.QueryStorage();
    for (Status status : inPhone) {
        listed = engine.ListMessages(status, box) && listed;
    }
    EndProgress();
    EndWaitCursor();
    if (complete != nullptr) {
        *complete = listed;
    }
    return true;
}

}  // namespace

bool LoadInbox(CSmsEngine& engine, CPhoneSession& session, bool* complete) {
    // Unread and read, on the SIM card as in the phone: a message the user has not read yet must
    // show wherever it lies.
    return Load(engine, session, Box::Inbox, {Status::ReceivedUnread, Status::ReceivedRead},
                {Status::ReceivedUnread, Status::ReceivedRead}, complete);
}

bool LoadOutbox(CSmsEngine& engine, CPhoneSession& session, bool* complete) {
    return Load(engine, session, Box::Outbox, {Status::StoredSent}, {Status::StoredSent}, complete);
}

std::u16string DeleteQuestion(int count) {
    if (count <= 1) {
        return u"Do you want to delete this message?";
    }
    const std::string digits = std::to_string(count);
    return u"Do you want to delete these " + std::u16string(digits.begin(), digits.end()) +
           u" messages?";
}

bool ConfirmDelete(int count, HWND owner) {
    if (count <= 0) {
        MessageBoxW(owner, u"Please select a message first!", u"Halvex", MB_OK);
        return false;
    }
    return MessageBoxW(owner, DeleteQuestion(count).c_str(), u"Halvex",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::vector<bool> DeleteRows(CSmsEngine& engine, CPhoneSession& session, Box box,
                             const std::vector<int>& rows) {
    std::vector<bool> deleted(rows.size(), false);
    BeginWaitCursor();
    if (!session.IsConnected()) {
        EndWaitCursor();
        return deleted;
    }
    const MessageList& list = box == Box::Inbox ? engine.GetInbox() : engine.GetOutbox();
    const int count = list.Count();
    // Rows deleted so far, as positions at the time they were taken: an entry moves up by one for
    // every deleted entry before it.
    std::vector<int> gone;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        if (row < 0 || row >= count ||
            std::find(rows.begin(), rows.begin() + static_cast<long>(i), row) !=
                rows.begin() + static_cast<long>(i)) {
            continue;
        }
        const int position =
            row - static_cast<int>(std::count_if(gone.begin(), gone.end(),
                                                 [row](int earlier) { return earlier < row; }));
        const int index = CSmsEngine::DecimalValue(list.Index(position));
        BOOL result = FALSE;
        // A message is deleted only from the storage the phone confirmed selecting: its index
        // in another storage is some other message.
        if (list.Storage(position) == Storage::Sim) {
            if (engine.SelectStorage(u"SM", u"SM", u"ME")) {
                result = engine.DeleteMessage(index, position, box);
            }
            engine.SelectStorage(u"ME", u"ME", u"ME");
        } else if (engine.GetConfirmedStorage() == Storage::Phone ||
                   engine.SelectStorage(u"ME", u"ME", u"ME")) {
            result = engine.DeleteMessage(index, position, box);
        }
        if (result) {
            deleted[i] = true;
            gone.push_back(row);
        }
    }
    EndWaitCursor();
    return deleted;
}

int DeleteSelected(CSmsEngine& engine, CPhoneSession& session, Box box,
                   const std::vector<int>& selected, HWND owner) {
    std::vector<std::vector<int>> rows;
    for (int row : selected) {
        rows.push_back({row});
    }
    return DeleteSelectedParts(engine, session, box, rows, owner);
}

int DeleteSelectedParts(CSmsEngine& engine, CPhoneSession& session, Box box,
                        const std::vector<std::vector<int>>& selected, HWND owner) {
    std::vector<std::vector<int>> messages = selected;
    std::sort(messages.begin(), messages.end());
    messages.erase(std::unique(messages.begin(), messages.end()), messages.end());
    // Every selected message goes, on both pages: the question names how many.
    if (!ConfirmDelete(static_cast<int>(messages.size()), owner)) {
        return 0;
    }
    std::vector<int> positions;
    for (const std::vector<int>& parts : messages) {
        positions.insert(positions.end(), parts.begin(), parts.end());
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    const std::vector<bool> deleted = DeleteRows(engine, session, box, positions);
    return static_cast<int>(std::count(deleted.begin(), deleted.end(), true));
}

}  // namespace sms
