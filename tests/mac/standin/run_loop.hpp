// SPDX-License-Identifier: Apache-2.0
// Run loops and their sources. A source is signalled by whoever has work
// for it (a device with reports, a notification port with events); a run
// loop performs it only while its thread runs the loop in a mode the source
// was added to.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "objects.hpp"

namespace standin {

struct run_loop;

struct run_loop_source : object {
    // `owner` is kept alive while the source performs.
    run_loop_source(object *owner, std::function<void()> perform)
        : object(kind::run_loop_source), owner(owner), perform(std::move(perform)) {}
    ~run_loop_source() override;

    object *const owner;
    const std::function<void()> perform;
    // Guarded by the run loops' lock.
    bool signalled = false;
    std::vector<std::pair<run_loop *, std::string>> added;
};

// Marks the source as having work and wakes the run loops it was added to.
void signal(run_loop_source *source);
// Takes the source out of every run loop (its owner goes away).
void detach_everywhere(run_loop_source *source);

}  // namespace standin
