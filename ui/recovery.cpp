#include "ui/recovery.h"

#include "template_file/template_file.h"

namespace recovery {

std::string Write(const permora::SecurityTemplate& tmpl, const std::string& folder) {
    return Write(
        [&tmpl](const BlockSink& sink) {
            return permora::EncodeTemplate(tmpl, permora::Encoding::Unicode, sink);
        },
        folder);
}

} // namespace recovery
