// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * libvantix-zelnar for C++: a thin header-only layer over the C API.
 *
 *     vantix::zelnar::library lib;                 // vantix_init .. vantix_destroy
 *     vantix::zelnar::device_list pads;            // vantix_list_devices .. free
 *     vantix::zelnar::pad pad(*pads.begin());      // open .. close
 *     pad.on_input([](const vantix::zelnar::input_event &e) { ... });
 *     pad.start_reading();
 *
 * Failures throw vantix::zelnar::error carrying the library's last-error
 * text. Everything else is the C API's: records are the C records, and the
 * layer keeps no state of its own beyond the handlers it is given (an input
 * handler hangs off the pad record's user_defined pointer, which the library
 * never touches; hotplug callbacks carry no user pointer, so their handlers
 * sit in one process-wide list).
 */
#ifndef VANTIX_ZELNAR_HPP
#define VANTIX_ZELNAR_HPP

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <iterator>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vantix-zelnar.h"

/** The C++ layer over the C API. */
namespace vantix::zelnar {

/// A failed library call: what was being done, then the last-error text.
class error : public std::runtime_error {
public:
    /// An error with the given message.
    explicit error(const std::string &what) : std::runtime_error(what) {}
};

/// Throws error("what: <text>"), or error("what") when `text` is null or
/// empty; the text's trailing line break and spaces are dropped.
[[noreturn]] inline void throw_error(std::string_view what, const char *text) {
    std::string message(what);
    if (text && *text) {
        message += ": ";
        message += text;
        while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
            message.pop_back();
    }
    throw error(message);
}

/// Throws error("what: <last-error text>").
[[noreturn]] inline void throw_last_error(std::string_view what) {
    throw_error(what, vantix_get_last_error());
}

/// Throws the last error when `code` is not VANTIX_CODE_SUCCESS.
inline void check(vantix_error_code code, std::string_view what) {
    if (code != VANTIX_CODE_SUCCESS)
        throw_last_error(what);
}

/// Returns `record`, or throws the last error when its report_id is 0 (a
/// failed read).
template <typename Record>
Record checked(Record record, std::string_view what) {
    if (record.report_id == 0)
        throw_last_error(what);
    return record;
}

// --- The library ----------------------------------------------------------

/// A registered driver table.
struct driver_info {
    std::string_view name;  ///< Its name ("REAL", "SIM").
    bool started;           ///< Whether vantix_init started it.
};

/// vantix_init on construction, vantix_destroy on destruction. Open pads and
/// device lists must be gone first, as vantix_destroy closes and frees none.
class library {
public:
    library() { vantix_init(); }
    ~library() { vantix_destroy(); }
    library(const library &) = delete;
    library &operator=(const library &) = delete;

    /// The library's version text.
    static std::string_view version() { return vantix_get_zelnar_version(); }
    /// UTC time of the build.
    static std::string_view build_date() { return vantix_get_zelnar_build_date(); }

    /// The registered driver tables.
    std::vector<driver_info> drivers() const {
        std::vector<driver_info> out;
        vantix_list *list = vantix_get_drivers();
        for (vantix_list_item *item = list ? list->first : nullptr; item; item = item->next) {
            auto *driver = static_cast<vantix_device_driver *>(item->ptr);
            out.push_back({driver->get_name ? driver->get_name() : "", driver->initialized != 0});
        }
        return out;
    }
};

// --- Devices --------------------------------------------------------------

/// A listed pad, borrowed from the device_list that holds it.
class device_view {
public:
    /// A view of a listed record.
    explicit device_view(vantix_device &record) : record_(&record) {}

