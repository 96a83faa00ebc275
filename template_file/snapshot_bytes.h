#pragma once

#include "template_file/template_file.h"

#include <functional>

namespace permora {

// The bytes Save Unicode writes for the template, handed to the sink as EncodeTemplate
// hands them, for a thread other than the one that changes the template: going() is asked
// before each target, and false from it stops the encoding there. False when it stopped or
// the sink refused a block.
bool EncodeSnapshot(const SecurityTemplate& tmpl, const ByteSink& sink,
                    const std::function<bool()>& going);

} // namespace permora
