// How the store's reports move. Unlike most report families, the store's
// _ref readers do the transfer and the by-value readers call them on a
// local record; numbers (indices, the active screen) travel alone in
// two-byte reports.
#pragma once

#include <cstring>
#include <vector>

#include "core/failure.hpp"
#include "protocol/report_io.hpp"

namespace vantix::display::store {

using protocol::call_site;
using protocol::interlock_wait;

inline constexpr interlock_wait no_wait{};
inline constexpr interlock_wait region_wait{100, INTERLOCK_REGION};
inline constexpr interlock_wait screen_wait{100, INTERLOCK_SCREEN};
inline constexpr interlock_wait region_and_screen_wait{100, INTERLOCK_REGION | INTERLOCK_SCREEN};

// A missing device or record is refused with a clear error before any
// interlock poll.
bool have_device(vantix_device *device, call_site site);
bool have_record(const void *record, call_site site);

// Reads the device's cached legacy region list anew after the pad's
// regions changed under it; a device without a cache keeps none. Pointers
// into the old list (button events already delivered) do not survive this.
void refresh_region_cache(vantix_device *device);

// Waits for the interlock, when `wait` names one, then sends `buffer`.
vantix_error_code send_when_clear(vantix_device *device, std::vector<unsigned char> &buffer,
                                  interlock_wait wait);

// A number report: byte 1 of the reply, or -1 on failure.
int read_number(vantix_device *device, uint8_t id, interlock_wait wait, call_site site);
vantix_error_code write_number(vantix_device *device, uint8_t id, uint8_t value, interlock_wait wait,
                               call_site site);

// Fills `record` (zeroed first, and zero when anything fails) from report
// `id` of `length` bytes through `decode(view, record)`.
template <typename Record, typename Decode>
void read_record(vantix_device *device, Record *record, uint8_t id, size_t length, Decode decode,
                 interlock_wait wait, call_site site) {
    if (record)
        std::memset(static_cast<void *>(record), 0, sizeof *record);
    if (!have_record(record, site) || !have_device(device, site))
        return;
    std::vector<unsigned char> buffer(length, 0);
    if (protocol::fetch_report(device, id, buffer, wait, true, site))
        decode(protocol::report_view(buffer.data(), buffer.size()), *record);
}

// Sends `record` as report `id` of `length` bytes, encoded by
// `encode(record, view)`; byte 0 is always the report's own ID.
template <typename Record, typename Encode>
vantix_error_code write_record(vantix_device *device, const Record *record, uint8_t id, size_t length,
                               Encode encode, interlock_wait wait, call_site site) {
    if (!have_record(record, site) || !have_device(device, site))
        return VANTIX_CODE_ERROR;
    std::vector<unsigned char> buffer(length, 0);
    encode(*record, protocol::report_view(buffer.data(), buffer.size()));
    buffer[0] = id;
    return send_when_clear(device, buffer, wait);
}

}  // namespace vantix::display::store

// A store reader pair: vantix_get_<name>_ref transfers into the caller's
// record, vantix_get_<name> returns what it read.
#define VANTIX_STORE_READERS(name, record_type, id, length, decoder, wait)                             \
    void vantix_get_##name##_ref(vantix_device *device, record_type *record) {                         \
        VANTIX_TRACE_CALL();                                                                           \
        ::vantix::display::store::read_record(device, record, id, length, decoder, wait, VANTIX_HERE); \
    }                                                                                                  \
    record_type vantix_get_##name(vantix_device *device) {                                             \
        VANTIX_TRACE_CALL();                                                                           \
        record_type record;                                                                            \
        vantix_get_##name##_ref(device, &record);                                                      \
        return record;                                                                                 \
    }

// A store writer taking the caller's record by pointer.
#define VANTIX_STORE_WRITER(function, record_type, id, length, encoder, wait)                    \
    vantix_error_code function(vantix_device *device, record_type *record) {                     \
        VANTIX_TRACE_CALL();                                                                     \
        return ::vantix::display::store::write_record(device, record, id, length, encoder, wait, \
                                                      VANTIX_HERE);                              \
    }

// The reader and writer of a number report (an index or the active screen).
#define VANTIX_STORE_NUMBER(name, id, wait)                                                  \
    int vantix_get_##name(vantix_device *device) {                                           \
        VANTIX_TRACE_CALL();                                                                 \
        return ::vantix::display::store::read_number(device, id, wait, VANTIX_HERE);         \
    }                                                                                        \
    vantix_error_code vantix_set_##name(vantix_device *device, uint8_t value) {              \
        VANTIX_TRACE_CALL();                                                                 \
        return ::vantix::display::store::write_number(device, id, value, wait, VANTIX_HERE); \
    }
