// A log handler for tests that keeps every record it is given.
#pragma once

#include <algorithm>
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
        table_.publish = [](vantix_debug_handler *h, vantix_debug_message *m) {
            static_cast<log_capture *>(h->handlerData)
                ->records.push_back({m->level, m->function, m->message});
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
        return std::count_if(records.begin(), records.end(), [&](const log_record &r) {
            return r.level == level && r.message.rfind(prefix, 0) == 0;
        });
    }

    std::vector<log_record> records;

private:
    vantix_debug_handler table_{};
};

}  // namespace vantix::test
