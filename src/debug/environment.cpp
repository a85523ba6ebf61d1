// SPDX-License-Identifier: Apache-2.0
// Reading the log and trace configuration from the environment.
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "debug/module.hpp"

namespace vantix::debug {
namespace {

bool is_on_word(const char *value) {
    static const char *const words[] = {"true", "TRUE", "1", "yes", "YES", "on", "ON"};
    if (!value)
        return false;
    for (const char *word : words)
        if (std::strcmp(value, word) == 0)
            return true;
    return false;
}

vantix_debug_level parse_level(const char *value) {
    struct level_word {
        const char *upper;
        const char *lower;
        vantix_debug_level level;
    };
    static const level_word table[] = {
        {"ALL", "all", VANTIX_DEBUG_LEVEL_ALL},          {"FINEST", "finest", VANTIX_DEBUG_LEVEL_FINEST},
        {"FINER", "finer", VANTIX_DEBUG_LEVEL_FINER},    {"FINE", "fine", VANTIX_DEBUG_LEVEL_FINE},
        {"INFO", "info", VANTIX_DEBUG_LEVEL_INFO},       {"WARNING", "warning", VANTIX_DEBUG_LEVEL_WARNING},
        {"SEVERE", "severe", VANTIX_DEBUG_LEVEL_SEVERE}, {"NONE", "none", VANTIX_DEBUG_LEVEL_NONE},
    };
    if (value)
        for (const level_word &entry : table)
            if (std::strcmp(value, entry.upper) == 0 || std::strcmp(value, entry.lower) == 0)
                return entry.level;
    return VANTIX_DEBUG_LEVEL_ALL;
}

// An empty directory variable would put the files at the file-system root,
// so only a non-empty value counts as set.
const char *non_empty_env(const char *name) {
    const char *value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// Reads a file-name variable (or its default) and substitutes its tokens.
char *read_file_name(const char *variable, const char *fallback) {
    const char *value = std::getenv(variable);
    char *name = copy_text(value ? value : fallback);
    vantix_debug_file_sub(&name);
    return name;
}

}  // namespace
}  // namespace vantix::debug

using namespace vantix::debug;

extern "C" {

void vantix_debug_setup(void) {
    module_state &s = state();
    s.debug_enabled = is_on_word(std::getenv("VANTIX_DEBUG"));
    if (s.debug_enabled) {
        vantix_read_env_debug_path();
        vantix_read_env_debug_level();
        vantix_read_env_debug_file();
        vantix_read_env_handlers();
    } else {
        s.debug_level = VANTIX_DEBUG_LEVEL_NONE;
    }

    const char *trace = std::getenv("VANTIX_TRACE");
    s.trace_enabled = trace ? is_on_word(trace) : s.debug_enabled;
    if (s.trace_enabled) {
        if (!s.debug_enabled)
            vantix_read_env_debug_path();
        vantix_read_env_trace_file();
    }
}

void vantix_read_env_debug_path(void) {
    const char *location = non_empty_env("VANTIX_DEBUG_LOCATION");
    for (const char *fallback : {"TMPDIR", "TEMP", "TMP"})
        if (!location)
            location = non_empty_env(fallback);
    std::free(state().debug_path);
    state().debug_path = copy_text(location ? location : "/tmp/");
}

void vantix_read_env_debug_level(void) {
    state().debug_level = parse_level(std::getenv("VANTIX_DEBUG_LEVEL"));
}

void vantix_read_env_debug_file(void) {
    std::free(state().debug_file);
    state().debug_file = read_file_name("VANTIX_DEBUG_FILE", "vantix-debug-${label}-${pid}.log");
}

void vantix_read_env_trace_file(void) {
    std::free(state().trace_file);
    state().trace_file = read_file_name("VANTIX_TRACE_FILE", "vantix-trace-${label}-${pid}.pcap");
}

// Reading the environment again (vantix_debug_setup after init) must not
// add the file handler twice: every record would be written once per copy.
void vantix_read_env_handlers(void) {
    const char *value = std::getenv("VANTIX_DEBUG_HANDLERS");
    if (value && *value != '\0' && !std::strstr(value, "file"))
        return;
    std::lock_guard lock(state().handler_lock);  // recursive: add takes it too
    if (!(state().handlers && vantix_list_find(state().handlers, &vantix_debug_file_handler)))
        vantix_debug_add_handler(&vantix_debug_file_handler);
}

void replace_token(char **src, const char *token, const char *replace) {
    if (!src || !*src || !token || !*token)
        return;
    const char *found = std::strstr(*src, token);
    if (!found)
        return;
    if (!replace)
        replace = "";
    const size_t head = static_cast<size_t>(found - *src);
    const size_t token_len = std::strlen(token);
    const size_t replace_len = std::strlen(replace);
    const size_t tail = std::strlen(found + token_len);
    auto *result = static_cast<char *>(std::malloc(head + replace_len + tail + 1));
    if (!result)
        return;  // keep the unsubstituted name rather than lose it
    std::memcpy(result, *src, head);
    std::memcpy(result + head, replace, replace_len);
    std::memcpy(result + head + replace_len, found + token_len, tail + 1);
    std::free(*src);
    *src = result;
}

void vantix_debug_file_sub(char **fileName) {
    char pid[16];
    std::snprintf(pid, sizeof pid, "%u", vantix_debug_get_current_process_id());
    char random[10];
    for (int i = 0; i < 9; ++i)
        random[i] = static_cast<char>('0' + std::rand() % 10);
    random[9] = '\0';
    replace_token(fileName, "${pid}", pid);
    replace_token(fileName, "${label}", state().label ? state().label : "");
    replace_token(fileName, "${random}", random);
}

}  // extern "C"
