// SPDX-License-Identifier: Apache-2.0
// Signing a 1-page and a 200-page PDF (Ghostscript's, made at start-up)
// with a 2,000-point signature: the ink, the sealed record to a P-256
// notary and a PAdES signature with an RSA-3072 key; everything but the
// pen. The bytes the update adds are reported as a counter.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "long_signature.hpp"
#include "signature/test_keys.hpp"
#include "vantix-document.h"

namespace {

namespace fs = std::filesystem;

struct fixture {
    vantix::test::identity signer = vantix::test::make_identity("RSA-3072", "Signer");
    vantix::test::identity notary = vantix::test::make_identity("P-256", "Notary");
    fs::path dir = fs::temp_directory_path() / ("document-bench-" + std::to_string(getpid()));
    vantix_signature_capture *capture;

    fixture() {
        fs::create_directories(dir);
        for (int pages : {1, 200}) {
            const std::string ps = (dir / "in.ps").string(),
                              pdf = (dir / (std::to_string(pages) + ".pdf")).string();
            std::string text = "%!PS\n/Helvetica findfont 12 scalefont setfont\n";
            for (int p = 0; p < pages; ++p)
                text += "72 700 moveto (Page " + std::to_string(p + 1) + " of the contract) show showpage\n";
            FILE *f = std::fopen(ps.c_str(), "w");
            std::fputs(text.c_str(), f);
            std::fclose(f);
            if (std::system(("ps2pdf " + ps + " " + pdf).c_str()) != 0)
                std::abort();
        }
        capture = long_signature();
    }
    ~fixture() {
        vantix_signature_capture_free(capture);
        fs::remove_all(dir);
    }
};

fixture &shared() {
    static fixture instance;
    return instance;
}

void BM_SignPdf(benchmark::State &state) {
    fixture &f = shared();
    const std::string in = (f.dir / (std::to_string(state.range(0)) + ".pdf")).string();
    const std::string out = (f.dir / "out.pdf").string();
    const vantix_signature_material key = f.signer.key(), cert = f.signer.cert(), notary = f.notary.cert();
    vantix_document_sign_options options;
    vantix_document_default_sign_options(&options);
    options.placement = {nullptr, 1, 300, 72, 200, 60};
    options.recipients = &notary;
    options.recipient_count = 1;
    options.signer_key = &key;
    options.signer_cert = &cert;
    for (auto _ : state) {
        // Opening (read, digest, parse) is part of signing a file.
        vantix_document *document = vantix_document_open(in.c_str());
        if (!document ||
            vantix_document_sign(document, f.capture, &options, out.c_str()) != VANTIX_CODE_SUCCESS)
            state.SkipWithError(vantix_document_last_error());
        vantix_document_free(document);
    }
    state.counters["input_bytes"] = static_cast<double>(fs::file_size(in));
    state.counters["added_bytes"] = static_cast<double>(fs::file_size(out) - fs::file_size(in));
}
BENCHMARK(BM_SignPdf)->Arg(1)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
