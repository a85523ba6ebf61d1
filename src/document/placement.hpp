// SPDX-License-Identifier: Apache-2.0
// Where a signature goes in a parsed PDF: an existing signature field and
// its widget, or a new field's page and rectangle. Reads untrusted files,
// so every object is checked for the type it must have.
#pragma once

#include <map>
#include <qpdf/QPDF.hh>
#include <string>

#include "geometry.hpp"
#include "vantix-document.h"

namespace vantix::document {

struct target {
    QPDFObjectHandle field;   // the existing field, or null for a new one
    QPDFObjectHandle widget;  // its widget annotation (the field itself when merged)
    QPDFObjectHandle page;
    unsigned page_number = 0;  // from 1
    page_view view{};
    box rect{};  // the widget's rectangle in user space
    std::string field_name;
};

// Throws document_error with the text the caller reads.
target find_target(QPDF &pdf, const vantix_document_placement &placement);

// The page (from 1) of every annotation the pages list, by object.
std::map<QPDFObjGen, unsigned> annotation_pages(QPDF &pdf);

// The page geometry of a page dictionary (inherited attributes included).
page_view view_of(QPDFObjectHandle page);

// Whether a signature field already holds a signature or a signature
// record of ours (ink without a digital signature).
bool field_taken(QPDFObjectHandle field, QPDFObjectHandle widget);

}  // namespace vantix::document
