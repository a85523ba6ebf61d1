// Store report transfers shared by regions, resources and screens.
#include "display/store_io.hpp"

namespace vantix::display::store {

// Checked here rather than left to the transfer, so that a missing device
// is not first polled for its interlock a hundred times.
bool have_device(vantix_device *device, call_site site) {
    if (!device)
        report_failure(site.function, site.file, site.line, "No device given.");
    return device != nullptr;
}

bool have_record(const void *record, call_site site) {
    if (!record)
        report_failure(site.function, site.file, site.line, "No record given.");
    return record != nullptr;
}

void refresh_region_cache(vantix_device *device) {
    if (!device->regions)
        return;
    vantix_free_regions(device->regions);
    device->regions = vantix_get_regions(device);
}

vantix_error_code send_when_clear(vantix_device *device, std::vector<unsigned char> &buffer,
                                  interlock_wait wait) {
    if (wait.polls != 0 && !wait_for_interlock(device, wait.polls, wait.flags))
        return VANTIX_CODE_ERROR;
    return protocol::send_report(device, buffer);
}

int read_number(vantix_device *device, uint8_t id, interlock_wait wait, call_site site) {
    std::vector<unsigned char> buffer(2, 0);
    if (!have_device(device, site) || !protocol::fetch_report(device, id, buffer, wait, true, site))
        return -1;
    return buffer[1];
}

vantix_error_code write_number(vantix_device *device, uint8_t id, uint8_t value, interlock_wait wait,
                               call_site site) {
    if (!have_device(device, site))
        return VANTIX_CODE_ERROR;
    std::vector<unsigned char> buffer{id, value};
    return send_when_clear(device, buffer, wait);
}

}  // namespace vantix::display::store
