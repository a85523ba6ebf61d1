// SPDX-License-Identifier: Apache-2.0
// Strings, numbers, data, sets and dictionaries.
#include "cf_types.hpp"

#include <cstring>
#include <limits>
#include <map>
#include <mutex>

namespace standin {

cf_set::cf_set(std::vector<CFTypeRef> v) : object(kind::set), values(std::move(v)) {
    for (CFTypeRef value : values)
        CFRetain(value);
}

cf_set::~cf_set() {
    for (CFTypeRef value : values)
        CFRelease(value);
}

cf_dictionary::~cf_dictionary() {
    for (auto &[key, value] : entries) {
        CFRelease(key);
        CFRelease(value);
    }
}

std::string text_of(CFStringRef string) {
    object *o = find(string);
    return o && o->type == kind::string ? static_cast<cf_string *>(o)->text : std::string();
}

namespace {

template <typename T>
T *typed(const void *ref, kind k) {
    object *o = find(ref);
    return o && o->type == k ? static_cast<T *>(o) : nullptr;
}

// UTF-16 units of a UTF-8 text: four-byte sequences take two.
CFIndex utf16_length(const std::string &text) {
    CFIndex units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            ++units;
        if (c >= 0xF0)
            ++units;
    }
    return units;
}

bool is_ascii(const std::string &text) {
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

}  // namespace
}  // namespace standin

using standin::cf_data;
using standin::cf_dictionary;
using standin::cf_number;
using standin::cf_set;
using standin::cf_string;
using standin::kind;

extern "C" {

const CFRunLoopMode kCFRunLoopDefaultMode = __CFStringMakeConstantString("kCFRunLoopDefaultMode");

CFStringRef __CFStringMakeConstantString(const char *text) {
    // Interned and never freed, as the compiler's constant strings are.
    static std::mutex lock;
    static auto *interned = new std::map<std::string, cf_string *>;
    std::lock_guard guard(lock);
    cf_string *&found = (*interned)[text];
    if (!found) {
        found = standin::track(new cf_string(text));
        standin::own(found, standin::immortal);
    }
    return reinterpret_cast<CFStringRef>(found);
}

CFTypeID CFStringGetTypeID(void) { return static_cast<CFTypeID>(kind::string); }
CFTypeID CFNumberGetTypeID(void) { return static_cast<CFTypeID>(kind::number); }
CFTypeID CFDataGetTypeID(void) { return static_cast<CFTypeID>(kind::data); }
CFTypeID CFSetGetTypeID(void) { return static_cast<CFTypeID>(kind::set); }
CFTypeID CFDictionaryGetTypeID(void) { return static_cast<CFTypeID>(kind::dictionary); }

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char *text, CFStringEncoding encoding) {
    if (!text || (encoding == kCFStringEncodingASCII && !standin::is_ascii(text)))
        return nullptr;
    return reinterpret_cast<CFStringRef>(standin::track(new cf_string(text)));
}

CFIndex CFStringGetLength(CFStringRef string) {
    auto *s = standin::typed<cf_string>(string, kind::string);
    return s ? standin::utf16_length(s->text) : 0;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
    return encoding == kCFStringEncodingUTF8 ? length * 3 : length;
}

Boolean CFStringGetCString(CFStringRef string, char *buffer, CFIndex size, CFStringEncoding encoding) {
    auto *s = standin::typed<cf_string>(string, kind::string);
    if (!s || !buffer || size <= 0 || static_cast<size_t>(size) <= s->text.size())
        return false;
    if (encoding == kCFStringEncodingASCII && !standin::is_ascii(s->text))
        return false;
    std::memcpy(buffer, s->text.c_str(), s->text.size() + 1);
    return true;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void *value) {
    if (!value)
        return nullptr;
    int64_t v = 0;
    if (type == kCFNumberSInt32Type)
        v = *static_cast<const int32_t *>(value);
    else if (type == kCFNumberSInt64Type)
        v = *static_cast<const int64_t *>(value);
    else
        return nullptr;
    return reinterpret_cast<CFNumberRef>(standin::track(new cf_number(v)));
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void *value) {
    auto *n = standin::typed<cf_number>(number, kind::number);
    if (!n || !value)
        return false;
    if (type == kCFNumberSInt64Type) {
        *static_cast<int64_t *>(value) = n->value;
        return true;
    }
    if (type != kCFNumberSInt32Type)
        return false;
    *static_cast<int32_t *>(value) = static_cast<int32_t>(n->value);
    // Like CF: the value is converted, and false says it did not fit.
    return n->value >= std::numeric_limits<int32_t>::min() && n->value <= std::numeric_limits<int32_t>::max();
}

CFDataRef CFDataCreate(CFAllocatorRef, const uint8_t *bytes, CFIndex length) {
    if (length < 0 || (length > 0 && !bytes))
        return nullptr;
    std::vector<uint8_t> copy(bytes, bytes + length);
    return reinterpret_cast<CFDataRef>(standin::track(new cf_data(std::move(copy))));
}

CFIndex CFDataGetLength(CFDataRef data) {
    auto *d = standin::typed<cf_data>(data, kind::data);
    return d ? static_cast<CFIndex>(d->bytes.size()) : 0;
}

const uint8_t *CFDataGetBytePtr(CFDataRef data) {
    auto *d = standin::typed<cf_data>(data, kind::data);
    return d && !d->bytes.empty() ? d->bytes.data() : nullptr;
}

CFIndex CFSetGetCount(CFSetRef set) {
    auto *s = standin::typed<cf_set>(set, kind::set);
    return s ? static_cast<CFIndex>(s->values.size()) : 0;
}

void CFSetGetValues(CFSetRef set, const void **values) {
    auto *s = standin::typed<cf_set>(set, kind::set);
    if (!s || !values)
        return;
    for (size_t i = 0; i < s->values.size(); ++i)
        values[i] = s->values[i];
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex, const void *, const void *) {
    return reinterpret_cast<CFMutableDictionaryRef>(standin::track(new cf_dictionary));
}

void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void *key, const void *value) {
    auto *d = standin::typed<cf_dictionary>(dictionary, kind::dictionary);
    if (!d || !key || !value)
        return;
    CFRetain(key);
    CFRetain(value);
    const std::string name = standin::text_of(static_cast<CFStringRef>(key));
    for (auto &[k, v] : d->entries)
        if (standin::text_of(static_cast<CFStringRef>(k)) == name) {
            CFRelease(k);
            CFRelease(v);
            k = key;
            v = value;
            return;
        }
    d->entries.emplace_back(key, value);
}

const void *CFDictionaryGetValue(CFDictionaryRef dictionary, const void *key) {
    auto *d = standin::typed<cf_dictionary>(dictionary, kind::dictionary);
    if (!d)
        return nullptr;
    const std::string name = standin::text_of(static_cast<CFStringRef>(key));
    for (const auto &[k, v] : d->entries)
        if (standin::text_of(static_cast<CFStringRef>(k)) == name)
            return v;
    return nullptr;
}

}  // extern "C"
