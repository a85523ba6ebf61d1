// SPDX-License-Identifier: Apache-2.0
// What requests hold of the service's limits (bridge.hpp, limits::): a
// ticket takes a request's or a render's share when it is accepted and
// gives it back when it goes.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

#include "bridge.hpp"

namespace bridge {

// What the whole service has in flight: the sums of connection_load.
struct service_load {
    std::atomic<std::size_t> requests{0};
    std::atomic<std::size_t> values{0};
    std::atomic<std::size_t> exports{0};
};

// A request's share of the limits, taken when it is accepted and given back
// when the ticket goes: once it is answered, or dropped unrun at shutdown.
class request_ticket {
public:
    request_ticket(std::shared_ptr<connection_load> mine, std::shared_ptr<service_load> all,
                   std::size_t values)
        : mine_(std::move(mine)), all_(std::move(all)), values_(values) {
        mine_->requests += 1;
        mine_->values += values_;
        all_->requests += 1;
        all_->values += values_;
    }
    request_ticket(request_ticket &&) noexcept = default;
    request_ticket &operator=(request_ticket &&) = delete;
    ~request_ticket() {
        if (!mine_)
            return;  // moved from
        mine_->requests -= 1;
        mine_->values -= values_;
        all_->requests -= 1;
        all_->values -= values_;
    }

private:
    std::shared_ptr<connection_load> mine_;
    std::shared_ptr<service_load> all_;
    std::size_t values_;
};

// A render's place among limits::exports and limits::total_exports.
class export_ticket {
public:
    export_ticket(std::shared_ptr<connection_load> mine, std::shared_ptr<service_load> all)
        : mine_(std::move(mine)), all_(std::move(all)) {
        const bool room = mine_->exports.fetch_add(1) < limits::exports;
        if (all_->exports.fetch_add(1) < limits::total_exports && room)
            return;
        release();
        throw protocol_error("busy", room ? "the service renders " + std::to_string(limits::total_exports) +
                                                " signatures already; ask again shortly"
                                          : "this connection has " + std::to_string(limits::exports) +
                                                " signatures being rendered; ask again once one is answered");
    }
    export_ticket(export_ticket &&) noexcept = default;
    export_ticket &operator=(export_ticket &&) = delete;
    ~export_ticket() { release(); }

private:
    void release() {
        if (!mine_)
            return;
        mine_->exports -= 1;
        all_->exports -= 1;
        mine_.reset();
    }
    std::shared_ptr<connection_load> mine_;
    std::shared_ptr<service_load> all_;
};

}  // namespace bridge
