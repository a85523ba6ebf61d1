// The legacy region lists of the pad: the current list the host edits, the
// last saved state that an edit-complete with "discard" returns to, and the
// factory list.
//
// Edits (set, update, delete) change the current list at once, as firmware
// does: a read of the list and hit-testing see them before they are saved.
// Edit-complete with "save" makes the current list the saved state; with
// "discard" the current list returns to the saved state.
#pragma once

#include <cstdint>
#include <vector>

#include "padsim/model.hpp"
#include "padsim/region.hpp"
#include "refusal.hpp"
#include "wire.hpp"

namespace padsim {

class region_store {
public:
    explicit region_store(const model &m);

    // List report 110 (current) or 111 (factory).
    wire::bytes list_report(bool factory) const;
    // Reports 112 to 115.
    outcome apply(const wire::bytes &report);

    // The region under display pixel (x, y), 0 for none: the smallest in-use
    // region whose box holds the pixel (the lower number on a tie), so a
    // button inside a container is found as the button.
    std::uint8_t hit(unsigned x, unsigned y) const;

    std::vector<region> current() const { return decoded(current_); }
    std::vector<region> factory() const { return decoded(factory_); }
    // The stored bytes of region `number` (1-based) of the current list.
    const wire::bytes &record(std::uint8_t number) const { return current_.at(number - 1u); }

private:
    using list = std::vector<wire::bytes>;
    wire::bytes empty_record(std::uint8_t number) const;
    std::vector<region> decoded(const list &records) const;
    outcome check_number(std::uint8_t number) const;

    unsigned caption_length_;
    list current_, saved_, factory_;
};

}  // namespace padsim
