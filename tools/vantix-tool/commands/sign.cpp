// SPDX-License-Identifier: Apache-2.0
// sign: a signing session. The pad shows a prompt, a line and OK, Clear and
// Cancel; the pen inks until OK, and the signature is saved in the formats
// the --out files name. With --document the pad shows the document's name and
// digest, and a .p7m file gets the sealed record binding the signature to
// that document. On the virtual pad a scripted pen signs and presses
// OK (or the buttons --sim-press names).
#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "../progress.hpp"
#include "../sealing.hpp"
#include "../session.hpp"
#include "../signature_files.hpp"
#include "../signing_screen.hpp"
#include "../sim_screen.hpp"
#include "../sim_script.hpp"
#include "../text.hpp"
#include "../watch.hpp"
#include "vantix-padsim.h"

namespace tool {
namespace {

struct sign_options {
    std::vector<std::string> out;
    std::string prompt = "Please sign below";
    std::string sim_screen;
    std::vector<choice> sim_presses;
    double timeout = 0;
    std::string document, document_name;
    seal_request seal;
};

bool is_sealed(const std::string &file) { return lower_extension(file) == "p7m"; }

// What the command line alone cannot say: a sealed record needs a document
// and a recipient, and recipients need a sealed record to go to.
void check_sealing(const sign_options &options) {
    const bool sealed = std::any_of(options.out.begin(), options.out.end(), is_sealed);
    if (sealed && options.document.empty())
        throw usage_error("a .p7m file needs --document, the document the signature is for");
    if (sealed && options.seal.recipients.empty())
        throw usage_error("a .p7m file needs --seal-to, a certificate that may open it");
    if (!sealed && !options.seal.recipients.empty())
        throw usage_error("--seal-to needs an --out file ending in .p7m");
}

// The pad's UUID as the record writes it: 8-4-4-4-12 hex digits.
std::string record_uuid(const vantix::zelnar::pad &p) {
    std::string text = uuid_hex(p);
    if (text.empty())
        return text;
    for (std::size_t dash : {20u, 16u, 12u, 8u})
        text.insert(dash, "-");
    return text;
}

// The virtual pad's pen: it signs and presses the first of `presses`, and
// again with the next one after each Clear. Each round waits for the last
// press to be handled, as a signer waits for the cleared screen.
class scripted_pen {
public:
    scripted_pen(int index, const signing_screen &screen, std::vector<choice> presses)
        : index_(index), screen_(screen), presses_(std::move(presses)) {
        if (presses_.empty())
            presses_.push_back(choice::ok);
    }

