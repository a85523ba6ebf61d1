// SPDX-License-Identifier: Apache-2.0
// A log handler for tests that keeps every record it is given.
#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "vantix-zelnar.h"

namespace vantix::test {

struct log_record {
    vantix_debug_level level;
    std::string function;
    std::string message;
};

class log_capture {
public:
    explicit log_capture(vantix_debug_level level = VANTIX_DEBUG_LEVEL_ALL) {
        // Records may come from the library's own threads (the hotplug thread).
        table_.publish = [](vantix_debug_handler *h, vantix_debug_message *m) {
            auto *self = static_cast<log_capture *>(h->handlerData);
            std::lock_guard lock(self->lock_);
            self->records_.push_back({m->level, m->function, m->message});
        };
        table_.level = level;
        table_.handlerData = this;
        vantix_debug_add_handler(&table_);
    }
    ~log_capture() { vantix_debug_remove_handler(&table_); }
    log_capture(const log_capture &) = delete;
    log_capture &operator=(const log_capture &) = delete;

    vantix_debug_handler *handler() { return &table_; }

    // Records at `level` whose message starts with `prefix`.
    long count(vantix_debug_level level, const std::string &prefix) const {
        std::lock_guard lock(lock_);
        return std::count_if(records_.begin(), records_.end(), [&](const log_record &r) {
            return r.level == level && r.message.rfind(prefix, 0) == 0;
        });
    }

    std::vector<log_record> records() const {
        std::lock_guard lock(lock_);
        return records_;
    }

private:
    mutable std::mutex lock_;
    std::vector<log_record> records_;
    vantix_debug_handler table_{};
};

}  // namespace vantix::test
