// SPDX-License-Identifier: Apache-2.0
/* Prints the size of every record the Python binding declares and the
 * offset of every field it reads, as the C compiler lays them out; the
 * binding's tests compare them with its ctypes declarations. */
#include <stddef.h>
#include <stdio.h>

#include "vantix-document.h"
#include "vantix-signature.h"
#include "vantix-zelnar.h"

#define SIZE(type) printf("%s %zu\n", #type, sizeof(type))
#define FIELD(type, field) printf("%s.%s %zu\n", #type, #field, offsetof(type, field))

int main(void) {
    SIZE(vantix_hid_feature_display_info);
    FIELD(vantix_hid_feature_display_info, region_count);
    FIELD(vantix_hid_feature_display_info, max_caption_length);
    SIZE(vantix_hid_feature_version);
    FIELD(vantix_hid_feature_version, asic_signature);
    SIZE(vantix_device_region_common);
    FIELD(vantix_device_region_common, region_type);
    FIELD(vantix_device_region_common, visible);
    FIELD(vantix_device_region_common, x1);
    FIELD(vantix_device_region_common, y2);
    FIELD(vantix_device_region_common, color_background);
    SIZE(vantix_device_region_button);
    FIELD(vantix_device_region_button, caption);
    SIZE(vantix_device_region_info);
    SIZE(vantix_device);
    FIELD(vantix_device, vendor_id);
    FIELD(vantix_device, model);
    FIELD(vantix_device, uuid);
    FIELD(vantix_device, open);
    FIELD(vantix_device, display_info);
    FIELD(vantix_device, version_info);
    FIELD(vantix_device, regions);
    FIELD(vantix_device, next);
    FIELD(vantix_device, driver);
    FIELD(vantix_device, parameters);
    SIZE(vantix_hid_capabilities);
    FIELD(vantix_hid_capabilities, display_id);
    FIELD(vantix_hid_capabilities, display_width);
    FIELD(vantix_hid_capabilities, calibration_ymax);
    FIELD(vantix_hid_capabilities, mag_reader_id);
    FIELD(vantix_hid_capabilities, supports_screens_resources);
    FIELD(vantix_hid_capabilities, reserved_14);
    SIZE(vantix_hid_feature_serial_number);
    SIZE(vantix_hid_input_coordinate);
    FIELD(vantix_hid_input_coordinate, x);
    FIELD(vantix_hid_input_coordinate, y);
    SIZE(vantix_hid_input_extended_coordinate);
    FIELD(vantix_hid_input_extended_coordinate, region);
    SIZE(vantix_hid_input_card_swipe);
    FIELD(vantix_hid_input_card_swipe, track1_status);
    FIELD(vantix_hid_input_card_swipe, track3_status);
    FIELD(vantix_hid_input_card_swipe, track1);
    FIELD(vantix_hid_input_card_swipe, track3);
    SIZE(vantix_hid_input_button);
    FIELD(vantix_hid_input_button, x);
    FIELD(vantix_hid_input_button, region);
    SIZE(vantix_bitmap);
    FIELD(vantix_bitmap, width);
    SIZE(vantix_signature_pad_info);
    FIELD(vantix_signature_pad_info, x_min);
    FIELD(vantix_signature_pad_info, display_height);
    SIZE(vantix_signature_point);
    FIELD(vantix_signature_point, pressure);
    FIELD(vantix_signature_point, time_us);
    FIELD(vantix_signature_point, stroke);
    SIZE(vantix_signature_box);
    SIZE(vantix_signature_export_options);
    FIELD(vantix_signature_export_options, line_width);
    FIELD(vantix_signature_export_options, pressure_width);
    SIZE(vantix_signature_document);
    FIELD(vantix_signature_document, size);
    FIELD(vantix_signature_document, path);
    SIZE(vantix_signature_record_options);
    FIELD(vantix_signature_record_options, document_name);
    FIELD(vantix_signature_record_options, pad_firmware);
    SIZE(vantix_signature_material);
    FIELD(vantix_signature_material, size);
    /* The driver table entry read for a pad's driver name. */
    FIELD(vantix_device_driver, get_name);
    SIZE(vantix_document_placement);
    FIELD(vantix_document_placement, page);
    FIELD(vantix_document_placement, height);
    SIZE(vantix_document_sign_options);
    FIELD(vantix_document_sign_options, reason);
    FIELD(vantix_document_sign_options, recipients);
    FIELD(vantix_document_sign_options, chain_count);
    FIELD(vantix_document_sign_options, signing_time);
    SIZE(vantix_document_signature);
    FIELD(vantix_document_signature, signer);
    FIELD(vantix_document_signature, covers_whole_file);
    FIELD(vantix_document_signature, sha256);
    FIELD(vantix_document_signature, valid);
    FIELD(vantix_document_signature, record_revision_length);
    FIELD(vantix_document_signature, record_problem);
    return 0;
}
