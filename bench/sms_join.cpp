// Rebuilding the inbox rows of a full inbox (65 entries) whose messages are long ones in three
// parts, stored out of order: the decode of every PDU and the joining of the parts.

#include <benchmark/benchmark.h>

#include <string>

#include "phonesim/PduBuilder.h"
#include "sms/JoinedMessages.h"
#include "sms/MessageList.h"
#include "sms/SmsReplies.h"

namespace {

sms::MessageList FullInboxOfParts() {
    sms::MessageList list;
    for (int i = 0; i < sms::MessageList::kCapacity; ++i) {
        const int message = i / 3;
        const int sequence = 3 - i % 3;  // part 3 first
        const std::string from = "+4477009001" + std::to_string(10 + message % 7);
        const std::string pdu =
            phonesim::BuildDeliver({.from = from,
                                    .time = {24, 3, 1 + message % 28, 9, 0, 0, 0},
                                    .text = std::u16string(150, u'a'),
                                    .part = phonesim::PartOf{message, 3, sequence}})
                .value();
        list.Append(std::u16string(pdu.begin(), pdu.end()), u"1", sms::Storage::Phone);
    }
    return list;
}

void BuildAndJoinRows(benchmark::State& state) {
    const sms::MessageList list = FullInboxOfParts();
    for (auto _ : state) {
        benchmark::DoNotOptimize(sms::JoinParts(sms::BuildRows(list, true)));
    }
}
BENCHMARK(BuildAndJoinRows);

void JoinRowsOnly(benchmark::State& state) {
    const std::vector<sms::MessageRow> rows = sms::BuildRows(FullInboxOfParts(), true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sms::JoinParts(rows));
    }
}
BENCHMARK(JoinRowsOnly);

}  // namespace

BENCHMARK_MAIN();
