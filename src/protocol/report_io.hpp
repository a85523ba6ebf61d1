// SPDX-License-Identifier: Apache-2.0
// The one way a feature report is read into a record and the one way a
// record is written as a report. A report family supplies its ID, its wire
// length and a decode or encode function; nothing else.
#pragma once

#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "core/failure.hpp"

#include "debug/log.hpp"
#include "protocol/byte_order.hpp"

namespace vantix::protocol {

// Where a report operation was called from, for its log records.
struct call_site {
    const char *function;
    const char *file;
    int line;
};
#define VANTIX_HERE (::vantix::protocol::call_site{__func__, __FILE__, __LINE__})

struct interlock_wait {
    int polls = 0;
    int flags = 0;
};

// Fills `buffer` (zeroed, ID in byte 0) from the pad. Waits for the
// interlock first when asked. On failure the WARNING "Unable to get report"
// is logged unless `quiet`. Returns whether the buffer holds a reply.
bool fetch_report(vantix_device *device, uint8_t id, std::span<unsigned char> buffer, interlock_wait wait,
                  bool quiet, call_site site);

// Sends `buffer` as it stands and returns the transfer's result.
vantix_error_code send_report(vantix_device *device, std::span<unsigned char> buffer);

// A report buffer that lives on the stack for the small reports polled
// often (device status during every interlock wait), so those reads
// allocate nothing; longer reports go to the heap.
class report_buffer {
public:
    explicit report_buffer(size_t length) : length_(length) {
        if (length > small_.size())
            large_.resize(length);
    }
    std::span<unsigned char> bytes() { return {large_.empty() ? small_.data() : large_.data(), length_}; }

private:
    std::array<unsigned char, 128> small_{};
    std::vector<unsigned char> large_;
    size_t length_;
};

// Reads report `id` of `length` bytes into a zeroed record; the record stays
// zero when the read (or the interlock wait before it) fails.
template <typename Record>
Record read_report(vantix_device *device, uint8_t id, size_t length, void (*decode)(report_view, Record &),
                   call_site site, interlock_wait wait = {}, bool quiet = false) {
    Record record{};
    report_buffer buffer(length);
    if (fetch_report(device, id, buffer.bytes(), wait, quiet, site))
        decode(report_view(buffer.bytes().data(), length), record);
    return record;
}

// Builds report `id` of `length` bytes from `record` and sends it. The ID
// byte is always the operation's own, never the record's report_id.
template <typename Record>
vantix_error_code write_report(vantix_device *device, uint8_t id, size_t length, const Record &record,
                               void (*encode)(const Record &, report_view)) {
    std::vector<unsigned char> buffer(length, 0);
    encode(record, report_view(buffer.data(), buffer.size()));
    buffer[0] = id;
    return send_report(device, buffer);
}

// A report that carries one byte after its ID (run mode, commits, ...).
vantix_error_code write_byte_report(vantix_device *device, uint8_t id, size_t length, uint8_t value);

// A missing device or record is refused with a clear error before any
// interlock poll.
bool have_device(vantix_device *device, call_site site);
bool have_record(const void *record, call_site site);

// Waits for the interlock, when `wait` names one, then sends `buffer`.
vantix_error_code send_when_clear(vantix_device *device, std::span<unsigned char> buffer,
                                  interlock_wait wait);

// The families whose _ref reader does the transfer: fills `record` (zeroed
// first, and left zero when anything fails, without a log record) from
// report `id` of `length` bytes through `decode(view, record)`.
template <typename Record, typename Decode>
void read_into(vantix_device *device, Record *record, uint8_t id, size_t length, Decode decode,
               interlock_wait wait, call_site site) {
    if (record)
        std::memset(static_cast<void *>(record), 0, sizeof *record);
    if (!have_record(record, site) || !have_device(device, site))
        return;
    report_buffer buffer(length);
    if (fetch_report(device, id, buffer.bytes(), wait, true, site))
        decode(report_view(buffer.bytes().data(), length), *record);
}

// Sends `record` as report `id` of `length` bytes, encoded by
// `encode(record, view)`; byte 0 is always the report's own ID.
template <typename Record, typename Encode>
vantix_error_code write_from(vantix_device *device, const Record *record, uint8_t id, size_t length,
                             Encode encode, interlock_wait wait, call_site site) {
    if (!have_record(record, site) || !have_device(device, site))
        return VANTIX_CODE_ERROR;
    report_buffer buffer(length);
    const std::span<unsigned char> bytes = buffer.bytes();
    encode(*record, report_view(bytes.data(), bytes.size()));
    bytes[0] = id;
    return send_when_clear(device, bytes, wait);
}

}  // namespace vantix::protocol

// A reader pair whose _ref member transfers into the caller's record and
// whose by-value member returns what _ref read into a local record.
#define VANTIX_TRANSFERRING_REF_READERS(name, record_type, id, length, decoder, wait)          \
    void vantix_get_##name##_ref(vantix_device *device, record_type *record) {                 \
        VANTIX_TRACE_CALL();                                                                   \
        ::vantix::protocol::read_into(device, record, id, length, decoder, wait, VANTIX_HERE); \
    }                                                                                          \
    record_type vantix_get_##name(vantix_device *device) {                                     \
        VANTIX_TRACE_CALL();                                                                   \
        record_type record;                                                                    \
        vantix_get_##name##_ref(device, &record);                                              \
        return record;                                                                         \
    }

// The _ref twin of a by-value read: it copies the by-value result into the
// caller's record.
#define VANTIX_REPORT_REF_READER(name, record_type)                            \
    void vantix_get_##name##_ref(vantix_device *device, record_type *record) { \
        VANTIX_TRACE_CALL();                                                   \
        if (record)                                                            \
            *record = vantix_get_##name(device);                               \
    }

// The by-value read of a report family and its _ref twin.
#define VANTIX_REPORT_READERS(name, record_type, id, length, decoder)                                  \
    record_type vantix_get_##name(vantix_device *device) {                                             \
        VANTIX_TRACE_CALL();                                                                           \
        return ::vantix::protocol::read_report<record_type>(device, id, length, decoder, VANTIX_HERE); \
    }                                                                                                  \
    VANTIX_REPORT_REF_READER(name, record_type)

// A plain write of one report family: the caller's record, the report's own
// ID and length, and nothing before or after the transfer.
#define VANTIX_REPORT_WRITER(function, record_type, argument, id, length, encoder)      \
    vantix_error_code function(vantix_device *device, record_type argument) {           \
        VANTIX_TRACE_CALL();                                                            \
        return ::vantix::protocol::write_report(device, id, length, argument, encoder); \
    }
