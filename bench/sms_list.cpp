// Reading a full message list reply (65 long messages) and filling the inbox from it.

#include <benchmark/benchmark.h>

#include <string>

#include "sms/MessageList.h"
#include "sms/SmsReplies.h"

namespace {

std::u16string FullListReply() {
    std::u16string reply = u"AT+CMGL=1\r\r\n";
    for (int i = 1; i <= 65; ++i) {
        const std::string index = std::to_string(i);
        reply += u"+CMGL: " + std::u16string(index.begin(), index.end()) + u",1,,152\r\n";
        std::u16string pdu = u"07914497200023F3040C914477009001230008";
        pdu += u"20500231400000";
        while (pdu.size() < 330) {
            pdu += u"00410042";
        }
        pdu += std::u16string(index.begin(), index.end());
        reply += pdu + u"\r\n";
    }
    reply += u"\r\nOK\r\n";
    return reply;
}

void ParseFullList(benchmark::State& state) {
    const std::u16string reply = FullListReply();
    for (auto _ : state) {
        benchmark::DoNotOptimize(sms::ParseMessageList(reply));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(reply.size() * sizeof(char16_t)));
}
BENCHMARK(ParseFullList);

// The inbox's duplicate check compares each new entry with every one before it.
void FillInboxWithDuplicateCheck(benchmark::State& state) {
    const auto entries = sms::ParseMessageList(FullListReply());
    for (auto _ : state) {
        sms::MessageList list;
        for (const auto& entry : entries) {
            if (!list.HoldsPdu(entry.pdu)) {
                list.Append(entry.pdu, entry.index, sms::Storage::Sim);
            }
        }
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(FillInboxWithDuplicateCheck);

}  // namespace

BENCHMARK_MAIN();
