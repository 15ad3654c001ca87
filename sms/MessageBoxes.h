#pragma once
// The phone work of the inbox and outbox pages, without their windows: the loaders that fill the
// SMS engine's lists from both storages, and the delete sequence of selected rows. Rows are the
// engine's entries in the same order (see sms/MessageRows.h).

#include <string>
#include <vector>

#include "link/PhoneSession.h"
#include "platform/Win32Types.h"
#include "sms/SmsEngine.h"

namespace sms {

// "Get data" of the inbox page: the unread and the read messages on the SIM card, then those in
// the phone memory. False, and nothing read, when the phone is not connected. The page
// shows what it got; `complete`, when given, tells whether every listing succeeded (a backup
// must know that it holds every message).
bool LoadInbox(CSmsEngine& engine, CPhoneSession& session, bool* complete = nullptr);
// "Get data" of the outbox page: the stored sent messages on the SIM card, then in the phone.
bool LoadOutbox(CSmsEngine& engine, CPhoneSession& session, bool* complete = nullptr);

// The pages' delete question for `count` selected messages (No by default): "Please select a
// message first!" for none, DeleteQuestion otherwise. True on Yes.
bool ConfirmDelete(int count, platform::HWND owner = 0);
// "Do you want to delete this message?" for one, or the question naming how many.
std::u16string DeleteQuestion(int count);

// Deletes the messages of the given rows (positions in the engine's list of `box` when the rows
// were taken) under the wait cursor, each addressing its own entry wherever the deletions before
// it moved it; a message on the SIM card is deleted between the selections of "SM" and "ME".
// Per row, in the order given, whether it was deleted; all false when the phone is not
// connected. Repeated rows and rows outside the list are not deleted.
std::vector<bool> DeleteRows(CSmsEngine& engine, CPhoneSession& session, Box box,
                             const std::vector<int>& rows);

// Delete of a page: ConfirmDelete for the selected rows, then every one of them. The number of
// messages deleted (the page rebuilds its rows when it is above 0).
int DeleteSelected(CSmsEngine& engine, CPhoneSession& session, Box box,
                   const std::vector<int>& selected, platform::HWND owner = 0);
// The same for rows that each show one or more stored messages (the parts of a long message):
// one question for the rows, then every part of each. A part the phone refuses stays in the list.
int DeleteSelectedParts(CSmsEngine& engine, CPhoneSession& session, Box box,
                        const std::vector<std::vector<int>>& selected, platform::HWND owner = 0);

}  // namespace sms
