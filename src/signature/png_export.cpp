#include "exporters.hpp"

namespace vantix::signature {

std::string render_png(const snapshot &, const vantix_signature_export_options &) { return {}; }

}  // namespace vantix::signature
