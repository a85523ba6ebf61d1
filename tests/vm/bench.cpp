#include "bench.hpp"

#include <dirent.h>

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

}  // namespace vm
