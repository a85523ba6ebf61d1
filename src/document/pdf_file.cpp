// SPDX-License-Identifier: Apache-2.0
#include "pdf_file.hpp"

#include <openssl/sha.h>

#include <filesystem>
#include <fstream>
#include <qpdf/QPDFExc.hh>

#include "errors.hpp"

namespace vantix::document {

sha256_digest sha256_of(std::string_view bytes) {
    sha256_digest digest;
    SHA256(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), digest.data());
    return digest;
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw document_error("Cannot open " + path + ".");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        throw document_error("Cannot read " + path + ".");
    if (static_cast<unsigned long long>(size) > VANTIX_DOCUMENT_MAX_SIZE)
        throw document_error(path + " is over 1 GiB; it is not read.");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size))
        throw document_error("Cannot read " + path + ".");
    return bytes;
}

namespace {

constexpr const char *encrypted = "The PDF is encrypted: encrypted documents cannot be signed.";

std::string damaged(const std::string &what) { return "The file is not a readable PDF: " + what; }

}  // namespace

pdf_file::pdf_file(std::string bytes, const std::string &name)
    : bytes_(std::move(bytes)), sha256_(sha256_of(bytes_)), qpdf_(std::make_unique<QPDF>()) {
    // A file qpdf has to repair is refused: an update appended to it would
    // point into structures other readers do not find.
    qpdf_->setAttemptRecovery(false);
    qpdf_->setSuppressWarnings(true);
    try {
        qpdf_->processMemoryFile(name.c_str(), bytes_.data(), bytes_.size());
        if (qpdf_->isEncrypted())
            throw document_error(encrypted);
        if (!qpdf_->getRoot().isDictionary() || !qpdf_->getRoot().getKey("/Pages").isDictionary())
            throw document_error(damaged("it has no page tree."));
        QPDFObjectHandle title = qpdf_->getTrailer().getKey("/Info").getKey("/Title");
        if (title.isString())
            title_ = title.getUTF8Value();
    } catch (const QPDFExc &e) {
        // Files with a user password fail to open; files without one open.
        if (e.getErrorCode() == qpdf_e_password)
            throw document_error(encrypted);
        throw document_error(damaged(e.getMessageDetail()));
    } catch (const std::logic_error &e) {
        throw document_error(damaged(e.what()));
    }
    check_undamaged();
    if (title_.empty())
        title_ = std::filesystem::path(name).filename().string();
}

void pdf_file::check_undamaged() const {
    if (qpdf_->anyWarnings()) {
        const std::vector<QPDFExc> warnings = qpdf_->getWarnings();
        throw document_error(
            damaged(warnings.empty() ? "qpdf reports damage." : warnings.front().getMessageDetail()));
    }
}

}  // namespace vantix::document
