// Cursor movement: a move code becomes a request (step, element, staff, Home forms), the request is carried out
// on the current staff, the position is kept within the line and the window is asked to follow.
#include "shell/cursor_move.h"

#include <algorithm>

#include "render/page_staves.h"
#include "shell/cross_staff.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

enum class Request { None, StepLeft, StepRight, Snap, Previous, Next, Up, UpWrap, Down, DownWrap };

struct Move {
    EditorContext& ctx;
    const CursorFrame& f;
    PageRegion view;
    int code;
    int x;
    ViewAction action = ViewAction::None;

    ScoreDocument& doc() { return ctx.doc; }
    const StaffRecord* staff() { return doc().staff(); }
    int count() { return staff() ? static_cast<int>(staff()->elements.size()) : 0; }
    int xAt(int i) { return staff()->elements[static_cast<std::size_t>(i)].x; }
    int staffCount() { return static_cast<int>(f.staffY.size()); }
    int start() { return f.staffStart.empty() ? 0 : f.staffStart[static_cast<std::size_t>(doc().currentStaff)]; }
    double staffY() { return f.staffY.empty() ? 0.0 : f.staffY[static_cast<std::size_t>(doc().currentStaff)]; }
    bool onElement() { return doc().element() != nullptr && doc().element()->x == x; }

    bool atEnd() {
        const int n = count();
        return n == 0 || (x >= xAt(n - 1) && doc().currentElement >= n - 1);
    }
    bool atStart() { return count() == 0 || (x <= xAt(0) && doc().currentElement <= 0); }
};

void Replace(Move& m, enum Replace rule) { m.x = ReplaceOnStaff(m.doc(), rule, m.x, m.start()); }

// The last staff the Down form of Home goes to: in the continuous view the last staff of the first system.
int LastStaffForHome(Move& m) {
    if (!m.ctx.shell.view.continuousView) return m.staffCount() - 1;
    return std::max(StavesOfFirstSystem(*m.doc().page()), 1) - 1;
}

// Home followed by an arrow: the four ends of the page.
Request HomeForm(Move& m) {
    CursorState& c = m.ctx.shell.cursor;
    c.pendingHome = false;
    switch (m.code) {
    case MoveLeft:
    case MoveRight:
        m.x = m.code == MoveLeft ? m.start() : m.f.lineLength - m.f.freeStep;
        {
            int snapped = m.x;
            SnapToElement(m.doc(), snapped, true);
        }
        m.action = m.code == MoveLeft ? ViewAction::FullyLeft : ViewAction::FullyRight;
        return Request::None;
    default:
        if (m.ctx.shell.input.insertionOpen) return Request::None;
        m.doc().currentStaff = m.code == MoveUp ? 0 : LastStaffForHome(m);
        Replace(m, Replace::AtOrAfterX);
        m.action = m.code == MoveUp ? ViewAction::Top : ViewAction::Bottom;
        return Request::None;
    }
}

Request RequestOf(Move& m) {
    const int length = m.f.lineLength;
    const bool mask = m.ctx.shell.maskEditing;
    switch (m.code) {
    case MoveBackspace: return m.x > 0 || (mask && m.x > m.view.x0) ? Request::StepLeft : Request::None;
    case MoveSpace: return m.x < length || (mask && m.x < m.doc().pageWidth) ? Request::StepRight : Request::None;
    case MoveSnap: return m.x < length || (mask && m.x < m.doc().pageWidth) ? Request::Snap : Request::None;
    case MoveLeft:
        if (m.x >= 1) return Request::Previous;
        return m.doc().currentStaff > 0 ? Request::UpWrap : Request::None;
    case MoveRight: {
        if (m.x < length) return Request::Next;
        const int n = m.count();
        const bool lastReached = n == 0 || (m.doc().currentElement == n - 1 && m.x >= m.xAt(n - 1));
        if (!lastReached) return Request::Next;
        return m.doc().currentStaff + 1 < m.staffCount() ? Request::DownWrap : Request::None;
    }
    case MoveUp: return Request::Up;
    case MoveDown: return Request::Down;
    default: return Request::None;
    }
}

void LeaveTemplateStaff(EditorContext& ctx) {
    ShellState& shell = ctx.shell;
    shell.input.templateStaffMode = false;
    ctx.doc.currentStaff = shell.cursor.templateSavedStaff;
    ctx.doc.currentElement = shell.cursor.templateSavedElement;
    ctx.ui.invalidate();
}

