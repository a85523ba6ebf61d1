// SPDX-License-Identifier: Apache-2.0
// Building an incremental update: new objects numbered from the file's
// first free number, and the file's objects that change, each written once.
#pragma once

#include <vector>

#include "incremental.hpp"

namespace vantix::document {

// The objects of the update, numbered from the file's first free number.
class update_builder {
public:
    explicit update_builder(const pdf_file &file) : file_(file), next_(first_free_number(file)) {}

    // A new object's number. qpdf holds a placeholder under it, so that
    // references to it are kept (a reference to nothing reads as null,
    // which a dictionary drops).
    QPDFObjGen reserve();
    QPDFObjectHandle reference(QPDFObjGen id) { return file_.qpdf().getObject(id); }
    void add(pdf_object object) { objects_.push_back(std::move(object)); }
    // An object of the file, changed: written whole in the update (once).
    void changed(QPDFObjectHandle object);
    // The new objects, then the changed ones as qpdf now holds them.
    std::vector<pdf_object> objects() const;

private:
    const pdf_file &file_;
    int next_;
    std::vector<pdf_object> objects_;
    std::vector<QPDFObjGen> changed_;
};

// Direct objects of the kinds the update writes.
QPDFObjectHandle pdf_text(const char *value);  // a text string; NULL reads as ""
QPDFObjectHandle pdf_name(const char *value);
QPDFObjectHandle pdf_integer(long long value);

}  // namespace vantix::document