    void next_round() {
        if (next_ == presses_.size())
            return;  // nothing more scripted: the session waits as for a signer
        play_signature(index_);
        const screen_button &b = screen_.button(presses_[next_++]);
        vantix_padsim_tap_display(index_, static_cast<int>((b.x1 + b.x2) / 2),
                                  static_cast<int>((b.y1 + b.y2) / 2));
    }

private:
    int index_;
    const signing_screen &screen_;
    std::vector<choice> presses_;
    std::size_t next_ = 0;
};

// Waits for OK (with ink), Cancel, Ctrl-C or the time limit; Clear starts
// over (and `pen`, if any, signs again). Returns normally only for OK.
void wait_for_ok(vantix::zelnar::pad &p, signing_screen &screen, vantix_signature_capture *capture,
                 std::atomic<std::uint8_t> &pressed_region, double timeout, scripted_pen *pen) {
    progress_line progress;
    choice outcome = choice::none;
    const watch_end end = watch(
        [&] {
            const choice c = screen.pressed(pressed_region.exchange(0));
            if (c == choice::clear) {
                vantix_signature_clear(capture);
                screen.draw();
                if (pen)
                    pen->next_round();
            } else if (c == choice::cancel ||
                       (c == choice::ok && vantix_signature_point_count(capture) > 0)) {
                outcome = c;
            }
            return outcome != choice::none || !p.is_open();
        },
        timeout,
        [&] {
            progress.show(vantix_signature_point_count(capture), vantix_signature_stroke_count(capture));
        });
    if (end == watch_end::interrupted)
        throw cancelled("interrupted");
    if (end == watch_end::timed_out)
        throw cancelled("no signature before the time limit");
    if (outcome == choice::cancel)
        throw cancelled("signing cancelled on the pad");
    if (!p.is_open())
        throw std::runtime_error("the pad stopped answering");
}

int sign(const common_options &common, const sign_options &options) {
    check_sealing(options);
    std::optional<signed_document> document;
    if (!options.document.empty())
        document = read_document(options.document, options.document_name);
    session s(common);
    // Declared before the pad: its read thread uses both until it closes.
    capture_ptr capture;
    std::atomic<std::uint8_t> pressed_region{0};
    vantix::zelnar::pad p = s.open();
    capture.reset(vantix_signature_capture_new(&p.record()));
    if (!capture)
        throw std::runtime_error(std::string("starting the capture: ") + vantix_signature_last_error());
    const bool simulated = s.simulated(p.view());
    {
        signing_screen screen(p, options.prompt,
                              document
                                  ? signing_screen::document_line{document->name, short_digest(*document)}
                                  : signing_screen::document_line{});
        p.on_input([&capture, &pressed_region](const vantix::zelnar::input_event &e) {
            vantix_signature_feed(capture.get(), &e.report, e.type);
            if (e.type == VANTIX_INPUT_BUTTONPRESS && e.report.button_press.region)
                pressed_region = e.report.button_press.region->common.region_number;
        });
        p.start_reading();
        std::optional<scripted_pen> pen;
        if (simulated)
            pen.emplace(sim_index(p.record()), screen, options.sim_presses).next_round();
        wait_for_ok(p, screen, capture.get(), pressed_region, options.timeout, pen ? &*pen : nullptr);
    }  // the button regions go before the pad closes
    p.stop_reading();
    for (const std::string &file : options.out)
        if (is_sealed(file))
            write_sealed(*capture, *document, options.prompt, {record_uuid(p), version_text(p.firmware().firmware_version)}, options.seal, file);
        else
            save_signature(*capture, file);
    std::printf("signature: %zu points in %zu strokes, saved to", vantix_signature_point_count(capture.get()),
                vantix_signature_stroke_count(capture.get()));
    for (const std::string &file : options.out)
        std::printf(" %s", file.c_str());
    std::printf("\n");
    // Last: the signature is safe whatever happens to the picture.
    save_sim_screen(s, p, options.sim_screen);
    return exit_ok;
}

}  // namespace

void add_sign(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<sign_options>();
    CLI::App *cmd =
        add_command(app, "sign",
                    "Capture a signature: the pad shows a prompt with OK, Clear and Cancel, and the "
                    "signature is saved when OK is pressed (with --sim a scripted pen signs)",
                    run, [&common, options] { return sign(common, *options); });
    cmd->add_option(
           "--out", options->out,
           "Save to this file; .svg, .png, .inkml, .json, or .p7m for the sealed record (may repeat)")
        ->allow_extra_args(false)
        ->required()
        ->check(CLI::Validator(
            [](std::string &file) {
                return is_signature_format(file) || is_sealed(file)
                           ? std::string()
                           : file + " is not .svg, .png, .inkml, .json or .p7m";
            },
            "FILE.{svg,png,inkml,json,p7m}"));
    cmd->add_option("--prompt", options->prompt, "Text shown above the signature line");
    cmd->add_option("--document", options->document,
                    "The document the signature is for: the pad shows its name and the start of its "
                    "SHA-256, and a .p7m file binds the signature to it")
        ->check(CLI::ExistingFile);
    cmd->add_option("--document-name", options->document_name,
                    "The document's name on the pad and in the record (default: the file's name)");
    cmd->add_option("--seal-to", options->seal.recipients,
                    "Seal the .p7m file to this certificate (PEM or DER); its key opens it (may repeat)")
        ->allow_extra_args(false)
        ->check(CLI::ExistingFile);
    CLI::Option *cert =
        cmd->add_option("--cert", options->seal.cert, "The certificate of the --sign-with key (PEM or DER)")
            ->check(CLI::ExistingFile);
    cmd->add_option("--sign-with", options->seal.sign_with,
                    "Sign the sealed record with this host key (PEM or DER, unencrypted)")
        ->check(CLI::ExistingFile)
        ->needs(cert);
    cert->needs("--sign-with");
    add_sim_screen_option(*cmd, options->sim_screen);
    const std::map<std::string, choice> buttons{
        {"ok", choice::ok}, {"clear", choice::clear}, {"cancel", choice::cancel}};
    cmd->add_option("--sim-press", options->sim_presses,
                    "With --sim: the button the scripted pen presses after signing, ok (the default), "
                    "clear or cancel; after Clear it signs again and presses the next one (may repeat)")
        ->allow_extra_args(false)
        ->transform(CLI::CheckedTransformer(buttons, CLI::ignore_case))
        ->option_text("ok|clear|cancel ...")
        ->group("Testing");
    cmd->add_option("--timeout", options->timeout, "Give up after this many seconds")
        ->check(CLI::NonNegativeNumber);
}

}  // namespace tool
