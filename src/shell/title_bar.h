// The main window's title: the document, the page, the current staff and voice, the rhythmic group
// and the page marker, refreshed after loads, saves, page and marker changes.
#pragma once

#include <string>

namespace notavera {

struct EditorContext;

// What the title bar shows, in the order it shows it.
struct TitleBarInfo {
    std::string fileTitle;       // "" for an untitled document
    unsigned page = 0;           // the current page, with the continuous view's offset
    unsigned pageCount = 0;
    unsigned staffHighByte = 0;  // fourth byte of the current staff's voice word
    unsigned staffGroupPos = 0;  // second byte of the current staff's voice word
    unsigned staffNumber = 0;    // the current staff's index on its page + 1; 0 without a staff
    unsigned voice = 0;          // first byte of the current staff's voice word
    unsigned groupNum = 0;       // the current rhythmic group
    unsigned groupDen = 0;
    int markerPage = 0;          // 0 when no page is marked
};

std::string TitleBarText(const TitleBarInfo& info);
TitleBarInfo TitleBarInfoOf(const EditorContext& ctx);
// Writes the title on the main window once the document is ready; before that it leaves it alone.
void UpdateTitleBar(EditorContext& ctx);

}  // namespace notavera
