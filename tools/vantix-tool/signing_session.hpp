// SPDX-License-Identifier: Apache-2.0
// A signing session on a pad, as sign and sign-pdf run it: the signing
// screen, the pen inking until OK (Clear starts over, Cancel, Ctrl-C and the
// time limit end it), and on the virtual pad a scripted pen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common.hpp"
#include "sealing.hpp"
#include "signing_screen.hpp"
#include "vantix-signature.h"

namespace CLI {
class App;
}

namespace tool {

struct signing_request {
    std::string prompt = "Please sign below";
    signing_screen::document_line document;
    std::string sim_screen;
    std::vector<choice> sim_presses;
    double timeout = 0;
};

// --prompt, --sim-screen, --sim-press and --timeout.
void add_signing_options(CLI::App &command, signing_request &request);

// The pad as a signature record names it: the UUID as 8-4-4-4-12 hex
// digits and the firmware version.
using signed_callback = std::function<void(const vantix_signature_capture &capture, const pad_identity &pad)>;

// Runs the session; once OK is pressed with ink, calls `signed_` with the
// capture while the pad is still open, then saves --sim-screen. Throws
// cancelled when the signer does not sign.
void run_signing_session(const common_options &common, const signing_request &request,
                         const signed_callback &signed_);

}  // namespace tool
