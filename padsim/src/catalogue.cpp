// SPDX-License-Identifier: Apache-2.0
// The report catalogue of the pad firmware.
#include "padsim/catalogue.hpp"

#include <array>

#include "padsim/model.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::uint8_t get_set = use_get | use_set;

constexpr std::array features{
    feature_info{VANTIX_FEATURE_RUNMODE, VANTIX_FEATURE_RUNMODE_SIZE, use_set},
    feature_info{VANTIX_FEATURE_CAPABILITIES, VANTIX_FEATURE_CAPABILITIES_SIZE, use_get},
    feature_info{VANTIX_FEATURE_DEVICE_STATUS, VANTIX_FEATURE_DEVICE_STATUS_SIZE, get_set},
    feature_info{VANTIX_FEATURE_DEVICECONFIGURE, VANTIX_FEATURE_DEVICECONFIGURE_SIZE, get_set},
    feature_info{VANTIX_FEATURE_CONTACTCOUNTMAXIMUM, VANTIX_FEATURE_CONTACTCOUNTMAXIMUM_SIZE, use_get},
    feature_info{VANTIX_FEATURE_FREQUENCYAMPLITUDE, VANTIX_FEATURE_FREQUENCYAMPLITUDE_SIZE, get_set},
    feature_info{VANTIX_FEATURE_POWERSTATE, VANTIX_FEATURE_POWERSTATE_SIZE, get_set},
    feature_info{VANTIX_FEATURE_VERSIONINFO, VANTIX_FEATURE_VERSIONINFO_SIZE, use_get},
    feature_info{VANTIX_FEATURE_COORDINATERANGE, VANTIX_FEATURE_COORDINATERANGE_SIZE, use_get},
    feature_info{VANTIX_FEATURE_FIRMWAREDOWNLOAD, VANTIX_FEATURE_FIRMWAREDOWNLOAD_SIZE, use_set},
    feature_info{VANTIX_FEATURE_ERRORCORRECTION, VANTIX_FEATURE_ERRORCORRECTION_SIZE, get_set},
    feature_info{VANTIX_FEATURE_SERIALNUMBER, VANTIX_FEATURE_SERIALNUMBER_SIZE, get_set},
    feature_info{VANTIX_FEATURE_SAVECONFIGURATION, VANTIX_FEATURE_SAVECONFIGURATION_SIZE, use_set},
    feature_info{VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS, VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS_SIZE, use_set},
    feature_info{VANTIX_FEATURE_OPERATINGMODE, VANTIX_FEATURE_OPERATINGMODE_SIZE, use_get},
    feature_info{VANTIX_FEATURE_GENERALPARAMETERS, VANTIX_FEATURE_GENERALPARAMETERS_SIZE, get_set},
    feature_info{VANTIX_FEATURE_ASICRESET, VANTIX_FEATURE_ASICRESET_SIZE, use_set},
    feature_info{VANTIX_FEATURE_REGISTERGET, VANTIX_FEATURE_REGISTERGET_SIZE, use_get},
    feature_info{VANTIX_FEATURE_REGISTERSET, VANTIX_FEATURE_REGISTERSET_SIZE, use_set},
    feature_info{VANTIX_FEATURE_PENPARAMETERS, VANTIX_FEATURE_PENPARAMETERS_SIZE, get_set},
    feature_info{VANTIX_FEATURE_TOUCHPARAMETERS, VANTIX_FEATURE_TOUCHPARAMETERS_SIZE, get_set},
    feature_info{VANTIX_FEATURE_OUTPUTCONFIGURATION, VANTIX_FEATURE_OUTPUTCONFIGURATION_SIZE, get_set},
    feature_info{VANTIX_FEATURE_PERIPHERAL_CONFIGURATION, VANTIX_FEATURE_PERIPHERAL_CONFIGURATION_SIZE,
                 get_set},
    feature_info{VANTIX_FEATURE_DISPLAYINFO, VANTIX_FEATURE_DISPLAYINFO_SIZE, use_get},
    feature_info{VANTIX_FEATURE_DISPLAYCONTENT, VANTIX_FEATURE_DISPLAYCONTENT_SIZE, use_set},
    feature_info{VANTIX_FEATURE_DISPLAYSETTINGS, VANTIX_FEATURE_DISPLAYSETTINGS_SIZE, get_set},
    feature_info{VANTIX_FEATURE_UPDATEDISPLAYCHUNK, VANTIX_FEATURE_UPDATEDISPLAYCHUNK_SIZE, use_set},
    feature_info{VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION, VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION_SIZE,
                 use_set},
    feature_info{VANTIX_FEATURE_PIXELS, VANTIX_FEATURE_PIXELS_SIZE, use_get},
    feature_info{VANTIX_FEATURE_REGIONGET, 0, use_get},
    feature_info{VANTIX_FEATURE_REGIONGETDEFAULT, 0, use_get},
    feature_info{VANTIX_FEATURE_REGIONSET, 0, use_set},
    feature_info{VANTIX_FEATURE_REGIONUPDATE, 12, use_set},
    feature_info{VANTIX_FEATURE_REGIONDELETE, 2, use_set},
    feature_info{VANTIX_FEATURE_REGIONEDITCOMPLETE, 2, use_set},
    feature_info{VANTIX_FEATURE_CALIBRATE, VANTIX_FEATURE_CALIBRATE_SIZE, get_set},
    feature_info{VANTIX_FEATURE_CALIBRATION_DATA, VANTIX_FEATURE_CALIBRATION_DATA_SIZE, get_set},
    feature_info{VANTIX_FEATURE_RESOURCE_IDX, VANTIX_FEATURE_RESOURCE_IDX_SIZE, get_set},
    feature_info{VANTIX_FEATURE_RESOURCE_INFO, VANTIX_FEATURE_RESOURCE_INFO_SIZE, use_get},
    feature_info{VANTIX_FEATURE_RESOURCE, VANTIX_FEATURE_RESOURCE_SIZE, get_set},
    feature_info{VANTIX_FEATURE_DELETE_RESOURCE, VANTIX_FEATURE_DELETE_RESOURCE_SIZE, use_set},
    feature_info{VANTIX_FEATURE_RESOURCE_AVAILABILITY, VANTIX_FEATURE_RESOURCE_AVAILABILITY_SIZE, use_get},
    feature_info{VANTIX_FEATURE_REGION_IDX, VANTIX_FEATURE_REGION_IDX_SIZE, get_set},
    feature_info{VANTIX_FEATURE_REGION, 0, get_set},
    feature_info{VANTIX_FEATURE_DELETE_REGION, VANTIX_FEATURE_DELETE_REGION_SIZE, use_set},
    feature_info{VANTIX_FEATURE_SCREEN_IDX, VANTIX_FEATURE_SCREEN_IDX_SIZE, get_set},
    feature_info{VANTIX_FEATURE_SCREEN, VANTIX_FEATURE_SCREEN_SIZE, get_set},
    feature_info{VANTIX_FEATURE_DELETE_SCREEN, VANTIX_FEATURE_DELETE_SCREEN_SIZE, use_set},
    feature_info{VANTIX_FEATURE_MODIFY_SCREEN, VANTIX_FEATURE_MODIFY_SCREEN_SIZE, use_set},
    feature_info{VANTIX_FEATURE_SCREEN_REGION_INFO, VANTIX_FEATURE_SCREEN_REGION_INFO_SIZE, use_get},
    feature_info{VANTIX_FEATURE_ACTIVE_SCREEN, VANTIX_FEATURE_ACTIVE_SCREEN_SIZE, get_set},
    feature_info{VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD_SIZE,
                 use_set},
    feature_info{VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS,
                 VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS_SIZE, get_set},
    feature_info{VANTIX_FEATURE_ENGINEERING_TEST, VANTIX_FEATURE_ENGINEERING_TEST_SIZE, use_set},
};

