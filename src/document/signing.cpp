// SPDX-License-Identifier: Apache-2.0
#include "signing.hpp"

#include <cstring>
#include <ctime>
#include <memory>
#include <optional>

#include "appearance.hpp"
#include "errors.hpp"
#include "incremental.hpp"
#include "pades.hpp"
#include "placement.hpp"
#include "record_attachment.hpp"
#include "update_builder.hpp"

namespace vantix::document {
namespace {

struct clock_time {
    std::string pdf_date;  // D:YYYYMMDDHHmmSS+00'00'
    std::string day;       // YYYY-MM-DD
};

clock_time time_of(std::int64_t seconds) {
    const std::time_t t = seconds ? static_cast<std::time_t>(seconds) : std::time(nullptr);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char date[32], day[16];
    std::strftime(date, sizeof date, "D:%Y%m%d%H%M%S+00'00'", &utc);
    std::strftime(day, sizeof day, "%Y-%m-%d", &utc);
    return {date, day};
}

QPDFObjectHandle numbers(std::initializer_list<double> values) {
    QPDFObjectHandle array = QPDFObjectHandle::newArray();
    for (double v : values)
        array.appendItem(QPDFObjectHandle::newReal(v, 4, true));
    return array;
}

QPDFObjectHandle appearance(update_builder &update, target &t, const vantix_signature_capture &capture,
                            const std::string &caption) {
    const bool turned = t.view.rotation % 180 != 0;
    const double width = turned ? t.rect.height() : t.rect.width();
    const double height = turned ? t.rect.width() : t.rect.height();
    const std::array<double, 6> m = upright_matrix(t.view.rotation);
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", pdf_name("/XObject"));
    dict.replaceKey("/Subtype", pdf_name("/Form"));
    dict.replaceKey("/BBox", numbers({0, 0, width, height}));
    dict.replaceKey("/Matrix", numbers({m[0], m[1], m[2], m[3], m[4], m[5]}));
    dict.replaceKey("/Resources", caption.empty() ? QPDFObjectHandle::newDictionary()
                                                  : QPDFObjectHandle::parse(caption_font));
    const QPDFObjGen id = update.reserve();
    update.add(compressed_stream_object(id, dict, appearance_content(capture, width, height, caption)));
    QPDFObjectHandle ap = QPDFObjectHandle::newDictionary();
    ap.replaceKey("/N", update.reference(id));
    return ap;
}

// The signature dictionary with room for the byte range and the CMS, which
// are written into it once the file around them is known.
constexpr const char *byte_range_placeholder = "[0 0000000000 0000000000 0000000000]";

std::string signature_dictionary(const vantix_document_sign_options &o, const clock_time &when,
                                 std::size_t contents_size) {
    std::string out = "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /ETSI.CAdES.detached /ByteRange ";
    out += byte_range_placeholder;
    out += " /Contents <" + std::string(2 * contents_size, '0') + ">";
    out += " /M " + pdf_text(when.pdf_date.c_str()).unparse();
    if (o.reason)
        out += " /Reason " + pdf_text(o.reason).unparse();
    if (o.location)
        out += " /Location " + pdf_text(o.location).unparse();
    if (o.name)
        out += " /Name " + pdf_text(o.name).unparse();
    return out + " >>";
}

// Writes the byte range and the CMS over it into the signature dictionary
// whose body starts at `body` in the whole file `out`.
void fill_signature(std::string &out, std::size_t body, std::size_t contents_size,
                    const pades_signer &signer) {
    const std::size_t range = out.find(byte_range_placeholder, body);
    const std::size_t gap = out.find("/Contents <", body) + 10, gap_end = gap + 2 * contents_size + 2;
    char ranges[40];
    std::snprintf(ranges, sizeof ranges, "[0 %010zu %010zu %010zu]", gap, gap_end, out.size() - gap_end);
    out.replace(range, std::strlen(byte_range_placeholder), ranges);
    std::string covered = out.substr(0, gap);
    covered.append(out, gap_end);
    const std::string cms = signer.sign(covered);
    if (cms.size() > contents_size)
        throw document_error("The signature is larger than the room made for it.");
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < cms.size(); ++i) {
        out[gap + 1 + 2 * i] = digits[static_cast<unsigned char>(cms[i]) >> 4];
        out[gap + 2 + 2 * i] = digits[static_cast<unsigned char>(cms[i]) & 15];
    }
}

// The AcroForm dictionary, made indirect-or-changed as the file holds it;
// `field` joins its /Fields when given.
void register_field(update_builder &update, QPDF &pdf, std::optional<QPDFObjectHandle> field) {
    QPDFObjectHandle root = pdf.getRoot();
    QPDFObjectHandle form = root.getKey("/AcroForm");
    if (!form.isDictionary()) {
        form = QPDFObjectHandle::newDictionary();
        root.replaceKey("/AcroForm", form);
        form = root.getKey("/AcroForm");
    }
    update.changed(form.isIndirect() ? form : root);
    form.replaceKey("/SigFlags", pdf_integer(3));
    if (!field)
        return;
    QPDFObjectHandle fields = form.getKey("/Fields");
    if (!fields.isArray()) {
        form.replaceKey("/Fields", QPDFObjectHandle::newArray());
        fields = form.getKey("/Fields");
    }
    fields.appendItem(*field);
    if (fields.isIndirect())
        update.changed(fields);
}

void add_to_page(update_builder &update, target &t, QPDFObjectHandle field) {
    QPDFObjectHandle page = t.page;
    QPDFObjectHandle annots = page.getKey("/Annots");
    if (!annots.isArray()) {
        page.replaceKey("/Annots", QPDFObjectHandle::newArray());
        annots = page.getKey("/Annots");
    }
    annots.appendItem(field);
    update.changed(annots.isIndirect() ? annots : page);
}

void check_capture(const vantix_signature_capture &capture) {
    if (vantix_signature_point_count(&capture) == 0)
        throw document_error("The signature has no points.");
}

}  // namespace

