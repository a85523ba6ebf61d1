// SPDX-License-Identifier: Apache-2.0
// How the pad service answers a request whatever happens in its handling:
// a refusal becomes its error message, anything unexpected an internal
// error that is also logged, and nothing escapes to the thread it runs on.
#pragma once

#include <cstdio>

#include "bridge.hpp"
#include "vantix-signature.h"
#include "vantix-zelnar.hpp"

namespace bridge {

inline void internal_error(const char *where, const char *what) {
    std::fprintf(stderr, "vantix-bridge: internal error %s: %s\n", where, what);
}

// Runs `work`; what it throws becomes the error answer to request `id`
// (internal ones are logged too). Nothing leaves it.
template <class Work>
void answering(client &to, const json &id, Work &&work) noexcept {
    try {
        try {
            work();
        } catch (const protocol_error &e) {
            reply(to, id, error_message(e));
        } catch (const vantix::zelnar::error &e) {
            reply(to, id, error_message("library", e.what(), vantix_get_last_error()));
        } catch (const std::exception &e) {
            internal_error("handling a request", e.what());
            reply(to, id, error_message("internal", e.what()));
        } catch (...) {
            internal_error("handling a request", "unknown exception");
            reply(to, id, error_message("internal", "unknown failure"));
        }
    } catch (...) {
        internal_error("answering a request", "the answer could not be sent");
    }
}

}  // namespace bridge
