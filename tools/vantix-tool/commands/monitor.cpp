// SPDX-License-Identifier: Apache-2.0
// monitor: the pad's input, decoded, one line per report.
#include <CLI/CLI.hpp>
#include <atomic>

#include "../input_fields.hpp"
#include "../progress.hpp"
#include "../session.hpp"
#include "../sim_script.hpp"
#include "../watch.hpp"

namespace tool {
namespace {

// Points and strokes of the pen, counted on the read thread.
struct pen_counter {
    std::atomic<std::size_t> reports{0}, points{0}, strokes{0}, pen_ups{0};
    bool down = false;  // read thread only

    void count(const input_fields &f) {
        ++reports;
        if (f.type != "pen")
            return;
        const field_value *down_field = find_field(f, "down");
        const bool now_down = down_field && std::get<bool>(*down_field);
        if (now_down) {
            ++points;
            if (!down)
                ++strokes;
        } else if (down) {
            ++pen_ups;
        }
        down = now_down;
    }
};

int monitor(const common_options &common, const watch_limits &options) {
    session s(common);
    vantix::zelnar::pad p = s.open();
    progress_line progress;
    pen_counter counter;
    p.on_input([&](const vantix::zelnar::input_event &e) {
        const input_fields fields = decode_input(e.report, e.type, e.raw);
        counter.count(fields);
        progress.print(stdout, common.json ? as_json(fields) : as_text(fields));
    });
    p.start_reading();
    // The virtual pad draws one stroke; the run ends at its pen-up unless
    // --count or --timeout say otherwise.
    const bool scripted = s.simulated(p.view()) && options.count == 0 && options.timeout <= 0;
    if (s.simulated(p.view()))
        play_stroke(sim_index(p.record()));
    const watch_end end = watch(
        [&] {
            return !p.is_open() || (options.count && counter.reports >= options.count) ||
                   (scripted && counter.pen_ups > 0);
        },
        options.timeout, [&] { progress.show(counter.points, counter.strokes); });
    const bool lost = !p.is_open();
    p.stop_reading();
    if (lost && end == watch_end::done)
        throw std::runtime_error("the pad stopped answering");
    return exit_ok;
}

}  // namespace

void add_monitor(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<watch_limits>();
    CLI::App *cmd = add_command(
        app, "monitor", "Print the pad's input as it arrives until Ctrl-C (with --sim: one scripted stroke)",
        run, [&common, options] { return monitor(common, *options); });
    add_limit_options(*cmd, *options, "input reports");
}

}  // namespace tool
