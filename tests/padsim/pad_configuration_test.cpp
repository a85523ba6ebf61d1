// SPDX-License-Identifier: Apache-2.0
// Output and peripheral configuration, calibration data and calibration
// runs of the virtual pad.
#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

bytes calibrate_state(padsim::pad &pad) {
    return get(pad, VANTIX_FEATURE_CALIBRATE, VANTIX_FEATURE_CALIBRATE_SIZE);
}

TEST(padsim_configuration, SettingsAreKeptSavedAsDefaultsAndRestoredFromTheFactory) {
    struct family {
        std::uint8_t id;
        bytes factory;  // of the default model
        padsim::saved_configuration (padsim::pad::*saved)() const;
    };
    const family families[] = {
        {VANTIX_FEATURE_OUTPUTCONFIGURATION,
         {91, 2, 0, 0, 0, 0, 2, 200, 0, 0},
         &padsim::pad::output_configuration},
        {VANTIX_FEATURE_PERIPHERAL_CONFIGURATION,
         {92, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         &padsim::pad::peripheral_configuration},
    };
    for (const family &f : families) {
        SCOPED_TRACE(unsigned{f.id});
        padsim::pad pad;
        const std::size_t flags = f.factory.size() - 1;
        EXPECT_EQ(get(pad, f.id, f.factory.size()), f.factory);
        auto with = [&](std::uint8_t fill, std::uint8_t flag_byte) {
            bytes r(f.factory.size(), fill);
            r[0] = f.id;
            r[flags] = flag_byte;
            return r;
        };

        // Kept as sent, compression byte included, until the power-up
        // defaults are asked for; reads show no flags.
        ASSERT_TRUE(set(pad, with(0xFF, 0x00)).ok);
        EXPECT_EQ(get(pad, f.id, f.factory.size()), with(0xFF, 0x00));
        EXPECT_EQ((pad.*f.saved)(), (padsim::saved_configuration{with(0xFF, 0), f.factory}));
        ASSERT_TRUE(set(pad, with(0x11, 0x01)).ok);
        EXPECT_EQ((pad.*f.saved)(), (padsim::saved_configuration{with(0x11, 0), with(0x11, 0)}));

        // The factory bit wins over everything else in the report.
        ASSERT_TRUE(set(pad, with(0x22, 0x81)).ok);
        EXPECT_EQ((pad.*f.saved)(), (padsim::saved_configuration{f.factory, f.factory}));
        EXPECT_EQ(get(pad, f.id, f.factory.size()), f.factory);
    }
}

TEST(padsim_configuration, CalibrationDataFollowsTheModelAndKeepsWhatTheHostWrites) {
    padsim::pad pad(pad_with([](padsim::model &m) { m.calibration_required = true; }));
    const bytes data = get(pad, VANTIX_FEATURE_CALIBRATION_DATA, VANTIX_FEATURE_CALIBRATION_DATA_SIZE);
    EXPECT_EQ(bytes(data.begin(), data.begin() + 17),
              (bytes{131, 1, 0, 0, 0x40, 0, 0x40, 0, 0x40, 0, 0, 0, 0x40, 0x37, 0x0F, 0xDF, 0x03}));
    EXPECT_EQ(bytes(data.begin() + 21, data.begin() + 25), (bytes{0x9C, 0xFF, 0xFF, 0xFF}));  // -100

    bytes written(VANTIX_FEATURE_CALIBRATION_DATA_SIZE);
    for (std::size_t i = 0; i < written.size(); ++i)
        written[i] = static_cast<std::uint8_t>(3 * i);
    written[0] = VANTIX_FEATURE_CALIBRATION_DATA;
    ASSERT_TRUE(set(pad, written).ok);
    EXPECT_EQ(get(pad, VANTIX_FEATURE_CALIBRATION_DATA, VANTIX_FEATURE_CALIBRATION_DATA_SIZE), written);
    EXPECT_EQ(poll(pad)[2], 0x01);  // written data does not settle the pad's request
}

TEST(padsim_configuration, CalibrationWalksItsPointsOnePenLiftEachHoldingTheLock) {
    padsim::pad pad(pad_with([](padsim::model &m) {
        m.calibration_required = true;
        m.busy_polls_after_command[5] = 1;
    }));
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_CALIBRATE, 0}).ok);
    EXPECT_EQ(pad.calibration_run(), (padsim::calibration_progress{true, 0}));
    const bytes busy = poll(pad);
    EXPECT_EQ(busy[2], 0x03);  // calibration wanted, calibrating
    EXPECT_EQ(busy[3], INTERLOCK_CALIBRATE);
    EXPECT_EQ(poll(pad)[3], 0);
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0x01}));

    // Putting the pen down takes nothing; lifting it takes the point.
    const padsim::point anywhere = pad.to_digitizer({30, 30});
    pad.pen_sample(anywhere, true);
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0x01}));
    for (std::uint8_t point : {2, 4, 6, 8}) {
        pad.pen_sample(anywhere, false);
        EXPECT_EQ(calibrate_state(pad), (bytes{130, static_cast<std::uint8_t>(1 | point << 3)})) << +point;
        EXPECT_EQ(poll(pad)[3], INTERLOCK_CALIBRATE);
        EXPECT_EQ(poll(pad)[3], 0);
        pad.pen_sample(anywhere, true);
    }
    pad.pen_sample(anywhere, false);

    EXPECT_EQ(pad.calibration_run(), padsim::calibration_progress{});
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0}));
    EXPECT_EQ(poll(pad)[2], 0);
    EXPECT_EQ(pad.stored(VANTIX_FEATURE_CALIBRATION_DATA)[2], 0x01);
    pad.tap(anywhere);  // no run: nothing changes
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0}));
}

TEST(padsim_configuration, CancelledCalibrationKeepsTheOldData) {
    padsim::pad pad(pad_with([](padsim::model &m) { m.calibration_required = true; }));
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_CALIBRATE, 0}).ok);
    pad.tap({500, 500});
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0x11}));
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_CALIBRATE, 0}).ok);  // a restart begins at the centre
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0x01}));

    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_CALIBRATE, 0xFD}).ok);
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0}));
    EXPECT_EQ(poll(pad)[2], 0x01);  // still asks for a calibration
    EXPECT_EQ(pad.stored(VANTIX_FEATURE_CALIBRATION_DATA)[2], 0);

    const padsim::result refused = set(pad, {VANTIX_FEATURE_CALIBRATE, 7});
    EXPECT_EQ(refused.error, "Unknown calibrate command.\n");
    EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_value);
    EXPECT_FALSE(pad.calibration_run().running);
}

TEST(padsim_configuration, ScriptedSettingsRepliesAnswerOneGet) {
    padsim::pad pad;
    pad.store(VANTIX_FEATURE_CALIBRATE, {0, 0x31});
    EXPECT_EQ(pad.stored(VANTIX_FEATURE_CALIBRATE), (bytes{130, 0x31}));  // peeking keeps it
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0x31}));
    EXPECT_EQ(calibrate_state(pad), (bytes{130, 0}));
}

}  // namespace
