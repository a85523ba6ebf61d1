// SPDX-License-Identifier: Apache-2.0
// Whole sessions with a pad that lies (random lengths and bytes, counts of
// 255 and 65535, failing transfers, unplugs), one per seed. The sanitizer
// build is where these earn their keep: any overread, leak or undefined
// behaviour fails them.
#include <string>

#include "core/pause.hpp"
#include "protocol/sim_fixture.hpp"
#include "support/whole_session.hpp"

namespace vantix::test {
namespace {

class hostile_session : public sim_pad_test, public ::testing::WithParamInterface<unsigned> {
protected:
    hostile_session() {
        set_pause_function([](unsigned) {});
    }
    ~hostile_session() override { set_pause_function(nullptr); }
};

TEST_P(hostile_session, SurvivesAWholeSessionAndExplainsEveryFailure) {
    constexpr int reads = 20;
    for (int i = 0; i < reads; ++i)
        pad->pen_sample({static_cast<std::uint16_t>(500 + 40 * i), 900}, i + 1 < reads);
    pad->turn_hostile(GetParam());
    if (vantix_open_device(device) != VANTIX_CODE_SUCCESS) {
        EXPECT_NE(std::string(vantix_get_last_error()), "");
        return;
    }
    vantix_register_input_callback(
        device, [](vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {});
    {
        testing::quiet_stdout quiet;
        testing::run_whole_session(device, reads);
    }
    if (device->open) {
        EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
    }
    EXPECT_EQ(device->open, 0);
}

INSTANTIATE_TEST_SUITE_P(seeds, hostile_session, ::testing::Range(1u, 65u));

}  // namespace
}  // namespace vantix::test
