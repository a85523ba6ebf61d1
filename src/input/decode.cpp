// SPDX-License-Identifier: Apache-2.0
// Turning one raw input report into a typed record, with button events
// synthesised from the pad's cached regions.
#include <cstdlib>
#include <cstring>

#include "input/decode.hpp"

#include "core/failure.hpp"
#include "debug/log.hpp"
#include "support/byte_order.hpp"

namespace {

using vantix::support::report_view;
using vantix::support::set_enum;

// The common view of the status byte: down is bit 0, data source bit 4
// kept in place (0 or 16).
vantix_sample_info sample_info(uint8_t status) {
    vantix_sample_info info;
    std::memset(&info, 0, sizeof info);
    info.common.down = status & 0x01u;
    info.common.data_source = status & 0x10u;
    return info;
}

void decode_coordinate(report_view r, vantix_hid_input_coordinate &c) {
    c.report_id = VANTIX_INPUT_COORDINATE;
    c.sample_info = sample_info(r.get1(1));
    c.x = r.get_u16(2);
    c.y = r.get_u16(4);
}

void decode_adc(report_view r, vantix_hid_input_adc_values &a) {
    a.report_id = VANTIX_INPUT_ADCVALUES;
    const uint8_t type = r.get1(1);
    set_enum(a.data_type, type);
    if (type == VANTIX_ADC_DATA_TYPE_SCAN) {
        a.adc_data.scan_values.sample_info = sample_info(r.get1(2));
        a.adc_data.scan_values.x_max = r.get_u16(3);
        a.adc_data.scan_values.x_min = r.get_u16(5);
        a.adc_data.scan_values.y_max = r.get_u16(7);
        a.adc_data.scan_values.y_min = r.get_u16(9);
    } else if (type == VANTIX_ADC_DATA_TYPE_CHANNEL) {
        a.adc_data.channel_values.channel_number = r.get1(2);
        a.adc_data.channel_values.sample1 = r.get_u16(3);
        a.adc_data.channel_values.sample2 = r.get_u16(5);
        a.adc_data.channel_values.sample3 = r.get_u16(7);
        a.adc_data.channel_values.sample4 = r.get_u16(9);
    }
}

void decode_card(report_view r, vantix_hid_input_card_swipe &c) {
    c.report_id = VANTIX_INPUT_MAGCARDDATA;
    set_enum(c.card_format, r.get1(1));
    set_enum(c.track1_status, r.get1(2));
    set_enum(c.track2_status, r.get1(3));
    set_enum(c.track3_status, r.get1(4));
    r.get_bytes(5, c.track1, sizeof c.track1);
    r.get_bytes(84, c.track2, sizeof c.track2);
    r.get_bytes(124, c.track3, sizeof c.track3);
}

void decode_debug(report_view r, vantix_hid_input_debug_coordinate &d) {
    d.report_id = VANTIX_INPUT_DEBUGCOORDINATE;
    d.sample_info = sample_info(r.get1(2));
    d.offset = r.get_u16(3);
    d.x_max = r.get_u16(5);
    d.x_min = r.get_u16(7);
    d.y_max = r.get_u16(9);
    d.y_min = r.get_u16(11);
    d.x_errcor = r.get_u16(13);
    d.y_errcor = r.get_u16(15);
    d.x_mapped = r.get_u16(17);
    d.y_mapped = r.get_u16(19);
    d.region = r.get1(21);
}

// The button under region number n, or null when the sample is not on one.
vantix_device_region_info *button_at(vantix_device *device, uint8_t n) {
    if (!device || n == 0 || n > device->display_info.region_count || !device->regions)
        return nullptr;
    vantix_device_region_info *region = &device->regions[n - 1];
    return vantix::support::enum_byte(region->common.region_type) == VANTIX_REGION_TYPE_BUTTON ? region
                                                                                               : nullptr;
}

void button_event(vantix_input_report &out, uint8_t type, uint16_t x, uint16_t y,
                  vantix_device_region_info *region) {
    out.button_down.report_id = type;
    out.button_down.x = x;
    out.button_down.y = y;
    out.button_down.region = region;
}

void decode_extended(vantix_device *device, report_view r, vantix_input_report &out) {
    const uint8_t status = r.get1(1);
    const uint16_t x = r.get_u16(2), y = r.get_u16(4);
    const uint8_t n = r.get1(6);
    if (vantix_device_region_info *button = button_at(device, n)) {
        if (!device->button_down) {
            device->button_down = 1;
            device->last_button = n;
            button_event(out, VANTIX_INPUT_BUTTONDOWN, x, y, button);
        } else if (status & 0x01u) {
            button_event(out, VANTIX_INPUT_BUTTONMOVE, x, y, button);
        } else {
            device->button_down = 0;
            button_event(out, VANTIX_INPUT_BUTTONPRESS, x, y, button);
        }
        return;
    }
    if (device && device->button_down) {
        device->button_down = 0;
        // The button the press began on; gone if the cache was dropped.
        vantix_device_region_info *origin = device->regions && device->last_button >= 1 &&
                                                    device->last_button <= device->display_info.region_count
                                                ? &device->regions[device->last_button - 1]
                                                : nullptr;
        button_event(out, VANTIX_INPUT_BUTTONUP, x, y, origin);
        return;
    }
    vantix_hid_input_extended_coordinate &e = out.extended_coordinate;
    e.report_id = VANTIX_INPUT_EXTENDEDCOORDINATE;
    e.sample_info = sample_info(status);
    e.x = x;
    e.y = y;
    e.region = n;
}

struct layout {
    uint8_t id;
    unsigned int minimum;
    const char *too_small;
};

constexpr layout layouts[] = {
    {VANTIX_INPUT_COORDINATE, VANTIX_INPUT_COORDINATE_SIZE,
     "Buffer was too small to be an input coordinate buffer."},
    {VANTIX_INPUT_EXTENDEDCOORDINATE, VANTIX_INPUT_EXTENDEDCOORDINATE_SIZE,
     "Buffer was too small to be an extended input coordinate buffer."},
    {VANTIX_INPUT_ADCVALUES, VANTIX_INPUT_ADCVALUES_SIZE, "Buffer was too small to be an adc value buffer."},
    {VANTIX_INPUT_MAGCARDDATA, VANTIX_INPUT_MAGCARDDATA_SIZE,
     "Buffer was too small to be a card swipe buffer."},
    {VANTIX_INPUT_DEBUGCOORDINATE, VANTIX_INPUT_DEBUGCOORDINATE_SIZE,
     "Buffer was too small to be a debug coordinate buffer."},
};

}  // namespace

