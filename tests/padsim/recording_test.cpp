// SPDX-License-Identifier: Apache-2.0
// The recording format: what the writer writes the reader reads back, and
// every fault of a file is refused with the line and the rule it breaks.
#include <gtest/gtest.h>

#include <sstream>

#include "padsim/recording.hpp"

namespace {

constexpr const char *header_line =
    R"({"kind":"header","format":"vxrec","version":1,"library":"2.2.0","recorded_at":"2026-01-02T03:04:05Z",)"
    R"("system":{"os":"Debian","architecture":"x86_64"},"input":true})";
constexpr const char *device_line =
    R"({"kind":"device","path":"/dev/hidraw3","driver":"REAL","vendor_id":"1209","product_id":"0240",)"
    R"("manufacturer":"Vantix","model":"Pad"})";
constexpr const char *descriptor_line = R"({"kind":"descriptor","bytes":"0600ffc0"})";

padsim::recording read_text(const std::string &text) {
    std::istringstream in(text);
    return padsim::read_recording(in);
}

std::string refusal(const std::string &text) {
    try {
        read_text(text);
    } catch (const padsim::recording_error &e) {
        return e.what();
    }
    return "(read)";
}

std::string with_body(const std::string &lines) {
    return std::string(header_line) + "\n" + device_line + "\n" + descriptor_line + "\n" + lines;
}

padsim::recording sample() {
    padsim::recording r;
    r.library = "2.2.0";
    r.recorded_at = "2026-01-02T03:04:05Z";
    r.operating_system = "Debian \"bookworm\"";
    r.architecture = "x86_64";
    r.path = "sim:0";
    r.driver = "SIM";
    r.vendor_id = 0x1209;
    r.product_id = 0x0240;
    r.manufacturer = "Vantix";
    r.model = "Zelnar \xff pad";  // not UTF-8, as a pad may say
    r.descriptor = {0x06, 0x00, 0xff, 0xc0};
    r.features = {{5, padsim::recording_phase::open, 13, {13, 0x10, 0}, {}},
                  {9, padsim::recording_phase::sweep, 26, {}, "Problem getting a feature report (5): EIO"},
                  {70, padsim::recording_phase::session, 13, {13, 0x11, 0}, {}}};
    r.inputs = {{60, {2, 0x81, 0x10, 0x00}}, {61, {2, 0x80, 0x10, 0x00}}};
    return r;
}

TEST(recording, WhatIsWrittenReadsBack) {
    std::ostringstream out;
    padsim::write_recording(out, sample());
    const padsim::recording back = read_text(out.str());
    const padsim::recording want = sample();
    EXPECT_EQ(back.operating_system, want.operating_system);
    EXPECT_EQ(back.model, "Zelnar \xef\xbf\xbd pad");  // the bad byte became U+FFFD
    EXPECT_EQ(back.vendor_id, want.vendor_id);
    EXPECT_EQ(back.product_id, want.product_id);
    EXPECT_EQ(back.descriptor, want.descriptor);
    ASSERT_EQ(back.features.size(), 3u);
    EXPECT_EQ(back.features[1].id, 26);
    EXPECT_EQ(back.features[1].error, want.features[1].error);
    EXPECT_EQ(back.features[2].phase, padsim::recording_phase::session);
    EXPECT_EQ(back.features[2].bytes, want.features[2].bytes);
    ASSERT_EQ(back.inputs.size(), 2u);
    EXPECT_EQ(back.inputs[1].time_us, 61u);
    EXPECT_EQ(back.inputs[1].bytes, want.inputs[1].bytes);
}

TEST(recording, OneObjectALineInAFixedKeyOrder) {
    std::ostringstream out;
    padsim::write_recording(out, sample());
    std::istringstream lines(out.str());
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.rfind(R"({"kind":"header","format":"vxrec","version":1,)", 0), 0u) << first;
    EXPECT_EQ(second.rfind(R"({"kind":"device","path":"sim:0","driver":"SIM","vendor_id":"1209")", 0), 0u)
        << second;
}

TEST(recording, CommentsBlankLinesAndUnknownKindsAreSkipped) {
    const padsim::recording r =
        read_text("# edited by hand\n\n" + with_body(std::string("{\"kind\":\"later\",\"x\":1}\r\n") +
                                                     R"({"kind":"input","t":3,"bytes":"0A0b","extra":[1]})"));
    ASSERT_EQ(r.inputs.size(), 1u);
    EXPECT_EQ(r.inputs[0].bytes, (std::vector<std::uint8_t>{0x0a, 0x0b}));
}

