// SPDX-License-Identifier: Apache-2.0
#include "incremental.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>

#include "errors.hpp"

namespace vantix::document {
namespace {

// The offset after the file's last "startxref": qpdf found its sections
// from there, and the update's /Prev names the same one.
std::size_t last_xref_offset(const std::string &bytes) {
    const std::size_t at = bytes.rfind("startxref");
    if (at == std::string::npos || bytes.size() - at > 2048)
        throw document_error("The file is not a readable PDF: it has no startxref at its end.");
    std::size_t i = at + 9;
    while (i < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[i])))
        ++i;
    std::size_t offset = 0;
    const auto [end, error] = std::from_chars(bytes.data() + i, bytes.data() + bytes.size(), offset);
    if (error != std::errc() || end == bytes.data() + i || offset >= bytes.size())
        throw document_error("The file is not a readable PDF: its startxref is no offset.");
    return offset;
}

bool ends_in_xref_stream(QPDFObjectHandle trailer) {
    return trailer.getKey("/Type").isNameAndEquals("/XRef");
}

// Runs of consecutive object numbers, as both section kinds group them.
std::vector<std::pair<int, int>> subsections(const std::vector<int> &numbers) {
    std::vector<std::pair<int, int>> runs;  // first, count
    for (int n : numbers) {
        if (!runs.empty() && runs.back().first + runs.back().second == n)
            ++runs.back().second;
        else
            runs.push_back({n, 1});
    }
    return runs;
}

// The trailer entries an update carries over (never /Encrypt: we refuse those files).
std::string carried_entries(QPDFObjectHandle trailer) {
    std::string out;
    for (const char *key : {"/Root", "/Info", "/ID"})
        if (trailer.hasKey(key))
            out += std::string(" ") + key + " " + trailer.getKey(key).unparse();
    return out;
}

struct entry {
    int number;
    int generation;
    std::size_t offset;
};

void append_table(std::string &out, std::vector<entry> entries, QPDFObjectHandle trailer, int size,
                  std::size_t prev) {
    out += "xref\n";
    std::vector<int> numbers;
    for (const entry &e : entries)
        numbers.push_back(e.number);
    std::size_t next = 0;
    for (const auto &[first, count] : subsections(numbers)) {
        out += std::to_string(first) + " " + std::to_string(count) + "\n";
        for (int i = 0; i < count; ++i, ++next) {
            char line[24];
            std::snprintf(line, sizeof line, "%010zu %05d n\r\n", entries[next].offset,
                          entries[next].generation);
            out += line;
        }
    }
    out += "trailer\n<< /Size " + std::to_string(size) + carried_entries(trailer) + " /Prev " +
           std::to_string(prev) + " >>\n";
}

void append_stream(std::string &out, std::size_t base, std::vector<entry> entries, QPDFObjectHandle trailer,
                   int number, std::size_t prev) {
    const std::size_t offset = base + out.size();
    entries.push_back({number, 0, offset});
    std::vector<int> numbers;
    std::string rows, index;
    for (const entry &e : entries) {
        numbers.push_back(e.number);
        // Type 1 (in use), a 4-byte offset, a 2-byte generation.
        const unsigned char row[7] = {1,
                                      static_cast<unsigned char>(e.offset >> 24),
                                      static_cast<unsigned char>(e.offset >> 16),
                                      static_cast<unsigned char>(e.offset >> 8),
                                      static_cast<unsigned char>(e.offset),
                                      static_cast<unsigned char>(e.generation >> 8),
                                      static_cast<unsigned char>(e.generation)};
        rows.append(reinterpret_cast<const char *>(row), sizeof row);
    }
    for (const auto &[first, count] : subsections(numbers)) {
        if (!index.empty())
            index += ' ';
        index.append(std::to_string(first)).append(" ").append(std::to_string(count));
    }
    out += std::to_string(number) + " 0 obj\n<< /Type /XRef /Size " + std::to_string(number + 1) +
           carried_entries(trailer) + " /Prev " + std::to_string(prev) + " /W [1 4 2] /Index [" + index +
           "] /Length " + std::to_string(rows.size()) + " >>\nstream\n" + rows + "\nendstream\nendobj\n";
    out += "startxref\n" + std::to_string(offset) + "\n%%EOF\n";
}

}  // namespace

pdf_object changed_object(QPDFObjectHandle object) { return {object.getObjGen(), object.unparseResolved()}; }

pdf_object stream_object(QPDFObjGen id, QPDFObjectHandle dictionary, const std::string &data) {
    dictionary.replaceKey("/Length", QPDFObjectHandle::newInteger(static_cast<long long>(data.size())));
    return {id, dictionary.unparse() + "\nstream\n" + data + "\nendstream"};
}

pdf_object compressed_stream_object(QPDFObjGen id, QPDFObjectHandle dictionary, const std::string &data) {
    Pl_Buffer buffer("compressed");
    Pl_Flate deflate("deflate", &buffer, Pl_Flate::a_deflate);
    deflate.write(reinterpret_cast<const unsigned char *>(data.data()), data.size());
    deflate.finish();
    const std::shared_ptr<Buffer> out = buffer.getBufferSharedPointer();
    dictionary.replaceKey("/Filter", QPDFObjectHandle::newName("/FlateDecode"));
    return stream_object(id, dictionary,
                         std::string(reinterpret_cast<const char *>(out->getBuffer()), out->getSize()));
}

int first_free_number(const pdf_file &file) {
    QPDFObjectHandle size = file.qpdf().getTrailer().getKey("/Size");
    const long long trailer_size = size.isInteger() ? size.getIntValue() : 0;
    const long long known = static_cast<long long>(file.qpdf().getObjectCount()) + 1;
    return static_cast<int>(std::clamp(std::max(trailer_size, known), 1LL, 8388607LL));
}

written_update incremental_update(const pdf_file &file, const std::vector<pdf_object> &objects) {
    const std::string &base = file.bytes();
    const std::size_t prev = last_xref_offset(base);
    QPDFObjectHandle trailer = file.qpdf().getTrailer();
    written_update update;
    if (!base.empty() && base.back() != '\n' && base.back() != '\r')
        update.bytes += "\n";
    std::vector<entry> entries;
    int size = first_free_number(file);
    for (const pdf_object &o : objects) {
        const std::string head =
            std::to_string(o.id.getObj()) + " " + std::to_string(o.id.getGen()) + " obj\n";
        entries.push_back({o.id.getObj(), o.id.getGen(), base.size() + update.bytes.size()});
        update.bytes += head;
        update.offsets.push_back(base.size() + update.bytes.size());
        update.bytes += o.body + "\nendobj\n";
        size = std::max(size, o.id.getObj() + 1);
    }
    std::sort(entries.begin(), entries.end(),
              [](const entry &a, const entry &b) { return a.number < b.number; });
    if (ends_in_xref_stream(trailer)) {
        append_stream(update.bytes, base.size(), entries, trailer, size, prev);
    } else {
        const std::size_t offset = base.size() + update.bytes.size();
        append_table(update.bytes, entries, trailer, size, prev);
        update.bytes += "startxref\n" + std::to_string(offset) + "\n%%EOF\n";
    }
    return update;
}

}  // namespace vantix::document
