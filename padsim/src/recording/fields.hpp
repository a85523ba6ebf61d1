// SPDX-License-Identifier: Apache-2.0
// The words of the recording format, shared by its reader and writer.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "padsim/recording.hpp"

namespace padsim::recording_fields {

inline constexpr std::string_view format_name = "vxrec";

inline constexpr std::array<std::string_view, 3> phase_names{"open", "sweep", "session"};

inline std::string_view name_of(recording_phase p) { return phase_names[static_cast<std::size_t>(p)]; }

inline std::optional<recording_phase> phase_named(std::string_view name) {
    for (std::size_t i = 0; i < phase_names.size(); ++i)
        if (phase_names[i] == name)
            return static_cast<recording_phase>(i);
    return std::nullopt;
}

}  // namespace padsim::recording_fields
