// SPDX-License-Identifier: Apache-2.0
// Resources of the pad firmware's store.
#include "store_resources.hpp"

#include <algorithm>

#include "padsim/transfer.hpp"
#include "store_checks.hpp"
#include "vantix-zelnar.h"

namespace padsim::store_resources {
namespace {

// Resource report 142.
constexpr std::size_t number_at = 1, type_at = 2, size_at = 5, crc_at = 9, valid_at = 19, data_at = 21;
// Resource information 141.
constexpr std::size_t info_size_at = 4, info_crc_at = 8;
constexpr std::size_t free_slots_at = 1, free_space_at = 2;

std::uint32_t size_of(const resource &r) { return static_cast<std::uint32_t>(r.data.size()); }

// Bytes the resources other than `except` hold.
std::uint32_t used_space(const std::vector<resource> &resources, std::uint8_t except) {
    std::uint32_t used = 0;
    for (const resource &r : resources)
        if (r.number != except)
            used += size_of(r);
    return used;
}

}  // namespace

outcome check(unsigned number, unsigned count) {
    return check_number("Resource", pad_error::bad_resource, number, count);
}

wire::bytes info(const resource &r) {
    wire::bytes report = wire::blank(VANTIX_FEATURE_RESOURCE_INFO, VANTIX_FEATURE_RESOURCE_INFO_SIZE);
    report.at(number_at) = r.number;
    report.at(type_at) = r.type;
    wire::put32(report, info_size_at, size_of(r));
    wire::put32(report, info_crc_at, r.crc);
    return report;
}

wire::bytes availability(const std::vector<resource> &resources, std::uint32_t space) {
    wire::bytes report =
        wire::blank(VANTIX_FEATURE_RESOURCE_AVAILABILITY, VANTIX_FEATURE_RESOURCE_AVAILABILITY_SIZE);
    report.at(free_slots_at) = static_cast<std::uint8_t>(
        std::count_if(resources.begin(), resources.end(), [](const resource &r) { return r.empty(); }));
    const std::uint32_t used = used_space(resources, 0);
    wire::put32(report, free_space_at, used < space ? space - used : 0);
    return report;
}

outcome remove(store_contents &store, std::uint8_t number) {
    if (outcome refused = check(number, static_cast<unsigned>(store.resources.size())))
        return refused;
    store.resources.at(number - 1u) = blank<resource>(number);
    return std::nullopt;
}

outcome transfer::write(store_contents &store, const wire::bytes &report, std::uint32_t space) {
    resource header = blank<resource>(report.at(number_at));
    header.type = report.at(type_at);
    header.crc = wire::get32(report, crc_at);
    const std::uint32_t size = wire::get32(report, size_at);
    const unsigned valid = wire::get16(report, valid_at);
    if (outcome refused = check(header.number, static_cast<unsigned>(store.resources.size())))
        return refused;
    if (header.type != VANTIX_RESOURCE_TYPE_TEXT && header.type != VANTIX_RESOURCE_TYPE_GRAPHIC)
        return refuse(pad_error::bad_value, "Resource type %u unknown.\n", header.type);
    if (valid == 0 || valid > piece_bytes)
        return refuse(pad_error::bad_piece, "Piece of %u bytes, not 1 to %u.\n", valid, piece_bytes);
    if (report.size() < data_at + valid)
        return refuse(pad_error::bad_length, "Resource report is %u bytes, not %u.\n",
                      static_cast<unsigned>(report.size()), VANTIX_FEATURE_RESOURCE_SIZE);

    const bool carries_on = upload_ && upload_->number == header.number && upload_->type == header.type &&
                            upload_->crc == header.crc && upload_size_ == size;
    const std::uint32_t received = carries_on ? size_of(*upload_) : 0;
    if (valid > size - std::min(received, size))
        return refuse(pad_error::bad_piece, "Piece ends at byte %u, past the size %u.\n", received + valid,
                      size);
    if (!carries_on) {
        const std::uint32_t used = used_space(store.resources, header.number);
        if (size > space - std::min(used, space))
            return refuse(pad_error::store_full, "Resource of %u bytes, %u free.\n", size,
                          space - std::min(used, space));
        upload_ = header;
        upload_size_ = size;
    }
    const auto from = report.begin() + data_at;
    upload_->data.insert(upload_->data.end(), from, from + valid);
    if (size_of(*upload_) == size) {
        store.resources.at(header.number - 1u) = std::move(*upload_);
        upload_.reset();
    }
    return std::nullopt;
}

void transfer::drop_upload(std::uint8_t number) {
    if (upload_ && upload_->number == number)
        upload_.reset();
}

std::uint32_t transfer::read_offset(const resource &r) const { return read_at_ < size_of(r) ? read_at_ : 0; }

wire::bytes transfer::piece(const resource &r) const {
    wire::bytes report = wire::blank(VANTIX_FEATURE_RESOURCE, VANTIX_FEATURE_RESOURCE_SIZE);
    report.at(number_at) = r.number;
    report.at(type_at) = r.type;
    wire::put32(report, size_at, size_of(r));
    wire::put32(report, crc_at, r.crc);
    const std::uint32_t from = read_offset(r);
    const std::uint32_t valid = std::min(piece_bytes, size_of(r) - from);
    wire::put16(report, valid_at, static_cast<std::uint16_t>(valid));
    std::copy_n(r.data.begin() + from, valid, report.begin() + data_at);
    return report;
}

void transfer::advance(const resource &r) {
    read_at_ = read_offset(r) + std::min(piece_bytes, size_of(r) - read_offset(r));
    if (read_at_ >= size_of(r))
        read_at_ = 0;
}

}  // namespace padsim::store_resources
