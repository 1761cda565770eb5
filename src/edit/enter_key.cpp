// The tools that act on the element at the cursor through Enter.
#include "edit/enter_key.h"

#include "edit/entry_place.h"
#include "edit/respelling.h"

namespace notavera {

namespace {

enum Tool { HideTool = 300, RespellTool = 301, HeadSideTool = 302, StaccatoSideTool = 303, GroupSideTool = 304 };
constexpr unsigned headSideBit = 20;
constexpr unsigned chordBit = 18;
constexpr unsigned lastShape = 6;

void ToggleHidden(ElementRecord& e, int hideKind) {
    switch (hideKind) {
    case 1: e.w0().setHidden(!e.w0().hidden()); break;
    case 2:
        if (!e.isSign()) e.noteWord().setHiddenAccidental(!e.noteWord().hiddenAccidental());
        break;
    case 3: e.w0().setHiddenDots(!e.w0().hiddenDots()); break;
    default: break;
    }
}

bool ApplyTool(ScoreDocument& doc, ElementRecord& e, int tool, int hideKind) {
    switch (tool) {
    case HideTool: ToggleHidden(e, hideKind); return true;
    case RespellTool: return Respell(doc, *doc.staff(), doc.currentElement, true);
    case HeadSideTool:
        if (e.isNote() && !e.noteWord().bit(chordBit)) e.noteWord().setBit(headSideBit, !e.noteWord().bit(headSideBit));
        return true;
    case StaccatoSideTool:
        if (e.isNote()) e.noteWord().setStaccatoOtherSide(!e.noteWord().staccatoOtherSide());
        return true;
    case GroupSideTool: e.w0().setGroupMarkSide(e.w0().groupMarkSide() == 1 ? 2 : 1); return true;
    default: return false;
    }
}

}  // namespace

bool EnterActsOnElement(const ScoreDocument& doc, int tool) {
    const unsigned shape = doc.insertion.headShape;
    return (shape >= 1 && shape <= lastShape) || (tool >= HideTool && tool <= GroupSideTool);
}

bool EnterOnElement(ScoreDocument& doc, int x, int tool, int hideKind) {
    ElementRecord* e = ElementAtX(doc, x);
    if (!e) return false;
    const unsigned shape = doc.insertion.headShape;
    if (shape >= 1 && shape <= lastShape) {
        if (e->isSign()) return false;
        e->noteWord().setHeadShape(shape);
    } else if (!ApplyTool(doc, *e, tool, hideKind)) {
        return false;
    }
    doc.markModified();
    return true;
}

}  // namespace notavera
