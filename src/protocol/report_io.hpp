// SPDX-License-Identifier: Apache-2.0
// The one way a feature report is read into a record and the one way a
// record is written as a report. A report family supplies its ID, its wire
// length, a decode or encode function and the rules it keeps around the
// transfer (transfer_rules); nothing else.
#pragma once

#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "core/failure.hpp"

#include "debug/log.hpp"
#include "support/byte_order.hpp"

namespace vantix::protocol {

// Every family reads and writes its fields through the bounded byte view.
using support::enum_byte;
using support::report_view;
using support::set_enum;

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

// One report on the wire: its ID, always byte 0 whatever a record holds
// there, and its length.
struct report_shape {
    uint8_t id;
    size_t length;
};

inline constexpr const char *get_failed = "Unable to get report: %s";
inline constexpr const char *set_failed = "Unable to set report: %s";

// What report families do differently around the same transfer. Each field
// is a behaviour callers rely on, so every family states its own.
struct transfer_rules {
    // Locks to wait for first; a wait that runs out ends the call before
    // the transfer.
    interlock_wait wait{};
    // A missing record or device is refused with "No record given." or "No
    // device given." before any poll. Otherwise a missing record ends the
    // call silently and a missing device is left to the transfer.
    bool refuse_null = false;
    // Logged at WARNING with the last-error text when the transfer fails;
    // null for a quiet failure.
    const char *failure_text = nullptr;
    // A write whose leave record comes before its transfer in the log.
    debug::call_trace *leave_before_transfer = nullptr;
    // A write that returns the transport's own code rather than success or
    // error.
    bool transport_code = false;
};

// The by-value reads of the identity and tuning families: no wait, and a
// failed transfer logged.
inline constexpr transfer_rules logged_read{.failure_text = get_failed};

// Fills `buffer` (zeroed, ID in byte 0) from the pad, after the wait the
// rules name. Returns whether the buffer holds a reply.
bool fetch_report(vantix_device *device, uint8_t id, std::span<unsigned char> buffer,
                  const transfer_rules &rules, call_site site);

// Sends `buffer` as it stands, after the wait the rules name.
vantix_error_code send_report(vantix_device *device, std::span<unsigned char> buffer,
                              const transfer_rules &rules, call_site site);

// A missing device or record refused with a clear error.
bool have_device(vantix_device *device, call_site site);
bool have_record(const void *record, call_site site);

// Whether the call goes on to the transfer: see transfer_rules::refuse_null.
bool may_transfer(vantix_device *device, const void *record, const transfer_rules &rules, call_site site);

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

// The one way a report is read: zeroes `record` (when there is one), then
// fills it through `decode(view, record)` from the report. The record stays
// zero when anything fails. Returns whether it was read.
template <typename Record, typename Decode>
bool read_report(vantix_device *device, Record *record, report_shape shape, Decode decode,
                 const transfer_rules &rules, call_site site) {
    if (record)
        std::memset(static_cast<void *>(record), 0, sizeof *record);
    if (!may_transfer(device, record, rules, site))
        return false;
    report_buffer buffer(shape.length);
    if (!fetch_report(device, shape.id, buffer.bytes(), rules, site))
        return false;
    decode(report_view(buffer.bytes().data(), shape.length), *record);
    return true;
}

// The one way a report is written: `record` encoded by `encode(record,
// view)` into a zeroed buffer, byte 0 the report's own ID.
template <typename Record, typename Encode>
vantix_error_code write_report(vantix_device *device, const Record *record, report_shape shape, Encode encode,
                               const transfer_rules &rules, call_site site) {
    if (!may_transfer(device, record, rules, site))
        return VANTIX_CODE_ERROR;
    report_buffer buffer(shape.length);
    const report_view view(buffer.bytes().data(), shape.length);
    encode(*record, view);
    view.put1(0, shape.id);
    return send_report(device, buffer.bytes(), rules, site);
}

// A read that returns its record: zero when the read failed.
template <typename Record, typename Decode>
Record read_value(vantix_device *device, report_shape shape, Decode decode, const transfer_rules &rules,
                  call_site site) {
    Record record;
    read_report(device, &record, shape, decode, rules, site);
    return record;
}

// A report that carries one byte after its ID (run mode, commits, indices).
vantix_error_code write_byte_report(vantix_device *device, report_shape shape, uint8_t value,
                                    const transfer_rules &rules, call_site site);

// A report that answers one byte after its ID; -1 when it could not be read.
int read_byte_report(vantix_device *device, report_shape shape, const transfer_rules &rules, call_site site);

}  // namespace vantix::protocol
