// SPDX-License-Identifier: Apache-2.0
// Owning handle for CoreFoundation objects: one CFRelease per reference the
// driver obtained through a Create or Copy call, or retained itself.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <utility>

namespace vantix::mac {

template <typename Ref>
class cf_ref {
public:
    cf_ref() = default;
    // Takes over a reference the caller owns (Create/Copy rule).
    explicit cf_ref(Ref ref) : ref_(ref) {}
    // Retains a reference the caller does not own (Get rule).
    static cf_ref retain(Ref ref) {
        if (ref)
            CFRetain(ref);
        return cf_ref(ref);
    }
    ~cf_ref() { reset(); }
    cf_ref(cf_ref &&other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    cf_ref &operator=(cf_ref &&other) noexcept {
        if (this != &other) {
            reset();
            ref_ = std::exchange(other.ref_, nullptr);
        }
        return *this;
    }
    cf_ref(const cf_ref &) = delete;
    cf_ref &operator=(const cf_ref &) = delete;

    Ref get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }
    void reset() {
        if (ref_)
            CFRelease(ref_);
        ref_ = nullptr;
    }

private:
    Ref ref_ = nullptr;
};

}  // namespace vantix::mac
