// SPDX-License-Identifier: Apache-2.0
// A pad a connection has opened: the library's record and pad, the
// signature capture, the input shared with the read thread, the prompt's
// buttons and the virtual pen's stroke. Destroying it stops the reading
// and closes the pad; only the pad's own thread touches it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bridge.hpp"
#include "pad_input.hpp"
#include "prompt.hpp"
#include "sim_pen.hpp"
#include "vantix-zelnar.hpp"

namespace bridge {

struct open_pad {
    open_pad() = default;
    ~open_pad();
    open_pad(const open_pad &) = delete;
    open_pad &operator=(const open_pad &) = delete;

    // Drops the prompt's button regions and captions.
    void drop_buttons();

    // Starts a new, empty capture (the last one stays with renders of it).
    void new_capture();

    std::string path;
    std::weak_ptr<client> owner_client;
    std::shared_ptr<vantix::zelnar::device_list> list;  // the record lives in it
    capture_ptr capture;                                // the current one, also in input
    std::shared_ptr<input_state> input;
    std::unique_ptr<vantix::zelnar::pad> pad;
    bool simulated = false;
    int sim_index = -1;
    std::vector<button> buttons;
    std::string prompt_text;  // the prompt's text, for a sealed record
    std::shared_ptr<pen_stroke> stroke;
};

// The pad's identity as pad.identity and pad.open answer it.
json identity(const open_pad &p);
// A pad of pads.list.
json list_entry(const vantix::zelnar::device_view &d, bool open, bool yours);

}  // namespace bridge
