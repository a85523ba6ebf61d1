// SPDX-License-Identifier: Apache-2.0
// The built-in log handler: formats each record as two lines of text and
// appends it to the log file.
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "debug/module.hpp"

namespace {

constexpr size_t record_capacity = 8192;
constexpr size_t time_capacity = 30;

vantix_debug_file_handler_data *open_data(vantix_debug_handler *handler) {
    auto *data = handler ? static_cast<vantix_debug_file_handler_data *>(handler->handlerData) : nullptr;
    return data && data->file && data->open ? data : nullptr;
}

}  // namespace

extern "C" {

vantix_debug_handler vantix_debug_file_handler = {
    vantix_debug_file_handler_open,  vantix_debug_file_handler_close,
    vantix_debug_file_handler_flush, vantix_debug_file_publisher,
    vantix_debug_default_formatter,  vantix_debug_default_filter,
    VANTIX_DEBUG_LEVEL_ALL,          nullptr,
};

char *vantix_debug_default_formatter(vantix_debug_handler * /*handler*/, vantix_debug_message *message,
                                     size_t *length) {
    if (length)
        *length = 0;
    if (!message)
        return nullptr;
    auto *result = static_cast<char *>(std::calloc(1, record_capacity));
    if (!result)
        return nullptr;
    char time_text[time_capacity] = {0};
    tm local{};
    if (localtime_r(&message->time, &local))
        std::strftime(time_text, sizeof time_text, "%Y-%m-%d %H:%M:%S", &local);

    const int printed =
        std::snprintf(result, record_capacity,
                      "%s() [level: %s, time: %s, process: %u, thread: %u, location: %s:%d]\n   %s\n",
                      message->function ? message->function : "", vantix_debug_get_level_name(message->level),
                      time_text, message->process_id, message->thread_id, message->file ? message->file : "",
                      message->line_num, message->message ? message->message : "");
    // A record that does not fit keeps its first 8191 characters; a failed
    // print writes nothing rather than a buffer of zero bytes.
    if (length)
        *length = printed < 0 ? 0 : std::strlen(result);
    return result;
}

void vantix_debug_file_publisher(vantix_debug_handler *handler, vantix_debug_message *message) {
    if (!handler || !handler->formatter)
        return;
    size_t length = 0;
    char *text = handler->formatter(handler, message, &length);
    if (vantix_debug_file_handler_data *data = open_data(handler); data && text && length)
        std::fwrite(text, 1, length, data->file);
    std::free(text);
}

void vantix_debug_file_handler_open(vantix_debug_handler *handler) {
    if (!handler || handler->handlerData)
        return;
    auto *data =
        static_cast<vantix_debug_file_handler_data *>(std::calloc(1, sizeof(vantix_debug_file_handler_data)));
    if (!data)
        return;
    handler->handlerData = data;
    char *path = vantix::debug::join_log_path(vantix::debug::state().debug_file);
    if (path) {
        data->file = std::fopen(path, "w");
        data->open = data->file ? 1 : 0;
    }
    std::free(path);
}

void vantix_debug_file_handler_close(vantix_debug_handler *handler) {
    if (!handler || !handler->handlerData)
        return;
    auto *data = static_cast<vantix_debug_file_handler_data *>(handler->handlerData);
    if (data->open && data->file)
        std::fclose(data->file);
    std::free(data);
    handler->handlerData = nullptr;
}

void vantix_debug_file_handler_flush(vantix_debug_handler *handler) {
    if (vantix_debug_file_handler_data *data = open_data(handler))
        std::fflush(data->file);
}

unsigned char vantix_debug_default_filter(vantix_debug_handler * /*handler*/,
                                          vantix_debug_message * /*message*/) {
    return 1;
}

}  // extern "C"
