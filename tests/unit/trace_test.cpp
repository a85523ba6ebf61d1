// SPDX-License-Identifier: Apache-2.0
// The packet-capture trace: byte layout, record splitting, the dispatcher
// wrappers, and a capture reader's view of the file.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace {

using bytes = std::vector<unsigned char>;

uint32_t le32(const std::string &data, size_t at) {
    uint32_t v;
    std::memcpy(&v, data.data() + at, 4);
    return v;
}

bytes slice(const std::string &data, size_t at, size_t n) {
    return bytes(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
}

struct trace_file : ::testing::Test {
    vantix::test::scoped_env env;
    vantix::test::temp_dir dir;
    trace_file() {
        env.unset("VANTIX_DEBUG").set("VANTIX_TRACE", "1").set("VANTIX_DEBUG_LOCATION", dir.path());
        env.set("VANTIX_TRACE_FILE", "t.pcap");
        vantix_debug_init("trace");
    }
    ~trace_file() override { vantix_debug_destroy(); }
    std::string contents() { return vantix::test::read_file(dir.file("t.pcap")); }
};

TEST_F(trace_file, HeaderAloneIsTwentyFourBytes) {
    vantix_debug_write_trace_header();
    const std::string data = contents();
    ASSERT_EQ(data.size(), 24u);
    EXPECT_EQ(le32(data, 0), 0xA1B2C3D4u);
    EXPECT_EQ(slice(data, 4, 4), (bytes{2, 0, 4, 0}));
    EXPECT_EQ(le32(data, 16), 65535u);
    EXPECT_EQ(le32(data, 20), 1u);
}

TEST_F(trace_file, ChunkReadFromThePadGoesFromEndOneToEndTwo) {
    vantix_debug_write_trace_header();
    const unsigned char chunk[3] = {0xAA, 0xBB, 0xCC};
    vantix_debug_write_trace(chunk, 3, 1);
    const std::string data = contents();
    ASSERT_EQ(data.size(), 24u + 16 + 42 + 3);
    EXPECT_EQ(le32(data, 24 + 8), 45u);
    EXPECT_EQ(le32(data, 24 + 12), 45u);
    const size_t f = 24 + 16;
    EXPECT_EQ(slice(data, f, 14), (bytes{2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x08, 0x00}));
    EXPECT_EQ(slice(data, f + 14, 20),
              (bytes{0x45, 0, 0x00, 0x1F, 0, 0, 0x40, 0, 128, 17, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(slice(data, f + 34, 8), (bytes{0x03, 0xE8, 0x03, 0xE8, 0x00, 0x0B, 0, 0}));
    EXPECT_EQ(slice(data, f + 42, 3), (bytes{0xAA, 0xBB, 0xCC}));
}

TEST_F(trace_file, WrittenChunkReversesTheEnds) {
    vantix_debug_write_trace_header();
    const unsigned char chunk[1] = {0x01};
    vantix_debug_write_trace(chunk, 1, 2);
    const std::string data = contents();
    const size_t f = 24 + 16;
    EXPECT_EQ(data[f], 1);
    EXPECT_EQ(data[f + 6], 2);
    EXPECT_EQ(data[f + 26], 2);
    EXPECT_EQ(data[f + 30], 1);
}

TEST_F(trace_file, ChunkLargerThanAFrameIsSplitIntoValidRecords) {
    vantix_debug_write_trace_header();
    std::vector<unsigned char> big(70000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<unsigned char>(i);
    vantix_debug_write_trace(big.data(), static_cast<uint32_t>(big.size()), 1);
    const std::string data = contents();
    ASSERT_EQ(data.size(), 24u + 2 * (16 + 42) + 70000);
    EXPECT_EQ(le32(data, 24 + 8), 65507u + 42);
    const size_t first_frame = 24 + 16;
    EXPECT_EQ(slice(data, first_frame + 16, 2), (bytes{0xFF, 0xFF}));  // IP total length
    const size_t second = first_frame + 42 + 65507;
    EXPECT_EQ(le32(data, second + 8), 70000u - 65507 + 42);
    EXPECT_EQ(static_cast<unsigned char>(data[second + 16 + 42]), static_cast<unsigned char>(65507 & 0xFF));
}

TEST_F(trace_file, NothingIsWrittenBeforeTheHeaderOpenedTheFile) {
    const unsigned char chunk[1] = {0};
    vantix_debug_write_trace(chunk, 1, 1);
    EXPECT_TRUE(contents().empty());
}

// The dispatcher's own functions, seen through the wrappers.
std::vector<bytes> sent;
vantix_error_code fake_write(unsigned char *buffer, uint32_t len) {
    sent.emplace_back(buffer, buffer + len);
    return VANTIX_CODE_ERROR;  // traced even when the write fails
}
vantix_error_code fake_read(unsigned char *buffer, uint32_t len, uint32_t *read_len) {
    const unsigned char reply[] = {9, 8, 7, 6};
    *read_len = std::min<uint32_t>(len, sizeof reply);
    std::memcpy(buffer, reply, *read_len);
    return VANTIX_CODE_SUCCESS;
}
vantix_error_code lying_read(unsigned char *, uint32_t, uint32_t *read_len) {
    *read_len = 1u << 30;  // more than the buffer holds
    return VANTIX_CODE_SUCCESS;
}

TEST_F(trace_file, WrappedDispatcherTracesBothDirections) {
    vantix_debug_write_trace_header();
    vantix_serial_dispatch dispatch{};
    dispatch.write_func = fake_write;
    dispatch.read_func = fake_read;
    vantix_debug_trace_wrap_dispatch(&dispatch);
    EXPECT_EQ(dispatch.write_func, &vantix_debug_trace_write_wrapper);
    EXPECT_EQ(dispatch.read_func, &vantix_debug_trace_reader_wrapper);

    unsigned char out[2] = {0x10, 0x20};
    sent.clear();
    EXPECT_EQ(dispatch.write_func(out, 2), VANTIX_CODE_ERROR);
    EXPECT_EQ(sent.size(), 1u);
    unsigned char in[8];
    uint32_t got = 0;
    EXPECT_EQ(dispatch.read_func(in, sizeof in, &got), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(got, 4u);

    const std::string data = contents();
    const size_t second = 24 + 16 + 42 + 2;
    ASSERT_EQ(data.size(), second + 16 + 42 + 4);
    EXPECT_EQ(data[24 + 16 + 26], 2);  // written: from the library side
    EXPECT_EQ(data[second + 16 + 26], 1);
    EXPECT_EQ(slice(data, second + 16 + 42, 4), (bytes{9, 8, 7, 6}));

    // A read count beyond the buffer is never traced past the buffer.
    dispatch.read_func = lying_read;
    vantix_debug_trace_wrap_dispatch(&dispatch);
    dispatch.read_func(in, sizeof in, &got);
    EXPECT_EQ(contents().size(), data.size() + 16 + 42 + sizeof in);
}

TEST_F(trace_file, WrappersWithoutSavedFunctionsFailAndRecordNothing) {
    vantix_debug_write_trace_header();
    vantix_serial_dispatch empty{};
    vantix_debug_trace_wrap_dispatch(&empty);
    EXPECT_EQ(empty.read_func, nullptr);
    unsigned char buffer[1] = {0};
    uint32_t got = 0;
    EXPECT_EQ(vantix_debug_trace_write_wrapper(buffer, 1), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_debug_trace_reader_wrapper(buffer, 1, &got), VANTIX_CODE_ERROR);
    EXPECT_EQ(contents().size(), 24u);
}

std::string run(const std::string &command) {
    std::string output;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 512> chunk;
    while (size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
        output.append(chunk.data(), n);
    ::pclose(pipe);
    return output;
}

TEST_F(trace_file, CaptureReaderSeesDirectionsAddressesPortsAndPayload) {
    ASSERT_EQ(std::system("command -v tshark >/dev/null 2>&1"), 0)
        << "tshark is required (./run installs it)";
    vantix_debug_write_trace_header();
    const unsigned char from_pad[3] = {0xDE, 0xAD, 0x01};
    const unsigned char to_pad[2] = {0xBE, 0xEF};
    vantix_debug_write_trace(from_pad, 3, 1);
    vantix_debug_write_trace(to_pad, 2, 2);
    const std::string fields = run("tshark -r " + dir.file("t.pcap") +
                                   " -T fields -E separator=, -e eth.src -e eth.dst -e ip.src -e ip.dst"
                                   " -e udp.srcport -e udp.dstport -e udp.length -e udp.payload 2>/dev/null");
    EXPECT_EQ(fields,
              "01:00:00:00:00:00,02:00:00:00:00:00,1.0.0.0,2.0.0.0,1000,1000,11,dead01\n"
              "02:00:00:00:00:00,01:00:00:00:00:00,2.0.0.0,1.0.0.0,1000,1000,10,beef\n");
}

}  // namespace
