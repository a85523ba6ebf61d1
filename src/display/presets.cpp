// SPDX-License-Identifier: Apache-2.0
// Ready-made signing configurations for pads with a region store: factory
// store contents, the first two screens adjusted, how the pad reports its
// data and how its card reader delivers.
#include "debug/log.hpp"

namespace {

struct preset {
    uint8_t next_screen;     // after screen 1 and 2 time out, and for regions 3 and 4 of screen 2
    uint8_t timeout;         // of screen 2 (of screen 1 on a pad without display)
    uint32_t output_report;  // the input reports the pad emits
    vantix_mag_card_output card_output;
};

constexpr preset zelnar{2, 0, VANTIX_OUTPUT_CONFIGURATION_RAW_DATA | VANTIX_OUTPUT_CONFIGURATION_OEM_EXTENDED,
                        VANTIX_MAG_CARD_OEM_FORMAT};
constexpr preset travon{
    3, 15, VANTIX_OUTPUT_CONFIGURATION_RAW_DATA | VANTIX_OUTPUT_CONFIGURATION_KEYBOARD,
    static_cast<vantix_mag_card_output>(VANTIX_MAG_CARD_KEYBOARD | VANTIX_MAG_CARD_KEYBOARD_PREAMBLE)};

bool qualifies(const vantix_hid_capabilities &caps) {
    const unsigned modes = caps.coordinate_modes;
    const bool reduces = modes & (VANTIX_MODE_COMPRESSION | VANTIX_MODE_THROTTLING);
    const bool streams_and_buffers = (modes & (VANTIX_MODE_STREAMING | VANTIX_MODE_BUFFERING)) ==
                                     (VANTIX_MODE_STREAMING | VANTIX_MODE_BUFFERING);
    return (reduces || streams_and_buffers) && caps.supports_screens_resources;
}

void set_up_screens(vantix_device *device, const vantix_hid_capabilities &caps, const preset &p) {
    vantix_set_screen_idx(device, 1);
    if (caps.display_id == VANTIX_DISPLAY_TYPE_NONE) {
        vantix_hid_feature_screen only = vantix_get_screen(device);
        only.timeout = p.timeout;
        vantix_set_screen(device, &only);
        return;
    }
    // The pad moves its screen index on after each read: screen 1, then 2.
    vantix_hid_feature_screen first = vantix_get_screen(device);
    vantix_hid_feature_screen second = vantix_get_screen(device);
    first.timeout_screen_next = p.next_screen;
    second.timeout = p.timeout;
    second.timeout_screen_next = p.next_screen;
    vantix_add_region_to_screen(&second, 3, p.next_screen);
    vantix_add_region_to_screen(&second, 4, p.next_screen);
    vantix_set_screen(device, &first);
    vantix_set_screen(device, &second);
}

// Every step runs whatever the ones before it gave; their failures leave
// their own last-error text.
vantix_error_code apply(vantix_device *device, char commit_changes, const preset &p) {
    const vantix_hid_capabilities caps = vantix_get_capabilities(device);
    if (!qualifies(caps))
        return VANTIX_CODE_SUCCESS;
    vantix_set_screen_region_commit(device, VANTIX_SCREEN_REGION_FACTORY_DEFAULTS);
    vantix_set_active_screen(device, 1);
    vantix_clear_screen(device);
    vantix_restore_default_regions(device);
    set_up_screens(device, caps, p);

    vantix_set_run_mode(device, VANTIX_RUNMODE_COMMAND);
    vantix_hid_feature_output_parameters output = vantix_get_output_configuration(device);
    output.output_report = p.output_report;
    output.compression = VANTIX_OUTPUT_COMPRESSED_HIRES;
    output.output_mode = REAL_TIME;
    output.packets_per_second = 0;
    if (commit_changes) {
        // The store is saved before the output configuration is written.
        output.save_as_default = 1;
        vantix_set_screen_region_commit(device, VANTIX_SCREEN_REGION_SAVE_CHANGES);
    }
    vantix_set_output_configuration(device, output);
    vantix_set_active_screen(device, 1);

    if (caps.mag_reader_id & VANTIX_MAG_CARDREADER_CHANGEABLE) {
        vantix_hid_feature_peripheral_configuration card = vantix_get_peripheral_configuration(device);
        card.mag_card_output = p.card_output;
        if (commit_changes)
            card.save_as_default = 1;
        vantix_set_peripheral_configuration(device, card);
    }
    vantix_set_run_mode(device, VANTIX_RUNMODE_PEN);
    return VANTIX_CODE_SUCCESS;
}

}  // namespace

extern "C" {

vantix_error_code vantix_set_zelnar_mode(vantix_device *device, char commit_changes) {
    VANTIX_TRACE_CALL();
    return apply(device, commit_changes, zelnar);
}

vantix_error_code vantix_set_travon_mode(vantix_device *device, char commit_changes) {
    VANTIX_TRACE_CALL();
    return apply(device, commit_changes, travon);
}

}  // extern "C"
