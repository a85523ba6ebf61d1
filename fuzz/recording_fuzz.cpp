// SPDX-License-Identifier: Apache-2.0
// Pad recordings from anywhere: the reader refuses or reads every input
// without a fault, and what it reads makes a replayed pad that answers its
// recorded reports and plays its input.
#include <sstream>
#include <string>

#include "padsim/replay.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    padsim::recording recorded;
    try {
        recorded = padsim::read_recording(in);
    } catch (const padsim::recording_error &) {
        return 0;
    }
    auto pad = padsim::make_replay_pad(recorded, padsim::pacing::fast);
    pad->mark_open(true);
    for (const padsim::recorded_feature &f : recorded.features) {
        unsigned char buffer[padsim::max_report_bytes] = {f.id};
        pad->get_feature(buffer, f.bytes.empty() ? 1 : f.bytes.size());
    }
    while (pad->next_input(std::chrono::milliseconds(0)))
        ;
    pad->mark_open(false);
    return 0;
}
