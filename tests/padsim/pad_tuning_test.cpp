// SPDX-License-Identifier: Apache-2.0
// Sensing-chip state of the virtual pad: register file, error-correction
// table with its lock, firmware download log, stored tuning reports.
#include <algorithm>

#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

bytes registers(padsim::pad &pad) {
    return get(pad, VANTIX_FEATURE_REGISTERGET, VANTIX_FEATURE_REGISTERGET_SIZE);
}

TEST(padsim_tuning, RegisterGetReadsEightRegistersFromTheLastOneSet) {
    padsim::pad pad = pad_with([](padsim::model &m) { m.asic_signature = 0x5A31; });
    EXPECT_EQ(registers(pad), (bytes{43, 0x31, 0x5A, 0, 0, 0, 0, 0, 0}));

    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGISTERSET, 0x11, 0xBB}).ok);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGISTERSET, 0x10, 0xAA}).ok);
    EXPECT_EQ(registers(pad), (bytes{43, 0xAA, 0xBB, 0, 0, 0, 0, 0, 0}));
    // The window wraps past the last register.
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGISTERSET, 0xFE, 1}).ok);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGISTERSET, 0xFF, 2}).ok);
    EXPECT_EQ(registers(pad), (bytes{43, 2, 0x31, 0x5A, 0, 0, 0, 0, 0}));
    EXPECT_EQ(pad.registers()[0xFE], 1);

    // A soft reset only moves the window back; a hardware reset also
    // restores the power-on values.
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_ASICRESET, 0x02}).ok);
    EXPECT_EQ(registers(pad)[1], 0x31);
    EXPECT_EQ(pad.registers()[0x10], 0xAA);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_ASICRESET, 0x01}).ok);
    EXPECT_EQ(pad.registers()[0x10], 0);
    EXPECT_EQ(pad.registers()[0xFF], 0);

    // Register get is read-only, register set and reset write-only.
    EXPECT_EQ(set(pad, bytes(9, VANTIX_FEATURE_REGISTERGET)).error, "Report 43 cannot be written.\n");
    get(pad, VANTIX_FEATURE_REGISTERSET, 3, false);
    get(pad, VANTIX_FEATURE_ASICRESET, 2, false);
}

TEST(padsim_tuning, ErrorCorrectionTableIsPerPadAndLocksTheReportBuffer) {
    auto with_serial = [](const char *serial) {
        return pad_with([serial](padsim::model &m) {
            m.serial_number = serial;
            m.busy_polls_after_command[0] = 3;
        });
    };
    padsim::pad a = with_serial("SIM-A"), a_again = with_serial("SIM-A"), b = with_serial("SIM-B");
    const bytes table = get(a, VANTIX_FEATURE_ERRORCORRECTION, VANTIX_FEATURE_ERRORCORRECTION_SIZE);
    ASSERT_EQ(table.size(), 2049u);
    EXPECT_EQ(table[0], VANTIX_FEATURE_ERRORCORRECTION);
    EXPECT_TRUE(std::equal(table.begin() + 1, table.end(), a.error_correction_table().begin()));
    EXPECT_EQ(a_again.error_correction_table(), a.error_correction_table());
    EXPECT_NE(b.error_correction_table(), a.error_correction_table());
    // Not a constant fill.
    EXPECT_GT(std::count(table.begin() + 1, table.end(), table[1]), 0);
    EXPECT_LT(std::count(table.begin() + 1, table.end(), table[1]), 100);

    bytes written(VANTIX_FEATURE_ERRORCORRECTION_SIZE);
    for (std::size_t i = 0; i < written.size(); ++i)
        written[i] = static_cast<std::uint8_t>(i * 7);
    written[0] = VANTIX_FEATURE_ERRORCORRECTION;
    EXPECT_EQ(poll(a)[3], 0);
    ASSERT_TRUE(set(a, written).ok);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(poll(a)[3], INTERLOCK_REPORTBUFFER);
    EXPECT_EQ(poll(a)[3], 0);
    EXPECT_EQ(get(a, VANTIX_FEATURE_ERRORCORRECTION, VANTIX_FEATURE_ERRORCORRECTION_SIZE), written);

    EXPECT_FALSE(set(a, bytes(2048, VANTIX_FEATURE_ERRORCORRECTION)).ok);
    EXPECT_EQ(a.last_error(), padsim::pad_error::bad_length);
    EXPECT_EQ(a.error_correction_table()[0], 7);  // the short write changed nothing
}

TEST(padsim_tuning, FirmwareBlocksAreLoggedAndDownloadStatusKept) {
    padsim::pad pad;
    auto block = [](std::uint32_t address, std::uint8_t checksum) {
        bytes report(VANTIX_FEATURE_FIRMWAREDOWNLOAD_SIZE, 0x5A);
        report[0] = VANTIX_FEATURE_FIRMWAREDOWNLOAD;
        for (int i = 0; i < 4; ++i)
            report[1 + i] = static_cast<std::uint8_t>(address >> (8 * i));
        report[133] = checksum;
        return report;
    };
    ASSERT_TRUE(set(pad, block(0x08004000, 0x12)).ok);
    ASSERT_TRUE(set(pad, block(0x08004080, 0xFF)).ok);  // the pad takes any checksum
    EXPECT_EQ(pad.firmware_blocks(),
              (std::vector<padsim::firmware_block>{{0x08004000, 0x12}, {0x08004080, 0xFF}}));
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS, 0x34, 0x12}).ok);
    EXPECT_EQ(pad.download_status(), 0x1234);

    get(pad, VANTIX_FEATURE_FIRMWAREDOWNLOAD, VANTIX_FEATURE_FIRMWAREDOWNLOAD_SIZE, false);
    get(pad, VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS, VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS_SIZE, false);
    ASSERT_TRUE(set(pad, block(0, 0)).ok);
    EXPECT_EQ(pad.firmware_blocks().size(), 3u);
}

TEST(padsim_tuning, TuningReportsReadBackWhatWasSetAtTheirLengths) {
    padsim::pad pad;
    const std::pair<std::uint8_t, std::size_t> reports[] = {
        {VANTIX_FEATURE_FREQUENCYAMPLITUDE, 4}, {VANTIX_FEATURE_POWERSTATE, 2},
        {VANTIX_FEATURE_GENERALPARAMETERS, 6},  {VANTIX_FEATURE_PENPARAMETERS, 18},
        {VANTIX_FEATURE_TOUCHPARAMETERS, 22},
    };
    for (auto [id, length] : reports) {
        bytes written(length);
        for (std::size_t i = 1; i < length; ++i)
            written[i] = static_cast<std::uint8_t>(id + i);
        written[0] = id;
        ASSERT_TRUE(set(pad, written).ok) << unsigned{id};
        EXPECT_EQ(get(pad, id, length), written);
        EXPECT_FALSE(set(pad, bytes(length + 1, id)).ok);
        get(pad, id, length - 1, false);
        EXPECT_EQ(get(pad, id, length), written);
    }
}

}  // namespace
