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

namespace vantix::document {
namespace {

QPDFObjectHandle text(const char *value) { return QPDFObjectHandle::newUnicodeString(value ? value : ""); }
QPDFObjectHandle name(const char *value) { return QPDFObjectHandle::newName(value); }
QPDFObjectHandle integer(long long value) { return QPDFObjectHandle::newInteger(value); }

QPDFObjectHandle numbers(std::initializer_list<double> values) {
    QPDFObjectHandle array = QPDFObjectHandle::newArray();
    for (double v : values)
        array.appendItem(QPDFObjectHandle::newReal(v, 4, true));
    return array;
}

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

// The objects of the update, numbered from the file's first free number.
class update_builder {
public:
    explicit update_builder(const pdf_file &file) : file_(file), next_(first_free_number(file)) {}

    // A new object's number. qpdf holds a placeholder under it, so that
    // references to it are kept (a reference to nothing reads as null,
    // which a dictionary drops).
    QPDFObjGen reserve() {
        const QPDFObjGen id(next_++, 0);
        file_.qpdf().replaceObject(id, QPDFObjectHandle::newDictionary());
        return id;
    }
    QPDFObjectHandle reference(QPDFObjGen id) { return file_.qpdf().getObject(id); }
    void add(pdf_object object) { objects_.push_back(std::move(object)); }
    // An object of the file, changed: written whole in the update (once).
    void changed(QPDFObjectHandle object) {
        for (QPDFObjGen id : changed_)
            if (id == object.getObjGen())
                return;
        changed_.push_back(object.getObjGen());
    }
    std::vector<pdf_object> objects() const {
        std::vector<pdf_object> all = objects_;
        for (QPDFObjGen id : changed_)
            all.push_back(changed_object(file_.qpdf().getObject(id)));
        return all;
    }

private:
    const pdf_file &file_;
    int next_;
    std::vector<pdf_object> objects_;
    std::vector<QPDFObjGen> changed_;
};

// The sealed record as an embedded file associated with the field: its
// file specification's reference.
QPDFObjectHandle embed_record(update_builder &update, const pdf_file &file, const std::string &sealed,
                              const clock_time &when) {
    const QPDFObjGen stream = update.reserve(), spec = update.reserve();
    QPDFObjectHandle params = QPDFObjectHandle::newDictionary();
    params.replaceKey("/Size", integer(static_cast<long long>(sealed.size())));
    params.replaceKey("/ModDate", text(when.pdf_date.c_str()));
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", name("/EmbeddedFile"));
    dict.replaceKey("/Subtype", name("/application/pkcs7-mime"));
    dict.replaceKey("/Params", params);
    update.add(stream_object(stream, dict, sealed));

    QPDFObjectHandle ef = QPDFObjectHandle::newDictionary();
    ef.replaceKey("/F", update.reference(stream));
    ef.replaceKey("/UF", update.reference(stream));
    QPDFObjectHandle filespec = QPDFObjectHandle::newDictionary();
    filespec.replaceKey("/Type", name("/Filespec"));
    filespec.replaceKey("/F", text("signature-record.p7m"));
    filespec.replaceKey("/UF", text("signature-record.p7m"));
    filespec.replaceKey("/Desc", text("Sealed signature record: pen data, bound to the signed revision"));
    filespec.replaceKey("/AFRelationship", name("/Data"));
    filespec.replaceKey("/EF", ef);
    filespec.replaceKey(record_length_key, integer(static_cast<long long>(file.bytes().size())));
    update.add({spec, filespec.unparse()});
    return update.reference(spec);
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

QPDFObjectHandle appearance(update_builder &update, target &t, const vantix_signature_capture &capture,
                            const std::string &caption) {
    const bool turned = t.view.rotation % 180 != 0;
    const double width = turned ? t.rect.height() : t.rect.width();
    const double height = turned ? t.rect.width() : t.rect.height();
    const std::array<double, 6> m = upright_matrix(t.view.rotation);
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", name("/XObject"));
    dict.replaceKey("/Subtype", name("/Form"));
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
    out += " /M " + text(when.pdf_date.c_str()).unparse();
    if (o.reason)
        out += " /Reason " + text(o.reason).unparse();
    if (o.location)
        out += " /Location " + text(o.location).unparse();
    if (o.name)
        out += " /Name " + text(o.name).unparse();
    return out + " >>";
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
    form.replaceKey("/SigFlags", integer(3));
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
        record = embed_record(update, file, sealed_record(file, capture, o), when);
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
        field.replaceKey("/Type", name("/Annot"));
        field.replaceKey("/Subtype", name("/Widget"));
        field.replaceKey("/FT", name("/Sig"));
        field.replaceKey("/T", text(t.field_name.c_str()));
        field.replaceKey("/F", integer(4));  // printed
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
        const std::size_t range = out.find(byte_range_placeholder, body);
        const std::size_t gap = out.find("/Contents <", body) + 10, gap_end = gap + 2 * contents_size + 2;
        char ranges[40];
        std::snprintf(ranges, sizeof ranges, "[0 %010zu %010zu %010zu]", gap, gap_end, out.size() - gap_end);
        out.replace(range, std::strlen(byte_range_placeholder), ranges);
        std::string covered = out.substr(0, gap);
        covered.append(out, gap_end);
        const std::string cms = signer->sign(covered);
        if (cms.size() > contents_size)
            throw document_error("The signature is larger than the room made for it.");
        static const char digits[] = "0123456789abcdef";
        for (std::size_t i = 0; i < cms.size(); ++i) {
            out[gap + 1 + 2 * i] = digits[static_cast<unsigned char>(cms[i]) >> 4];
            out[gap + 2 + 2 * i] = digits[static_cast<unsigned char>(cms[i]) & 15];
        }
    }
    return out;
}

}  // namespace vantix::document
