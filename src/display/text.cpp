// SPDX-License-Identifier: Apache-2.0
// Text on the pad's display: any ICU character set to code points, measured
// and rendered in the device's font, then sent as a bitmap.
#include <unicode/ucnv.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/failure.hpp"
#include "debug/log.hpp"

namespace {

struct converter_closer {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using converter_ptr = std::unique_ptr<UConverter, converter_closer>;

// Walks the code points of `data` up to its end or a NUL, calling `take`
// with each. False when ICU reports anything but a clean conversion,
// warnings included (running out of input at the first call among them).
template <typename Take>
bool walk_code_points(UConverter *converter, const char *data, size_t length, Take take) {
    ucnv_reset(converter);
    const char *source = data, *const end = data + length;
    UErrorCode status = U_ZERO_ERROR;
    while (true) {
        const UChar32 c = ucnv_getNextUChar(converter, &source, end, &status);
        if (status != U_ZERO_ERROR)
            return false;
        if (c == 0)
            return true;
        take(c);
        if (source >= end)
            return true;
    }
}

const vantix_enhanced_font *font_of(const vantix_device *device) {
    return device ? static_cast<const vantix_enhanced_font *>(device->font) : nullptr;
}

struct code_points_free {
    void operator()(int32_t *p) const { std::free(p); }
};
using code_points = std::unique_ptr<int32_t, code_points_free>;

code_points convert(const char *data, size_t length, const char *encoding) {
    size_t count = 0;
    return code_points(parse_string_encoding(data, length, encoding, &count));
}

enum class measure { width, height };

unsigned int measure_text(vantix_device *device, const char *data, size_t length, const char *encoding,
                          measure what) {
    const code_points text = convert(data, length, encoding);
    const vantix_enhanced_font *font = font_of(device);
    if (!text || !font)
        return 0;
    return what == measure::width ? enhanced_get_string_width(font, text.get())
                                  : enhanced_get_string_height(font, text.get());
}

constexpr const char *default_encoding = "utf-8";

}  // namespace

extern "C" {

int32_t *parse_string_encoding(const char *data, size_t dataLen, const char *encoding, size_t *charLen) {
    VANTIX_TRACE_CALL();
    if (!data || !encoding)
        return nullptr;
    // Opening may warn (an ambiguous alias such as "Shift_JIS"); only a
    // failure stops us. Conversion warnings do stop it, below.
    UErrorCode status = U_ZERO_ERROR;
    converter_ptr converter(ucnv_open(encoding, &status));
    if (!converter || U_FAILURE(status))
        return nullptr;
    // Malformed input is an error, not a silent U+FFFD.
    status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        return nullptr;
    // An empty text converts to nothing, like one that ICU refuses.
    if (dataLen == 0)
        return nullptr;
    size_t count = 0;
    if (!walk_code_points(converter.get(), data, dataLen, [&count](UChar32) { ++count; }))
        return nullptr;
    auto *points = static_cast<int32_t *>(std::calloc(count + 1, sizeof(int32_t)));
    if (!points)
        return nullptr;
    size_t filled = 0;
    const bool clean = walk_code_points(converter.get(), data, dataLen, [&](UChar32 c) {
        if (filled < count)
            points[filled++] = c;
    });
    if (!clean) {
        std::free(points);
        return nullptr;
    }
    if (charLen)
        *charLen = filled;
    return points;
}

vantix_error_code vantix_device_draw_text_encoded(vantix_device *device, const char *data,
                                                  unsigned int dataLen, unsigned int x, unsigned int y,
                                                  vantix_font_alignment alignment, uint8_t invert,
                                                  const char *encoding) {
    ::vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    const code_points text = convert(data, dataLen, encoding);
    if (!text) {
        VANTIX_FAIL("String encoding problem, unable to convert string.");
        return VANTIX_CODE_ERROR;
    }
    const vantix_enhanced_font *font = font_of(device);
    if (!font) {
        VANTIX_FAIL("No device or font to draw with.");
        return VANTIX_CODE_ERROR;
    }
    const unsigned int w = enhanced_get_string_width(font, text.get());
    const unsigned int h = enhanced_get_string_height(font, text.get());
    if (alignment == VANTIX_ALIGN_CENTER)
        x -= w / 2;  // unsigned on purpose: moving off the left edge wraps and fails below
    else if (alignment == VANTIX_ALIGN_RIGHT)
        x -= w;

    const vantix_hid_feature_display_info &display = device->display_info;
    if (display.width < x) {
        VANTIX_FAIL("Requested coordinate is off the screen in the horizontal direction.");
        return VANTIX_CODE_ERROR;
    }
    if (display.width < uint64_t{x} + w) {
        VANTIX_FAIL("Requested string would draw off the screen in the horizontal direction.");
        return VANTIX_CODE_ERROR;
    }
    if (display.height < y) {
        VANTIX_FAIL("Requested coordinate is off the screen in the vertical direction.");
        return VANTIX_CODE_ERROR;
    }
    if (display.height < uint64_t{y} + h) {
        VANTIX_FAIL("Requested string would draw off the screen in the vertical direction.");
        return VANTIX_CODE_ERROR;
    }
    // Glyphs without ink (spaces in some fonts) may leave nothing to show.
    if (w == 0 || h == 0) {
        trace.without_leave_record();  // a drawn text leaves no record
        return VANTIX_CODE_SUCCESS;
    }

    const size_t row = (size_t{w} * 3 + 3) / 4 * 4;
    std::unique_ptr<unsigned char[]> pixels(new (std::nothrow) unsigned char[54 + row * h]);
    if (!pixels) {
        VANTIX_FAIL("Out of memory drawing text of %u x %u pixels.", w, h);
        return VANTIX_CODE_ERROR;
    }
    vantix_bitmap bmp;
    vantix_bitmap_init(&bmp, pixels.get(), static_cast<int32_t>(w), static_cast<int32_t>(h));
    enhanced_draw_string_aligned(&bmp, font, text.get(), 0, 0, bmp.width, bmp.height, VANTIX_ALIGN_BEGIN,
                                 VANTIX_ALIGN_BEGIN, 0x000000FF);
    if (invert)
        for (int32_t i = 0; i < bmp.arraySize; ++i)
            bmp.raster[i] = static_cast<unsigned char>(~bmp.raster[i]);

    const int depth = std::min<int>(font->bitDepth, display.color_depth);
    const vantix_error_code sent = vantix_transfer_bitmap_to_device(device, &bmp, x, y, depth);
    if (sent == VANTIX_CODE_SUCCESS)
        trace.without_leave_record();  // a drawn text leaves no record
    return sent;
}

vantix_error_code vantix_device_draw_text(vantix_device *device, const char *text, unsigned int x,
                                          unsigned int y, vantix_font_alignment alignment, uint8_t invert) {
    return vantix_device_draw_text_encoded(device, text, text ? static_cast<unsigned int>(strlen(text)) : 0,
                                           x, y, alignment, invert, default_encoding);
}

unsigned int vantix_measure_text_width_encoding(vantix_device *device, const char *data, unsigned int dataLen,
                                                const char *encoding) {
    VANTIX_TRACE_CALL();
    return measure_text(device, data, dataLen, encoding, measure::width);
}

unsigned int vantix_measure_text_height_encoding(vantix_device *device, const char *data,
                                                 unsigned int dataLen, const char *encoding) {
    VANTIX_TRACE_CALL();
    return measure_text(device, data, dataLen, encoding, measure::height);
}

unsigned int vantix_measure_text_width(vantix_device *device, const char *text) {
    return vantix_measure_text_width_encoding(
        device, text, text ? static_cast<unsigned int>(strlen(text)) : 0, default_encoding);
}

unsigned int vantix_measure_text_height(vantix_device *device, const char *text) {
    return vantix_measure_text_height_encoding(
        device, text, text ? static_cast<unsigned int>(strlen(text)) : 0, default_encoding);
}

}  // extern "C"
