// Legacy region lists of the pad firmware.
#include "regions.hpp"

#include <algorithm>
#include <cstdio>

#include "padsim/transfer.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::size_t flags_at = 2, foreground_at = 16, kind_at = 24, kind_flags_at = 25;
constexpr unsigned visible_bit = 0x04;
enum : std::uint8_t { save = 1, discard = 0 };

refusal refuse(std::uint16_t code, const char *fmt, unsigned a, unsigned b = 0) {
    char text[64];
    std::snprintf(text, sizeof text, fmt, a, b);
    return {code, text};
}

}  // namespace

region_store::region_store(const model &m) : caption_length_(m.max_caption_length) {
    for (unsigned n = 1; n <= m.region_count; ++n)
        factory_.push_back(empty_record(static_cast<std::uint8_t>(n)));
    for (const region &r : m.factory_regions ? *m.factory_regions : standard_regions(m))
        if (r.number >= 1 && r.number <= factory_.size())
            factory_[r.number - 1u] = encode_region(r, caption_length_);
    current_ = saved_ = factory_;
}

wire::bytes region_store::empty_record(std::uint8_t number) const {
    wire::bytes record(region_record_size(caption_length_), 0);
    record[0] = number;
    return record;
}

wire::bytes region_store::list_report(bool factory) const {
    wire::bytes report{factory ? std::uint8_t{VANTIX_FEATURE_REGIONGETDEFAULT}
                               : std::uint8_t{VANTIX_FEATURE_REGIONGET}};
    for (const wire::bytes &record : factory ? factory_ : current_)
        report.insert(report.end(), record.begin(), record.end());
    return report;
}

outcome region_store::check_number(std::uint8_t number) const {
    if (number < 1 || number > current_.size())
        return refuse(pad_error::bad_region, "Region %u out of range 1..%u.\n", number,
                      static_cast<unsigned>(current_.size()));
    return std::nullopt;
}

outcome region_store::apply(const wire::bytes &report) {
    const std::uint8_t id = report.at(0);
    if (id == VANTIX_FEATURE_REGIONEDITCOMPLETE) {
        if (report.at(1) == save)
            saved_ = current_;
        else if (report.at(1) == discard)
            current_ = saved_;
        else
            return refuse(pad_error::bad_value, "Edit complete value %u is neither 0 nor 1.\n", report[1]);
        return std::nullopt;
    }
    const std::uint8_t number = report.at(1);
    if (outcome refused = check_number(number))
        return refused;
    wire::bytes &record = current_[number - 1u];
    switch (id) {
    case VANTIX_FEATURE_REGIONSET: {
        const auto from = report.begin() + 1;
        record.assign(from, from + static_cast<std::ptrdiff_t>(region_record_size(caption_length_)));
        break;
    }
    case VANTIX_FEATURE_REGIONUPDATE: {
        const bool enable = report.at(2) & 0x01, visible = report.at(2) & 0x02;
        record[flags_at] =
            static_cast<std::uint8_t>((record[flags_at] & ~visible_bit) | (visible ? visible_bit : 0));
        std::copy_n(report.begin() + 4, 4, record.begin() + foreground_at);
        // The enable flag is the container's ink switch or the button's enable
        // bit; a line has none.
        const std::size_t at = record[1] == VANTIX_REGION_TYPE_CONTAINER ? kind_at
                               : record[1] == VANTIX_REGION_TYPE_BUTTON  ? kind_flags_at
                                                                         : 0;
        if (at)
            record[at] = static_cast<std::uint8_t>((record[at] & ~1u) | (enable ? 1u : 0u));
        break;
    }
    case VANTIX_FEATURE_REGIONDELETE: record = empty_record(number); break;
    default: break;
    }
    return std::nullopt;
}

std::uint8_t region_store::hit(unsigned x, unsigned y) const {
    std::uint8_t best = 0;
    unsigned long best_area = 0;
    const std::vector<region> regions = current();
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const region &r = regions[i];
        if (!r.in_use || !r.contains(x, y))
            continue;
        const unsigned long area = (r.x2 - r.x1 + 1ul) * (r.y2 - r.y1 + 1ul);
        if (best == 0 || area < best_area) {
            best = static_cast<std::uint8_t>(i + 1);
            best_area = area;
        }
    }
    return best;
}

std::vector<region> region_store::decoded(const list &records) const {
    std::vector<region> regions;
    for (const wire::bytes &record : records)
        regions.push_back(decode_region(record.data(), caption_length_));
    return regions;
}

}  // namespace padsim
