// Handing a decoded input report to the pad's input callbacks.
#include <cstring>

#include "core/list_range.hpp"
#include "vantix-zelnar.h"

extern "C" {

void vantix_get_driver_input_report(vantix_device *device, unsigned char *report, unsigned int len) {
    vantix_input_report *record = vantix_parse_input_report(device, report, len);
    if (record && device && device->input_callbacks) {
        for (void *entry : vantix::list_range<void>(device->input_callbacks)) {
            vantix_input_callback callback;
            std::memcpy(&callback, &entry, sizeof callback);
            callback(device, record, record->type.report_id, report, len);
        }
    }
    vantix_free_input_report(record);
}

}  // extern "C"
