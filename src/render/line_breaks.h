// Moving music between lines: breaking a line that is longer than the page's line length at its last bar that
// fits (the rest goes to the voice's next line, on the next page at the page's end), and the user's line cuts.
#pragma once

#include <optional>
#include <vector>

#include "render/document_spacing.h"

namespace notavera {

class ScoreDocument;
class UiServices;

// A line of the score by page number, which stays valid when pages are read or appended.
struct LinePlace {
    int page = 0;
    LineRange line;
    friend bool operator==(const LinePlace&, const LinePlace&) = default;
};

// The next line with the same voices: later on the same page, else on the following page (read into memory or,
// after the last page, appended when `create`; a page that cannot be read shows its message through `ui`).
std::optional<LinePlace> FollowingLine(ScoreDocument& doc, UiServices& ui, const LinePlace& from, bool create);
// The previous line with the same voices, on the same page or the page before it in memory.
std::optional<LinePlace> PrecedingLine(const ScoreDocument& doc, const LinePlace& from);

enum class BreakOutcome {
    Fits,       // nothing beyond the line length
    Broken,     // the music after the cut went to `target`
    Unbreakable,  // no bar to cut at, or no line to take the music: message 51 was shown
};

struct BreakResult {
    BreakOutcome outcome = BreakOutcome::Fits;
    std::optional<LinePlace> target;
};

// The lines message 51 was shown for during one command. A command passes over its page more than once (layout,
// then the final pass); the user hears about each line that cannot be broken once, not once per pass.
class UnbreakableLines {
public:
    // True the first time `place` is reported.
    bool firstReport(const LinePlace& place);

private:
    std::vector<LinePlace> reported_;
};

// Breaks `place` when its music runs past the line length: at the last bar column of the block that fits, the
// music after it moves to the start of the following line (after that line's clef), whose own music moves right.
// A line that cannot be broken shows message 51 unless `reported` already holds it.
BreakResult BreakLongLine(ScoreDocument& doc, UiServices& ui, const LinePlace& place, UnbreakableLines& reported);

enum class LineCut {
    Up,    // the music before x goes to the end of the previous line
    Down,  // the music from x on goes to the start of the next line
};

enum class LineCutOutcome {
    Moved,        // the music went to the other line; both lines were respaced
    SplitsGroup,  // the cut would split a beam group or a tuplet on one of the staves: nothing changed
    NoLine,       // nothing to move, or no line to take it: nothing changed
};

// Cuts the block `here` at x: Down sends the music from x on to the start of the following line (appended after
// the score's last page when needed), Up sends the music before x to the end of the preceding line.
LineCutOutcome CutBlock(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, const LinePlace& here,
                        int x, LineCut direction);

}  // namespace notavera
