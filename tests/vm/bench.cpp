// SPDX-License-Identifier: Apache-2.0
#include "bench.hpp"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace vm {
namespace {

std::unique_ptr<bench> current;

padsim::model with_identity(std::uint16_t vendor, std::uint16_t product) {
    padsim::model m;
    if (vendor)
        m.vendor_id = vendor;
    m.product_id = product;
    return m;
}

padsim::gadget_options options(const std::string &name, const std::string &udc) {
    padsim::gadget_options o;
    o.name = name;
    o.udc = udc;
    return o;
}

}  // namespace

plugged_pad::plugged_pad(const padsim::model &m, const std::string &name, const std::string &udc)
    : pad(m), gadget(pad, options(name, udc)) {}

bench::bench()
    : pad(with_identity(0, 0x0240), "pad", "dummy_udc.0"),
      foreign(with_identity(foreign_vendor, 0x0240), "foreign", "dummy_udc.1"),
      excluded(with_identity(0, excluded_product), "excluded", "dummy_udc.2") {}

void start_bench() {
    current = std::make_unique<bench>();
    current->pad.gadget.plug();
    current->foreign.gadget.plug();
    current->excluded.gadget.plug();
    if (!wait_until([] { return hidraw_count() == 3; }))
        throw std::runtime_error("the three gadgets did not become hidraw devices");
}

bench &the_bench() { return *current; }

void stop_bench() { current.reset(); }

bool wait_until(const std::function<bool()> &done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int entry_count(const char *directory) {
    int count = 0;
    if (DIR *dir = opendir(directory)) {
        while (dirent *entry = readdir(dir))
            count += entry->d_name[0] != '.';
        closedir(dir);
    }
    return count;
}

std::set<std::string> hidraw_nodes() {
    std::set<std::string> nodes;
    if (DIR *dir = opendir("/sys/class/hidraw")) {
        while (dirent *entry = readdir(dir))
            if (entry->d_name[0] != '.')
                nodes.insert(std::string("/dev/") + entry->d_name);
        closedir(dir);
    }
    return nodes;
}

std::string new_hidraw_node(const std::set<std::string> &before) {
    // The class entry comes first; udev makes the /dev node after it.
    std::string node;
    wait_until([&] {
        for (const auto &n : hidraw_nodes())
            if (!before.count(n) && access(n.c_str(), F_OK) == 0)
                node = n;
        return !node.empty();
    });
    return node;
}

vantix_device *record_for_node(const std::string &node) {
    auto *device = static_cast<vantix_device *>(std::calloc(1, sizeof(vantix_device)));
    if (device) {
        device->path = strdup(node.c_str());
        device->driver = &vantix_real_driver;
        device->parameters.handle = -1;
    }
    return device;
}

}  // namespace vm
