// SPDX-License-Identifier: Apache-2.0
// The uhid front-end: the kernel asks for feature reports through
// UHID_GET_REPORT / UHID_SET_REPORT events on /dev/uhid and gets the pad
// model's answers; input reports the pad queues go out as UHID_INPUT2.
#include "padsim/uhid.hpp"

#include <fcntl.h>
#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

#include "feature_lengths.hpp"
#include "padsim/pad.hpp"
#include "stopper.hpp"

namespace padsim {
namespace {

[[noreturn]] void fail(const std::string &what) {
    throw std::system_error(errno, std::generic_category(), what);
}

constexpr std::uint8_t feature_report_type = UHID_FEATURE_REPORT;

}  // namespace

struct uhid_device::state {
    pad &model;
    frontend::feature_lengths lengths;
    frontend::stopper stop;
    int fd = -1;
    std::thread events, input;

    state(pad &p, const uhid_options &o) : model(p), lengths(p.descriptor()) {
        fd = open(o.path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            fail("open " + o.path);
        uhid_event create{};
        create.type = UHID_CREATE2;
        auto &c = create.u.create2;
        std::snprintf(reinterpret_cast<char *>(c.name), sizeof c.name, "%s", o.name.c_str());
        std::snprintf(reinterpret_cast<char *>(c.uniq), sizeof c.uniq, "%s",
                      p.config().serial_number.c_str());
        const auto &descriptor = p.descriptor();
        c.rd_size = static_cast<__u16>(std::min(descriptor.size(), sizeof c.rd_data));
        std::memcpy(c.rd_data, descriptor.data(), c.rd_size);
        c.bus = o.bus;
        c.vendor = p.config().vendor_id;
        c.product = p.config().product_id;
        c.version = 0x0100;
        if (!send(create)) {
            const int error = errno;
            close(fd);
            errno = error;
            fail("UHID_CREATE2");
        }
        events = std::thread([this] { serve_events(); });
        input = std::thread([this] { serve_input(); });
    }

    ~state() {
        stop.stop();
        events.join();
        input.join();
        uhid_event destroy{};
        destroy.type = UHID_DESTROY;
        send(destroy);
        close(fd);
    }

    // uhid takes one whole event per write, so the two threads may write
    // without a lock of their own.
    bool send(const uhid_event &event) { return write(fd, &event, sizeof event) == sizeof event; }

    void serve_events() {
        while (stop.wait_readable(fd)) {
            uhid_event event;
            if (read(fd, &event, sizeof event) <= 0)
                continue;
            if (event.type == UHID_GET_REPORT)
                get_report(event.u.get_report);
            else if (event.type == UHID_SET_REPORT)
                set_report(event.u.set_report);
            else if (event.type == UHID_OPEN || event.type == UHID_CLOSE)
                model.mark_open(event.type == UHID_OPEN);  // a replayed pad plays its input from the open
        }
    }

    void get_report(const uhid_get_report_req &request) {
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        auto &r = reply.u.get_report_reply;
        r.id = request.id;
        r.err = EIO;
        const unsigned length = lengths.of(request.rnum);
        if (request.rtype == feature_report_type && length > 0 && length <= sizeof r.data) {
            r.data[0] = request.rnum;
            if (model.get_feature(r.data, length).ok) {
                r.err = 0;
                r.size = static_cast<__u16>(length);
            }
        }
        send(reply);
    }

    void set_report(const uhid_set_report_req &request) {
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = request.id;
        reply.u.set_report_reply.err = EIO;
        if (request.rtype == feature_report_type && lengths.of(request.rnum) > 0 &&
            model.set_feature(request.data, request.size).ok)
            reply.u.set_report_reply.err = 0;
        send(reply);
    }

    void serve_input() {
        using namespace std::chrono_literals;
        while (!stop.stopping()) {
            auto report = model.next_input(50ms);
            if (!report || report->size() > UHID_DATA_MAX)
                continue;
            uhid_event event{};
            event.type = UHID_INPUT2;
            event.u.input2.size = static_cast<__u16>(report->size());
            std::memcpy(event.u.input2.data, report->data(), report->size());
            send(event);
        }
    }
};

uhid_device::uhid_device(pad &p, uhid_options options) : state_(std::make_unique<state>(p, options)) {}

uhid_device::~uhid_device() = default;

}  // namespace padsim
