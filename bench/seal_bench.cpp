// SPDX-License-Identifier: Apache-2.0
// Sealing a 2,000-point signature to an RSA-3072 and a P-256 recipient, and
// opening it with either key. The sealed size is reported as a counter.
#include <benchmark/benchmark.h>

#include <string>

#include "long_signature.hpp"
#include "signature/test_keys.hpp"
#include "vantix-signature.h"

namespace {

struct fixture {
    vantix::test::identity rsa = vantix::test::make_identity("RSA-3072", "RSA recipient");
    vantix::test::identity ec = vantix::test::make_identity("P-256", "EC recipient");
    vantix_signature_capture *capture;
    vantix_signature_record_options options{};
    std::string document = std::string(100000, 'd');

    fixture() {
        capture = long_signature();
        options.document = {nullptr, reinterpret_cast<const unsigned char *>(document.data()),
                            document.size(), nullptr};
    }
    std::string seal() const {
        const vantix_signature_material to[] = {rsa.cert(), ec.cert()};
        unsigned char *data = nullptr;
        size_t size = 0;
        vantix_signature_seal(capture, &options, to, 2, nullptr, nullptr, &data, &size);
        std::string out(reinterpret_cast<char *>(data), size);
        vantix_signature_free_buffer(data);
        return out;
    }
};

const fixture &keys() {
    static const fixture instance;
    return instance;
}

void BM_SealTwoRecipients(benchmark::State &state) {
    const fixture &f = keys();
    size_t size = 0;
    for (auto _ : state)
        size = f.seal().size();
    state.counters["sealed_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_SealTwoRecipients)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State &state) {
    const fixture &f = keys();
    const std::string sealed = f.seal();
    const vantix::test::identity &who = state.range(0) ? f.ec : f.rsa;
    const vantix_signature_material key = who.key(), cert = who.cert();
    for (auto _ : state) {
        vantix_signature_opened *opened = vantix_signature_open_sealed(
            reinterpret_cast<const unsigned char *>(sealed.data()), sealed.size(), &key, &cert);
        benchmark::DoNotOptimize(opened);
        vantix_signature_opened_free(opened);
    }
    state.SetLabel(state.range(0) ? "P-256 key" : "RSA-3072 key");
}
BENCHMARK(BM_Open)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
