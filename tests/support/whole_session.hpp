// SPDX-License-Identifier: Apache-2.0
// One session with an opened pad through the public API, as an application
// runs it: identity, regions, the store's records, pixels, drawing, and a
// few input reads. Every record read is printed, so the printers walk
// whatever counts the pad claimed. Used against pads that lie: it checks
// nothing itself and leaves judging to the sanitizers and the caller.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::testing {

// Runs the session on `device` (opened by the caller). `reads` is the
// number of vantix_device_read calls at the end; pass 0 when a read thread
// reads the pad. Stops early once the pad is no longer open.
void run_whole_session(vantix_device *device, int reads);

// Standard output goes to /dev/null while one lives (the printers write
// there), and comes back after.
class quiet_stdout {
public:
    quiet_stdout();
    ~quiet_stdout();
    quiet_stdout(const quiet_stdout &) = delete;
    quiet_stdout &operator=(const quiet_stdout &) = delete;

private:
    int saved_;
};

}  // namespace vantix::testing
