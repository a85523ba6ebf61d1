// SPDX-License-Identifier: Apache-2.0
// The FunctionFS side of the USB gadget: ep0 carries the host's control
// requests to the pad model, ep1 carries the pad's input reports to the
// host. One thread serves each endpoint.
#include "padsim/usb_gadget.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <linux/usb/functionfs.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "configfs_gadget.hpp"
#include "ffs_descriptors.hpp"
#include "hid_requests.hpp"
#include "padsim/pad.hpp"
#include "stopper.hpp"
#include "sysfs_io.hpp"

namespace padsim {
namespace {

using frontend::ep0_action;

[[noreturn]] void fail(const std::string &what) {
    throw std::system_error(errno, std::generic_category(), what);
}

std::string first_udc() {
    std::vector<std::string> names;
    if (DIR *dir = opendir("/sys/class/udc")) {
        while (dirent *entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        closedir(dir);
    }
    if (names.empty()) {
        errno = ENODEV;
        fail("no USB device controller in /sys/class/udc");
    }
    return *std::min_element(names.begin(), names.end());
}

void write_blob(int fd, const std::vector<std::uint8_t> &blob, const char *what) {
    if (write(fd, blob.data(), blob.size()) != static_cast<ssize_t>(blob.size()))
        fail(what);
}

// Owns a file descriptor.
struct fd_holder {
    int fd = -1;
    ~fd_holder() {
        if (fd >= 0)
            close(fd);
    }
};

// A FunctionFS instance mounted for as long as the gadget lives.
struct ffs_mount {
    std::string dir;
    ffs_mount(const std::string &instance, std::string mount_dir) : dir(std::move(mount_dir)) {
        frontend::make_dir(dir);
        if (mount(instance.c_str(), dir.c_str(), "functionfs", 0, nullptr) != 0)
            fail("mount functionfs at " + dir);
    }
    ~ffs_mount() { umount(dir.c_str()); }
};

}  // namespace

struct usb_gadget::state {
    pad &model;
    std::string udc;
    frontend::configfs_gadget configfs;
    ffs_mount ffs;
    fd_holder ep0, ep1;
    frontend::hid_requests requests;
    frontend::stopper stop;
    std::atomic<bool> plugged{false};
    std::thread control, input;

    state(pad &p, const gadget_options &o)
        : model(p),
          udc(o.udc.empty() ? first_udc() : o.udc),
          configfs(o.configfs, o.name,
                   {p.config().vendor_id, p.config().product_id, p.config().manufacturer,
                    p.config().model_name, o.serial}),
          ffs(o.name, o.mount_dir.empty() ? "/dev/ffs-" + o.name : o.mount_dir),
          requests(p) {
        ep0.fd = open((ffs.dir + "/ep0").c_str(), O_RDWR | O_CLOEXEC);
        if (ep0.fd < 0)
            fail("open " + ffs.dir + "/ep0");
        write_blob(ep0.fd, frontend::ffs_descriptors(static_cast<std::uint16_t>(p.descriptor().size())),
                   "write FunctionFS descriptors");
        write_blob(ep0.fd, frontend::ffs_strings(), "write FunctionFS strings");
        // Non-blocking so the input thread can tell "not bound yet" (EAGAIN)
        // from a write the host has still to collect.
        ep1.fd = open((ffs.dir + "/ep1").c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (ep1.fd < 0)
            fail("open " + ffs.dir + "/ep1");
        control = std::thread([this] { serve_control(); });
        input = std::thread([this] { serve_input(); });
    }

    ~state() {
        stop.stop();
        // Unbinding completes a write the host never collected.
        try {
            configfs.unbind();
        } catch (const std::system_error &) {
        }
        control.join();
        input.join();
    }

    void serve_control() {
        while (stop.wait_readable(ep0.fd)) {
            // One event per read: a SETUP must be answered before the next.
            usb_functionfs_event event;
            if (read(ep0.fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event) &&
                event.type == FUNCTIONFS_SETUP)
                answer(event.u.setup);
        }
    }

    // FunctionFS finishes a control transfer by the direction of the I/O on
    // ep0: the data stage in the request's direction, a status stage by a
    // zero-length read, and a stall by I/O in the wrong direction.
    void answer(const usb_ctrlrequest &raw) {
        const frontend::setup_packet setup{raw.bRequestType, raw.bRequest, le16toh(raw.wValue),
                                           le16toh(raw.wIndex), le16toh(raw.wLength)};
        const bool in = setup.request_type & USB_DIR_IN;
        frontend::ep0_reply reply = requests.answer(setup);
        std::uint8_t none = 0;
        switch (reply.action) {
        case ep0_action::send: (void)!write(ep0.fd, reply.data.data(), reply.data.size()); break;
        case ep0_action::receive: {
            std::vector<std::uint8_t> data(setup.length);
            const ssize_t got = read(ep0.fd, data.data(), data.size());
            if (got > 0)
                requests.take_report({data.data(), static_cast<std::size_t>(got)});
            break;
        }
        case ep0_action::ack: (void)!read(ep0.fd, &none, 0); break;
        case ep0_action::stall:
            if (in)
                (void)!read(ep0.fd, &none, 0);
            else
                (void)!write(ep0.fd, &none, 0);
            break;
        }
    }

    void serve_input() {
        using namespace std::chrono_literals;
        while (!stop.stopping()) {
            std::optional<std::vector<std::uint8_t>> report = model.next_input(50ms);
            if (!report)
                continue;
            // Until the host has configured the device the endpoint is
            // disabled; a report waits for it like a pad's output buffer.
            while (!stop.stopping()) {
                if (write(ep1.fd, report->data(), report->size()) >= 0)
                    break;
                if (errno != EAGAIN && errno != EINTR)
                    break;  // unplugged: the report is lost, as on a cable
                std::this_thread::sleep_for(2ms);
            }
        }
    }
};

usb_gadget::usb_gadget(pad &p, gadget_options options) : state_(std::make_unique<state>(p, options)) {}

usb_gadget::~usb_gadget() = default;

void usb_gadget::plug() {
    state_->configfs.bind(state_->udc);
    state_->plugged = true;
}

void usb_gadget::unplug() {
    state_->configfs.unbind();
    state_->plugged = false;
}

bool usb_gadget::plugged() const { return state_->plugged; }

const std::string &usb_gadget::udc() const { return state_->udc; }

}  // namespace padsim
