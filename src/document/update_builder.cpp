// SPDX-License-Identifier: Apache-2.0
#include "update_builder.hpp"

namespace vantix::document {

QPDFObjGen update_builder::reserve() {
    const QPDFObjGen id(next_++, 0);
    file_.qpdf().replaceObject(id, QPDFObjectHandle::newDictionary());
    return id;
}

void update_builder::changed(QPDFObjectHandle object) {
    for (QPDFObjGen id : changed_)
        if (id == object.getObjGen())
            return;
    changed_.push_back(object.getObjGen());
}

std::vector<pdf_object> update_builder::objects() const {
    std::vector<pdf_object> all = objects_;
    for (QPDFObjGen id : changed_)
        all.push_back(changed_object(file_.qpdf().getObject(id)));
    return all;
}

QPDFObjectHandle pdf_text(const char *value) {
    return QPDFObjectHandle::newUnicodeString(value ? value : "");
}
QPDFObjectHandle pdf_name(const char *value) { return QPDFObjectHandle::newName(value); }
QPDFObjectHandle pdf_integer(long long value) { return QPDFObjectHandle::newInteger(value); }

}  // namespace vantix::document
