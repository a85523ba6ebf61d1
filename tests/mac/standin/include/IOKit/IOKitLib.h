// SPDX-License-Identifier: Apache-2.0
// Stand-in for the IOKit service calls the macOS driver makes: matching
// notifications for USB devices coming and going.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOReturn.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int mach_port_t;
typedef mach_port_t io_object_t;
typedef io_object_t io_iterator_t;
typedef io_object_t io_service_t;
typedef struct IONotificationPort *IONotificationPortRef;
typedef void (*IOServiceMatchingCallback)(void *refcon, io_iterator_t iterator);

#define MACH_PORT_NULL ((mach_port_t)0)
#define IO_OBJECT_NULL ((io_object_t)0)

#define kIOPublishNotification "IOServicePublish"
#define kIOTerminatedNotification "IOServiceTerminate"

IONotificationPortRef IONotificationPortCreate(mach_port_t main_port);
void IONotificationPortDestroy(IONotificationPortRef port);
CFRunLoopSourceRef IONotificationPortGetRunLoopSource(IONotificationPortRef port);

CFMutableDictionaryRef IOServiceMatching(const char *name);
// Consumes one reference of `matching`, whatever the result.
kern_return_t IOServiceAddMatchingNotification(IONotificationPortRef port, const char *type,
                                               CFDictionaryRef matching, IOServiceMatchingCallback callback,
                                               void *refcon, io_iterator_t *iterator);
io_object_t IOIteratorNext(io_iterator_t iterator);
kern_return_t IOObjectRelease(io_object_t object);

#ifdef __cplusplus
}
#endif
