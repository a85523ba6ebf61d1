// SPDX-License-Identifier: Apache-2.0
// The signing screen: a prompt, the document being signed (when there is
// one), a line to sign on and OK, Clear and Cancel buttons along the bottom. The buttons are pad regions, so
// the pad reports presses on them; the region edits are dropped again when the screen goes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "vantix-zelnar.hpp"

namespace tool {

enum class choice { none, ok, clear, cancel };

struct screen_button {
    choice meaning;
    std::uint8_t region;
    const char *caption;
    unsigned x1, y1, x2, y2;
};

// Where the buttons go on a display of this size (pure, for tests too).
std::array<screen_button, 3> button_layout(unsigned width, unsigned height);

class signing_screen {
public:
    // `document`: the line naming the document under the prompt, cut to the
    // display's width from the name's end (`tag`, e.g. its digest, is kept).
    struct document_line {
        std::string name, tag;
    };
    signing_screen(vantix::zelnar::pad &pad, std::string prompt, const document_line &document = {});
    ~signing_screen();
    signing_screen(const signing_screen &) = delete;
    signing_screen &operator=(const signing_screen &) = delete;

    // Blank display, prompt, document, line and buttons (also what Clear shows again).
    void draw();
    choice pressed(std::uint8_t region) const;
    const screen_button &button(choice meaning) const;

private:
    vantix::zelnar::pad &pad_;
    std::string prompt_;
    std::string document_;
    std::array<screen_button, 3> buttons_;
};

}  // namespace tool
