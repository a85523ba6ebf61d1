// SPDX-License-Identifier: Apache-2.0
// Resources of the pad's store and how they travel: in pieces of up to
// 1024 bytes, one report 142 each, in both directions.
//
// Writing. Every piece carries the resource's number, type, whole size and
// check value, and `bytes_valid` bytes of data. A piece whose number, type,
// size and check value match the upload in progress carries on from where
// that upload stands; any other piece starts a new upload of its resource,
// and the unfinished one is dropped, so a host that gives up half-way is
// never stuck. A piece must carry 1 to 1024 bytes and must not run past the
// size; a new upload must fit the space the other resources leave. A refused
// piece changes nothing, so the host may send it again. When the last byte
// arrives the resource replaces the slot's old one as a pending change;
// until then the slot keeps what it held. Saving, discarding or deleting the
// resource drops an unfinished upload.
//
// Reading. The resource index selects a slot and restarts reading at its
// first byte; each read of 142 returns the next piece (1024 bytes, the last
// one the rest) and the read after the last piece starts again at the
// first. An empty slot reads as its number, the invalid type and no bytes.
// The check value is the host's: the pad keeps it and never computes it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "padsim/store.hpp"
#include "refusal.hpp"
#include "store_contents.hpp"
#include "wire.hpp"

namespace padsim::store_resources {

inline constexpr std::uint32_t piece_bytes = 1024;

outcome check(unsigned number, unsigned count);

// Resource information 141 and availability 144.
wire::bytes info(const resource &r);
wire::bytes availability(const std::vector<resource> &resources, std::uint32_t space);
outcome remove(store_contents &store, std::uint8_t number);

class transfer {
public:
    outcome write(store_contents &store, const wire::bytes &report, std::uint32_t space);
    // The piece of `r` the next read returns, and moving past it once it went out.
    wire::bytes piece(const resource &r) const;
    void advance(const resource &r);
    void restart_reading() { read_at_ = 0; }
    void drop_upload() { upload_.reset(); }
    // Drops the upload in progress when it is for resource `number`.
    void drop_upload(std::uint8_t number);

private:
    std::uint32_t read_offset(const resource &r) const;

    std::optional<resource> upload_;  // data: the bytes received so far
    std::uint32_t upload_size_ = 0;
    std::uint32_t read_at_ = 0;
};

}  // namespace padsim::store_resources
