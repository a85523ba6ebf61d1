// SPDX-License-Identifier: Apache-2.0
// Stand-in: HID property keys, report types and options.
#pragma once

#define kIOHIDTransportKey "Transport"
#define kIOHIDVendorIDKey "VendorID"
#define kIOHIDProductIDKey "ProductID"
#define kIOHIDLocationIDKey "LocationID"
#define kIOHIDManufacturerKey "Manufacturer"
#define kIOHIDProductKey "Product"
#define kIOHIDPrimaryUsageKey "PrimaryUsage"
#define kIOHIDPrimaryUsagePageKey "PrimaryUsagePage"
#define kIOHIDReportDescriptorKey "ReportDescriptor"

typedef unsigned int IOOptionBits;
enum { kIOHIDOptionsTypeNone = 0, kIOHIDOptionsTypeSeizeDevice = 1 };

typedef enum IOHIDReportType {
    kIOHIDReportTypeInput = 0,
    kIOHIDReportTypeOutput,
    kIOHIDReportTypeFeature,
    kIOHIDReportTypeCount
} IOHIDReportType;
