// Decoding received PDU hex text, side by side with libgammu's decoder when it is installed
// (Debian's libgammu-dev): a 7-bit message with and without a user-data header, a UCS2 message,
// a sender that is a name and a status report, decoded in turn. The two decoders take the same
// texts in interleaved rounds, so a busy machine slows both alike; the figures are medians.
//
//   halvex_bench_decode_mix                      the table and the ratio
//   halvex_bench_decode_mix --rounds=N           N rounds (default 21)
//   halvex_bench_decode_mix --only=halvex|gammu --passes=N
//                                                one decoder, N passes over the mix, no timing:
//                                                for instruction counts under callgrind

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sms/codec/DialNumber.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"

#ifdef HALVEX_HAVE_GAMMU
#include <gammu.h>
#endif

#include "bench/BenchText.h"

namespace {

using bench::Repeated;

CSmsDeliver Delivered(std::u16string_view text) {
    CSmsDeliver m;
    m.SetServiceCentre(ParseDialNumber(u"+447785016005"));
    m.SetOriginator(ParseDialNumber(u"+447712345678"));
    m.SetTimeStamp(SmsDateTime{24, 3, 11, 14, 50, 20, 60, 1});
    m.SetText(std::u16string(text));
    return m;
}

std::vector<std::string> Mix() {
    std::vector<std::u16string> pdus;
    // A full 7-bit message, with a euro sign and brackets from the extension table.
    pdus.push_back(Delivered(Repeated(u"Meet at [Gate 7] for the 10:15 train. ", 160)).Encode());
    // The first part of a concatenated 7-bit message: 153 characters after the header.
    CSmsDeliver part = Delivered(Repeated(u"The quick brown fox jumps over the lazy dog. ", 153));
    part.SetHeader(std::u16string(u"\x00\x03\x5A\x02\x01", 5));
    pdus.push_back(part.Encode());
    // 70 UCS2 characters.
    CSmsDeliver ucs2 =
        Delivered(Repeated(u"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440! ", 70));
    ucs2.SetDcs(0x08);
    pdus.push_back(ucs2.Encode());
    // A sender that is a name, a short 7-bit text.
    CSmsDeliver named = Delivered(u"Your code is 493027. It expires in 10 minutes.");
    named.SetOriginator(SmsAddress{SmsAddress::kAlphanumeric, 0, u"MyBank"});
    pdus.push_back(named.Encode());
    // A status report: delivered.
    pdus.push_back(
        u"079144775810065006"
        u"2A"
        u"0B914477219009F0"
        u"42301141050240"
        u"42301141150240"
        u"00");
    std::vector<std::string> mix;
    for (const std::u16string& pdu : pdus) {
        mix.emplace_back(pdu.begin(), pdu.end());
    }
    return mix;
}

// Each decoder takes the text in the form it is made for: halvex the UTF-16 of the pages,
// libgammu the bytes of the phone's reply.
struct Decoder {
    const char* name;
    std::function<void(std::size_t i)> decode;  // PDU i of the mix
};

Decoder Halvex(const std::vector<std::string>& mix) {
    auto texts = std::make_shared<std::vector<std::u16string>>();
    for (const std::string& pdu : mix) {
        texts->emplace_back(pdu.begin(), pdu.end());
    }
    return {"halvex DecodeMessage", [texts](std::size_t i) {
                auto m = DecodeMessage((*texts)[i], true);
                benchmark::DoNotOptimize(m);
            }};
}

#ifdef HALVEX_HAVE_GAMMU
// libgammu's decoding of PDU hex text; false when it refuses it.
bool GammuDecode(const std::string& pdu, GSM_SMSMessage& sms) {
    unsigned char octets[512];
    const std::size_t length = std::min(pdu.size(), 2 * sizeof octets);
    DecodeHexBin(octets, reinterpret_cast<const unsigned char*>(pdu.data()), length);
    std::size_t end = 0;
    return GSM_DecodePDUFrame(GSM_GetGlobalDebug(), &sms, octets, length / 2, &end, TRUE) ==
           ERR_NONE;
}

Decoder Gammu(const std::vector<std::string>& mix) {
    auto sms = std::make_shared<GSM_SMSMessage>();
    for (const std::string& pdu : mix) {
        if (!GammuDecode(pdu, *sms)) {
            std::fprintf(stderr, "decode_mix: libgammu refuses %s\n", pdu.c_str());
        }
    }
    return {"libgammu GSM_DecodePDUFrame", [sms, &mix](std::size_t i) {
                bool decoded = GammuDecode(mix[i], *sms);
                benchmark::DoNotOptimize(decoded);
                benchmark::DoNotOptimize(sms->Length);
            }};
}
#endif

// Nanoseconds per PDU of `passes` passes over the mix.
double Time(const Decoder& decoder, const std::vector<std::string>& mix, int passes) {
    const auto start = std::chrono::steady_clock::now();
    for (int p = 0; p < passes; ++p) {
        for (std::size_t i = 0; i < mix.size(); ++i) {
            decoder.decode(i);
        }
    }
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / (static_cast<double>(passes) * static_cast<double>(mix.size()));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Option(int argc, char** argv, const char* name, int fallback) {
    const std::size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') {
            return std::atoi(argv[i] + length + 1);
        }
    }
    return fallback;
}

