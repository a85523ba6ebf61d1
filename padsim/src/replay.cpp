// SPDX-License-Identifier: Apache-2.0
#include "padsim/replay.hpp"

#include "identity.hpp"
#include "padsim/sim_driver.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

// The latest answer to a read of `id`, or null when there is none.
const recorded_feature *latest(const recording &r, std::uint8_t id) {
    const recorded_feature *found = nullptr;
    for (const recorded_feature &f : r.features)
        if (f.id == id)
            found = &f;
    return found;
}

// The recorded factory region list becomes the model's, so that once the
// host edits regions (and the model answers for them) the regions it did
// not touch are still the recorded pad's.
void adopt_factory_regions(model &m, const recording &r) {
    const recorded_feature *answer = latest(r, VANTIX_FEATURE_REGIONGETDEFAULT);
    const unsigned record = region_record_size(m.max_caption_length);
    if (!answer || !answer->error.empty() || answer->bytes.size() < 1 + std::size_t{m.region_count} * record)
        return;
    std::vector<region> factory;
    for (unsigned n = 0; n < m.region_count; ++n)
        factory.push_back(decode_region(answer->bytes.data() + 1 + n * record, m.max_caption_length));
    m.factory_regions = std::move(factory);
}

}  // namespace

model replay_model(const recording &r) {
    model m;
    m.vendor_id = r.vendor_id;
    m.product_id = r.product_id;
    m.manufacturer = r.manufacturer;
    m.model_name = r.model;
    m.descriptor = r.descriptor;
    // Lengths are the recorded pad's, whatever the catalogue says.
    m.strict_lengths = false;
    for (std::uint8_t id :
         {std::uint8_t{VANTIX_FEATURE_DISPLAYINFO}, std::uint8_t{VANTIX_FEATURE_CAPABILITIES}})
        if (const recorded_feature *answer = latest(r, id); answer && answer->error.empty())
            adopt_identity(m, answer->bytes);
    adopt_factory_regions(m, r);
    return m;
}

std::shared_ptr<pad> make_replay_pad(const recording &r, pacing p) {
    auto replayed = std::make_shared<pad>(replay_model(r));
    // In order, so the latest answer for each ID is the one that stays.
    for (const recorded_feature &f : r.features)
        replayed->answer_as_recorded(f);
    replayed->play_on_open(r.inputs, p == pacing::recorded);
    return replayed;
}

std::size_t add_replay(const recording &r, pacing p) { return add_pad(make_replay_pad(r, p)); }

}  // namespace padsim
