// SPDX-License-Identifier: Apache-2.0
// The driver registry, versions and the legacy switch.
#include "core/driver_registry.hpp"

#include <atomic>

#include "build_config.hpp"
#include "core/legacy.hpp"

namespace {

vantix_list *drivers = nullptr;

}  // namespace

namespace vantix {

std::atomic<bool> legacy_firmware{false};

namespace core {

vantix_list *driver_list() { return drivers; }

void create_driver_list() {
    if (!drivers)
        drivers = vantix_create_list();
}

void free_driver_list() {
    vantix_list_free(drivers);
    drivers = nullptr;
}

}  // namespace core
}  // namespace vantix

extern "C" {

void vantix_remove_device_driver(vantix_device_driver *driver) { vantix_list_remove_ptr(drivers, driver); }

size_t vantix_get_driver_count(void) { return vantix_list_count(drivers); }

vantix_list *vantix_get_drivers(void) { return drivers; }

const char *vantix_get_zelnar_version(void) { return VANTIX_VERSION_TEXT; }
unsigned int vantix_get_zelnar_version_major(void) { return VANTIX_VERSION_MAJOR; }
unsigned int vantix_get_zelnar_version_minor(void) { return VANTIX_VERSION_MINOR; }
unsigned int vantix_get_zelnar_version_release(void) { return VANTIX_VERSION_RELEASE; }
const char *vantix_get_zelnar_build_date(void) { return VANTIX_BUILD_DATE_TEXT; }

void vantix_set_legacy_firmware(int /*version*/, char legacy) {
    vantix::legacy_firmware.store(legacy != 0, std::memory_order_relaxed);
}

}  // extern "C"