    /// The C record.
    vantix_device &record() const { return *record_; }
    /** The record's texts ("" where it has none). @{ */
    std::string_view path() const { return text(record_->path); }
    std::string_view model() const { return text(record_->model); }
    std::string_view manufacturer() const { return text(record_->manufacturer); }
    /** @} */
    /** USB identity. @{ */
    std::uint16_t vendor_id() const { return record_->vendor_id; }
    std::uint16_t product_id() const { return record_->product_id; }
    /** @} */
    /// Name of the driver that listed it.
    std::string_view driver_name() const {
        return record_->driver && record_->driver->get_name ? record_->driver->get_name() : "";
    }
    /// Whether the pad is open (also after an unplug closed it).
    bool is_open() const { return __atomic_load_n(&record_->open, __ATOMIC_ACQUIRE) != 0; }

private:
    static std::string_view text(const char *s) { return s ? s : ""; }
    vantix_device *record_;
};

/// The pads attached when it was made; vantix_free_device_list on destruction.
/// Close the pads opened from it first.
class device_list {
public:
    /// Walks the list, yielding device_view.
    class iterator {
    public:
        /** Iterator traits. @{ */
        using iterator_category = std::forward_iterator_tag;
        using value_type = device_view;
        using difference_type = std::ptrdiff_t;
        /** @} */
        /// The end.
        iterator() = default;
        /// At a record.
        explicit iterator(vantix_device *at) : at_(at) {}
        /// The pad here.
        device_view operator*() const { return device_view(*at_); }
        /** Moves to the next record. @{ */
        iterator &operator++() {
            at_ = at_->next;
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        /** @} */
        /// Same position.
        bool operator==(const iterator &) const = default;

    private:
        vantix_device *at_ = nullptr;
    };

    /// Lists the pads (vantix_list_devices); throws on failure.
    device_list() {
        vantix_device *head = nullptr;
        check(vantix_list_devices(&head), "listing pads");
        head_.reset(head);
    }

    /** The range of pads. @{ */
    iterator begin() const { return iterator(head_.get()); }
    iterator end() const { return iterator(); }
    /** @} */
    /// Number of pads.
    std::size_t size() const { return vantix_count_device_list(head_.get()); }
    /// Whether no pad is attached.
    bool empty() const { return !head_; }

    /// The pad with this path, if listed.
    std::optional<device_view> find_path(std::string_view path) const {
        for (device_view d : *this)
            if (d.path() == path)
                return d;
        return std::nullopt;
    }
    /// The first pad listed by the driver named `name` ("SIM", "REAL").
    std::optional<device_view> first_of_driver(std::string_view name) const {
        for (device_view d : *this)
            if (d.driver_name() == name)
                return d;
        return std::nullopt;
    }

private:
    struct free_list {
        void operator()(vantix_device *head) const { vantix_free_device_list(head); }
    };
    std::unique_ptr<vantix_device, free_list> head_;
};

// --- Input ----------------------------------------------------------------

/// One decoded input report, valid only during the handler's call.
struct input_event {
    vantix_device &device;               ///< The pad.
    const vantix_input_report &report;   ///< The decoded report.
    std::uint8_t type;                   ///< Its report ID (button events included).
    std::span<const unsigned char> raw;  ///< The bytes as the pad sent them.
};

/// Runs on the thread that reads the pad. A handler must not throw: an
/// exception cannot cross the C library, so one escaping ends the program.
using input_handler = std::function<void(const input_event &)>;

// --- An open pad ----------------------------------------------------------

/// A picture in the library's bitmap format, owning its buffer.
class bitmap {
public:
    /// A white picture; throws error for a size vantix_bitmap_init refuses.
    bitmap(std::int32_t width, std::int32_t height)
        : buffer_(width > 0 && height > 0 ? bytes_for(width, height) : 0) {
        vantix_bitmap_init(&bmp_, buffer_.data(), width, height);
        if (!bmp_.bitmap)
            throw error("a bitmap of " + std::to_string(width) + "x" + std::to_string(height) +
                        " pixels cannot be made");
    }
    bitmap(const bitmap &) = delete;
    bitmap &operator=(const bitmap &) = delete;

