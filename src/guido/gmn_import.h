// Reading a GUIDO piece into a document: the whole reading (mode 0) written into the staves of page 1, and the
// import the user asks for, which then lays the piece out. What was converted before a reading error stays in
// the score.
#pragma once

#include <filesystem>
#include <string_view>

#include "guido/gmn_reader.h"
#include "render/spacing_settings.h"
#include "score/score_document.h"

namespace notavera {

// Both return the reader's result (gmnReadOk, gmnCannotOpen or the parser's failure code) and leave the
// document on the first staff of page 1.
int ImportGuidoText(ScoreDocument& doc, std::string_view text, const GmnErrorSink& onError);
int ImportGuidoFile(ScoreDocument& doc, const std::filesystem::path& path, const GmnErrorSink& onError);

// The reading, its errors shown as "Erreur" boxes, then the piece laid out in systems over as many pages as it
// needs (`LayOutGuidoPiece`). A file that cannot be opened leaves the document as it was.
int ImportGuidoPiece(ScoreDocument& doc, const std::filesystem::path& path, UiServices& ui,
                     const SignDistances& distances = {});
int ImportGuidoPieceText(ScoreDocument& doc, std::string_view text, UiServices& ui,
                         const SignDistances& distances = {});

}  // namespace notavera
