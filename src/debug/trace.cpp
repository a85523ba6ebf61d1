// SPDX-License-Identifier: Apache-2.0
// Packet-capture trace of a serial dispatcher's byte streams. Each chunk is
// wrapped in a synthetic Ethernet/IPv4/UDP frame so capture viewers show
// direction, time and payload.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "debug/log.hpp"
#include "debug/module.hpp"
#include "debug/pcap_frame.hpp"

namespace vantix::debug {
namespace {

// Writes one record (record header, frame headers, payload) and flushes.
// The caller holds the trace lock, so records never interleave.
void write_record(FILE *stream, const unsigned char *payload, uint32_t len, uint8_t source,
                  uint8_t destination) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const auto record =
        pcap_record_header(static_cast<uint32_t>(now.tv_sec), static_cast<uint32_t>(now.tv_nsec / 1000), len);
    const auto frame = pcap_frame_headers(len, source, destination);
    std::fwrite(record.data(), 1, record.size(), stream);
    std::fwrite(frame.data(), 1, frame.size(), stream);
    if (len)
        std::fwrite(payload, 1, len, stream);
    std::fflush(stream);
}

}  // namespace
}  // namespace vantix::debug

using namespace vantix::debug;

extern "C" {

void vantix_debug_write_trace_header(void) {
    module_state &s = state();
    if (!init_done.load() || !s.trace_enabled)
        return;
    std::lock_guard lock(s.trace_lock);
    if (!s.trace_handle) {
        char *path = join_log_path(s.trace_file);
        s.trace_handle = path ? std::fopen(path, "wb") : nullptr;
        std::free(path);
        if (!s.trace_handle)
            return;
    }
    const auto header = pcap_file_header();
    std::fwrite(header.data(), 1, header.size(), s.trace_handle);
    std::fflush(s.trace_handle);
}

void vantix_debug_write_trace(const unsigned char *buffer, uint32_t len, uint32_t direction) {
    module_state &s = state();
    if (!s.trace_enabled || (len && !buffer))
        return;
    std::lock_guard lock(s.trace_lock);
    if (!s.trace_handle)
        return;
    const uint8_t source = direction == 1 ? 1 : 2;
    const uint8_t destination = direction == 1 ? 2 : 1;
    // A chunk longer than one frame can describe is split over several
    // records rather than written with a wrong length.
    uint32_t offset = 0;
    do {
        const uint32_t part = std::min(len - offset, pcap_max_payload);
        write_record(s.trace_handle, buffer + offset, part, source, destination);
        offset += part;
    } while (offset < len);
}

void vantix_debug_trace_wrap_dispatch(vantix_serial_dispatch *dispatch) {
    module_state &s = state();
    if (!dispatch || !s.trace_enabled)
        return;
    {
        std::lock_guard lock(s.trace_lock);
        s.trace_read = dispatch->read_func;
        s.trace_write = dispatch->write_func;
    }
    if (dispatch->read_func)
        dispatch->read_func = vantix_debug_trace_reader_wrapper;
    if (dispatch->write_func)
        dispatch->write_func = vantix_debug_trace_write_wrapper;
}

vantix_error_code vantix_debug_trace_write_wrapper(unsigned char *buffer, uint32_t len) {
    vantix_serial_write_func saved;
    {
        std::lock_guard lock(state().trace_lock);
        saved = state().trace_write;
    }
    if (!saved)
        return VANTIX_CODE_ERROR;
    vantix_debug_write_trace(buffer, len, 2);
    return saved(buffer, len);
}

vantix_error_code vantix_debug_trace_reader_wrapper(unsigned char *buffer, uint32_t len, uint32_t *readLen) {
    vantix_serial_read_func saved;
    {
        std::lock_guard lock(state().trace_lock);
        saved = state().trace_read;
    }
    if (!saved)
        return VANTIX_CODE_ERROR;
    const vantix_error_code result = saved(buffer, len, readLen);
    // Never trust the reported count beyond the buffer it describes.
    if (readLen)
        vantix_debug_write_trace(buffer, std::min(*readLen, len), 1);
    return result;
}

}  // extern "C"
