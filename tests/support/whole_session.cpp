// SPDX-License-Identifier: Apache-2.0
#include "support/whole_session.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <initializer_list>

namespace vantix::testing {
namespace {

bool still_open(vantix_device *device) { return __atomic_load_n(&device->open, __ATOMIC_ACQUIRE) != 0; }

void read_identity(vantix_device *device) {
    vantix_hid_feature_device_status status{};
    vantix_get_device_status_ref(device, &status);
    vantix_hid_capabilities capabilities{};
    vantix_get_capabilities_ref(device, &capabilities);
    vantix_hid_feature_display_info display{};
    vantix_get_display_info_ref(device, &display);
    vantix_hid_feature_version version{};
    vantix_get_version_ref(device, &version);
    vantix_hid_feature_serial_number serial{};
    vantix_get_serial_number_ref(device, &serial);
    vantix_hid_feature_coordinate_range range{};
    vantix_get_coordinate_range_ref(device, &range);
}

void read_regions(vantix_device *device) {
    for (vantix_device_region_info *list : {vantix_get_regions(device), vantix_get_default_regions(device)}) {
        if (list)
            vantix_print_regions(list, device->display_info.region_count);
        vantix_free_regions(list);
    }
    vantix_free_device_regions(vantix_get_device_regions(device));
}

template <typename Record>
void read_and_print(vantix_device *device, void (*read)(vantix_device *, Record *),
                    void (*print)(const Record *)) {
    Record record{};
    read(device, &record);
    print(&record);
}

void read_store(vantix_device *device) {
    vantix_hid_feature_region region{};
    vantix_get_region_ref(device, &region);
    vantix_print_device_regions(&region, 1);
    read_and_print(device, vantix_get_screen_ref, vantix_print_screen);
    read_and_print(device, vantix_get_screen_region_info_ref, vantix_print_screen_region_info);
    read_and_print(device, vantix_get_resource_info_ref, vantix_print_resource_info);
    read_and_print(device, vantix_get_resource_ref, vantix_print_resource);
    read_and_print(device, vantix_get_resource_availability_ref, vantix_print_resource_availability);
    vantix_hid_feature_pixel_values pixels{};
    if (vantix_get_pixels(device, &pixels) == VANTIX_CODE_SUCCESS)
        vantix_print_pixel_values(&pixels);
}

void draw(vantix_device *device) {
    vantix_clear_screen(device);
    vantix_device_draw_text(device, "Please sign", 4, 4, VANTIX_ALIGN_LEFT, 0);
    constexpr int width = 16, height = 8;
    unsigned char pixels[54 + height * ((24 * width + 31) / 32 * 4)];
    vantix_bitmap bitmap;
    vantix_bitmap_init(&bitmap, pixels, width, height);
    vantix_draw_rectangle(&bitmap, 0, 0, width - 1, height - 1, 0xFF000000);
    vantix_transfer_bitmap_to_device(device, &bitmap, 200, 40, 1);
}

}  // namespace

void run_whole_session(vantix_device *device, int reads) {
    using step = void (*)(vantix_device *);
    for (step run : {read_identity, read_regions, read_store, draw}) {
        if (!still_open(device))
            return;
        run(device);
    }
    for (int i = 0; i < reads && still_open(device); ++i)
        vantix_device_read(device);
}

quiet_stdout::quiet_stdout() : saved_(dup(STDOUT_FILENO)) {
    std::fflush(stdout);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        close(null);
    }
}

quiet_stdout::~quiet_stdout() {
    std::fflush(stdout);
    if (saved_ >= 0) {
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
}

}  // namespace vantix::testing