    /** The C descriptor, for the drawing functions. @{ */
    vantix_bitmap *get() { return &bmp_; }
    const vantix_bitmap *get() const { return &bmp_; }
    /** @} */
    /** Size in pixels. @{ */
    std::int32_t width() const { return bmp_.width; }
    std::int32_t height() const { return bmp_.height; }
    /** @} */
    /// vantix_set_pixel.
    void set(std::int32_t x, std::int32_t y, vantix_gcolor color) { vantix_set_pixel(&bmp_, x, y, color); }
    /// vantix_get_pixel.
    vantix_gcolor at(std::int32_t x, std::int32_t y) const { return vantix_get_pixel(&bmp_, x, y); }
    /// vantix_bitmap_clear.
    void clear(vantix_gcolor color) { vantix_bitmap_clear(&bmp_, color); }
    /// The whole BMP file image.
    std::span<const unsigned char> file_image() const {
        return {bmp_.bitmap, static_cast<std::size_t>(bmp_.totalSize)};
    }

private:
    static std::size_t bytes_for(std::int32_t width, std::int32_t height) {
        return 54 + static_cast<std::size_t>(height) * static_cast<std::size_t>((24 * width + 31) / 32 * 4);
    }
    std::vector<unsigned char> buffer_;
    vantix_bitmap bmp_{};
};

/// Opens a listed pad on construction and closes it on destruction. The
/// device_list it came from must outlive it.
class pad {
public:
    /// Opens the pad (vantix_open_device); throws on failure.
    explicit pad(device_view listed) : device_(&listed.record()), input_(std::make_unique<input_slot>()) {
        check(vantix_open_device(device_), "opening " + std::string(listed.path()));
    }
    /// Closes the pad.
    ~pad() { close(); }
    /// Takes over another pad object (and its input handler).
    pad(pad &&other) noexcept
        : device_(std::exchange(other.device_, nullptr)), input_(std::move(other.input_)) {}
    pad &operator=(pad &&) = delete;
    pad(const pad &) = delete;
    pad &operator=(const pad &) = delete;

    /// The C record.
    vantix_device &record() const { return *device_; }
    /// The record as a device_view.
    device_view view() const { return device_view(*device_); }
    /// Whether the pad is open (a failed read, for example an unplug, closes it).
    bool is_open() const { return device_ && view().is_open(); }

    /** Cached when the pad was opened: display information, version, the
     * legacy regions (region number n at index n - 1) and the UUID. @{ */
    const vantix_hid_feature_display_info &display() const { return device_->display_info; }
    const vantix_hid_feature_version &firmware() const { return device_->version_info; }
    std::span<const vantix_device_region_info> regions() const {
        if (!device_->regions)
            return {};
        return {device_->regions, device_->display_info.region_count};
    }
    std::optional<std::array<unsigned char, 16>> uuid() const {
        if (!device_->uuid)
            return std::nullopt;
        std::array<unsigned char, 16> out{};
        std::copy(device_->uuid, device_->uuid + out.size(), out.begin());
        return out;
    }
    /** @} */