std::string sign_pdf(const pdf_file &original, const std::string &file_name,
                     const vantix_signature_capture &capture, const vantix_document_sign_options &o) {
    check_capture(capture);
    // Our own parse: the objects change below, the caller's document does not.
    const pdf_file file(original.bytes(), file_name);
    QPDF &pdf = file.qpdf();
    target t = find_target(pdf, o.placement);
    if (!o.signer_key != !o.signer_cert)
        throw document_error("A signer key needs its certificate, and a certificate its key.");
    std::optional<pades_signer> signer;
    if (o.signer_key)
        signer.emplace(o.signer_key, o.signer_cert, o.chain, o.chain_count);
    const clock_time when = time_of(o.signing_time);

    update_builder update(file);
    QPDFObjectHandle ap = appearance(update, t, capture, o.name ? std::string(o.name) + ", " + when.day : "");
    std::optional<QPDFObjectHandle> record;
    if (o.recipient_count)
        record = embed_record(update, file, sealed_record(file, capture, o), when.pdf_date);
    std::optional<QPDFObjGen> sig;
    std::size_t contents_size = 0;
    if (signer) {
        sig = update.reserve();
        contents_size = signer->size_bound();
        update.add({*sig, signature_dictionary(o, when, contents_size)});
    }

    const bool is_new = t.field.isNull();
    QPDFObjectHandle field = t.field, widget = t.widget;
    std::optional<QPDFObjGen> new_id;
    if (is_new) {
        new_id = update.reserve();
        field = widget = QPDFObjectHandle::newDictionary();
        field.replaceKey("/Type", pdf_name("/Annot"));
        field.replaceKey("/Subtype", pdf_name("/Widget"));
        field.replaceKey("/FT", pdf_name("/Sig"));
        field.replaceKey("/T", pdf_text(t.field_name.c_str()));
        field.replaceKey("/F", pdf_integer(4));  // printed
        field.replaceKey("/Rect", numbers({t.rect.left, t.rect.bottom, t.rect.right, t.rect.top}));
        field.replaceKey("/P", t.page);
    }
    widget.replaceKey("/AP", ap);
    if (record)
        widget.replaceKey("/AF", QPDFObjectHandle::newArray({*record}));
    if (sig)
        field.replaceKey("/V", update.reference(*sig));
    if (is_new) {
        update.add({*new_id, field.unparse()});
        add_to_page(update, t, update.reference(*new_id));
        register_field(update, pdf, update.reference(*new_id));
    } else {
        update.changed(field);
        update.changed(widget);
        register_field(update, pdf, std::nullopt);
    }
    file.check_undamaged();

    const std::vector<pdf_object> objects = update.objects();
    written_update written = incremental_update(file, objects);
    std::string out = file.bytes() + written.bytes;
    if (signer) {
        std::size_t body = 0;
        for (std::size_t i = 0; i < objects.size(); ++i)
            if (objects[i].id == *sig)
                body = written.offsets[i];
        fill_signature(out, body, contents_size, *signer);
    }
    return out;
}

}  // namespace vantix::document
