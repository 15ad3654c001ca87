#pragma once
// The phone book command object: selects the storage, reads entries in ranges and merges them
// into contacts by name, and writes or deletes the entries of one contact.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/PhoneKinds.h"
#include "link/PhoneLink.h"
#include "phonebook/ContactBook.h"
#include "phonebook/NameCharset.h"
#include "phonebook/PbrRecord.h"

class CPhoneBookEngine {
public:
    // What the engine reports while it works; its owner decides what the user is told and what
    // becomes of the connection. Either may be empty.
    struct Events {
        // A read could not send its command or got no whole answer.
        std::function<void()> linkLost;
        // A new number finds no free index in the memory.
        std::function<void()> outOfIndices;
        // A read found entries whose names are no text in the phone's character set: how many.
        std::function<void(int)> unreadableNames;
    };
    // The longest number and name a memory takes, from its range reply; 0 when not known.
    struct Limits {
        int number = 0;
        int text = 0;
    };
    // What a save or a deletion works on: the book of the memory in use, the memory's highest
    // index, and the kind of phone (nothing when unknown: names are then not written at all).
    struct Target {
        CContactBook* book = nullptr;
        int highest = 0;
        std::optional<phone::Kind> kind;
        Limits limits;
    };

    CPhoneBookEngine(CPhoneLink& link, Events events);
    ~CPhoneBookEngine();
    CPhoneBookEngine(const CPhoneBookEngine&) = delete;
    CPhoneBookEngine& operator=(const CPhoneBookEngine&) = delete;

    // Reading.
    // The highest entry number of the selected memory, 0 when none could be found; its limits
    // are kept for GetLastLimits. Also selects the character set, whatever the range reply was.
    int QueryIndexRange();
    Limits GetLastLimits() const { return m_lastLimits; }
    // Sends "AT+CSCS="UTF-8"" and waits for it; 1 when it could be written. A phone that refuses
    // it is asked what it offers, and the first of UCS2, GSM and IRA it takes is used.
    platform::BOOL SelectCharacterSet();
    phonebook::NameCharset GetCharset() const { return m_charset; }
    // Reads the indices first..last into `book`. A range that fails is reported (linkLost); a
    // failed answer ends the read.
    void ReadEntries(CContactBook& book, int first, int last);

    // One reply: cut it into records, parse each, merge them into a book, forget them.
    void SplitRecords(const std::u16string& reply);
    static platform::BOOL ParseRecord(CPbrRecord& record);
    void MergeRecords(CContactBook& book);
    void ClearRecords();
    const std::vector<std::unique_ptr<CPbrRecord>>& GetRecords() const { return m_records; }

    // The leading decimal integer as atoi reads it (blanks, sign, digits), from the first 31
    // characters; saturates instead of overflowing, 0 when there are no digits.
    static int ParseDecimal(std::u16string_view text);

    // Writing, always to the target given last.
    void SetTarget(const Target& target) { m_target = target; }
    // 1 written, 0 nothing sent because `index` is negative, -1 not written: the text could
    // break the command line, the kind of phone is unknown, the command could not be sent or the
    // phone did not answer OK.
    int WriteEntry(int index, const std::u16string& number, const std::u16string& name, int kind);
    // Deletes from..to, waiting for each answer. 1 when the phone confirmed every deletion; an
    // index stays taken until its deletion is confirmed.
    platform::BOOL DeleteEntries(int from, int to);
    // The highest index of the memory that neither a contact nor the last read holds, else
    // "Out of Entry Number" and -1.
    int AllocateIndex();
    // Brings the phone entry of one number in line with it; 0 when a write was not taken.
    platform::BOOL WriteSlot(int& indexField, int kind, const std::u16string& number,
                             const std::u16string& name);
    // Sends the marked changes of a contact of the current book. 1 when every write was taken;
    // 0 otherwise, and the contact keeps the marks of the numbers not written.
    platform::BOOL WriteContact(int position);
    // Deletes every phone entry of a contact of the current book. 1 and its marks cleared when
    // the phone confirmed each; otherwise 0, and the numbers whose entries are gone are marked.
    platform::BOOL DeleteContactEntries(int position);

    // What the last WriteContact did with each kind of number, by kind - 1, for callers that
    // tell the user number by number which writes the phone took.
    enum class SlotOutcome {
        Untouched,  // not marked: nothing was sent for it
        Written,    // the phone confirmed the write or the deletion
        NoIndex,    // no free index: nothing was sent
        Refused,    // not confirmed; `reason` says why
    };
    struct SlotReport {
        SlotOutcome outcome = SlotOutcome::Untouched;
        std::u16string reason;  // the phone's error result, "no answer", or what kept it back
    };
    const std::array<SlotReport, 5>& GetLastWrite() const { return m_lastWrite; }
    // Why the last WriteContact sent nothing at all: a name or number the phone cannot take.
    // Empty when it went to the phone.
    const std::u16string& GetLastCheck() const { return m_lastCheck; }

private:
    // Why the phone cannot take this entry (a character of the name its set cannot carry, a
    // name or number beyond its limits); empty when it can.
    std::u16string CheckEntry(const std::u16string& number, const std::u16string& name,
                              int kind) const;
    // The name as written for `kind`: with its suffix unless the phone is a Nokia.
    std::u16string StoredName(const std::u16string& name, int kind) const;
    // Gives the names of the records the text of the set in use; a name that is no text in it
    // leaves its record incomplete.
    void DecodeNames();

    // Why the last write or deletion did not count, for the slot reports.
    void NoteRefusal(std::u16string reason) { m_lastRefusal = std::move(reason); }

    CPhoneLink& m_link;
    Events m_events;
    Target m_target;
    std::vector<std::unique_ptr<CPbrRecord>> m_records;
    std::array<SlotReport, 5> m_lastWrite;
    std::u16string m_lastRefusal;
    std::u16string m_lastCheck;
    Limits m_lastLimits;
    phonebook::NameCharset m_charset = phonebook::NameCharset::Utf8;
};
