// SPDX-License-Identifier: Apache-2.0
// The test side of the IOKit/CoreFoundation stand-in: attach virtual pads
// as HID devices, unplug them, script IOKit failures, and read the ledger
// of CF references the code under test took and gave back.
#pragma once

#include <IOKit/IOReturn.h>
#include <pthread.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "padsim/pad.hpp"

namespace standin {

// A property value: absent, a number, a text or bytes.
using property = std::variant<std::monostate, int32_t, std::string, std::vector<uint8_t>>;

struct hid_identity {
    std::optional<std::string> transport = std::string("USB");
    int32_t location_id = 0x14100000;
    int32_t usage_page = 0xFF00;
    int32_t usage = 0;
};

using device_id = unsigned int;

// Attaches `pad` as a HID device (and a USB device for matching
// notifications) with the pad's identity and descriptor as properties.
device_id attach(std::shared_ptr<padsim::pad> pad, const hid_identity &identity = {});
// The device goes away: the pad is unplugged, the removal callback is due
// on the device's run loop, and terminate notifications are delivered.
void unplug(device_id id);
void unplug_all();
void set_property(device_id id, const std::string &key, const property &value);

// Scripted IOKit outcomes.
void fail_manager_create(bool fail);
void set_open_result(device_id id, IOReturn result);
void set_report_result(device_id id, IOReturn result);

// Run loops. While untimed, a run ignores its time limit: it returns only
// when stopped, when a source performs or when its mode has none. Timed
// again, runs in progress time out as before.
void set_untimed_runs(bool untimed);
// Whether `thread` is blocked in a run of its run loop.
bool waiting_in_run(pthread_t thread);

// CF references: objects the code under test still owns a reference of,
// and releases of objects it did not own (released twice, or unknown).
struct ledger_report {
    long retains = 0;
    long releases = 0;
    long bad_releases = 0;
    std::vector<std::string> leaked;  // "kind (refs n)"
    long live_io_objects = 0;         // iterators and services not released
    long live_ports = 0;              // notification ports not destroyed
};
ledger_report ledger();
void reset_ledger_counts();

}  // namespace standin
