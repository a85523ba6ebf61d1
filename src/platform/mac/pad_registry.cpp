// SPDX-License-Identifier: Apache-2.0
// The open pads of the macOS driver.
#include <map>

#include "platform/mac/pad_state.hpp"

namespace vantix::mac {
namespace {

struct registry {
    std::mutex lock;
    std::map<const vantix_device *, std::shared_ptr<pad_state>> pads;
};

registry &pads() {
    static registry instance;
    return instance;
}

}  // namespace

void adopt_pad(vantix_device *record, std::shared_ptr<pad_state> pad) {
    std::lock_guard lock(pads().lock);
    pads().pads[record] = std::move(pad);
}

std::shared_ptr<pad_state> pad_of(const vantix_device *record) {
    std::lock_guard lock(pads().lock);
    auto found = pads().pads.find(record);
    return found == pads().pads.end() ? nullptr : found->second;
}

std::shared_ptr<pad_state> take_pad(const vantix_device *record) {
    std::lock_guard lock(pads().lock);
    auto found = pads().pads.find(record);
    if (found == pads().pads.end())
        return nullptr;
    std::shared_ptr<pad_state> taken = std::move(found->second);
    pads().pads.erase(found);
    return taken;
}

}  // namespace vantix::mac
