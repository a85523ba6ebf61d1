// SPDX-License-Identifier: Apache-2.0
// Library start and stop, and registering a driver table: the library's
// entries a table gets reach every layer, the input dispatch among them.
#include "core/driver_registry.hpp"
#include "debug/log.hpp"
#include "platform/platform_hooks.hpp"
#include "support/list_range.hpp"

namespace {

vantix::list_range<vantix_device_driver> drivers() {
    return vantix::list_range<vantix_device_driver>(vantix::core::driver_list());
}

const char *driver_name(vantix_device_driver *driver) {
    const char *name = driver->get_name ? driver->get_name() : nullptr;
    return name ? name : "(unnamed)";
}

}  // namespace

extern "C" {

void vantix_init(void) {
    vantix_debug_init("zelnar");
    VANTIX_TRACE_CALL();
    VANTIX_LOG_INFO("Initalizing Zelnar Native library, version: %s, date: %s", vantix_get_zelnar_version(),
                    vantix_get_zelnar_build_date());
    vantix::core::create_driver_list();
    vantix_add_device_driver(&vantix_real_driver);
    vantix::platform::os_init();
    vantix::platform::load_additional_drivers();

    VANTIX_LOG_FINE("Attempting to initialize %u driver(s).", vantix_list_count(vantix::core::driver_list()));
    for (vantix_device_driver *driver : drivers()) {
        VANTIX_LOG_FINE("Attempting to initialize driver '%s'.", driver_name(driver));
        if (driver->driver_init && driver->driver_init()) {
            VANTIX_LOG_INFO("Successfully initialized '%s' driver.", driver_name(driver));
            driver->initialized = 1;
        } else {
            VANTIX_LOG_WARNING("Failed to initialized '%s' driver: %s", driver_name(driver),
                               vantix_get_last_error_internal());
            driver->initialized = 0;
        }
    }
}

void vantix_destroy(void) {
    {
        VANTIX_TRACE_CALL();
        for (vantix_device_driver *driver : drivers())
            if (driver->initialized && driver->driver_destroy)
                driver->driver_destroy(driver);
        if (vantix_list *open = vantix_get_open_devices()) {
            vantix_set_open_devices(nullptr);
            vantix_list_free(open);
        }
        for (vantix_device_driver *driver : drivers())
            if (driver->shutdown)
                driver->shutdown();
        vantix::core::free_driver_list();
        vantix::platform::os_destroy();
    }  // the exit record is written here, before the log stops
    vantix_debug_destroy();
}

void vantix_add_device_driver(vantix_device_driver *driver) {
    VANTIX_TRACE_CALL();
    if (!driver)
        return;
    vantix_list *list = vantix::core::driver_list();
    if (!list) {
        VANTIX_LOG_INFO("Driver list was null loading driver '%s'.", driver_name(driver));
        return;
    }
    if (vantix_list_find(list, driver)) {
        VANTIX_LOG_INFO("Driver was already in driver list '%s'.", driver_name(driver));
        return;
    }
    driver->debug = vantix_debug_report_message;
    driver->report_error = vantix_report_error_internal;
    driver->get_hotplug_callbacks = vantix_get_device_callbacks;
    driver->input_report = vantix_get_driver_input_report;
    VANTIX_LOG_INFO("Adding driver to driver list: '%s'.", driver_name(driver));
    vantix_list_add(list, driver);
}

}  // extern "C"
