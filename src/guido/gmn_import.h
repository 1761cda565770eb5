// Reading a GUIDO piece into a document: the whole reading (mode 0) written into the staves of page 1.
// What was converted before a reading error stays in the score.
#pragma once

#include <filesystem>
#include <string_view>

#include "guido/gmn_reader.h"
#include "score/score_document.h"

namespace notavera {

// Both return the reader's result (gmnReadOk, gmnCannotOpen or the parser's failure code) and leave the
// document on the first staff of page 1.
int ImportGuidoText(ScoreDocument& doc, std::string_view text, const GmnErrorSink& onError);
int ImportGuidoFile(ScoreDocument& doc, const std::filesystem::path& path, const GmnErrorSink& onError);

}  // namespace notavera
