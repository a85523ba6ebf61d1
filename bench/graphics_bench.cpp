// SPDX-License-Identifier: Apache-2.0
// Text in the built-in font: measuring and drawing a 40-character line.
// Items are glyphs, so items_per_second gives the cost of one glyph.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "vantix-zelnar.h"

namespace {

std::vector<int32_t> forty_characters() {
    const char *text = "Signed by Jane Q. Example, 2026-12-08 ok";  // 40 characters
    std::vector<int32_t> out(text, text + 40);
    out.push_back(0);
    return out;
}

void BM_MeasureString(benchmark::State &state) {
    const std::vector<int32_t> text = forty_characters();
    for (auto _ : state) {
        benchmark::DoNotOptimize(enhanced_get_string_width(&vantix_default, text.data()));
        benchmark::DoNotOptimize(enhanced_get_string_height(&vantix_default, text.data()));
    }
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_MeasureString);

void BM_DrawString(benchmark::State &state) {
    const std::vector<int32_t> text = forty_characters();
    const unsigned width = enhanced_get_string_width(&vantix_default, text.data());
    const unsigned height = enhanced_get_string_height(&vantix_default, text.data());
    std::vector<unsigned char> buffer(54 + (24 * width + 31) / 32 * 4 * height);
    vantix_bitmap bmp;
    vantix_bitmap_init(&bmp, buffer.data(), static_cast<int32_t>(width), static_cast<int32_t>(height));
    for (auto _ : state) {
        enhanced_draw_string_aligned(&bmp, &vantix_default, text.data(), 0, 0, bmp.width, bmp.height,
                                     VANTIX_ALIGN_BEGIN, VANTIX_ALIGN_BEGIN, 0x000000FF);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_DrawString);

// The whole path of a pad text: measure, make the bitmap, draw.
void BM_RenderText(benchmark::State &state) {
    const std::vector<int32_t> text = forty_characters();
    std::vector<unsigned char> buffer;
    for (auto _ : state) {
        const unsigned width = enhanced_get_string_width(&vantix_default, text.data());
        const unsigned height = enhanced_get_string_height(&vantix_default, text.data());
        buffer.resize(54 + (24 * width + 31) / 32 * 4 * height);
        vantix_bitmap bmp;
        vantix_bitmap_init(&bmp, buffer.data(), static_cast<int32_t>(width), static_cast<int32_t>(height));
        enhanced_draw_string_aligned(&bmp, &vantix_default, text.data(), 0, 0, bmp.width, bmp.height,
                                     VANTIX_ALIGN_BEGIN, VANTIX_ALIGN_BEGIN, 0x000000FF);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_RenderText);

}  // namespace

BENCHMARK_MAIN();