void GoUp(Move& m, bool wrap) {
    if (m.ctx.shell.input.insertionOpen) return;
    if (m.staffY() > m.view.y1) {
        m.action = ViewAction::Recentre;
        return;
    }
    if (m.doc().currentStaff > 0) --m.doc().currentStaff;
    Replace(m, wrap ? Replace::Last : Replace::AtOrAfterX);
    if (m.staffY() > m.view.y1 + m.f.staffHeight) m.action = ViewAction::Recentre;
}

bool LastOfGroup(Move& m) {
    const auto v = m.staff()->voice();
    return v.positionInGroup() >= v.groupSize();
}

void GoDown(Move& m, bool wrap) {
    if (m.ctx.shell.input.insertionOpen) return;
    if (m.staffY() < m.view.y0) {
        m.action = ViewAction::Recentre;
        return;
    }
    const bool blocked = m.ctx.shell.view.continuousView && m.staff() && LastOfGroup(m);
    if (m.doc().currentStaff + 1 < m.staffCount() && !blocked) ++m.doc().currentStaff;
    Replace(m, wrap ? Replace::First : Replace::AtOrAfterX);
    if (m.staffY() <= m.view.y0 + 2.0 * m.f.staffHeight || !m.view.containsX(m.x)) m.action = ViewAction::Recentre;
}

void Previous(Move& m) {
    const int n = m.count();
    int& cur = m.doc().currentElement;
    if (n > 0 && !m.atStart()) {
        if (m.atEnd() && m.x > m.xAt(n - 1)) {
            cur = n - 1;
            m.x = m.xAt(cur);
            return;
        }
        if (m.x > m.xAt(cur)) {
            m.x = m.xAt(cur);
            return;
        }
        if (cur > 0) {
            m.x = m.xAt(--cur);
            return;
        }
    }
    m.x = std::max(m.x - m.f.freeStep, 0);
}

void Next(Move& m) {
    const int n = m.count();
    int& cur = m.doc().currentElement;
    if (n > 0 && m.atStart() && m.x < m.xAt(0)) {
        cur = 0;
        m.x = m.xAt(0);
        return;
    }
    if (n > 0 && !m.atEnd()) {
        if (cur < 0) cur = 0;
        if (m.x < m.xAt(cur)) {
            m.x = m.xAt(cur);
            return;
        }
        // Not at the end and not before the current element: a next element exists.
        m.x = m.xAt(++cur);
        return;
    }
    m.x += m.f.freeStep;
}

void Step(Move& m, Request r) {
    if (r == Request::StepLeft) {
        // The step never takes the cursor before the page's left edge.
        m.x = std::max(m.x - m.f.spacingStep, 0);
        SnapToElement(m.doc(), m.x, false);
        return;
    }
    if (r == Request::StepRight) m.x += m.f.spacingStep;
    const ElementRecord* e = m.doc().element();
    if (e != nullptr && m.x != e->x) SnapToElement(m.doc(), m.x, false);
    if (r == Request::Snap && m.staff()) SetOctaveOffset(m.doc(), OctaveFromClef(*m.staff(), m.doc().currentElement));
}

void AfterStaffChange(Move& m) {
    if (m.staff()) SetOctaveOffset(m.doc(), OctaveFromClef(*m.staff(), m.doc().currentElement));
    InsertionState& in = m.doc().insertion;
    in.switches &= ~(SwitchGroup | SwitchT | SwitchL | SwitchC | SwitchM);
    in.noteWordFlags &= ~(1u << 5);
}

void Carry(Move& m, Request r) {
    switch (r) {
    case Request::StepLeft:
    case Request::StepRight:
    case Request::Snap: Step(m, r); break;
    case Request::Previous: Previous(m); break;
    case Request::Next: Next(m); break;
    case Request::Up:
    case Request::UpWrap: GoUp(m, r == Request::UpWrap); break;
    case Request::Down:
    case Request::DownWrap: GoDown(m, r == Request::DownWrap); break;
    case Request::None: break;
    }
    if (r == Request::Up || r == Request::UpWrap || r == Request::Down || r == Request::DownWrap) AfterStaffChange(m);
}

