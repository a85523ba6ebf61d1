// SPDX-License-Identifier: Apache-2.0
// Recording the pad through hidraw and replaying the recording in-process:
// the replay is the pad the real driver saw.
#include <cstring>
#include <sstream>

#include "padsim/recorder.hpp"
#include "padsim/replay.hpp"
#include "padsim/sim_driver.hpp"
#include "scenario.hpp"

namespace vm {
namespace {

// What opening a pad taught the library, for comparing two pads.
struct identity {
    vantix_hid_feature_display_info display;
    vantix_hid_feature_version version;
    std::vector<unsigned char> uuid;
};

identity open_identity(vantix_device *d) {
    return {d->display_info, d->version_info,
            d->uuid ? std::vector<unsigned char>(d->uuid, d->uuid + 16) : std::vector<unsigned char>{}};
}

TEST_F(Vm, RecordingThroughHidrawReplaysAsThePad) {
    std::ostringstream file;
    padsim::recording_writer writer(file);
    padsim::recording header;
    header.path = device->path;
    header.driver = "REAL";
    header.descriptor = padsim::report_descriptor(*device);
    EXPECT_EQ(header.descriptor, pad().descriptor()) << "the descriptor from sysfs";
    writer.begin(header);
    identity original;
    {
        padsim::recorder tap(*device, writer);
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
        tap.set_phase(padsim::recording_phase::sweep);
        padsim::sweep_readable_reports(*device);
        tap.set_phase(padsim::recording_phase::session);
        pad().tap({2000, 500});
        for (int i = 0; i < 5 && tap.inputs_seen() < 2; ++i)
            vantix_device_read(device);
        original = open_identity(device);
        vantix_close_device(device);
    }
    std::istringstream in(file.str());
    const padsim::recording recorded = padsim::read_recording(in);
    EXPECT_EQ(recorded.inputs.size(), 2u) << "pen down and pen up";

    padsim::reset();
    padsim::add_replay(recorded, padsim::pacing::fast);
    padsim::register_sim_driver();
    vantix_device *listed = nullptr;
    vantix_list_devices(&listed);
    vantix_device *replayed = listed;
    while (replayed && std::strcmp(replayed->path, "sim:0") != 0)
        replayed = replayed->next;
    ASSERT_NE(replayed, nullptr);
    ASSERT_EQ(vantix_open_device(replayed), VANTIX_CODE_SUCCESS) << last_error();
    const identity again = open_identity(replayed);
    EXPECT_EQ(std::memcmp(&again.display, &original.display, sizeof original.display), 0);
    EXPECT_EQ(std::memcmp(&again.version, &original.version, sizeof original.version), 0);
    EXPECT_EQ(again.uuid, original.uuid);
    vantix_close_device(replayed);
    vantix_free_device_list(listed);
    // Later scenarios list the real driver's pads only.
    vantix_remove_device_driver(padsim::sim_driver());
    padsim::reset();
}

}  // namespace
}  // namespace vm
