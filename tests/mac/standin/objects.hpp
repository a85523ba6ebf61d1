// SPDX-License-Identifier: Apache-2.0
// Reference-counted objects of the stand-in and the ledger that counts
// every retain and release of them.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <climits>
#include <string>

namespace standin {

enum class kind : CFTypeID {
    string = 7,
    number,
    data,
    set,
    dictionary,
    run_loop,
    run_loop_source,
    hid_manager,
    hid_device
};

struct object {
    explicit object(kind k) : type(k) {}
    virtual ~object() = default;
    object(const object &) = delete;
    object &operator=(const object &) = delete;

    const kind type;
    // Guarded by the ledger. `holds` are the stand-in's own references,
    // never counted against the code under test.
    long refs = 1;
    long holds = 0;
};

inline constexpr long immortal = LONG_MAX / 2;

// Registers a new object (one reference, owned by the creator).
template <typename T>
T *track(T *created);
void track_object(object *created);
template <typename T>
T *track(T *created) {
    track_object(created);
    return created;
}

// The live object at `ref`, or null.
object *find(const void *ref);
// References the stand-in takes and drops for itself.
void hold(object *o);
void unhold(object *o);
// The object's references become the stand-in's own (creator's reference included).
void own(object *o, long holds);

const char *kind_name(kind k);

// The text of a CF string the stand-in made; empty for anything else.
std::string text_of(CFStringRef string);

}  // namespace standin
