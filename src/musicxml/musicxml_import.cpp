// The MusicXML import: message 4 for what cannot be read, the conversion, the layout and the list of what was left out.
#include "musicxml/musicxml_import.h"

#include "guido/gmn_import.h"
#include "musicxml/musicxml_to_gmn.h"
#include "platform/messages.h"

namespace notavera {

namespace {

constexpr int cannotRead = 4;

void ShowUnreadable(UiServices& ui, const std::string& fileName, long line, long column) {
    std::string text = fileName;
    if (line > 0) text += " (ligne " + std::to_string(line) + ", colonne " + std::to_string(column) + ")";
    ShowError(ui, cannotRead, &text);
}

}  // namespace

int ImportMusicXml(ScoreDocument& doc, const XmlReading& reading, const std::string& fileName, UiServices& ui,
                   const SignDistances& distances) {
    if (!reading.ok) {
        ShowUnreadable(ui, fileName, reading.line, reading.column);
        return 0;
    }
    const MusicXmlConversion conversion = ConvertMusicXml(reading.root);
    if (!conversion.isMusicXml) {
        ShowUnreadable(ui, fileName, reading.root.line, reading.root.column);
        return 0;
    }
    ImportGuidoPieceText(doc, conversion.gmn, ui, distances);
    if (!conversion.leftOut.empty()) {
        const std::string text = "Non repris de " + fileName + " : " + DescribeLeftOut(conversion.leftOut);
        ui.showMessage(MessageBoxRequest{"Message", 0, text, MessageIcon::Information, MessageButtons::Ok});
    }
    return 1;
}

}  // namespace notavera
