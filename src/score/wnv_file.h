// Export of the open document to a ".wnv" interchange file and import of one into a new ".mus" file.
#pragma once

#include <filesystem>

#include "score/score_document.h"

namespace notavera {

class UiServices;

// Writes the whole document (pages in memory as they are, the others from the working file) to `target`,
// whose file name becomes the header title. Message 24 names the file on success; message 8 on a write
// failure, message 9 when a page cannot be read. The file is written beside the target and renamed over it.
bool ExportInterchange(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& target);

// Reads `source` into the new document file `target`: header version 2.2 titled with the target's name, the
// fonts, the pages one after the other from 4423 in page order, the optional blocks. Pages of format 2.0 take
// `model`. An existing target is first copied to the ".old" name. The file is complete before it bears the
// target's name: a failed import leaves the target as it was. Message 1 when the signature, header or fonts
// cannot be read or the file cannot be written, message 9 when a page cannot be read.
bool ImportInterchange(UiServices& ui, const std::filesystem::path& source, const std::filesystem::path& target,
                       const StaffLayoutModel& model);

}  // namespace notavera
