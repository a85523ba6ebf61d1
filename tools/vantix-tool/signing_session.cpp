// SPDX-License-Identifier: Apache-2.0
#include "signing_session.hpp"

#include <CLI/CLI.hpp>
#include <atomic>
#include <map>
#include <optional>

#include "progress.hpp"
#include "session.hpp"
#include "signature_files.hpp"
#include "sim_screen.hpp"
#include "sim_script.hpp"
#include "vantix-padsim.h"
#include "watch.hpp"

namespace tool {
namespace {

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

}  // namespace

void run_signing_session(const common_options &common, const signing_request &request,
                         const signed_callback &signed_) {
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
        signing_screen screen(p, request.prompt, request.document);
        p.on_input([&capture, &pressed_region](const vantix::zelnar::input_event &e) {
            vantix_signature_feed(capture.get(), &e.report, e.type);
            if (e.type == VANTIX_INPUT_BUTTONPRESS && e.report.button_press.region)
                pressed_region = e.report.button_press.region->common.region_number;
        });
        p.start_reading();
        std::optional<scripted_pen> pen;
        if (simulated)
            pen.emplace(sim_index(p.record()), screen, request.sim_presses).next_round();
        wait_for_ok(p, screen, capture.get(), pressed_region, request.timeout, pen ? &*pen : nullptr);
    }  // the button regions go before the pad closes
    p.stop_reading();
    signed_(*capture, {record_uuid(p), version_text(p.firmware().firmware_version)});
    // Last: the signature is safe whatever happens to the picture.
    save_sim_screen(s, p, request.sim_screen);
}

void add_signing_options(CLI::App &cmd, signing_request &request) {
    cmd.add_option("--prompt", request.prompt, "Text shown above the signature line");
    add_sim_screen_option(cmd, request.sim_screen);
    const std::map<std::string, choice> buttons{
        {"ok", choice::ok}, {"clear", choice::clear}, {"cancel", choice::cancel}};
    cmd.add_option("--sim-press", request.sim_presses,
                   "With --sim: the button the scripted pen presses after signing, ok (the default), "
                   "clear or cancel; after Clear it signs again and presses the next one (may repeat)")
        ->allow_extra_args(false)
        ->transform(CLI::CheckedTransformer(buttons, CLI::ignore_case))
        ->option_text("ok|clear|cancel ...")
        ->group("Testing");
    cmd.add_option("--timeout", request.timeout, "Give up after this many seconds")
        ->check(CLI::NonNegativeNumber);
}

}  // namespace tool
