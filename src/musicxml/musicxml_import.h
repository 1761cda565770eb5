// Importing a MusicXML score into a document: the file's reading checked, the score converted and laid out by the
// GUIDO import's builders and layout, and what the score cannot hold shown once, in one message.
#pragma once

#include <string>

#include "platform/ui_services.h"
#include "platform/xml_tree.h"
#include "render/spacing_settings.h"
#include "score/score_document.h"

namespace notavera {

// 1 when the score was imported; 0, after message 4 naming `fileName` and where the reading stopped, when the file
// is not well-formed XML or not MusicXML.
int ImportMusicXml(ScoreDocument& doc, const XmlReading& reading, const std::string& fileName, UiServices& ui,
                   const SignDistances& distances = {});

}  // namespace notavera