constexpr std::array inputs{
    input_info{VANTIX_INPUT_COORDINATE, VANTIX_INPUT_COORDINATE_SIZE},
    input_info{VANTIX_INPUT_EXTENDEDCOORDINATE, VANTIX_INPUT_EXTENDEDCOORDINATE_SIZE},
    input_info{VANTIX_INPUT_ADCVALUES, VANTIX_INPUT_ADCVALUES_SIZE},
    input_info{VANTIX_INPUT_MAGCARDDATA, VANTIX_INPUT_MAGCARDDATA_SIZE},
    input_info{VANTIX_INPUT_DEBUGCOORDINATE, VANTIX_INPUT_DEBUGCOORDINATE_SIZE},
};

// Status byte 3.
constexpr std::uint8_t lock_report_buffer = 0x01;
constexpr std::uint8_t lock_region = 0x04;
constexpr std::uint8_t lock_screen = 0x08;
constexpr std::uint8_t lock_display = 0x10;
constexpr std::uint8_t lock_calibrate = 0x20;

// One region record on the wire: 29 fixed bytes plus the caption.
constexpr unsigned region_record_fixed = 29;

}  // namespace

std::span<const feature_info> feature_reports() { return features; }

std::span<const input_info> input_reports() { return inputs; }

const feature_info *find_feature(std::uint8_t id) {
    for (const feature_info &info : features)
        if (info.id == id)
            return &info;
    return nullptr;
}

unsigned feature_length(const feature_info &info, const model &m) {
    if (info.length != 0)
        return info.length;
    const unsigned record = region_record_fixed + m.max_caption_length;
    switch (info.id) {
    case VANTIX_FEATURE_REGIONGET:
    case VANTIX_FEATURE_REGIONGETDEFAULT: return 1 + m.region_count * record;
    case VANTIX_FEATURE_REGIONSET: return 1 + record;
    case VANTIX_FEATURE_REGION: return m.max_caption_length + 34u;
    default: return 0;
    }
}

std::uint8_t command_lock_groups(std::uint8_t id) {
    switch (id) {
    case VANTIX_FEATURE_RUNMODE:
    case VANTIX_FEATURE_ERRORCORRECTION: return lock_report_buffer;
    // Updating a region only redraws it; it stores nothing and locks nothing.
    case VANTIX_FEATURE_REGIONSET:
    case VANTIX_FEATURE_REGIONDELETE:
    case VANTIX_FEATURE_REGIONEDITCOMPLETE:
    case VANTIX_FEATURE_REGION: return lock_region;
    case VANTIX_FEATURE_SCREEN:
    case VANTIX_FEATURE_DELETE_SCREEN:
    case VANTIX_FEATURE_MODIFY_SCREEN:
    case VANTIX_FEATURE_ACTIVE_SCREEN: return lock_screen;
    // Deleting a region and storing resources touch screens as well.
    case VANTIX_FEATURE_DELETE_REGION:
    case VANTIX_FEATURE_RESOURCE:
    case VANTIX_FEATURE_DELETE_RESOURCE:
    case VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD: return lock_region | lock_screen;
    case VANTIX_FEATURE_DISPLAYCONTENT:
    case VANTIX_FEATURE_UPDATEDISPLAYCHUNK: return lock_display;
    case VANTIX_FEATURE_CALIBRATE: return lock_calibrate;
    default: return 0;
    }
}

}  // namespace padsim
