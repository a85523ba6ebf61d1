// SPDX-License-Identifier: Apache-2.0
// An incremental update: new and changed objects appended to a PDF's bytes
// with a cross-reference section and trailer of their own whose /Prev
// points at the file's last one. qpdf reads PDF but rewrites whole files,
// so this small writer is ours; what it writes comes from qpdf's objects.
#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf_file.hpp"

namespace vantix::document {

struct pdf_object {
    QPDFObjGen id;
    std::string body;  // what goes between "N G obj" and "endobj"
};

// A changed indirect object, as qpdf now holds it (no streams).
pdf_object changed_object(QPDFObjectHandle object);
// A stream: `dictionary` (direct) with /Length set to the data's.
pdf_object stream_object(QPDFObjGen id, QPDFObjectHandle dictionary, const std::string &data);
// The same, the data compressed (/FlateDecode, qpdf's deflate).
pdf_object compressed_stream_object(QPDFObjGen id, QPDFObjectHandle dictionary, const std::string &data);

struct written_update {
    std::string bytes;                 // to append to the file's bytes
    std::vector<std::size_t> offsets;  // where each object's body starts, in the whole file
};

// The update holding `objects`, in a cross-reference table or, when the
// file's last section is a cross-reference stream, in a stream too.
written_update incremental_update(const pdf_file &file, const std::vector<pdf_object> &objects);

// The first object number no revision of the file uses.
int first_free_number(const pdf_file &file);

}  // namespace vantix::document
