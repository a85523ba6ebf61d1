// SPDX-License-Identifier: Apache-2.0
// The capture: strokes from pen state, pass-through of events, undo and
// clear, the point limit, the display mapping and refused arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools.hpp"

namespace vantix::test {
namespace {

vantix_input_report coordinate(uint8_t type, uint16_t x, uint16_t y, bool down) {
    vantix_input_report r{};
    r.coordinate.report_id = type;  // both coordinate records share this prefix
    r.coordinate.sample_info.common.down = down;
    r.coordinate.x = x;
    r.coordinate.y = y;
    if (type == VANTIX_INPUT_EXTENDEDCOORDINATE)
        r.extended_coordinate.region = 0;
    return r;
}

std::string error() { return vantix_signature_last_error(); }

TEST(signature_capture, PenStateMakesStrokes) {
    struct sample {
        uint8_t type;
        bool down;
    };
    const struct {
        const char *name;
        std::vector<sample> samples;
        size_t points, strokes;
    } cases[] = {
        {"hover only", {{1, false}, {2, false}}, 0, 0},
        {"one stroke", {{1, true}, {1, true}, {1, false}}, 2, 1},
        {"extended, two strokes", {{2, true}, {2, false}, {2, false}, {2, true}, {2, true}}, 3, 2},
        {"mixed records", {{1, true}, {2, true}, {2, false}, {1, true}}, 3, 2},
        // The pen on a button is not writing: every button event ends the stroke.
        {"pen set down on a button", {{2, true}, {250, true}, {2, true}}, 2, 2},
        {"moved, left and lifted on a button",
         {{2, true}, {251, true}, {2, true}, {252, true}, {2, true}, {253, false}, {2, true}},
         4,
         4},
        {"other reports ignored",
         {{VANTIX_INPUT_ADCVALUES, true}, {VANTIX_INPUT_DEBUGCOORDINATE, true}},
         0,
         0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        capture_ptr capture = new_capture();
        for (const sample &s : c.samples) {
            const vantix_input_report r = coordinate(s.type, 2000, 500, s.down);
            EXPECT_EQ(vantix_signature_feed(capture.get(), &r, s.type), VANTIX_CODE_SUCCESS);
        }
        EXPECT_EQ(vantix_signature_point_count(capture.get()), c.points);
        EXPECT_EQ(vantix_signature_stroke_count(capture.get()), c.strokes);
    }
}

TEST(signature_capture, PointsKeepPositionPressureStrokeAndOrderedTime) {
    capture_ptr capture = new_capture();
    vantix_signature_add_point(capture.get(), 10, 20, 0.5f, 1, 1000);
    vantix_signature_add_point(capture.get(), 11, 21, 7.0f, 1, 900);  // pressure clamped, time raised
    vantix_signature_add_point(capture.get(), 0, 0, 1.0f, 0, 2000);
    vantix_signature_add_point(capture.get(), 30, 40, -1.0f, 1, 3000);
    vantix_signature_point p;
    ASSERT_EQ(vantix_signature_get_point(capture.get(), 1, &p), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(p.x, 11);
    EXPECT_EQ(p.pressure, 1.0f);
    EXPECT_EQ(p.time_us, 1000u);
    EXPECT_EQ(p.stroke, 0u);
    ASSERT_EQ(vantix_signature_get_point(capture.get(), 2, &p), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(p.pressure, 0.0f);
    EXPECT_EQ(p.stroke, 1u);
    EXPECT_EQ(vantix_signature_get_point(capture.get(), 3, &p), VANTIX_CODE_ERROR);
    EXPECT_EQ(error(), "Point index past the end of the signature.");

    // Fed coordinates have the default pressure and a monotonic host time.
    const vantix_input_report r = coordinate(1, 5, 6, true);
    vantix_signature_feed(capture.get(), &r, 1);
    ASSERT_EQ(vantix_signature_get_point(capture.get(), 3, &p), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(p.pressure, VANTIX_SIGNATURE_DEFAULT_PRESSURE);
    EXPECT_GE(p.time_us, 3000u);
}

TEST(signature_capture, UndoAndClear) {
    capture_ptr capture = new_capture();
    EXPECT_EQ(vantix_signature_undo_stroke(capture.get()), VANTIX_CODE_ERROR);
    EXPECT_EQ(error(), "The signature has no stroke to undo.");
    for (int down : {1, 1, 0, 1, 1, 1})
        vantix_signature_add_point(capture.get(), 1, 1, 1, down, 0);
    ASSERT_EQ(vantix_signature_undo_stroke(capture.get()), VANTIX_CODE_SUCCESS);  // the open stroke
    EXPECT_EQ(vantix_signature_point_count(capture.get()), 2u);
    // The pen still down after an undo begins a new stroke.
    vantix_signature_add_point(capture.get(), 1, 1, 1, 1, 0);
    EXPECT_EQ(vantix_signature_stroke_count(capture.get()), 2u);
    vantix_signature_clear(capture.get());
    EXPECT_EQ(vantix_signature_point_count(capture.get()), 0u);
    EXPECT_EQ(vantix_signature_stroke_count(capture.get()), 0u);
}

TEST(signature_capture, RefusesPointsPastTheLimit) {
    capture_ptr capture = new_capture();
    for (unsigned i = 0; i < VANTIX_SIGNATURE_MAX_POINTS; ++i)
        ASSERT_EQ(vantix_signature_add_point(capture.get(), 1, 1, 1, 1, i), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_signature_add_point(capture.get(), 1, 1, 1, 1, 0), VANTIX_CODE_ERROR);
    EXPECT_EQ(error(), "Signature capture is full (at most 100000 points).");
    const vantix_input_report r = coordinate(2, 1, 1, true);
    EXPECT_EQ(vantix_signature_feed(capture.get(), &r, 2), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_signature_point_count(capture.get()), VANTIX_SIGNATURE_MAX_POINTS);
    // A pen-up still ends the stroke, and an undo makes room again.
    EXPECT_EQ(vantix_signature_add_point(capture.get(), 1, 1, 1, 0, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_signature_undo_stroke(capture.get()), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_signature_add_point(capture.get(), 1, 1, 1, 1, 0), VANTIX_CODE_SUCCESS);
}

TEST(signature_capture, RefusesPressuresThatAreNoNumber) {
    capture_ptr capture = new_capture();
    vantix_signature_add_point(capture.get(), 1, 1, 0.5f, 1, 0);
    for (const float pressure : {std::nanf(""), HUGE_VALF, -HUGE_VALF}) {
        for (const int down : {1, 0}) {
            EXPECT_EQ(vantix_signature_add_point(capture.get(), 2, 2, pressure, down, 0), VANTIX_CODE_ERROR);
            EXPECT_EQ(error(), "The pressure of a signature point must be a finite number.");
        }
    }
    // Nothing changed: the stroke goes on with the next good point.
    EXPECT_EQ(vantix_signature_add_point(capture.get(), 3, 3, 0.5f, 1, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_signature_point_count(capture.get()), 2u);
    EXPECT_EQ(vantix_signature_stroke_count(capture.get()), 1u);
}

struct events {
    std::vector<uint8_t> types;
    static void record(vantix_signature_capture *, const vantix_input_report *report, uint8_t type,
                       void *self) {
        EXPECT_EQ(report->type.report_id, type);
        static_cast<events *>(self)->types.push_back(type);
    }
};

TEST(signature_capture, ButtonsAndCardsPassThrough) {
    capture_ptr capture = new_capture();
    events seen;
    vantix_signature_set_event_callback(capture.get(), events::record, &seen);
    for (uint8_t type : {250, 251, 252, 253, 12, 3, 1}) {
        vantix_input_report r = coordinate(1, 1, 1, false);
        r.type.report_id = static_cast<vantix_hid_input_type>(type);
        EXPECT_EQ(vantix_signature_feed(capture.get(), &r, type), VANTIX_CODE_SUCCESS);
    }
    EXPECT_EQ(seen.types, (std::vector<uint8_t>{250, 251, 252, 253, 12}));
    vantix_signature_set_event_callback(capture.get(), nullptr, nullptr);
    vantix_input_report r{};
    r.type.report_id = VANTIX_INPUT_BUTTONPRESS;
    vantix_signature_feed(capture.get(), &r, VANTIX_INPUT_BUTTONPRESS);
    EXPECT_EQ(seen.types.size(), 5u);
}

TEST(signature_capture, BoundingBoxInBothSpaces) {
    capture_ptr capture = new_capture();
    vantix_signature_box box;
    EXPECT_EQ(vantix_signature_bounding_box(capture.get(), VANTIX_SIGNATURE_SPACE_DISPLAY, &box),
              VANTIX_CODE_ERROR);
    EXPECT_EQ(error(), "The signature has no points.");
    // Calibrated area 100..3995 (3896 units) onto 240 pixels; outside it clamps.
    vantix_signature_add_point(capture.get(), 100, 50, 1, 1, 0);
    vantix_signature_add_point(capture.get(), 2048, 546, 1, 1, 0);
    vantix_signature_add_point(capture.get(), 0, 0, 1, 0, 0);
    vantix_signature_add_point(capture.get(), 4095, 1091, 1, 1, 0);
    ASSERT_EQ(vantix_signature_bounding_box(capture.get(), VANTIX_SIGNATURE_SPACE_DIGITIZER, &box),
              VANTIX_CODE_SUCCESS);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.top, 50);
    EXPECT_EQ(box.right, 4095);
    EXPECT_EQ(box.bottom, 1091);
    vantix_signature_undo_stroke(capture.get());
    ASSERT_EQ(vantix_signature_bounding_box(capture.get(), VANTIX_SIGNATURE_SPACE_DISPLAY, &box),
              VANTIX_CODE_SUCCESS);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_DOUBLE_EQ(box.right, (2048 - 100) * 240.0 / 3896);
    EXPECT_DOUBLE_EQ(box.bottom, (546 - 50) * 64.0 / 992);
    vantix_signature_add_point(capture.get(), 4095, 1091, 1, 1, 0);
    vantix_signature_bounding_box(capture.get(), VANTIX_SIGNATURE_SPACE_DISPLAY, &box);
    EXPECT_EQ(box.right, 240);
    EXPECT_EQ(box.bottom, 64);
}

TEST(signature_capture, RefusedArguments) {
    vantix_signature_pad_info info = sim_pad_info();
    const struct {
        void (*change)(vantix_signature_pad_info &);
        const char *error;
    } bad_infos[] = {
        {[](vantix_signature_pad_info &i) { i.x_min = 5000; }, "The pad's coordinate range is inverted."},
        {[](vantix_signature_pad_info &i) { i.active_y_max = 0; }, "The pad's active area is inverted."},
        {[](vantix_signature_pad_info &i) { i.display_height = 0; }, "The pad's display size is 0."},
        {[](vantix_signature_pad_info &i) { i.display_width = 4097; },
         "The pad's display size is over 4096 pixels."},
        {[](vantix_signature_pad_info &i) { i.display_height = 65535; },
         "The pad's display size is over 4096 pixels."},
    };
    for (const auto &c : bad_infos) {
        vantix_signature_pad_info changed = info;
        c.change(changed);
        EXPECT_EQ(vantix_signature_capture_new_with_info(&changed), nullptr);
        EXPECT_EQ(error(), c.error);
    }
    EXPECT_EQ(vantix_signature_capture_new_with_info(nullptr), nullptr);
    EXPECT_EQ(error(), "No pad description given for the signature capture.");
    EXPECT_EQ(vantix_signature_capture_new(nullptr), nullptr);
    EXPECT_EQ(error(), "No device given for the signature capture.");

    EXPECT_EQ(vantix_signature_feed(nullptr, nullptr, 1), VANTIX_CODE_ERROR);
    EXPECT_EQ(error(), "No signature capture given.");
    capture_ptr capture = new_capture();
    EXPECT_EQ(vantix_signature_feed(capture.get(), nullptr, 1), VANTIX_CODE_ERROR);
    EXPECT_EQ(error(), "No input report given to the signature capture.");
    EXPECT_EQ(vantix_signature_point_count(nullptr), 0u);
    vantix_signature_clear(nullptr);
    vantix_signature_capture_free(nullptr);
    vantix_signature_pad_info back;
    ASSERT_EQ(vantix_signature_get_pad_info(capture.get(), &back), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(std::string(back.manufacturer), info.manufacturer);
}

}  // namespace
}  // namespace vantix::test