// A note marked for a pending operation loses its marking once the cursor reaches it.
void ForgetMarkedNote(EditorContext& ctx) {
    CursorState& c = ctx.shell.cursor;
    const ElementPlace here{ctx.doc.currentPage, ctx.doc.currentStaff, ctx.doc.currentElement};
    ElementRecord* e = ctx.doc.element();
    if (c.markedNote.empty() || !(c.markedNote == here) || e == nullptr || !e->noteWord().bit(19)) return;
    e->noteWord().setBit(18, false);
    e->noteWord().setBit(19, false);
    c.markedNote = {};
}

void LimitToLine(Move& m) {
    const int n = m.count();
    const int length = m.f.lineLength;
    const bool currentBeyond = m.doc().element() != nullptr && m.doc().element()->x >= length;
    if (!(n > 0 && currentBeyond)) m.x = std::min(m.x, length);
    if (n > 0 && m.xAt(n - 1) > length && m.x == m.xAt(n - 1)) m.ctx.ui.beep();
}

void FollowView(Move& m) {
    const PageRegion& v = m.view;
    const int width = v.x1 - v.x0;
    if (m.action != ViewAction::None) {
        if (!v.containsX(m.x)) m.action = ViewAction::Recentre;
    } else if (m.code != MoveSnap) {
        if (m.x > v.x1 + 0.7 * width || m.x < v.x0 - width) m.action = ViewAction::Recentre;
        else if ((m.code == MoveSpace || m.code == MoveRight) && m.x >= v.x1 - m.f.stepUnit)
            m.action = ViewAction::PageRight;
        else if ((m.code == MoveBackspace || m.code == MoveLeft) && m.x <= v.x0 + m.f.stepUnit)
            m.action = ViewAction::PageLeft;
    }
    if (m.action == ViewAction::None) return;
    ShellState& shell = m.ctx.shell;
    shell.input.navigationState = 0;
    if (PlacementInForce(m.doc()) != PlaceOwn) PlaceStaff(m.ctx, PlaceOwn);
    if (shell.cursor.lastViewPage != m.doc().currentPage) shell.input.templateStaffMode = false;
    shell.cursor.lastViewPage = m.doc().currentPage;
    const unsigned octave = m.doc().insertion.octave;
    m.ctx.ui.followView(m.action);
    m.doc().insertion.octave = octave;
}

// After an arrow the element at the cursor is the highlighted one; a closing parenthesis passes it back.
void Highlight(Move& m) {
    if (!m.onElement()) return;
    int i = m.doc().currentElement;
    const ElementRecord& e = *m.doc().element();
    const bool closing = e.isSignOfType(SignType::Parenthesis) && ((e.typeWord >> 14) & 3u) == 2;
    if (closing && i > 0) --i;
    m.ctx.shell.cursor.highlighted = {m.doc().currentPage, m.doc().currentStaff, i};
}

bool IsArrow(int code) { return code == MoveLeft || code == MoveRight || code == MoveUp || code == MoveDown; }

}  // namespace

void MoveCursor(EditorContext& ctx, int code) {
    CursorState& c = ctx.shell.cursor;
    if (c.pendingHome && !IsArrow(code)) c.pendingHome = false;
    if (code == MoveHome) {
        c.pendingHome = true;
        return;
    }
    const std::optional<CursorFrame> frame = CursorFrameOf(ctx.doc);
    if (!frame || ctx.doc.staff() == nullptr) return;
    Move m{ctx, *frame, ViewRegionOf(ctx.doc, ctx.ui.shownArea()), code, c.x};
    if (ctx.doc.element() == nullptr && m.count() > 0) ReplaceOnStaff(ctx.doc, Replace::AtOrAfterX, m.x, 0);
    const Request r = c.pendingHome && IsArrow(code) ? HomeForm(m) : RequestOf(m);
    const bool staffRequest = r == Request::Up || r == Request::UpWrap || r == Request::Down || r == Request::DownWrap;
    if (ctx.shell.input.templateStaffMode && staffRequest) {
        LeaveTemplateStaff(ctx);
        return;
    }
    Carry(m, r);
    if (m.onElement()) FollowElement(ctx);
    ForgetMarkedNote(ctx);
    LimitToLine(m);
    c.x = m.x;
    FollowView(m);
    // A staff moved to its neighbour's place shows its cursor there.
    const auto placed = static_cast<std::size_t>(PlacedStaffIndex(ctx));
    c.y = static_cast<int>(placed < frame->staffY.size() ? frame->staffY[placed] : m.staffY());
    if (IsArrow(code)) Highlight(m);
}

}  // namespace notavera
