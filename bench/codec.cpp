// Cost of decoding and encoding one message: a full 7-bit SMS-DELIVER, a UCS2 SMS-DELIVER that
// is part of a concatenated message, and an SMS-SUBMIT as the compose dialog builds it.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "sms/codec/DialNumber.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsSubmit.h"

#include "bench/BenchText.h"

namespace {

using bench::Repeated;

CSmsDeliver SevenBitDeliver() {
    CSmsDeliver m;
    m.SetServiceCentre(ParseDialNumber(u"+491720000000"));
    m.SetOriginator(ParseDialNumber(u"+4917612345678"));
    m.SetTimeStamp(SmsDateTime{24, 6, 1, 12, 34, 56, 120, 1});
    m.SetText(Repeated(u"The quick brown fox jumps over the lazy dog. ", 160));
    return m;
}

CSmsDeliver Ucs2ConcatenatedDeliver() {
    CSmsDeliver m = SevenBitDeliver();
    m.SetDcs(0x08);
    m.SetHeader(std::u16string(u"\x00\x03\x5A\x02\x01", 5));
    m.SetText(Repeated(u"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440! ", 70));
    return m;
}

CSmsSubmit ComposedSubmit() {
    CSmsSubmit m(u"Running late, start without me. See you at the station at 8.",
                 u"+4917612345678");
    m.SetServiceCentre(ParseDialNumber(u"+491720000000"));
    m.SetStatusReportRequest(1);
    m.SetDcs(0x08);
    return m;
}

template <typename Record>
void Decode(benchmark::State& state, const Record& record, bool incoming) {
    const std::u16string pdu = record.Encode();
    for (auto _ : state) {
        auto decoded = DecodeMessage(pdu, incoming);
        benchmark::DoNotOptimize(decoded);
    }
}

template <typename Record>
void Encode(benchmark::State& state, const Record& record) {
    for (auto _ : state) {
        std::u16string pdu = record.Encode();
        benchmark::DoNotOptimize(pdu);
    }
}

void BM_Decode_Deliver7Bit160(benchmark::State& state) {
    Decode(state, SevenBitDeliver(), true);
}
void BM_Encode_Deliver7Bit160(benchmark::State& state) {
    Encode(state, SevenBitDeliver());
}
void BM_Decode_DeliverUcs2Concatenated70(benchmark::State& state) {
    Decode(state, Ucs2ConcatenatedDeliver(), true);
}
void BM_Encode_DeliverUcs2Concatenated70(benchmark::State& state) {
    Encode(state, Ucs2ConcatenatedDeliver());
}
void BM_Decode_ComposedSubmit(benchmark::State& state) {
    Decode(state, ComposedSubmit(), false);
}
void BM_Encode_ComposedSubmit(benchmark::State& state) {
    Encode(state, ComposedSubmit());
}

BENCHMARK(BM_Decode_Deliver7Bit160);
BENCHMARK(BM_Encode_Deliver7Bit160);
BENCHMARK(BM_Decode_DeliverUcs2Concatenated70);
BENCHMARK(BM_Encode_DeliverUcs2Concatenated70);
BENCHMARK(BM_Decode_ComposedSubmit);
BENCHMARK(BM_Encode_ComposedSubmit);

}  // namespace

BENCHMARK_MAIN();
