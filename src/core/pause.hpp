// SPDX-License-Identifier: Apache-2.0
// The pauses between the polls of a pad's status. They all go through here,
// so that a test or fuzz target linking the static library can make them
// instant: a hostile pad can otherwise keep a poll going for seconds.
#pragma once

namespace vantix {

void pause_ms(unsigned int milliseconds);

using pause_function = void (*)(unsigned int milliseconds);
// Replaces every later pause; nullptr restores real sleeping. Not exported.
void set_pause_function(pause_function pause);

}  // namespace vantix
