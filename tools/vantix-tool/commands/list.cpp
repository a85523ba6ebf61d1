// SPDX-License-Identifier: Apache-2.0
// list: the attached pads, one a line.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "../json.hpp"
#include "../session.hpp"
#include "../text.hpp"

namespace tool {
namespace {

int list_pads(const common_options &common) {
    session s(common);
    std::string json = "[";
    for (vantix::zelnar::device_view d : s.pads()) {
        if (common.json) {
            if (json.size() > 1)
                json += ",";
            json += json_object()
                        .field("path", d.path())
                        .field("vendor_id", d.vendor_id())
                        .field("product_id", d.product_id())
                        .field("manufacturer", d.manufacturer())
                        .field("model", d.model())
                        .field("driver", d.driver_name())
                        .str();
        } else {
            std::printf("%.*s  %s:%s  %.*s %.*s  (%.*s)\n", int(d.path().size()), d.path().data(),
                        hex(d.vendor_id(), 4).c_str(), hex(d.product_id(), 4).c_str(),
                        int(d.manufacturer().size()), d.manufacturer().data(), int(d.model().size()),
                        d.model().data(), int(d.driver_name().size()), d.driver_name().data());
        }
    }
    if (common.json)
        std::printf("%s]\n", json.c_str());
    if (s.pads().empty())
        throw no_pad("no pad attached");
    return exit_ok;
}

}  // namespace

void add_list(CLI::App &app, const common_options &common, action &run) {
    add_command(app, "list", "List the attached pads: path, USB IDs, maker, model and driver", run,
                [&common] { return list_pads(common); });
}

}  // namespace tool
