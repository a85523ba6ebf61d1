// The built-in "REAL" driver table of the Linux build.
#include "core/failure.hpp"
#include "debug/log.hpp"

namespace {

// Entries whose transport is not wired up in this build answer with a clear
// error instead of pretending to work.
vantix_error_code not_available(const char *function) {
    vantix_report_error_internal("%s: the hidraw transport is not available in this build.", function);
    return VANTIX_CODE_ERROR;
}

}  // namespace

extern "C" {

static vantix_error_code vantix_real_driver_init(void) { return VANTIX_CODE_SUCCESS; }
static vantix_error_code vantix_real_driver_destroy(vantix_device_driver *) { return VANTIX_CODE_SUCCESS; }
static vantix_error_code vantix_real_open_device(vantix_device *) { return not_available(__func__); }
static vantix_error_code vantix_real_close_device(vantix_device *) { return not_available(__func__); }
static vantix_error_code vantix_real_list_devices(vantix_device_driver *, vantix_device **start) {
    if (start)
        *start = nullptr;
    return VANTIX_CODE_SUCCESS;
}
static vantix_error_code vantix_real_device_read(vantix_device *) { return not_available(__func__); }
static vantix_error_code vantix_real_hid_set_output_report(vantix_device *, unsigned char *, unsigned int) {
    return not_available(__func__);
}
static vantix_error_code vantix_real_hid_set_feature_report(vantix_device *, unsigned char *, unsigned int) {
    return not_available(__func__);
}
static vantix_error_code vantix_real_hid_get_feature_report(vantix_device *, unsigned char *, unsigned int) {
    return not_available(__func__);
}
static const char *vantix_real_get_driver_name(void) { return "REAL"; }
static uint8_t vantix_real_thread_running(void) { return 0; }
static void vantix_real_thread_wait(void) {}
static void vantix_real_shutdown(void) {}
static vantix_error_code vantix_real_free_device(vantix_device *) { return VANTIX_CODE_SUCCESS; }

vantix_device_driver vantix_real_driver = {
    vantix_real_driver_init,
    vantix_real_driver_destroy,
    vantix_real_open_device,
    vantix_real_close_device,
    vantix_real_list_devices,
    vantix_real_device_read,
    vantix_real_hid_set_output_report,
    vantix_real_hid_set_feature_report,
    vantix_real_hid_get_feature_report,
    vantix_real_get_driver_name,
    vantix_real_thread_running,
    vantix_real_thread_wait,
    0,
    vantix_real_shutdown,
    nullptr,
    vantix_real_free_device,
    nullptr,
    nullptr,
    nullptr,
};

}  // extern "C"
