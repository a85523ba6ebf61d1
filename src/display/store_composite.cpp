// SPDX-License-Identifier: Apache-2.0
// Operations over the whole store, and those that fall back to the legacy
// region list on pads without one: reading every region, clearing the
// screen, restoring the default regions; and editing a screen record.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "display/store_io.hpp"

namespace {

namespace store = vantix::display::store;

constexpr int region_polls = 100;

struct regions_deleter {
    void operator()(vantix_device_region_info *regions) const { vantix_free_regions(regions); }
};
using region_list = std::unique_ptr<vantix_device_region_info, regions_deleter>;

bool regions_clear(vantix_device *device) {
    return wait_for_interlock(device, region_polls, INTERLOCK_REGION);
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

vantix_hid_feature_region *vantix_get_device_regions(vantix_device *device) {
    VANTIX_TRACE_CALL();
    const vantix_hid_feature_screen_region_info info = vantix_get_screen_region_info(device);
    if (info.report_id == 0)
        return nullptr;
    const unsigned int count = info.region_count;
    // At least one record, so that an empty store is told apart from a
    // failure by a non-null result.
    auto *regions = static_cast<vantix_hid_feature_region *>(
        std::calloc(count ? count : 1, sizeof(vantix_hid_feature_region)));
    if (!regions) {
        VANTIX_FAIL("Out of memory reading %u regions.", count);
        return nullptr;
    }
    if (vantix_set_region_idx(device, 1) != VANTIX_CODE_SUCCESS) {
        VANTIX_LOG_WARNING("Problem setting region index: %s\n", vantix_get_last_error_internal());
        std::free(regions);
        return nullptr;
    }
    // The pad moves its index on after each read.
    for (unsigned int i = 0; i < count; ++i) {
        vantix_get_region_ref(device, &regions[i]);
        if (regions[i].common.report_id != VANTIX_FEATURE_REGION) {
            std::free(regions);
            return nullptr;
        }
    }
    return regions;
}

void vantix_free_device_regions(vantix_hid_feature_region *regions) {
    VANTIX_TRACE_CALL();
    std::free(regions);
}

vantix_error_code vantix_clear_screen(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!vantix::protocol::have_device(device, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    // Store pads redraw the active screen when it is set again.
    const int active = vantix_get_active_screen(device);
    if (active >= 0 && vantix_set_active_screen(device, static_cast<uint8_t>(active)) == VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_SUCCESS;
    if (!device->regions) {
        VANTIX_FAIL("Device regions is null, unable to clear screen.");
        return VANTIX_CODE_ERROR;
    }
    const vantix_hid_feature_display_info &display = device->display_info;
    if (display.report_id == 0) {
        VANTIX_FAIL("Device display info is unset, unable to clear screen.");
        return VANTIX_CODE_ERROR;
    }
    if (display.region_count == 0) {
        VANTIX_FAIL("Device has no regions, unable to clear screen.");
        return VANTIX_CODE_ERROR;
    }
    // Legacy pads: show a full-screen container in the last region, which
    // wipes what is under it, then hide it again.
    vantix_device_region_info blank = device->regions[display.region_count - 1];
    vantix_device_region_common &c = blank.common;
    c.region_type = VANTIX_REGION_TYPE_CONTAINER;
    c.x1 = 0;
    c.x2 = static_cast<uint16_t>(display.width - 1);
    c.y1 = 0;
    c.y2 = static_cast<uint16_t>(display.height - 1);
    c.has_frame = 0;
    c.in_use = 1;
    c.decode = 1;
    c.visible = 1;
    c.accept_touch = 0;
    vantix_set_region(device, blank);
    c.visible = 0;
    vantix_set_region(device, blank);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_restore_default_regions(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!vantix::protocol::have_device(device, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    if (const std::optional<vantix_error_code> done = discard_store_changes(device))
        return *done;
    return rewrite_default_regions(device);
}

// Edits the caller's record only: no report, and no entry or leave record.
vantix_error_code vantix_add_region_to_screen(vantix_hid_feature_screen *screen, int region, int next) {
    if (!screen) {
        VANTIX_FAIL("No screen given.");
        return VANTIX_CODE_ERROR;
    }
    if (region < 0 || region > 255 || next < 0 || next > 255) {
        VANTIX_FAIL("Region or screen number out of range: %d, %d.", region, next);
        return VANTIX_CODE_ERROR;
    }
    // A count above the list's room is the caller's; never search past it.
    const unsigned int listed = screen->region_count < VANTIX_SCREEN_REGION_LIST_SIZE
                                    ? screen->region_count
                                    : VANTIX_SCREEN_REGION_LIST_SIZE;
    for (unsigned int i = 0; i < listed; ++i)
        if (screen->region_list[i] == region) {
            screen->screen_next_list[i] = static_cast<uint8_t>(next);
            return VANTIX_CODE_SUCCESS;
        }
    if (screen->region_count >= VANTIX_SCREEN_REGION_LIST_SIZE) {
        VANTIX_FAIL("Screen already lists %u regions.", static_cast<unsigned int>(screen->region_count));
        return VANTIX_CODE_ERROR;
    }
    screen->region_list[screen->region_count] = static_cast<uint8_t>(region);
    screen->screen_next_list[screen->region_count] = static_cast<uint8_t>(next);
    ++screen->region_count;
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
