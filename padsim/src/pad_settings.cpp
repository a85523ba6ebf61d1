// SPDX-License-Identifier: Apache-2.0
// The virtual pad's configuration, calibration, second-generation
// diagnostics and pixel read-back reports, and the pen samples calibration
// and tuning wait for.
#include "padsim/catalogue.hpp"
#include "pad_state.hpp"
#include "vantix-zelnar.h"

namespace padsim {

bool pad::state::is_settings_report(std::uint8_t id) {
    switch (id) {
    case VANTIX_FEATURE_OUTPUTCONFIGURATION:
    case VANTIX_FEATURE_PERIPHERAL_CONFIGURATION:
    case VANTIX_FEATURE_CALIBRATE:
    case VANTIX_FEATURE_CALIBRATION_DATA:
    case VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS:
    case VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION:
    case VANTIX_FEATURE_PIXELS: return true;
    default: return false;
    }
}

std::optional<wire::bytes> pad::state::settings_answer(std::uint8_t id) const {
    if (const settings_report *kept = settings.find(id))
        return kept->current();
    switch (id) {
    case VANTIX_FEATURE_CALIBRATE: return calibrator.state();
    case VANTIX_FEATURE_CALIBRATION_DATA: return calibrator.data();
    case VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS: return diagnostics.answer();
    case VANTIX_FEATURE_PIXELS: return pixels.read(framebuffer);
    default: return std::nullopt;
    }
}

outcome pad::state::configure(const wire::bytes &report) {
    const std::uint8_t id = report[0];
    if (settings_report *kept = settings.find(id)) {
        kept->accept(report);
        return std::nullopt;
    }
    switch (id) {
    case VANTIX_FEATURE_CALIBRATE: return calibrator.command(report[1], status);
    case VANTIX_FEATURE_CALIBRATION_DATA: calibrator.set_data(report); return std::nullopt;
    case VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS: return diagnostics.command(report);
    case VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION: return pixels.locate(framebuffer, report);
    default: return std::nullopt;
    }
}

void pad::state::pen_moved(bool down) {
    // Taking a point keeps calibrate commands locked for a while, as
    // finishing a calibrate command does.
    if (calibrator.pen(down, status))
        status.command_done(command_lock_groups(VANTIX_FEATURE_CALIBRATE));
    diagnostics.pen(down);
}

saved_configuration pad::output_configuration() const {
    std::lock_guard lock(state_->mutex);
    return state_->settings.output.saved();
}

saved_configuration pad::peripheral_configuration() const {
    std::lock_guard lock(state_->mutex);
    return state_->settings.peripheral.saved();
}

calibration_progress pad::calibration_run() const {
    std::lock_guard lock(state_->mutex);
    return state_->calibrator.progress();
}

tuning_progress pad::tuning_run() const {
    std::lock_guard lock(state_->mutex);
    return state_->diagnostics.tuning();
}

std::uint16_t pad::product_id() const {
    std::lock_guard lock(state_->mutex);
    return state_->diagnostics.product_id();
}

std::array<std::uint8_t, 16> pad::hardware_guid() const {
    std::lock_guard lock(state_->mutex);
    return state_->diagnostics.guid();
}

}  // namespace padsim
