// SPDX-License-Identifier: Apache-2.0
// Failure reporting of the document library: internal code throws
// document_error with the text a caller reads; the C functions turn any
// exception into that text, kept per thread.
#pragma once

#include <stdexcept>
#include <string>

#include "vantix-document.h"

namespace vantix::document {

struct document_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

vantix_error_code fail(const std::string &text);
const char *last_error();

// Runs `work`, returning its result, or `failed` with the exception's text
// kept as this thread's error.
template <class Result, class Work>
Result guarded(Result failed, Work &&work) {
    try {
        return work();
    } catch (const std::bad_alloc &) {
        fail("Out of memory.");
    } catch (const std::exception &e) {
        fail(e.what());
    }
    return failed;
}

}  // namespace vantix::document
