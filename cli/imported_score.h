// What the import subcommands share: the imported score saved as the output file.
#pragma once

#include <string>

#include "shell/editor_context.h"

namespace notavera::cli {

// Saves the imported document as `out` and removes its work files. False, with message 2 on standard error, when
// the file cannot be written.
bool SaveImportedScore(EditorContext& ctx, const std::string& out);

}  // namespace notavera::cli
