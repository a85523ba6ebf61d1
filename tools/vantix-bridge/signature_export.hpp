// SPDX-License-Identifier: Apache-2.0
// The answer to capture.finish: the captured signature's counts and bounds
// and the formats the request asks for ("formats", "space", "width",
// "height", "line_width", "pressure_width"), PNG in base64, and the sealed
// record when "seal" asks for it (signature_seal.hpp).
//
// A reply is at most limits::reply_bytes: its size is estimated from the
// capture before anything is rendered (conservatively: never below what
// the exporters write), and measured again once rendered; past the limit
// the request is refused with reply_too_large, which names the sizes and
// the formats that fit, and the capture stays for another try.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "bridge.hpp"
#include "signature_seal.hpp"
#include "vantix-signature.h"

namespace bridge {

// What capture.finish asks for, checked (bad_field) before any work.
// With the policy's seal_only, "inkml" and "json" (pen data in the clear)
// are refused (seal_only) and the formats default to "svg" and "png".
struct export_plan {
    std::vector<std::string> formats;  // in the order asked, each once
    vantix_signature_export_options options;
    std::optional<seal_plan> seal;  // the sealed record, as "sealed"
};
export_plan plan_export(const json &message, std::shared_ptr<const seal_policy> policy);

// Bytes each format adds to the reply's text (base64 and JSON escaping
// included), and the whole reply's.
struct reply_size {
    std::vector<std::pair<std::string, std::size_t>> formats;
    std::size_t total = 0;
};
reply_size estimate_reply(const vantix_signature_capture *capture, const export_plan &plan);

// The reply's text (with `id`), rendered; protocol_error reply_too_large
// (or library) when it cannot be had. Any thread.
std::string export_signature(const vantix_signature_capture *capture, const export_plan &plan, const json &id,
                             std::size_t max_bytes = limits::reply_bytes);

}  // namespace bridge
