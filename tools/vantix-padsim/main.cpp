// SPDX-License-Identifier: Apache-2.0
// vantix-padsim: plugs a virtual pad into this machine's kernel, through a
// USB device controller (a real one or dummy_hcd) or /dev/uhid, so that
// applications built on the library find and use it like a pad on a cable.
// Runs until interrupted; the pad is unplugged on exit.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <system_error>

#include "padsim/pad.hpp"
#include "padsim/replay.hpp"
#include "padsim/uhid.hpp"
#include "padsim/usb_gadget.hpp"

namespace {

const char usage[] =
    "usage: vantix-padsim [--gadget [--udc NAME] | --uhid] [--product ID] [--serial TEXT]\n"
    "                     [--stroke-every SECONDS] [--replay FILE]\n"
    "\n"
    "  --gadget        a USB device on a device controller (default); needs root,\n"
    "                  configfs, libcomposite and usb_f_fs (modprobe dummy_hcd\n"
    "                  gives a controller on machines without one)\n"
    "  --udc NAME      the controller to bind to (default: the first one)\n"
    "  --uhid          a HID device through /dev/uhid (no USB parent: the\n"
    "                  library's listing does not show it, hotplug does)\n"
    "  --product ID    USB product ID, e.g. 0x0240\n"
    "  --serial TEXT   USB serial number string\n"
    "  --stroke-every S  draw a short pen stroke every S seconds\n"
    "  --replay FILE   the pad recorded in FILE (vantix-tool record) instead of\n"
    "                  the default one: its identity, answers and input, played\n"
    "                  at the recorded pace from the host's open (uhid) or from\n"
    "                  plugging in (gadget); --product does not apply\n";

struct options {
    bool uhid = false;
    std::string udc, serial = "VZ0000001", replay;
    long product = -1;
    int stroke_every = 0;
};

bool parse(int argc, char **argv, options &o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--uhid")
            o.uhid = true;
        else if (arg == "--gadget")
            o.uhid = false;
        else if (arg == "--udc" && has_value)
            o.udc = argv[++i];
        else if (arg == "--serial" && has_value)
            o.serial = argv[++i];
        else if (arg == "--product" && has_value)
            o.product = std::strtol(argv[++i], nullptr, 0);
        else if (arg == "--replay" && has_value)
            o.replay = argv[++i];
        else if (arg == "--stroke-every" && has_value)
            o.stroke_every = std::atoi(argv[++i]);
        else
            return false;
    }
    return o.product < 0x10000;
}

// A short diagonal stroke across the middle of the digitizer.
void draw_stroke(padsim::pad &pad) {
    padsim::point points[16];
    for (int i = 0; i < 16; ++i)
        points[i] = {static_cast<std::uint16_t>(1000 + 100 * i), static_cast<std::uint16_t>(300 + 30 * i)};
    pad.stroke(points);
}

// The recorded pad, or the default one with --product applied.
std::shared_ptr<padsim::pad> pad_for(const options &o) {
    if (!o.replay.empty())
        return padsim::make_replay_pad(padsim::load_recording(o.replay), padsim::pacing::recorded);
    padsim::model model;
    if (o.product >= 0)
        model.product_id = static_cast<std::uint16_t>(o.product);
    return std::make_shared<padsim::pad>(model);
}

}  // namespace

int main(int argc, char **argv) {
    options o;
    if (!parse(argc, argv, o)) {
        std::fputs(usage, stderr);
        return 2;
    }
    // Signals are taken with sigtimedwait, so block them before any thread
    // of the front-end exists.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    std::shared_ptr<padsim::pad> made;
    try {
        made = pad_for(o);
    } catch (const padsim::recording_error &e) {
        std::fprintf(stderr, "vantix-padsim: %s\n", e.what());
        return 1;
    }
    padsim::pad &pad = *made;
    const padsim::model &model = pad.config();
    std::unique_ptr<padsim::uhid_device> uhid;
    std::unique_ptr<padsim::usb_gadget> gadget;
    try {
        if (o.uhid) {
            uhid = std::make_unique<padsim::uhid_device>(pad);
            std::printf("virtual pad %04x:%04x plugged in through /dev/uhid\n", model.vendor_id,
                        model.product_id);
        } else {
            padsim::gadget_options g;
            g.udc = o.udc;
            g.serial = o.serial;
            gadget = std::make_unique<padsim::usb_gadget>(pad, g);
            gadget->plug();
            pad.mark_open(true);  // the host's opens never reach a gadget: a replay plays from here
            std::printf("virtual pad %04x:%04x plugged in on %s\n", model.vendor_id, model.product_id,
                        gadget->udc().c_str());
        }
    } catch (const std::system_error &e) {
        std::fprintf(stderr, "vantix-padsim: %s\n", e.what());
        return 1;
    }
    std::fflush(stdout);

    timespec wait{o.stroke_every > 0 ? o.stroke_every : 3600, 0};
    for (;;) {
        const int signal = sigtimedwait(&stop, nullptr, &wait);
        if (signal > 0)
            break;
        if (o.stroke_every > 0)
            draw_stroke(pad);
    }
    std::printf("unplugging\n");
    return 0;
}