namespace vantix::input {

bool decode_input_report(vantix_device *device, const unsigned char *buffer, unsigned int length,
                         vantix_input_report &out) {
    if (!buffer || length == 0) {
        VANTIX_FAIL("Buffer passed into vantix_parse_input_report was null or empty.");
        return false;
    }
    const layout *known = nullptr;
    for (const layout &l : layouts)
        if (l.id == buffer[0])
            known = &l;
    if (!known) {
        VANTIX_FAIL("Unknown input report in buffer.");
        return false;
    }
    if (length < known->minimum) {
        VANTIX_FAIL("%s", known->too_small);
        return false;
    }
    std::memset(&out, 0, sizeof out);
    // Only the bytes of the layout are read, whatever else the buffer holds.
    report_view r(const_cast<unsigned char *>(buffer), known->minimum);
    switch (known->id) {
    case VANTIX_INPUT_COORDINATE: decode_coordinate(r, out.coordinate); break;
    case VANTIX_INPUT_EXTENDEDCOORDINATE: decode_extended(device, r, out); break;
    case VANTIX_INPUT_ADCVALUES: decode_adc(r, out.adc_values); break;
    case VANTIX_INPUT_MAGCARDDATA: decode_card(r, out.card_swipe); break;
    default: decode_debug(r, out.debug_coordinate); break;
    }
    return true;
}

}  // namespace vantix::input

extern "C" {

vantix_input_report *vantix_parse_input_report(vantix_device *device, const unsigned char *buffer,
                                               unsigned int length) {
    VANTIX_TRACE_CALL();
    vantix_input_report decoded;
    if (!vantix::input::decode_input_report(device, buffer, length, decoded))
        return nullptr;
    auto *record = static_cast<vantix_input_report *>(std::malloc(sizeof decoded));
    if (!record) {
        VANTIX_FAIL("Out of memory decoding an input report.");
        return nullptr;
    }
    std::memcpy(record, &decoded, sizeof decoded);
    return record;
}

void vantix_free_input_report(vantix_input_report *report) { std::free(report); }

}  // extern "C"
