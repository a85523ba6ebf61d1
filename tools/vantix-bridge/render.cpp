// SPDX-License-Identifier: Apache-2.0
#include "render.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "answering.hpp"

namespace bridge {
namespace {

// A trivially destructible global: a render that outlives main still
// counts down safely.
std::atomic<std::size_t> live_renders{0};

void render(std::unique_ptr<render_job> job) noexcept {
    // Background work: pen input and answers go first on a busy machine.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    std::string text;
    try {
        try {
            text = export_signature(job->capture.get(), job->plan, job->id);
        } catch (const protocol_error &e) {
            text = to_text(error_message(e, &job->id));
        } catch (const std::exception &e) {
            internal_error("rendering a signature", e.what());
            text = to_text(error_message("internal", e.what(), {}, &job->id));
        }
        std::lock_guard guard(job->gate->lock);
        if (job->gate->open)
            if (auto to = job->to.lock())
                to->answer(std::move(text));
    } catch (...) {
        internal_error("rendering a signature", "unknown failure");
    }
    job.reset();
    live_renders.fetch_sub(1);
}

}  // namespace

void start_render(std::unique_ptr<render_job> job) {
    live_renders.fetch_add(1);
    try {
        std::thread([job = std::move(job)]() mutable { render(std::move(job)); }).detach();
    } catch (...) {
        live_renders.fetch_sub(1);
        throw;
    }
}

std::size_t renders_running() { return live_renders.load(); }

}  // namespace bridge
