// SPDX-License-Identifier: Apache-2.0
#include "record_attachment.hpp"

#include "errors.hpp"

namespace vantix::document {

QPDFObjectHandle embed_record(update_builder &update, const pdf_file &file, const std::string &sealed,
                              const std::string &date) {
    const QPDFObjGen stream = update.reserve(), entry = update.reserve();
    QPDFObjectHandle params = QPDFObjectHandle::newDictionary();
    params.replaceKey("/Size", pdf_integer(static_cast<long long>(sealed.size())));
    params.replaceKey("/ModDate", pdf_text(date.c_str()));
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", pdf_name("/EmbeddedFile"));
    dict.replaceKey("/Subtype", pdf_name("/application/pkcs7-mime"));
    dict.replaceKey("/Params", params);
    update.add(stream_object(stream, dict, sealed));

    QPDFObjectHandle ef = QPDFObjectHandle::newDictionary();
    ef.replaceKey("/F", update.reference(stream));
    ef.replaceKey("/UF", update.reference(stream));
    QPDFObjectHandle filespec = QPDFObjectHandle::newDictionary();
    filespec.replaceKey("/Type", pdf_name("/Filespec"));
    filespec.replaceKey("/F", pdf_text("signature-record.p7m"));
    filespec.replaceKey("/UF", pdf_text("signature-record.p7m"));
    filespec.replaceKey("/Desc", pdf_text("Sealed signature record: pen data, bound to the signed revision"));
    filespec.replaceKey("/AFRelationship", pdf_name("/Data"));
    filespec.replaceKey("/EF", ef);
    filespec.replaceKey(record_length_key, pdf_integer(static_cast<long long>(file.bytes().size())));
    update.add({entry, filespec.unparse()});
    return update.reference(entry);
}

std::string sealed_record(const pdf_file &file, const vantix_signature_capture &capture,
                          const vantix_document_sign_options &o) {
    vantix_signature_record_options record{};
    record.document.sha256 = file.sha256().data();
    record.document_name = file.title().c_str();
    record.prompt = o.prompt;
    record.pad_uuid = o.pad_uuid;
    record.pad_firmware = o.pad_firmware;
    unsigned char *data = nullptr;
    size_t size = 0;
    if (vantix_signature_seal(&capture, &record, o.recipients, o.recipient_count, nullptr, nullptr, &data,
                              &size) != VANTIX_CODE_SUCCESS)
        throw document_error(vantix_signature_last_error());
    std::string sealed(reinterpret_cast<const char *>(data), size);
    vantix_signature_free_buffer(data);
    return sealed;
}

}  // namespace vantix::document
