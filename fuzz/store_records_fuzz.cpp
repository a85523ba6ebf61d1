// SPDX-License-Identifier: Apache-2.0
// The store's records as a pad answers them: the first byte picks the
// record (and, for regions, the caption length the pad declared), the rest
// are the report's bytes. Each is decoded and printed, so the printers walk
// whatever counts the bytes claim.
#include <cstdio>
#include <vector>

#include "display/store_regions.hpp"
#include "display/store_resources.hpp"
#include "display/store_screens.hpp"
#include "fuzz_bytes.hpp"

namespace {

using vantix::support::report_view;
namespace display = vantix::display;

template <typename Record, typename Decode, typename Print>
void decode_and_print(report_view r, Decode decode, Print print) {
    Record record{};
    decode(r, record);
    print(&record);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The printers write to standard output.
    return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    vantix::fuzz::bytes in(data, size);
    const uint8_t pick = in.take();
    std::vector<unsigned char> bytes = in.rest();  // exactly the input's size
    const report_view r(bytes.data(), bytes.size());
    switch (pick % 6) {
    case 0: {
        vantix_hid_feature_region region{};
        display::decode_store_region(r, pick / 6, region);
        vantix_print_device_regions(&region, 1);
        break;
    }
    case 1:
        decode_and_print<vantix_hid_feature_resource_info>(r, display::decode_resource_info,
                                                           vantix_print_resource_info);
        break;
    case 2:
        decode_and_print<vantix_hid_feature_resource>(r, display::decode_resource, vantix_print_resource);
        break;
    case 3:
        decode_and_print<vantix_hid_feature_resource_availability>(r, display::decode_resource_availability,
                                                                   vantix_print_resource_availability);
        break;
    case 4:
        decode_and_print<vantix_hid_feature_screen>(r, display::decode_screen, vantix_print_screen);
        break;
    default:
        decode_and_print<vantix_hid_feature_screen_region_info>(r, display::decode_screen_region_info,
                                                                vantix_print_screen_region_info);
        break;
    }
    return 0;
}
