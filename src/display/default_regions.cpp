// SPDX-License-Identifier: Apache-2.0
// Restoring the default regions: on store pads by dropping pending changes,
// on legacy pads by writing back every region that differs from the
// factory list.
#include <cstring>
#include <memory>
#include <optional>

#include "display/store_io.hpp"

namespace {

namespace store = vantix::display::store;

constexpr int restore_polls = 100;

struct regions_deleter {
    void operator()(vantix_device_region_info *regions) const { vantix_free_regions(regions); }
};
using region_list = std::unique_ptr<vantix_device_region_info, regions_deleter>;

bool regions_clear(vantix_device *device) {
    return wait_for_interlock(device, restore_polls, INTERLOCK_REGION);
}

// Store pads: drop whatever is pending, with a busy pad in command mode
// meanwhile. Nothing when the pad cannot do it.
std::optional<vantix_error_code> discard_store_changes(vantix_device *device) {
    const vantix_hid_feature_device_status status = vantix_get_device_status(device);
    if (status.report_id == 0)
        return std::nullopt;
    const bool busy = !status.is_idle;
    if (busy)
        vantix_set_run_mode(device, VANTIX_RUNMODE_COMMAND);
    const bool discarded =
        vantix_set_screen_region_commit(device, VANTIX_SCREEN_REGION_DISCARD_CHANGES) == VANTIX_CODE_SUCCESS;
    if (discarded) {
        if (!regions_clear(device))
            return VANTIX_CODE_ERROR;
        store::refresh_region_cache(device);  // the pad's regions went back under the cache
    }
    if (busy)
        vantix_set_run_mode(device, VANTIX_RUNMODE_PEN);
    return discarded ? std::optional(VANTIX_CODE_SUCCESS) : std::nullopt;
}

// Legacy pads: write back every region, from number 2, that differs from
// the factory list.
vantix_error_code rewrite_default_regions(vantix_device *device) {
    const unsigned int count = device->display_info.region_count;
    if (!regions_clear(device))
        return VANTIX_CODE_ERROR;
    const region_list defaults(vantix_get_default_regions(device));
    if (!defaults || !regions_clear(device))
        return VANTIX_CODE_ERROR;
    const region_list current(vantix_get_regions(device));
    if (!current)
        return VANTIX_CODE_ERROR;
    for (unsigned int i = 1; i < count; ++i) {
        // Both lists are zero-filled arrays decoded the same way, so their
        // bytes differ exactly where a field (or caption byte) does.
        if (std::memcmp(&defaults.get()[i], &current.get()[i], sizeof(vantix_device_region_info)) == 0)
            continue;
        if (!regions_clear(device) || vantix_set_region(device, defaults.get()[i]) != VANTIX_CODE_SUCCESS)
            return VANTIX_CODE_ERROR;
    }
    return VANTIX_CODE_SUCCESS;
}

}  // namespace

extern "C" {

vantix_error_code vantix_restore_default_regions(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!vantix::protocol::have_device(device, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    if (const std::optional<vantix_error_code> done = discard_store_changes(device))
        return *done;
    return rewrite_default_regions(device);
}

}  // extern "C"
