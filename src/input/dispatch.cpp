// SPDX-License-Identifier: Apache-2.0
// Handing a decoded input report to the pad's input callbacks.
#include <cstring>
#include <memory>
#include <new>

#include "core/device_flags.hpp"
#include "input/decode.hpp"
#include "vantix-zelnar.h"

namespace {

// Callbacks are copied before any runs, so a callback that closes its own
// pad (which frees the list) cannot pull the list from under the loop. The
// copy lives on the stack for any sensible number of callbacks.
constexpr size_t inline_callbacks = 16;

}  // namespace

extern "C" {

void vantix_get_driver_input_report(vantix_device *device, unsigned char *report, unsigned int len) {
    // Callbacks see the record only during their call, so it lives here:
    // nothing is allocated per report.
    vantix_input_report record;
    if (vantix::input::decode_input_report(device, report, len, record) && device &&
        device->input_callbacks) {
        const unsigned int count = vantix_list_count(device->input_callbacks);
        vantix_input_callback stack_copy[inline_callbacks];
        std::unique_ptr<vantix_input_callback[]> heap_copy;
        if (count > inline_callbacks)
            heap_copy.reset(new (std::nothrow) vantix_input_callback[count]);
        vantix_input_callback *callbacks = count > inline_callbacks ? heap_copy.get() : stack_copy;
        if (!callbacks)  // out of memory: this report reaches no callback
            return;
        size_t n = 0;
        for (vantix_list_item *item = device->input_callbacks->first; item && n < count; item = item->next)
            std::memcpy(&callbacks[n++], &item->ptr, sizeof callbacks[0]);

        const bool was_open = vantix::is_open(device);
        for (size_t i = 0; i < n; ++i) {
            callbacks[i](device, &record, record.type.report_id, report, len);
            if (was_open && !vantix::is_open(device))
                break;  // closed by the callback: no calls after close
        }
    }
}

}  // extern "C"