    /** Typed reads of the C getters of the same names; each throws when the
     * pad does not answer. @{ */
    vantix_hid_capabilities capabilities() const { return read(vantix_get_capabilities, "capabilities"); }
    vantix_hid_feature_device_status status() const {
        return read(vantix_get_device_status, "device status");
    }
    vantix_hid_feature_serial_number serial_number() const {
        return read(vantix_get_serial_number, "serial number");
    }
    vantix_hid_feature_coordinate_range coordinate_range() const {
        return read(vantix_get_coordinate_range, "coordinate range");
    }
    vantix_hid_feature_device_configure device_configure() const {
        return read(vantix_get_device_configure, "device configuration");
    }
    vantix_hid_feature_contact_count_maximum contact_count_maximum() const {
        return read(vantix_get_contact_count_maximum, "contact count maximum");
    }
    vantix_hid_feature_operating_modes operating_modes() const {
        return read(vantix_get_operating_modes, "operating modes");
    }
    vantix_hid_feature_display_settings display_settings() const {
        return read(vantix_get_display_settings, "display settings");
    }
    vantix_hid_feature_frequency_amplitude frequency_amplitude() const {
        return read(vantix_get_frequency_amplitude, "frequency and amplitude");
    }
    vantix_hid_feature_power_state power_state() const { return read(vantix_get_power_state, "power state"); }
    vantix_hid_feature_general_parameters general_parameters() const {
        return read(vantix_get_general_parameters, "general parameters");
    }
    vantix_hid_feature_pen_parameters pen_parameters() const {
        return read(vantix_get_pen_parameters, "pen parameters");
    }
    vantix_hid_feature_touch_parameters touch_parameters() const {
        return read(vantix_get_touch_parameters, "touch parameters");
    }
    vantix_hid_feature_output_parameters output_configuration() const {
        return read(vantix_get_output_configuration, "output configuration");
    }
    vantix_hid_feature_peripheral_configuration peripheral_configuration() const {
        return read(vantix_get_peripheral_configuration, "peripheral configuration");
    }
    vantix_hid_feature_calibration_data calibration_data() const {
        return read(vantix_get_calibration_data, "calibration data");
    }
    vantix_hid_feature_calibrate calibrate_state() const {
        return read(vantix_get_calibrate_state, "calibrate state");
    }
    vantix_hid_feature_screen_region_info screen_region_info() const {
        return read(vantix_get_screen_region_info, "screen and region information");
    }
    vantix_hid_feature_resource_availability resource_availability() const {
        return read(vantix_get_resource_availability, "resource availability");
    }
    int active_screen() const {
        const int screen = vantix_get_active_screen(device_);
        if (screen < 0)
            throw_last_error("reading the active screen");
        return screen;
    }
    /** @} */
    /// Up to VANTIX_PIXEL_VALUES_COUNT display pixels in row order from (x, y).
    vantix_hid_feature_pixel_values pixels(std::uint16_t x, std::uint16_t y) const {
        vantix_hid_feature_pixel_values values{};
        values.start_x = x;
        values.start_y = y;
        check(vantix_get_pixels(device_, &values), "reading display pixels");
        return values;
    }

    /** Raw reports: byte 0 of the buffer is the report ID. Throw on failure. @{ */
    void get_feature(std::span<unsigned char> report) const {
        check(vantix_hid_get_feature_report(device_, report.data(), size_of(report)),
              "reading a feature report");
    }
    void set_feature(std::span<unsigned char> report) {
        check(vantix_hid_set_feature_report(device_, report.data(), size_of(report)),
              "sending a feature report");
    }
    void set_output(std::span<unsigned char> report) {
        check(vantix_hid_set_output_report(device_, report.data(), size_of(report)),
              "sending an output report");
    }
    /** @} */

    /** Regions, display and presets: the C calls of the same names (text in
     * UTF-8, measured and drawn in the pad's font). Throw on failure. @{ */
    void set_region(const vantix_device_region_info &region) {
        check(vantix_set_region(device_, region), "setting a region");
    }
    void commit_regions(vantix_region_save_changes commit) {
        check(vantix_set_region_commit(device_, commit), "ending the region edits");
    }
    void clear_screen() { check(vantix_clear_screen(device_), "clearing the screen"); }
    void draw_text(std::string_view utf8, unsigned x, unsigned y,
                   vantix_font_alignment alignment = VANTIX_ALIGN_LEFT, bool invert = false) {
        check(vantix_device_draw_text_encoded(device_, utf8.data(), size_of(utf8), x, y, alignment,
                                              invert ? 1 : 0, "utf-8"),
              "drawing text");
    }
    unsigned text_width(std::string_view utf8) const {
        return vantix_measure_text_width_encoding(device_, utf8.data(), size_of(utf8), "utf-8");
    }
    unsigned text_height(std::string_view utf8) const {
        return vantix_measure_text_height_encoding(device_, utf8.data(), size_of(utf8), "utf-8");
    }
    void show(bitmap &picture, unsigned x, unsigned y, int depth) {
        check(vantix_transfer_bitmap_to_device(device_, picture.get(), x, y, depth), "sending a picture");
    }
    void set_zelnar_mode(bool commit) {
        check(vantix_set_zelnar_mode(device_, commit ? 1 : 0), "zelnar preset");
    }
    void set_travon_mode(bool commit) {
        check(vantix_set_travon_mode(device_, commit ? 1 : 0), "travon preset");
    }
    /** @} */

