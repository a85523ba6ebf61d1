// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * The virtual pad for C++: header-only helpers over vantix-padsim.h.
 *
 *     vantix::zelnar::library lib;
 *     vantix::zelnar::virtual_pads sims;           // register .. reset
 *     vantix::zelnar::virtual_pad sim = sims.at(0);
 *     vantix::zelnar::device_list pads;
 *     vantix::zelnar::pad pad(*pads.find_path(sim.path()));
 *     sim.stroke({{600, 200}, {1200, 320}});       // read by the pad's reads
 *
 * A call the virtual pad refuses (no such pad, an argument out of range)
 * throws vantix::zelnar::error. Link the static vantix-padsim before
 * vantix-zelnar.
 */
#ifndef VANTIX_PADSIM_HPP
#define VANTIX_PADSIM_HPP

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vantix-padsim.h"
#include "vantix-zelnar.hpp"

namespace vantix::zelnar {

/// A pen position in digitizer units (the calibrated range covers the display).
struct pen_point {
    int x;  ///< Horizontal.
    int y;  ///< Vertical.
};

/// One virtual pad, by index; a handle that owns nothing.
class virtual_pad {
public:
    /// Pad `index` ("sim:<index>"); the calls throw if there is no such pad.
    explicit virtual_pad(int index) : index_(index) {}

    /// Its index.
    int index() const { return index_; }
    /// The path the library lists it under.
    std::string path() const { return "sim:" + std::to_string(index_); }

    /// One pen sample; `down` while the pen touches.
    void pen(int x, int y, bool down = true) const {
        done(vantix_padsim_pen_sample(index_, x, y, down ? 1 : 0), "a pen sample");
    }
    /// Pen-down samples at each point, then a pen-up at the last.
    void stroke(std::span<const pen_point> points) const {
        std::vector<int> xy;
        xy.reserve(points.size() * 2);
        for (const pen_point &p : points)
            xy.insert(xy.end(), {p.x, p.y});
        done(vantix_padsim_stroke(index_, xy.data(), static_cast<int>(points.size())), "a stroke");
    }
    /// stroke() of a braced list.
    void stroke(std::initializer_list<pen_point> points) const {
        stroke(std::span<const pen_point>(points.begin(), points.size()));
    }
    /// Pen down and up at one place, in digitizer units.
    void tap(int x, int y) const { done(vantix_padsim_tap(index_, x, y), "a tap"); }
    /// The same at display pixel x, y (inside a button's box, say).
    void tap_display(int x, int y) const { done(vantix_padsim_tap_display(index_, x, y), "a tap"); }
    /// A valid financial card swipe; empty tracks stay empty.
    void swipe_card(const std::string &track1, const std::string &track2 = {},
                    const std::string &track3 = {}) const {
        done(vantix_padsim_swipe_card(index_, track1.c_str(), track2.c_str(), track3.c_str()),
             "a card swipe");
    }
    /// Queues a raw input report (byte 0 its ID).
    void queue_input(std::span<const unsigned char> report) const {
        done(vantix_padsim_queue_input(index_, report.data(), static_cast<unsigned>(report.size())),
             "an input report");
    }
    /// Writes what the pad's display shows to `file` as a PNG picture.
    void write_png(const std::string &file) const {
        if (!vantix_padsim_write_png(index_, file.c_str()))
            throw error("virtual pad " + std::to_string(index_) + ": cannot write its display to " + file);
    }

private:
    void done(int ok, std::string_view what) const {
        if (!ok)
            throw error("virtual pad " + std::to_string(index_) + " refused " + std::string(what) +
                        " (no such pad, or an argument out of range)");
    }
    int index_;
};

/// The virtual pad's driver while it lives: vantix_padsim_register on
/// construction (after vantix_init, e.g. once a library exists; it adds pad
/// 0), vantix_padsim_reset on destruction (every virtual pad removed).
/// Close the pads opened from it first.
class virtual_pads {
public:
    /// Registers and starts the SIM driver.
    virtual_pads() { vantix_padsim_register(); }
    /// Removes every virtual pad.
    ~virtual_pads() { vantix_padsim_reset(); }
    virtual_pads(const virtual_pads &) = delete;
    virtual_pads &operator=(const virtual_pads &) = delete;

    /// Adds a pad of the default model; list devices again to see it.
    virtual_pad add() { return virtual_pad(vantix_padsim_add_pad()); }
    /// Adds a pad replaying a recording (vantix_padsim_add_replay); throws
    /// error with the reason when the file cannot be replayed.
    virtual_pad replay(const std::string &path, bool paced = false) {
        const int index = vantix_padsim_add_replay(path.c_str(), paced ? 1 : 0);
        if (index < 0) {
            std::string why = vantix_get_last_error();
            why.erase(why.find_last_not_of('\n') + 1);
            throw error(why);
        }
        return virtual_pad(index);
    }
    /// Number of pads.
    int count() const { return vantix_padsim_pad_count(); }
    /// Pad `index`; throws error when there is none.
    virtual_pad at(int index) const {
        if (index < 0 || index >= count())
            throw error("no virtual pad " + std::to_string(index));
        return virtual_pad(index);
    }
};

}  // namespace vantix::zelnar

#endif /* VANTIX_PADSIM_HPP */
