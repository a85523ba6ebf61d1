// SPDX-License-Identifier: Apache-2.0
// Reading the distribution's release files (key=value and Red Hat style).
#include <cstdlib>
#include <cstring>

#include "support/list_range.hpp"
#include "debug/module.hpp"

namespace {

constexpr int line_capacity = 2048;  // 2047 characters and the terminator
const char unknown_linux[] = "Linux (Unknown)";

// Strips one final newline, then one pair of surrounding double quotes.
void clean_value(char *value) {
    size_t len = std::strlen(value);
    if (len && value[len - 1] == '\n')
        value[--len] = '\0';
    if (len && value[0] == '"') {
        // Drop the opening quote and the last character (the closing quote);
        // a lone quote becomes empty.
        const size_t kept = len >= 2 ? len - 2 : 0;
        std::memmove(value, value + 1, kept);
        value[kept] = '\0';
    }
}

key_value_pair *make_pair(const char *key, size_t key_len, const char *value) {
    auto *pair = static_cast<key_value_pair *>(std::calloc(1, sizeof(key_value_pair)));
    if (!pair)
        return nullptr;
    pair->key = strndup(key, key_len);
    pair->value = strdup(value);
    if (!pair->key || !pair->value) {
        std::free(pair->key);
        std::free(pair->value);
        std::free(pair);
        return nullptr;
    }
    return pair;
}

char *distribution_in(const char *file) {
    vantix_list *pairs = vantix_create_list();
    char *found = nullptr;
    if (pairs && read_key_value_pair_file(file, pairs)) {
        for (key_value_pair *pair : vantix::list_range<key_value_pair>(pairs)) {
            if (!pair->key || !pair->value)
                continue;
            if (std::strcmp(pair->key, "PRETTY_NAME") == 0 ||
                std::strcmp(pair->key, "DISTRIB_DESCRIPTION") == 0) {
                found = strdup(pair->value);
                break;
            }
        }
    }
    free_keypair_list(pairs);
    return found;
}

char *redhat_distribution_in(const char *file) {
    FILE *stream = std::fopen(file, "r");
    if (!stream)
        return nullptr;
    char line[line_capacity] = {0};
    if (!std::fgets(line, sizeof line, stream))
        line[0] = '\0';
    std::fclose(stream);
    const size_t len = std::strlen(line);
    if (len && line[len - 1] == '\n')
        line[len - 1] = '\0';
    return line[0] ? strdup(line) : nullptr;
}

}  // namespace

namespace vantix::debug {

char *distribution_from(const char *const *files, size_t file_count, const char *redhat_file) {
    for (size_t i = 0; i < file_count; ++i)
        if (char *name = distribution_in(files[i]))
            return name;
    if (char *name = redhat_file ? redhat_distribution_in(redhat_file) : nullptr)
        return name;
    return nullptr;
}

}  // namespace vantix::debug

extern "C" {

unsigned char read_key_value_pair_file(const char *file, vantix_list *list) {
    FILE *stream = file ? std::fopen(file, "r") : nullptr;
    if (!stream)
        return 0;
    char line[line_capacity];
    while (std::fgets(line, sizeof line, stream)) {
        char *equals = std::strchr(line, '=');
        if (!equals)
            continue;
        char *value = equals + 1;
        clean_value(value);
        if (key_value_pair *pair = make_pair(line, static_cast<size_t>(equals - line), value)) {
            if (!vantix_list_add(list, pair)) {
                std::free(pair->key);
                std::free(pair->value);
                std::free(pair);
            }
        }
    }
    std::fclose(stream);
    return 1;
}

void free_keypair_list(vantix_list *list) {
    for (key_value_pair *pair : vantix::list_range<key_value_pair>(list)) {
        if (!pair)
            continue;
        std::free(pair->key);
        std::free(pair->value);
        std::free(pair);
    }
    vantix_list_free(list);
}

char *linux_get_redhat_distribution(void) { return redhat_distribution_in("/etc/redhat-release"); }

char *linux_get_distribution(void) {
    static const char *const files[] = {"/etc/os-release", "/usr/lib/os-release", "/etc/lsb-release"};
    if (char *name = vantix::debug::distribution_from(files, 3, "/etc/redhat-release"))
        return name;
    // Callers free the result, so the fallback is handed out as a copy too
    // (null only when memory ran out).
    return strdup(unknown_linux);
}

}  // extern "C"
