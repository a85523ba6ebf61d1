// SPDX-License-Identifier: Apache-2.0
// Building and walking HID report descriptors (short items, HID 1.11).
#include "padsim/descriptor.hpp"

#include <map>
#include <utility>

#include "wire.hpp"

namespace padsim {
namespace {

// Item prefixes: tag in bits 4-7, type in bits 2-3 (0 main, 1 global,
// 2 local), data size code in bits 0-1.
constexpr std::uint8_t item_type_main = 0, item_type_global = 1;
constexpr std::uint8_t main_input = 0x8, main_output = 0x9, main_feature = 0xB, main_collection = 0xA,
                       main_end_collection = 0xC;
constexpr std::uint8_t global_report_size = 0x7, global_report_id = 0x8, global_report_count = 0x9;
constexpr std::uint8_t long_item = 0xFE;

constexpr std::uint8_t data_variable = 0x02;  // Data, Variable, Absolute
constexpr std::uint16_t vendor_usage_page = 0xFF00;

// Appends one short item with the fewest data bytes that hold `value`, at
// least `min_size` (Logical Maximum 255 needs two: one byte would read -1).
void item(std::vector<std::uint8_t> &out, std::uint8_t tag, std::uint8_t type, std::uint32_t value,
          unsigned min_size = 1) {
    unsigned size = value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : 4;
    if (size < min_size)
        size = min_size;
    const std::uint8_t size_code = size == 4 ? 3 : static_cast<std::uint8_t>(size);
    out.push_back(static_cast<std::uint8_t>(tag << 4 | type << 2 | size_code));
    wire::append_le(out, value, size);
}

}  // namespace

std::vector<std::uint8_t> build_descriptor(const std::vector<declared_report> &reports) {
    std::vector<std::uint8_t> out;
    item(out, 0x0, item_type_global, vendor_usage_page);  // Usage Page
    item(out, 0x0, 2, 0x01);                              // Usage
    item(out, main_collection, item_type_main, 0x01);     // Collection (Application)
    item(out, 0x1, item_type_global, 0);                  // Logical Minimum
    item(out, 0x2, item_type_global, 0xFF, 2);            // Logical Maximum
    item(out, global_report_size, item_type_global, 8);
    for (const declared_report &report : reports) {
        item(out, global_report_id, item_type_global, report.id);
        item(out, 0x0, 2, report.id);  // Usage: one vendor usage per report
        item(out, global_report_count, item_type_global, report.length - 1);
        item(out, report.kind == report_kind::input ? main_input : main_feature, item_type_main,
             data_variable);
    }
    out.push_back(main_end_collection << 4);
    return out;
}

std::optional<std::vector<declared_report>> parse_descriptor(const std::vector<std::uint8_t> &descriptor) {
    std::optional<std::uint8_t> report_id;
    std::optional<std::uint32_t> report_size, report_count;
    int depth = 0;
    std::vector<std::pair<std::uint8_t, report_kind>> order;
    std::map<std::pair<std::uint8_t, report_kind>, std::uint64_t> bits;

    for (std::size_t pos = 0; pos < descriptor.size();) {
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == long_item)
            return std::nullopt;
        const unsigned size = (prefix & 3) == 3 ? 4 : prefix & 3;
        if (pos + 1 + size > descriptor.size())
            return std::nullopt;
        const std::uint32_t value = wire::get_le(descriptor.data() + pos + 1, size);
        const std::uint8_t type = (prefix >> 2) & 3, tag = prefix >> 4;
        pos += 1 + size;

        if (type == item_type_global) {
            if (tag == global_report_id) {
                if (size != 1 || value == 0)
                    return std::nullopt;
                report_id = static_cast<std::uint8_t>(value);
            } else if (tag == global_report_size) {
                report_size = value;
            } else if (tag == global_report_count) {
                report_count = value;
            }
            continue;
        }
        if (type != item_type_main)
            continue;
        if (tag == main_collection) {
            ++depth;
        } else if (tag == main_end_collection) {
            if (--depth < 0)
                return std::nullopt;
        } else if (tag == main_input || tag == main_output || tag == main_feature) {
            if (!report_id || !report_size || !report_count)
                return std::nullopt;
            if (tag == main_output)
                continue;  // our pads declare none; a host ignores them here
            const auto key =
                std::make_pair(*report_id, tag == main_input ? report_kind::input : report_kind::feature);
            if (!bits.contains(key))
                order.push_back(key);
            bits[key] += std::uint64_t{*report_size} * *report_count;
        } else {
            return std::nullopt;
        }
    }
    if (depth != 0)
        return std::nullopt;

    std::vector<declared_report> reports;
    for (const auto &key : order) {
        if (bits[key] % 8 != 0)
            return std::nullopt;
        reports.push_back({key.first, key.second, static_cast<unsigned>(bits[key] / 8 + 1)});
    }
    return reports;
}

std::array<unsigned char, 255> report_id_map(const std::vector<std::uint8_t> &descriptor) {
    std::array<unsigned char, 255> map{};
    if (const auto reports = parse_descriptor(descriptor))
        for (const declared_report &report : *reports)
            if (report.id < map.size())
                map[report.id] = 1;
    return map;
}

}  // namespace padsim
