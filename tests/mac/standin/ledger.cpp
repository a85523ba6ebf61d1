// SPDX-License-Identifier: Apache-2.0
// The ledger: every live object with its reference count, and the counts
// of retains and releases the code under test made.
#include <mutex>
#include <unordered_map>
#include <vector>

#include "objects.hpp"
#include "standin.hpp"

namespace standin {
namespace {

struct ledger_state {
    std::mutex lock;
    std::unordered_map<const void *, object *> live;
    long retains = 0;
    long releases = 0;
    long bad_releases = 0;
};

// Never destroyed: threads may drop their run loops during process exit.
ledger_state &book() {
    static auto *state = new ledger_state;
    return *state;
}

// Drops one reference; the object is deleted (outside the lock) at zero.
void drop(object *o) {
    bool gone = false;
    {
        std::lock_guard lock(book().lock);
        gone = --o->refs == 0;
        if (gone)
            book().live.erase(o);
    }
    if (gone)
        delete o;
}

}  // namespace

void track_object(object *created) {
    std::lock_guard lock(book().lock);
    book().live[created] = created;
}

object *find(const void *ref) {
    std::lock_guard lock(book().lock);
    auto found = book().live.find(ref);
    return found == book().live.end() ? nullptr : found->second;
}

void hold(object *o) {
    std::lock_guard lock(book().lock);
    ++o->refs;
    ++o->holds;
}

void unhold(object *o) {
    {
        std::lock_guard lock(book().lock);
        --o->holds;
    }
    drop(o);
}

void own(object *o, long holds) {
    std::lock_guard lock(book().lock);
    o->holds = holds;
    o->refs = holds;
}

const char *kind_name(kind k) {
    switch (k) {
    case kind::string: return "string";
    case kind::number: return "number";
    case kind::data: return "data";
    case kind::set: return "set";
    case kind::dictionary: return "dictionary";
    case kind::run_loop: return "run loop";
    case kind::run_loop_source: return "run loop source";
    case kind::hid_manager: return "HID manager";
    case kind::hid_device: return "HID device";
    }
    return "object";
}

long live_io_objects();
long live_ports();

ledger_report ledger() {
    ledger_report report;
    {
        std::lock_guard lock(book().lock);
        report.retains = book().retains;
        report.releases = book().releases;
        report.bad_releases = book().bad_releases;
        for (const auto &[ref, o] : book().live)
            if (o->refs > o->holds)
                report.leaked.push_back(std::string(kind_name(o->type)) + " (refs " +
                                        std::to_string(o->refs - o->holds) + ")");
    }
    report.live_io_objects = live_io_objects();
    report.live_ports = live_ports();
    return report;
}

void reset_ledger_counts() {
    std::lock_guard lock(book().lock);
    book().retains = book().releases = book().bad_releases = 0;
}

}  // namespace standin

extern "C" {

CFTypeRef CFRetain(CFTypeRef ref) {
    std::lock_guard lock(standin::book().lock);
    auto found = standin::book().live.find(ref);
    if (found != standin::book().live.end()) {
        ++found->second->refs;
        ++standin::book().retains;
    }
    return ref;
}

void CFRelease(CFTypeRef ref) {
    standin::object *o = nullptr;
    {
        std::lock_guard lock(standin::book().lock);
        auto found = standin::book().live.find(ref);
        // Releasing what one does not own: a freed object, or one whose
        // remaining references all belong to the stand-in.
        if (found == standin::book().live.end() || found->second->refs <= found->second->holds) {
            ++standin::book().bad_releases;
            return;
        }
        o = found->second;
        ++standin::book().releases;
    }
    standin::drop(o);
}

CFTypeID CFGetTypeID(CFTypeRef ref) {
    standin::object *o = standin::find(ref);
    return o ? static_cast<CFTypeID>(o->type) : 0;
}

}  // extern "C"