TEST(recording, EveryFaultIsRefusedWithItsLineAndRule) {
    const struct {
        std::string text;
        const char *says;
    } cases[] = {
        {"", "not a pad recording: the file is empty"},
        {"# only a comment\n", "not a pad recording: the file is empty"},
        {"GIF89a\n", "not a pad recording: its first line is not a vxrec header"},
        {R"({"kind":"header","format":"other","version":1})", "not a pad recording"},
        {R"({"kind":"header","format":"vxrec","version":2})",
         "the recording is format version 2, newer than this library reads (1); update the library"},
        {R"({"kind":"header","format":"vxrec","version":0})", "line 1: \"version\" is not a format version"},
        {R"({"kind":"header","format":"vxrec","version":1})", "line 1: no \"library\""},
        {header_line, "the recording has no \"device\" line"},
        {std::string(header_line) + "\n" + device_line, "the recording has no \"descriptor\" line"},
        {with_body(device_line), "line 4: a second \"device\" line"},
        {with_body(descriptor_line), "line 4: a second \"descriptor\" line"},
        {with_body(header_line), "line 4: a second header"},
        {with_body("[1,2]"), "line 4: not a JSON object"},
        {with_body("{\"kind\":"), "line 4: not a JSON object"},
        {with_body(R"({"t":1})"), "line 4: no \"kind\""},
        {with_body(R"({"kind":7})"), "line 4: \"kind\" is not a string"},
        {with_body(R"({"kind":"input","t":-1,"bytes":"02"})"),
         "line 4: \"t\" is not a whole number from 0 to"},
        {with_body(R"({"kind":"input","t":1.5,"bytes":"02"})"), "line 4: \"t\" is not a whole number"},
        {with_body(R"({"kind":"input","t":1,"bytes":""})"), "line 4: \"bytes\" must hold 1 to 4096 bytes"},
        {with_body(R"({"kind":"input","t":1,"bytes":"123"})"),
         "line 4: \"bytes\" is not hex (two digits a byte)"},
        {with_body(R"({"kind":"input","t":1,"bytes":"zz"})"), "line 4: \"bytes\" is not hex"},
        {with_body(R"({"kind":"input","t":5,"bytes":"02"})"
                   "\n"
                   R"({"kind":"input","t":4,"bytes":"02"})"),
         "line 5: input goes back in time"},
        {with_body(R"({"kind":"feature","t":1,"phase":"later","bytes":"0d"})"),
         "line 4: \"phase\" is not open, sweep or session"},
        {with_body(R"({"kind":"feature","t":1,"phase":"open","id":300,"error":"x"})"),
         "line 4: \"id\" is not a whole number from 0 to 255"},
        {with_body(R"({"kind":"feature","t":1,"phase":"open","id":3,"error":""})"),
         "line 4: \"error\" is empty"},
        {with_body(R"({"kind":"input","deep":[[[[[[1]]]]]]})"), "line 4: not a JSON object"},
        {std::string(header_line) + "\n" +
             R"({"kind":"device","path":"p","driver":"d","vendor_id":"12","product_id":"0240",)"
             R"("manufacturer":"m","model":"m"})",
         "line 2: \"vendor_id\" is not four hex digits"},
        {std::string(header_line).replace(std::string(header_line).find("\"input\":true"), 12, "\"input\":1"),
         "line 1: \"input\" is not true or false"},
        {std::string(header_line).replace(std::string(header_line).find("{\"os\""), 39, "\"Debian\""),
         "line 1: \"system\" is not an object"},
    };
    for (const auto &c : cases)
        EXPECT_NE(refusal(c.text).find(c.says), std::string::npos)
            << c.says << "\n  got: " << refusal(c.text);
}

TEST(recording, LimitsAreEnforcedBeforeWorkIsDone) {
    EXPECT_NE(refusal(with_body(std::string(padsim::max_recording_line + 1, ' ')))
                  .find("line 4: longer than 65536 bytes"),
              std::string::npos);
    const std::string too_long = R"({"kind":"input","t":1,"bytes":")" + std::string(2 * 4097, '0') + "\"}";
    EXPECT_NE(refusal(with_body(too_long)).find("must hold 1 to 4096 bytes"), std::string::npos);
    EXPECT_NE(refusal(with_body(R"({"kind":"input","t":2000000000000,"bytes":"02"})")).find("\"t\" is not"),
              std::string::npos);
}

TEST(recording, AFileIsNamedInTheRefusal) {
    try {
        padsim::load_recording("/nonexistent/pad.vxrec");
        FAIL();
    } catch (const padsim::recording_error &e) {
        EXPECT_STREQ(e.what(), "/nonexistent/pad.vxrec: cannot be opened");
    }
}

}  // namespace
