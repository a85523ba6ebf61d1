// SPDX-License-Identifier: Apache-2.0
// record: what a pad says, into a file that replays it as a virtual pad
// (--replay, vantix-padsim --replay). Reads only: the open, a sweep of every
// readable feature report, then input and status polls for a while.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "../session.hpp"
#include "../sim_script.hpp"
#include "../watch.hpp"
#include "padsim/recorder.hpp"
#include "padsim/sim_driver.hpp"
#include "vantix-padsim.h"

namespace tool {
namespace {

struct record_options {
    std::string out;
    double seconds = 20;
    bool no_input = false;
};

std::string utc_now() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

padsim::recording header(const vantix::zelnar::device_view &d, bool with_input) {
    padsim::recording r;
    r.library = vantix::zelnar::library::version();
    r.recorded_at = utc_now();
    r.operating_system = vantix_debug_get_operating_system();
    r.architecture = vantix_debug_get_native_architecture();
    r.with_input = with_input;
    r.path = d.path();
    r.driver = d.driver_name();
    r.vendor_id = d.vendor_id();
    r.product_id = d.product_id();
    r.manufacturer = d.manufacturer();
    r.model = d.model();
    r.descriptor = padsim::report_descriptor(d.record());
    return r;
}

// Input until the time is up or Ctrl-C, with a status poll a second. The
// virtual pad signs and presses OK, and the recording ends once its input
// is read.
void record_input(vantix::zelnar::pad &p, const session &s, padsim::recorder &tap, double seconds) {
    tap.set_phase(padsim::recording_phase::session);
    std::shared_ptr<padsim::pad> scripted;
    if (s.simulated(p.view())) {
        scripted = padsim::pad_for(&p.record());
        play_signature(sim_index(p.record()));
        // Inside OK on the factory screen (x 0..119, rows 48..63) and on the
        // signing screen (the left third of that strip), so that `sign`
        // on the replay ends as on the virtual pad.
        vantix_padsim_tap_display(sim_index(p.record()), 40, 58);
    }
    p.start_reading();
    unsigned ticks = 0;
    watch([&] { return !p.is_open() || (scripted && scripted->queued_inputs() == 0); },
          scripted ? 0 : seconds,
          [&] {
              if (++ticks % 10 == 0 && p.is_open())
                  vantix_get_device_status(&p.record());
          });
    p.stop_reading();
}

int record(const common_options &common, const record_options &options) {
    std::fprintf(stderr,
                 "vantix-tool: recording the pad's identity and configuration%s into %s. Pen data is "
                 "biometric: leave it out with --no-input. Nothing is written to the pad.\n",
                 options.no_input ? "" : ", and what is written and pressed on it,", options.out.c_str());
    session s(common);
    const vantix::zelnar::device_view chosen = s.choose();
    std::ofstream out(options.out, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + options.out);
    padsim::recording_writer writer(out);
    writer.begin(header(chosen, !options.no_input));
    padsim::recorder tap(chosen.record(), writer);  // outlives the pad: its close goes through the tap too
    vantix::zelnar::pad p(chosen);
    tap.set_phase(padsim::recording_phase::sweep);
    padsim::sweep_readable_reports(p.record());
    if (!options.no_input) {
        if (!s.simulated(chosen))
            std::fprintf(stderr, "vantix-tool: write and press buttons on the pad now (%g s, Ctrl-C ends)\n",
                         options.seconds);
        record_input(p, s, tap, options.seconds);
    }
    p.close();
    note(common, std::to_string(tap.inputs_seen()) + " input reports recorded");
    return out ? exit_ok : exit_failure;
}

}  // namespace

void add_record(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<record_options>();
    CLI::App *cmd =
        add_command(app, "record", "Record the pad into a file that replays it as a virtual pad (--replay)",
                    run, [&common, options] { return record(common, *options); });
    cmd->add_option("--out", options->out, "The recording (.vxrec)")->required();
    cmd->add_option("--seconds", options->seconds, "How long to record input (default 20)")
        ->check(CLI::PositiveNumber);
    cmd->add_flag("--no-input", options->no_input, "Leave pen and button input out (it is biometric)");
}

}  // namespace tool
