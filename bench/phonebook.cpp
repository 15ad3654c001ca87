// Reading a full phone book: the CPU time of splitting, parsing and merging the replies of a
// 250-entry memory, and the virtual time a read of the default simulated phone's memory takes
// compared with what the fixed waits and the one second per 128-byte chunk predict.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "link/PhoneSession.h"
#include "phonebook/PhoneBookEngine.h"
#include "phonebook/PhoneBooks.h"
#include "phonebook/ReadRanges.h"
#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/SimSerialPort.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPorts.h"
#include "platform/Registry.h"
#include "tests/support/ScriptedUi.h"

namespace {

std::u16string Text(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// The seven replies of a full memory as an echoing phone sends them: 250 entries of about 100
// contacts with one to three numbers each.
std::vector<std::u16string> FullMemoryReplies() {
    const char* suffixes[] = {"/H", "/M", "/W"};
    std::vector<std::u16string> replies;
    for (const phonebook::ReadRange& range : phonebook::PlanReadRanges(1, 250)) {
        std::string reply =
            "AT+CPBR=" + std::to_string(range.first) + "," + std::to_string(range.last) + "\r\r\n";
        for (int i = range.first; i <= range.last; ++i) {
            const int contact = (i - 1) * 2 / 5;  // five entries for every two contacts
            reply += "+CPBR: " + std::to_string(i) + ",\"+4477009" + std::to_string(10000 + i) +
                     "\",145,\"Contact Number " + std::to_string(contact) + suffixes[i % 3] +
                     "\"\r\n";
        }
        reply += "\r\nOK\r\n";
        replies.push_back(Text(reply));
    }
    return replies;
}

void SplitParseMergeFullMemory(benchmark::State& state) {
    const std::vector<std::u16string> replies = FullMemoryReplies();
    CPhoneLink link(phone::Notices::Silent());
    CPhoneBookEngine engine(link, {});
    for (auto _ : state) {
        CContactBook book;
        for (const std::u16string& reply : replies) {
            engine.SplitRecords(reply);
            for (const auto& record : engine.GetRecords()) {
                CPhoneBookEngine::ParseRecord(*record);
            }
            engine.MergeRecords(book);
            engine.ClearRecords();
        }
        benchmark::DoNotOptimize(book.GetSize());
    }
}
BENCHMARK(SplitParseMergeFullMemory)->Unit(benchmark::kMicrosecond);

// The fixed wait of each command of a read, between writing it and reading its reply.
double FixedWaitSeconds(const std::string& command) {
    if (command.rfind("AT+CPBS=", 0) == 0 || command.rfind("AT+CSCS=", 0) == 0) {
        return 2.0;
    }
    if (command == "AT+CPBR=?") {
        return 3.0;
    }
    return 0.5;  // a range
}

void FullReadOfDefaultPhoneMemory(benchmark::State& state) {
    platform::VirtualClock clock;
    platform::ScriptedUi ui;
    platform::Registry registry;
    platform::FakeSerialPorts ports;
    phonesim::Phone phone(phonesim::ShippedProfile("default"));
    phonesim::SimPortOpener opener(phone);
    phonesim::RegisterSimPort(ports, u"sim0", opener);
    registry.SetString(platform::HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", u"sim0");
    registry.SetDword(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", 0);
    platform::ScopedHost host({&ports, &registry, &clock, &ui});

    double virtualMs = 0;
    double predictedMs = 0;
    int contacts = 0;
    for (auto _ : state) {
        CPhoneSession session(phone::Notices::Silent());
        CPhoneBooks books(session);
        books.Connect();
        phone.ClearTranscript();
        const std::uint64_t start = clock.NowMs();
        books.LoadBook(phone::Memory::Phone);
        virtualMs = static_cast<double>(clock.NowMs() - start);
        contacts = books.GetPhoneBook().GetSize();

        // The same commands on a twin that answers at once give each reply's length.
        phonesim::Phone twin(phonesim::ShippedProfile("default"));
        twin.SetLatency(0);
        twin.SetBaud(0);
        predictedMs = 0;
        for (const std::string& line : phone.CommandLines()) {
            twin.Receive(line + "\r", 0);
            const std::size_t bytes = twin.Read(0).size();
            predictedMs += FixedWaitSeconds(line) * 1000 + 1000.0 * ((bytes + 127) / 128);
        }
    }
    state.counters["virtual_ms"] = virtualMs;
    state.counters["predicted_ms"] = predictedMs;
    state.counters["contacts"] = contacts;
    std::printf(
        "Full read of the default phone memory: %.0f ms virtual, %.0f ms predicted by "
        "the waits, %d contacts, %zu unexpected boxes\n",
        virtualMs, predictedMs, contacts, ui.Unexpected().size());
}
BENCHMARK(FullReadOfDefaultPhoneMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
