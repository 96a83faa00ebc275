#include "ui/recovery.h"

#include "template_file/template_file.h"

namespace recovery {

std::string Write(const permora::SecurityTemplate& tmpl, const std::string& folder,
                  const Origin* origin) {
    return Write(
        [&tmpl](const BlockSink& sink) {
            return permora::EncodeTemplate(tmpl, permora::Encoding::Unicode, sink);
        },
        folder, origin);
}

} // namespace recovery
