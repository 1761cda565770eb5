// "Comprimer": the document rewritten without the dead space that saving in place leaves.
#pragma once

#include "score/score_document.h"

namespace notavera {

class UiServices;

// Publishes the working file over the document (the previous version becomes the ".bak"), then recreates the
// document with its pages one after the other from 4423 in page order; the working file takes the same layout.
// Message 2 when the publishing save fails, message 6 when the document cannot be recreated. True on success;
// the document is then not modified.
bool CompressDocument(ScoreDocument& doc, UiServices& ui);

}  // namespace notavera
