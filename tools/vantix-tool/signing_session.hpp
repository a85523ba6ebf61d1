// SPDX-License-Identifier: Apache-2.0
// A signing session on a pad, as sign and sign-pdf run it: the signing
// screen, the pen inking until OK (Clear starts over, Cancel, Ctrl-C and the
// time limit end it), and on the virtual pad a scripted pen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common.hpp"
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

// The pad's UUID as a signature record writes it: 8-4-4-4-12 hex digits.
using signed_callback =
    std::function<void(const vantix_signature_capture &capture, const std::string &pad_uuid)>;

// Runs the session; once OK is pressed with ink, calls `signed_` with the
// capture while the pad is still open, then saves --sim-screen. Throws
// cancelled when the signer does not sign.
void run_signing_session(const common_options &common, const signing_request &request,
                         const signed_callback &signed_);

}  // namespace tool
