// The score as a MusicXML 4.0 score-partwise document: the voices followed from page to page as parts (the
// staves of a braced system as one part of several staves), their lines cut into measures at the bars.
#pragma once

#include <optional>
#include <string>

#include "platform/ui_services.h"
#include "platform/xml_building.h"
#include "score/score_document.h"

namespace notavera {

// The document type of a partwise MusicXML 4.0 file.
XmlDocumentType MusicXmlPartwiseType();

// The tree of the whole score. Pages outside the memory window are brought in; nothing when one cannot be read.
std::optional<XmlElement> MusicXmlOfScore(ScoreDocument& doc, UiServices& ui);

// Writes the score as a MusicXML file at `path`; false when a page cannot be read or the file cannot be written.
bool ExportMusicXml(ScoreDocument& doc, UiServices& ui, const std::string& path);

}  // namespace notavera
