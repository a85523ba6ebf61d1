// SPDX-License-Identifier: Apache-2.0
// The "SIM" driver table: the library's driver interface over virtual pads.
#include "padsim/sim_driver.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "padsim/descriptor.hpp"

namespace padsim {
namespace {

constexpr char path_prefix[] = "sim:";
// A read without input returns after this, like a select timeout. The
// library cannot wake this table's reader the way it wakes its hidraw
// reader, so the wait is short: a close never waits longer.
constexpr std::chrono::milliseconds read_wait{10};

struct registry {
    std::mutex mutex;
    std::vector<std::shared_ptr<pad>> pads;
};

registry &pads() {
    static registry instance;
    return instance;
}

// Fails the way the hidraw driver does: last-error text, then the WARNING
// "Error reported: %s" through the log entry the library put in the table.
template <typename... Args>
vantix_error_code fail(const char *function, const char *fmt, Args... args) {
    if constexpr (sizeof...(args) == 0)
        vantix_report_error_internal("%s", fmt);  // a fixed text is never read as a format
    else
        vantix_report_error_internal(fmt, args...);
    if (vantix_device_driver *table = sim_driver(); table->debug)
        table->debug(function, __FILE__, __LINE__, VANTIX_DEBUG_LEVEL_WARNING, "Error reported: %s",
                     vantix_get_last_error());
    return VANTIX_CODE_ERROR;
}

char *copy_text(const std::string &text) { return strdup(text.c_str()); }

// The record's handle, kept where the hidraw driver keeps its descriptor. A
// listed record (0) has never been opened: its feature reports still reach
// the pad, for callers that query a pad before opening it. An open record
// holds `open_handle`; a closed one holds `closed_handle` and, like a
// closed descriptor, fails every transfer until it is opened again.
constexpr int open_handle = 1;
constexpr int closed_handle = -1;

bool closed(const vantix_device *device) { return device && device->parameters.handle == closed_handle; }

vantix_error_code closed_failure(const char *function, const char *what) {
    return fail(function, "Problem %s (%i): %s\n", what, EBADF, std::strerror(EBADF));
}

vantix_error_code sim_driver_init() { return VANTIX_CODE_SUCCESS; }
vantix_error_code sim_driver_destroy(vantix_device_driver *) { return VANTIX_CODE_SUCCESS; }

vantix_error_code sim_open_device(vantix_device *device) {
    auto target = pad_for(device);
    if (!target || target->unplugged())
        return fail(__func__, "Problem opening device (%i): %s\n", ENODEV, std::strerror(ENODEV));
    const auto map = report_id_map(target->descriptor());
    std::memcpy(device->parameters.hid_report_map, map.data(), map.size());
    device->parameters.interrupted = 0;
    device->parameters.handle = open_handle;
    target->mark_open(true);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code sim_close_device(vantix_device *device) {
    if (device)
        device->parameters.handle = closed_handle;
    if (auto target = pad_for(device))
        target->mark_open(false);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code sim_list_devices(vantix_device_driver *driver, vantix_device **start) {
    std::lock_guard lock(pads().mutex);
    vantix_device *head = nullptr;
    vantix_device **tail = &head;
    for (std::size_t index = 0; index < pads().pads.size(); ++index) {
        const pad &listed = *pads().pads[index];
        if (listed.unplugged())
            continue;
        auto *device = static_cast<vantix_device *>(std::calloc(1, sizeof(vantix_device)));
        if (!device)
            break;
        const model &m = listed.config();
        device->path = copy_text(path_prefix + std::to_string(index));
        device->vendor_id = m.vendor_id;
        device->product_id = listed.product_id();
        device->manufacturer = copy_text(m.manufacturer);
        device->model = copy_text(m.model_name);
        device->driver = driver;
        *tail = device;
        tail = &device->next;
    }
    if (start)
        *start = head;
    return VANTIX_CODE_SUCCESS;
}

// A read error closes the pad, as the hidraw driver does for an unplugged
// node, so the read thread ends and the application sees open = 0.
vantix_error_code read_failed(vantix_device *device) {
    fail("sim_device_read", "Problem reading from the device (%i): %s\n", ENODEV, std::strerror(ENODEV));
    vantix_close_device(device);
    return VANTIX_CODE_ERROR;
}

vantix_error_code sim_device_read(vantix_device *device) {
    if (!device || !__atomic_load_n(&device->open, __ATOMIC_ACQUIRE))
        return fail(__func__, "Device is not open.\n");
    auto target = pad_for(device);
    if (!target || target->unplugged())
        return read_failed(device);
    auto report = target->next_input(read_wait);
    if (!report)
        return target->unplugged() ? read_failed(device) : VANTIX_CODE_SUCCESS;  // else a select timeout
    // Through the record's table, so a table wrapping this one sees the report.
    if (device->driver && device->driver->input_report && !report->empty())
        device->driver->input_report(device, report->data(), static_cast<unsigned int>(report->size()));
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code sim_set_output_report(vantix_device *device, unsigned char *, unsigned int) {
    return closed(device) ? closed_failure(__func__, "writing to the device") : VANTIX_CODE_SUCCESS;
}

// Feature transfers route to the pad of a listed or open record (see
// open_handle).
template <typename Transfer>
vantix_error_code route(const char *function, const char *what, vantix_device *device, unsigned char *buffer,
                        unsigned int length, Transfer transfer) {
    if (closed(device))
        return closed_failure(function, what);
    auto target = pad_for(device);
    if (!target)
        return fail(function, "Device is not a connected virtual pad.\n");
    if (!buffer || length == 0)
        return fail(function, "No report buffer given.\n");
    // Like the kernel: an ID the descriptor does not declare never reaches the pad.
    if (!target->declares(buffer[0]))
        return fail(function, "Report id %u isn't supported by this device.\n", unsigned{buffer[0]});
    const result outcome = transfer(*target);
    if (!outcome.ok)
        return fail(function, "%s", outcome.error.c_str());
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code sim_set_feature_report(vantix_device *device, unsigned char *buffer, unsigned int length) {
    return route(__func__, "sending a feature report", device, buffer, length,
                 [&](pad &p) { return p.set_feature(buffer, length); });
}

vantix_error_code sim_get_feature_report(vantix_device *device, unsigned char *buffer, unsigned int length) {
    return route(__func__, "getting a feature report", device, buffer, length,
                 [&](pad &p) { return p.get_feature(buffer, length); });
}

const char *sim_get_name() { return "SIM"; }
std::uint8_t sim_thread_running() { return 0; }
void sim_wait_thread() {}
void sim_shutdown() {}

vantix_device_driver table = {
    .driver_init = sim_driver_init,
    .driver_destroy = sim_driver_destroy,
    .open_device = sim_open_device,
    .close_device = sim_close_device,
    .list_devices = sim_list_devices,
    .device_read = sim_device_read,
    .set_output_report = sim_set_output_report,
    .set_feature_report = sim_set_feature_report,
    .get_feature_report = sim_get_feature_report,
    .get_name = sim_get_name,
    .thread_running = sim_thread_running,
    .wait_thread = sim_wait_thread,
    .initialized = 0,
    .shutdown = sim_shutdown,
    .get_hotplug_callbacks = nullptr,
    .free_device = vantix_real_free_device,
    .report_error = nullptr,
    .debug = nullptr,
    .input_report = nullptr,
};

}  // namespace

vantix_device_driver *sim_driver() { return &table; }

void register_sim_driver() {
    vantix_add_device_driver(&table);
    if (table.driver_init() == VANTIX_CODE_SUCCESS)
        table.initialized = 1;
    if (pad_count() == 0)
        add_pad();
}

std::size_t add_pad(const model &m) { return add_pad(std::make_shared<pad>(m)); }

std::size_t add_pad(std::shared_ptr<pad> made) {
    std::lock_guard lock(pads().mutex);
    pads().pads.push_back(std::move(made));
    return pads().pads.size() - 1;
}

std::size_t pad_count() {
    std::lock_guard lock(pads().mutex);
    return pads().pads.size();
}

pad &pad_at(std::size_t index) { return *pad_ptr(index); }

std::shared_ptr<pad> pad_ptr(std::size_t index) {
    std::lock_guard lock(pads().mutex);
    return pads().pads.at(index);
}

std::shared_ptr<pad> pad_for(const vantix_device *device) {
    if (!device || !device->path || std::strncmp(device->path, path_prefix, sizeof path_prefix - 1) != 0)
        return nullptr;
    const char *digits = device->path + sizeof path_prefix - 1;
    char *end = nullptr;
    errno = 0;
    const unsigned long index = std::strtoul(digits, &end, 10);
    if (end == digits || *end != '\0' || errno != 0)
        return nullptr;
    std::lock_guard lock(pads().mutex);
    return index < pads().pads.size() ? pads().pads[index] : nullptr;
}

void reset() {
    std::lock_guard lock(pads().mutex);
    pads().pads.clear();
}

}  // namespace padsim