    /// Input. Set the handler before reading starts; it replaces the last one.
    /// It is kept in the record's user_defined pointer: leave that pointer to
    /// this layer when using on_input.
    void on_input(input_handler handler) {
        input_->handler = std::move(handler);
        if (device_->user_defined != input_.get()) {
            device_->user_defined = input_.get();
            vantix_register_input_callback(device_, &pad::deliver);
        }
    }
    /// One wait of up to a second for a report, delivered on this thread
    /// (returns normally also when none came).
    void read_once() { check(vantix_device_read(device_), "reading the pad"); }
    /// A library thread reads until the pad closes or a read fails.
    void start_reading() { vantix_device_read_until_done(device_); }
    /// Ends the read thread; this closes the pad, as vantix_device_read_done does.
    void stop_reading() {
        vantix_device_read_done(device_);
        close();
    }

    /// Closes the pad if open (stopping its read thread); safe to repeat.
    void close() {
        if (!device_)
            return;
        if (view().is_open())
            vantix_close_device(device_);  // stops the read thread first
        if (device_->user_defined == input_.get())
            device_->user_defined = nullptr;
    }

private:
    struct input_slot {
        input_handler handler;
    };

    static void deliver(vantix_device *device, vantix_input_report *report, std::uint8_t type,
                        unsigned char *raw, unsigned int length) noexcept {
        auto *slot = device ? static_cast<input_slot *>(device->user_defined) : nullptr;
        if (!slot || !slot->handler || !report)
            return;
        slot->handler(input_event{*device, *report, type, {raw, raw ? length : 0u}});
    }

    template <typename Record>
    Record read(Record (*get)(vantix_device *), const char *what) const {
        return checked(get(device_), std::string("reading the ") + what);
    }
    template <typename Range>
    static unsigned size_of(const Range &range) {
        return static_cast<unsigned>(range.size());
    }

    vantix_device *device_;
    std::unique_ptr<input_slot> input_;
};

// --- Hotplug --------------------------------------------------------------

/// Runs on the library's hotplug thread; the path is valid only during the
/// call. Like input handlers, a hotplug handler must not throw.
using hotplug_handler = std::function<void(vantix_hotplug_type, std::string_view path)>;

/// Delivers attach and detach events to a handler while it lives.
class hotplug_subscription {
public:
    /// Subscribes `handler` (after vantix_init, e.g. once a library exists).
    explicit hotplug_subscription(hotplug_handler handler)
        : handler_(std::make_shared<hotplug_handler>(std::move(handler))) {
        registry &r = handlers();
        std::lock_guard lock(r.lock);
        r.list.push_back(handler_);
        if (r.list.size() == 1)
            vantix_register_hotplug_callback(&hotplug_subscription::deliver);
    }
    /// Unsubscribes; the handler may still run for an event being delivered.
    ~hotplug_subscription() {
        registry &r = handlers();
        std::lock_guard lock(r.lock);
        r.list.remove(handler_);
        if (r.list.empty())
            vantix_unregister_hotplug_callback(&hotplug_subscription::deliver);
    }
    hotplug_subscription(const hotplug_subscription &) = delete;
    hotplug_subscription &operator=(const hotplug_subscription &) = delete;

private:
    struct registry {
        std::mutex lock;
        std::list<std::shared_ptr<hotplug_handler>> list;
    };
    static registry &handlers() {
        static registry instance;
        return instance;
    }
    // Calls a copy of the list, so a handler may end its own subscription.
    static void deliver(vantix_hotplug_type type, const char *path) noexcept {
        std::vector<std::shared_ptr<hotplug_handler>> current;
        {
            std::lock_guard lock(handlers().lock);
            current.assign(handlers().list.begin(), handlers().list.end());
        }
        for (const auto &handler : current)
            (*handler)(type, path ? path : "");
    }

    std::shared_ptr<hotplug_handler> handler_;
};

}  // namespace vantix::zelnar

#endif /* VANTIX_ZELNAR_HPP */