std::string OptionText(int argc, char** argv, const char* name) {
    const std::size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') {
            return argv[i] + length + 1;
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> mix = Mix();
    std::vector<Decoder> decoders{Halvex(mix)};
#ifdef HALVEX_HAVE_GAMMU
    decoders.push_back(Gammu(mix));
#endif

    if (const std::string only = OptionText(argc, argv, "--only"); !only.empty()) {
        const auto chosen = std::find_if(decoders.begin(), decoders.end(), [&](const Decoder& d) {
            return std::string_view(d.name).find(only) != std::string_view::npos;
        });
        if (chosen == decoders.end()) {
            std::fprintf(stderr, "decode_mix: no decoder %s in this build\n", only.c_str());
            return 2;
        }
        Time(*chosen, mix, std::max(1, Option(argc, argv, "--passes", 1000)));
        return 0;
    }

    // About 20 ms a round for the faster decoder; the first round warms the caches and is dropped.
    const int rounds = std::max(1, Option(argc, argv, "--rounds", 21));
    int passes = 64;
    while (Time(decoders[0], mix, passes) * static_cast<double>(passes * mix.size()) < 2e7) {
        passes *= 2;
    }
    std::vector<std::vector<double>> perPdu(decoders.size());
    std::vector<double> ratios;
    for (int round = 0; round <= rounds; ++round) {
        std::vector<double> times(decoders.size());
        // Alternate the order so neither decoder always runs on a cache the other warmed.
        for (std::size_t k = 0; k < decoders.size(); ++k) {
            const std::size_t d = round % 2 == 0 ? k : decoders.size() - 1 - k;
            times[d] = Time(decoders[d], mix, passes);
        }
        if (round == 0) {
            continue;
        }
        for (std::size_t d = 0; d < decoders.size(); ++d) {
            perPdu[d].push_back(times[d]);
        }
        if (decoders.size() > 1) {
            ratios.push_back(times[1] / times[0]);
        }
    }

    std::printf("Decoding a mix of %zu received PDUs (hex text), %d rounds of %d passes:\n",
                mix.size(), rounds, passes);
    for (std::size_t d = 0; d < decoders.size(); ++d) {
        const auto [low, high] = std::minmax_element(perPdu[d].begin(), perPdu[d].end());
        std::printf("  %-28s median %7.0f ns per PDU (fastest round %.0f, slowest %.0f)\n",
                    decoders[d].name, Median(perPdu[d]), *low, *high);
    }
    if (decoders.size() > 1) {
        std::printf(
            "  halvex is %.2fx as fast as libgammu (median of the rounds' ratios; "
            "ratio of medians %.2f)\n",
            Median(ratios), Median(perPdu[1]) / Median(perPdu[0]));
    } else {
        std::printf("  libgammu's decoder is not in this build (Debian package libgammu-dev).\n");
    }
    return 0;
}
