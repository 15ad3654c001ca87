// CPU cost of the simulated phone: answering a full phone book read and a full message
// listing, and loading a profile. Tests in virtual time run thousands of these.

#include <benchmark/benchmark.h>

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"

namespace {

void AnswerAndRead(benchmark::State& state, const char* command) {
    phonesim::Phone phone(phonesim::ShippedProfile("full"));
    phone.State().echo = false;
    std::uint64_t now = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        phone.Receive(command, now);
        now += 1'000'000;
        const std::string answer = phone.Read(now);
        bytes = answer.size();
        benchmark::DoNotOptimize(answer.data());
    }
    state.counters["answer_bytes"] = static_cast<double>(bytes);
}

void BM_ReadWholePhonebook(benchmark::State& state) {
    AnswerAndRead(state, "AT+CPBR=1,250\r");
}
BENCHMARK(BM_ReadWholePhonebook);

void BM_ListAllMessages(benchmark::State& state) {
    AnswerAndRead(state, "AT+CMGL=4\r");
}
BENCHMARK(BM_ListAllMessages);

void BM_LoadDefaultProfile(benchmark::State& state) {
    for (auto _ : state) {
        phonesim::Profile profile = phonesim::ShippedProfile("default");
        benchmark::DoNotOptimize(profile.state.phonebooks.data());
    }
}
BENCHMARK(BM_LoadDefaultProfile);

}  // namespace

BENCHMARK_MAIN();
