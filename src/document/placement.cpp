// SPDX-License-Identifier: Apache-2.0
#include "placement.hpp"

#include <cmath>
#include <map>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <set>

#include "errors.hpp"

namespace vantix::document {
namespace {

box rectangle_of(QPDFObjectHandle array) {
    if (!array.isRectangle())
        return {};
    const QPDFObjectHandle::Rectangle r = array.getArrayAsRectangle();
    return normalized(r.llx, r.lly, r.urx, r.ury);
}

// Every page with the object numbers of its annotations.
struct page_index {
    std::vector<QPDFPageObjectHelper> pages;
    std::map<QPDFObjGen, unsigned> page_of_annotation;  // page number from 1
};

page_index index_pages(QPDF &pdf) {
    return {QPDFPageDocumentHelper(pdf).getAllPages(), annotation_pages(pdf)};
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

target existing_field(QPDF &pdf, const page_index &index, const char *name) {
    QPDFAcroFormDocumentHelper form(pdf);
    for (QPDFFormFieldObjectHelper field : form.getFormFields()) {
        if (field.getFieldType() != "/Sig")
            continue;
        const std::string field_name = field.getFullyQualifiedName();
        if (name && field_name != name)
            continue;
        std::vector<QPDFAnnotationObjectHelper> widgets = form.getAnnotationsForField(field);
        if (widgets.empty())
            throw document_error("The signature field " + field_name +
                                 " has no widget to show the signature in.");
        QPDFObjectHandle widget = widgets.front().getObjectHandle();
        if (field_taken(field.getObjectHandle(), widget)) {
            if (name)
                throw document_error("The signature field " + field_name + " is already signed.");
            continue;
        }
        const auto page = index.page_of_annotation.find(widget.getObjGen());
        if (page == index.page_of_annotation.end())
            throw document_error("The signature field " + field_name + " is on no page.");
        target t{field.getObjectHandle(),
                 widget,
                 index.pages[page->second - 1].getObjectHandle(),
                 page->second,
                 view_of(index.pages[page->second - 1].getObjectHandle()),
                 rectangle_of(widget.getKey("/Rect")),
                 field_name};
        if (!(t.rect.width() > 0 && t.rect.height() > 0))
            throw document_error("The signature field " + field_name +
                                 " has no area to show the signature in.");
        return t;
    }
    if (name)
        throw document_error(std::string("No signature field named ") + name + " in the document.");
    throw document_error(
        "The document has no empty signature field: name a page and a rectangle for a new one.");
}

// "Signature1", "Signature2", ...: the first no field of the form is called.
std::string new_field_name(QPDF &pdf) {
    std::set<std::string> taken;
    for (QPDFFormFieldObjectHelper field : QPDFAcroFormDocumentHelper(pdf).getFormFields())
        taken.insert(field.getFullyQualifiedName());
    for (unsigned n = 1;; ++n)
        if (!taken.count("Signature" + std::to_string(n)))
            return "Signature" + std::to_string(n);
}

target new_field(QPDF &pdf, const page_index &index, const vantix_document_placement &p) {
    if (!(p.width > 0 && p.height > 0) || !std::isfinite(p.width) || !std::isfinite(p.height))
        throw document_error("The rectangle must have a width and height above 0.");
    if (p.page > index.pages.size())
        throw document_error("The document has " + std::to_string(index.pages.size()) +
                             " pages; there is no page " + std::to_string(p.page) + ".");
    QPDFObjectHandle page = index.pages[p.page - 1].getObjectHandle();
    const page_view view = view_of(page);
    const box visible{p.x, p.y, p.x + p.width, p.y + p.height};
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !on_page(view, visible))
        throw document_error("The rectangle is not inside page " + std::to_string(p.page) + " (" +
                             number(view.visible_width()) + " x " + number(view.visible_height()) +
                             " points as shown).");
    return {QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull(), page, p.page, view,
            to_user(view, visible),      new_field_name(pdf)};
}

}  // namespace

std::map<QPDFObjGen, unsigned> annotation_pages(QPDF &pdf) {
    std::map<QPDFObjGen, unsigned> pages;
    const std::vector<QPDFPageObjectHelper> all = QPDFPageDocumentHelper(pdf).getAllPages();
    for (unsigned i = 0; i < all.size(); ++i) {
        QPDFObjectHandle annots = QPDFPageObjectHelper(all[i]).getObjectHandle().getKey("/Annots");
        if (!annots.isArray())
            continue;
        for (QPDFObjectHandle a : annots.aitems())
            if (a.isIndirect())
                pages.emplace(a.getObjGen(), i + 1);
    }
    return pages;
}

page_view view_of(QPDFObjectHandle page) {
    QPDFPageObjectHelper helper(page);
    box crop = rectangle_of(helper.getCropBox(false, false));
    if (!(crop.width() > 0 && crop.height() > 0))
        throw document_error("The file is not a readable PDF: a page has no media box.");
    QPDFObjectHandle rotate = helper.getAttribute("/Rotate", false);
    long long degrees = 0;
    if (rotate.isInteger())
        degrees = rotate.getIntValue();
    return {crop, normal_rotation(degrees)};
}

bool field_taken(QPDFObjectHandle field, QPDFObjectHandle widget) {
    return field.getKey("/V").isDictionary() || widget.getKey("/AF").isArray();
}

target find_target(QPDF &pdf, const vantix_document_placement &placement) {
    const page_index index = index_pages(pdf);
    if (placement.field)
        return existing_field(pdf, index, placement.field);
    if (placement.page)
        return new_field(pdf, index, placement);
    return existing_field(pdf, index, nullptr);
}

}  // namespace vantix::document
