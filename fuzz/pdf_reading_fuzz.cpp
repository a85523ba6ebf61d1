// SPDX-License-Identifier: Apache-2.0
// The untrusted-PDF reading of the document library: parsing, looking up
// signature fields and page geometry for each way a signature is placed,
// and reading every signature field as verify does (no key: the sealed
// records are found, not opened). A refusal is fine; a crash, a leak or
// undefined behaviour is not.
#include <cstdint>
#include <exception>
#include <string>

#include "document/pdf_file.hpp"
#include "document/placement.hpp"
#include "document/verification.hpp"

namespace {

// qpdf reads large files slowly, not differently: small inputs find more.
constexpr std::size_t max_input = 64 * 1024;

const vantix_document_placement placements[] = {
    {nullptr, 0, 0, 0, 0, 0},                   // the first empty signature field
    {"Signature1", 0, 0, 0, 0, 0},              // a field by name
    {nullptr, 1, 10, 10, 100, 40},              // a new field on page 1
    {nullptr, 2, 1e308, -1e308, 1e308, 1e308},  // absurd numbers
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size > max_input)
        return 0;
    try {
        const vantix::document::pdf_file file(std::string(reinterpret_cast<const char *>(data), size),
                                              "fuzz.pdf");
        for (const vantix_document_placement &p : placements) {
            try {
                vantix::document::find_target(file.qpdf(), p);
            } catch (const std::exception &) {
            }
        }
        vantix::document::verify_pdf(file, nullptr);
    } catch (const std::exception &) {
    }
    return 0;
}
