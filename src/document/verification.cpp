// SPDX-License-Identifier: Apache-2.0
#include "verification.hpp"

#include <qpdf/QPDFAcroFormDocumentHelper.hh>

#include "pades.hpp"
#include "placement.hpp"
#include "record_attachment.hpp"

namespace vantix::document {
namespace {

std::string text_of(QPDFObjectHandle dict, const char *key) {
    QPDFObjectHandle value = dict.getKey(key);
    if (value.isString())
        return value.getUTF8Value();
    return value.isName() ? value.getName().substr(1) : std::string();
}

// The signed bytes of a /ByteRange [a b c d]: two ranges in order, inside
// the file, starting at its first byte, around a gap that is the /Contents
// string. Empty with `problem` set when it is not that.
std::string signed_bytes(const std::string &file, QPDFObjectHandle range, field_check &check) {
    std::vector<long long> r;
    if (range.isArray())
        for (QPDFObjectHandle item : range.aitems())
            r.push_back(item.isInteger() ? item.getIntValue() : -1);
    const long long size = static_cast<long long>(file.size());
    if (r.size() != 4 || r[0] != 0 || r[1] < 2 || r[2] < r[1] || r[3] < 0 || r[2] > size ||
        r[3] > size - r[2] || file[static_cast<std::size_t>(r[1])] != '<' ||
        file[static_cast<std::size_t>(r[2] - 1)] != '>') {
        check.problem = "The byte range is not two parts of the file around the signature value.";
        return {};
    }
    check.signed_length = static_cast<std::uint64_t>(r[2] + r[3]);
    check.covers_whole_file = r[2] + r[3] == size;
    std::string bytes = file.substr(0, static_cast<std::size_t>(r[1]));
    bytes.append(file, static_cast<std::size_t>(r[2]), static_cast<std::size_t>(r[3]));
    return bytes;
}

void check_signature(const pdf_file &file, QPDFObjectHandle value, field_check &check) {
    check.is_signed = true;
    check.reason = text_of(value, "/Reason");
    check.location = text_of(value, "/Location");
    check.name = text_of(value, "/Name");
    check.time = text_of(value, "/M");
    check.sub_filter = text_of(value, "/SubFilter");
    const std::string bytes = signed_bytes(file.bytes(), value.getKey("/ByteRange"), check);
    if (!check.problem.empty())
        return;
    check.sha256 = sha256_of(bytes);
    QPDFObjectHandle contents = value.getKey("/Contents");
    if (!contents.isString()) {
        check.problem = "The signature has no value.";
        return;
    }
    const cms_check cms = check_cms(contents.getStringValue(), bytes);
    check.valid = cms.valid;
    check.signer = cms.signer;
    check.problem = cms.problem;
}

// The first /Filespec dictionary of the widget's associated files that holds
// data of ours: an embedded file and the length of the revision it is for.
void check_record(const pdf_file &file, QPDFObjectHandle widget, const vantix_signature_material *key,
                  field_check &check) {
    QPDFObjectHandle files = widget.getKey("/AF");
    if (!files.isArray())
        return;
    for (QPDFObjectHandle entry : files.aitems()) {
        QPDFObjectHandle stream = entry.getKey("/EF").getKey("/F"), length = entry.getKey(record_length_key);
        if (!entry.getKey("/AFRelationship").isNameAndEquals("/Data") || !stream.isStream() ||
            !length.isInteger())
            continue;
        check.has_record = true;
        const long long l = length.getIntValue();
        if (l <= 0 || l > static_cast<long long>(file.bytes().size())) {
            check.record_problem = "The record names a revision the file does not have.";
            return;
        }
        check.record_revision_length = static_cast<std::uint64_t>(l);
        if (!key)
            return;
        if (!stream.getDict().getKey("/Filter").isNull()) {
            check.record_problem = "The embedded record is compressed; records are stored as they are.";
            return;
        }
        const std::shared_ptr<Buffer> sealed = stream.getRawStreamData();
        vantix_signature_opened *opened =
            vantix_signature_open_sealed(sealed->getBuffer(), sealed->getSize(), key, nullptr);
        if (!opened) {
            check.record_problem = vantix_signature_last_error();
            return;
        }
        vantix_signature_document revision{};
        revision.data = reinterpret_cast<const unsigned char *>(file.bytes().data());
        revision.size = static_cast<std::size_t>(l);
        check.record_matches =
            vantix_signature_opened_check_document(opened, &revision) == VANTIX_CODE_SUCCESS;
        if (!check.record_matches)
            check.record_problem = vantix_signature_last_error();
        vantix_signature_opened_free(opened);
        return;
    }
}

}  // namespace

std::vector<field_check> verify_pdf(const pdf_file &file, const vantix_signature_material *key) {
    QPDF &pdf = file.qpdf();
    const std::map<QPDFObjGen, unsigned> pages = annotation_pages(pdf);
    QPDFAcroFormDocumentHelper form(pdf);
    std::vector<field_check> checks;
    for (QPDFFormFieldObjectHelper field : form.getFormFields()) {
        if (field.getFieldType() != "/Sig")
            continue;
        field_check check;
        check.field = field.getFullyQualifiedName();
        QPDFObjectHandle value = field.getValue();
        if (value.isDictionary())
            check_signature(file, value, check);
        // A field shows in its first widget; that one holds the record.
        std::vector<QPDFAnnotationObjectHelper> widgets = form.getAnnotationsForField(field);
        if (!widgets.empty()) {
            QPDFObjectHandle widget = widgets.front().getObjectHandle();
            const auto page = pages.find(widget.getObjGen());
            check.page = page == pages.end() ? 0 : page->second;
            check_record(file, widget, key, check);
        }
        checks.push_back(std::move(check));
    }
    file.check_undamaged();
    return checks;
}

}  // namespace vantix::document
