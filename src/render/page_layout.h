// Laying out the lines of a page: line-start clefs and time signatures, respacing, breaking the lines that are
// too long, justifying lines to the line length, and the finishing pass after it.
#pragma once

#include <optional>

#include "render/document_spacing.h"
#include "render/line_breaks.h"

namespace notavera {

class ScoreDocument;
class UiServices;

enum class PageLayoutMode {
    JustifiedPage = 111,    // lines prepared, respaced, broken, then fitted to the line length
    JustifyPage = 112,      // every line stretched to the line length as it stands
    FinalPass = 113,        // lines still too long are broken and lines justified; the step becomes "Taille du Pas"
    RawPage = 114,          // lines prepared, respaced with the step and broken, not justified
    FinishRaw = 300,        // the finishing passes: the cursor finds its element again on its staff
    FinishJustified = 301,
};

// `LayOutPage` on the document's current page, with the environment's distances after signs. `step`, when given,
// is the step the respacing starts from. Music that a broken line pushes off the page's last line goes to the next
// page (appended after the score's last page), whose receiving lines are respaced and broken in turn; a line that
// cannot be broken shows message 51 through `ui`. Returns 1 when the page was laid out, 0 without a page.
int LayOutPage(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, PageLayoutMode mode,
               std::optional<int> step = std::nullopt);
// The same as one pass of a command that lays the page out several times: lines already in `reported` do not show
// message 51 again.
int LayOutPage(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, PageLayoutMode mode,
               std::optional<int> step, UnbreakableLines& reported);

// Stretches a line so that it ends at the line length: a final bar on the line's end, a last note or rest three
// step units before it. The line-start signs stay; the last line of a piece is stretched only when it is two thirds
// full, and lines that run past the line length by more than ten step units are left alone. True when x changed.
bool JustifyLine(PageRecord& page, LineRange line, int stepUnit, bool lastOfPiece);

}  // namespace notavera
