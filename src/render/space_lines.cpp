// Respacing of a line: the walk over the spacing matrix that gives each element its new x, and the iteration on
// the step that fits a line to its length.
#include "render/space_lines.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "render/note_advance.h"
#include "render/note_geometry.h"
#include "render/spacing_matrix.h"
#include "render/spacing_sign_gap.h"
#include "score/clef_values.h"
#include "score/records.h"

namespace notavera {

namespace {

// A time signature or clef may carry spacing settings that hold from its position on.
void ApplySignSettings(const ElementRecord& e, SpacingSettings& s) {
    if (!e.isSignOfType(SignType::Clef) && !e.isSignOfType(SignType::TimeSignature)) return;
    const auto sw = e.signWord();
    if (e.w1().smallField() != 0) {
        s.rules.referenceValue = static_cast<int>(e.w1().smallField());
        s.rules.polyphony = static_cast<int>(sw.pairB());
        s.rules.aesthetic = static_cast<int>(sw.pairA());
    }
    if (sw.high7() != 0) s.step = static_cast<int>(sw.high7());
}

// A chord's stem member (bit 19) has its accidental placed with the chord's column.
bool HasVisibleAccidental(const ElementRecord& e) { return HasDrawnAccidental(e) && !e.noteWord().bit(19); }

bool IsChordMember(const ElementRecord& e) { return e.isNote() && e.noteWord().bit(18); }

// An eighth or shorter with an up stem and its own flag.
bool IsFlaggedUpNote(const ElementRecord& e) {
    return e.isNote() && e.noteWord().durationCode() >= 5 && !e.w0().cueSize() && !e.w0().inBeam() &&
           !IsChordMember(e) && e.noteWord().stemFlag();
}

bool IsBarClefOrMeter(const ElementRecord& e) {
    return e.isSignOfType(SignType::Bar) || e.isSignOfType(SignType::Clef) ||
           e.isSignOfType(SignType::TimeSignature);
}

// One pass over the matrix with fixed starting settings.
class LineWalk {
public:
    LineWalk(std::span<StaffRecord* const> staves, const std::vector<SpacingEntry>& m, SpacingSettings& s)
        : staves_(staves), m_(m), s_(s), newX_(m.size(), 0), advance_(m.size(), 0), keys_(staves.size()) {
        for (std::size_t k = 0; k < staves.size(); ++k)
            keys_[k] = KeyState{staves[k]->key().keyKind(), static_cast<int>(staves[k]->key().keyCount())};
    }

    void run() {
        const int su = s_.stepUnit;
        columnX_ = LineStartColumn(s_.leftEdge, su);
        for (std::size_t i = 0; i < m_.size(); ++i) walk(i);
        closeRun();
    }

    // Polyphony correction: a note that the columns of another staff pushed further from its own predecessor
    // than that predecessor's advance moves back, and everything after it with it.
    void correctPolyphony() {
        std::vector<int> entryOf(m_.size(), -1);  // matrix entry of each element's predecessor, per staff
        std::vector<int> lastOnStaff(staves_.size(), -1);
        for (std::size_t i = 0; i < m_.size(); ++i) {
            entryOf[i] = lastOnStaff[m_[i].staff];
            lastOnStaff[m_[i].staff] = static_cast<int>(i);
        }
        const int su = s_.stepUnit;
        for (std::size_t i = 1; i < m_.size(); ++i) {
            const int pred = entryOf[i];
            const std::size_t prev = i - 1;
            if (el(i).isSign() || pred < 0 || static_cast<std::size_t>(pred) == prev || el(pred).isSign()) continue;
            if (m_[prev].staff == m_[i].staff || newX_[prev] == newX_[pred]) continue;
            // It never comes closer to the column before it than a note may, or than its accidental needs.
            const int closest = HasVisibleAccidental(el(i)) ? 3 * su + s_.accidentalWidth : 3 * su;
            if (newX_[i] - newX_[prev] <= closest) continue;
            const int own = std::max(newX_[pred] + advance_[pred], newX_[prev] + closest);
            const int excess = newX_[i] - own;
            if (excess <= s_.step) continue;
            for (std::size_t j = i; j < m_.size(); ++j) newX_[j] -= excess;
            if (s_.step > 0) stepCount_ -= excess / s_.step;
        }
    }

    const std::vector<int>& newX() const { return newX_; }
    int stepCount() const { return stepCount_; }

private:
    const ElementRecord& el(std::size_t i) const { return staves_[m_[i].staff]->elements[m_[i].index]; }

    void walk(std::size_t i) {
        const ElementRecord& e = el(i);
        if (TakesNoRoom(e)) {
            newX_[i] = columnX_;
            return;
        }
        if (!e.isSign() && joinsRun(i)) {
            joinRun(i);
            return;
        }
        closeRun();
        if (e.isSignOfType(SignType::Text)) {
            // A text in the music stands where the next element will, and leaves the column where it was.
            newX_[i] = columnX_ + gap_;
            return;
        }
        if (e.isSignOfType(SignType::FreeDot)) {
            // Free dots stay beside their note and push what follows one step unit further.
            newX_[i] = columnX_ + std::clamp(m_[i].oldX - columnOldX_, 0, gap_);
            if (e.shift == 0) gap_ += s_.stepUnit;
            return;
        }
        place(i);
        if (e.isSign()) {
            afterSign(i);
        } else {
            startRun(i);
        }
    }

    // The first note of a new column, or a sign: placed one gap after the column.
    void place(std::size_t i) {
        const ElementRecord& e = el(i);
        const int su = s_.stepUnit;
        int g = gap_;
        if (IsRepeatBar(e)) g = std::max(g, 8 * su);
        if (!e.isSign() && nextColumnHasAccidental(i)) g = std::max(g, 3 * su + s_.accidentalWidth);
        int x = columnX_ + g;
        if (!e.isSign() && needsAccidentalRoom(i, g)) {
            const int width = s_.accidentalWidth * (e.noteWord().accidental() == Accidental::DoubleFlat ? 2 : 1);
            x = columnX_ + std::max(3 * su, g - 3 * su) + width;
            if (flaggedUp_ && x - columnX_ < 8 * su) x = columnX_ + 9 * su;
            moveColumnSigns(i, x);
        }
        if (g > s_.step && s_.step > 0) stepCount_ += g / s_.step;
        newX_[i] = x;
        columnX_ = x;
        columnOldX_ = m_[i].oldX;
    }

    void afterSign(std::size_t i) {
        const ElementRecord& e = el(i);
        const int su = s_.stepUnit;
        ApplySignSettings(e, s_);
        const StaffRecord& staff = *staves_[m_[i].staff];
        const int next = nextRoomEntry(i);
        SignGapContext c;
        c.pendingGap = gap_;
        c.nextExists = next >= 0;
        c.oldDistance = next >= 0 ? std::max(m_[next].oldX - m_[i].oldX, 0) : 0;
        c.atLineStart = newX_[i] <= LineStartColumn(s_.leftEdge, su);
        c.staffKey = KeyState{staff.key().keyKind(), static_cast<int>(staff.key().keyCount())};
        int g = SignGap(staff, m_[i].index, s_, c, keys_[m_[i].staff]);
        const bool clef = e.isSignOfType(SignType::Clef);
        if (next >= 0 && static_cast<std::size_t>(next) == i + 1) {
            const ElementRecord& n = el(i + 1);
            const bool pairOfBars = e.isSignOfType(SignType::Bar) && n.isSignOfType(SignType::Bar);
            const bool sameColumnSign = (clef || e.isSignOfType(SignType::TimeSignature)) &&
                                        n.isSign() && n.signWord().signType() == e.signWord().signType() &&
                                        m_[i + 1].staff != m_[i].staff;
            if (pairOfBars || sameColumnSign) g = 0;
        }
        if (clef && g != 0 && i + 2 < m_.size()) g = std::max(g, 7 * su);
        gap_ = g;
        flaggedUp_ = false;
    }

    void startRun(std::size_t i) {
        run_.assign(1, i);
        runOldX_ = m_[i].oldX;
        advance_[i] = NoteAdvance(el(i), s_.rules, s_.step);
        minGap_ = advance_[i];
        gap_ = noteGap(i, minGap_);
        flaggedUp_ = IsFlaggedUpNote(el(i));
    }

    // A note within the tolerance of the column's first note belongs to the same time.
    bool joinsRun(std::size_t i) const { return !run_.empty() && std::abs(m_[i].oldX - runOldX_) <= s_.tolerance; }

    void joinRun(std::size_t i) {
        const std::size_t first = run_.front();
        newX_[i] = newX_[first] + std::max(m_[i].oldX - runOldX_, 0);
        run_.push_back(i);
        // The next column comes after the shortest of the simultaneous values.
        advance_[i] = NoteAdvance(el(i), s_.rules, s_.step);
        minGap_ = std::min(minGap_, advance_[i]);
        gap_ = noteGap(i, minGap_);
        flaggedUp_ = flaggedUp_ || IsFlaggedUpNote(el(i));
    }

    // Every note of a closed run takes the greatest x reached by any of them.
    void closeRun() {
        if (run_.empty()) return;
        int maxX = INT_MIN;
        for (std::size_t k : run_) maxX = std::max(maxX, newX_[k]);
        for (std::size_t k : run_) newX_[k] = maxX;
        columnX_ = maxX;
        columnOldX_ = runOldX_;
        run_.clear();
    }

    // The gap after a note or rest: its advance with the room short values need before bars and flags.
    int noteGap(std::size_t i, int g) const {
        const ElementRecord& e = el(i);
        const int su = s_.stepUnit;
        const int next = nextAfterColumn(i);
        if (g <= 3 * su && next >= 0) {
            const ElementRecord& n = el(next);
            if (IsBarClefOrMeter(n) || (e.isRest() && n.isNote())) g += su;
        }
        if (IsFlaggedUpNote(e) && g <= 6 * su) {
            g = std::max(g, 5 * su);
            if (next >= 0 && HasVisibleAccidental(el(next)) && g < 6 * su) g += 2 * su;
        }
        return g;
    }

    // The next entry that takes room, at a greater old x.
    int nextAfterColumn(std::size_t i) const {
        for (std::size_t j = i + 1; j < m_.size(); ++j)
            if (m_[j].oldX > m_[i].oldX && !TakesNoRoom(el(j))) return static_cast<int>(j);
        return -1;
    }

    int nextRoomEntry(std::size_t i) const {
        for (std::size_t j = i + 1; j < m_.size(); ++j)
            if (!TakesNoRoom(el(j))) return static_cast<int>(j);
        return -1;
    }

    // Look-ahead: a note of the column that `i` opens carries an accidental that needs room before the column.
    bool nextColumnHasAccidental(std::size_t i) const {
        for (std::size_t j = i; j < m_.size() && m_[j].sortX <= m_[i].sortX + s_.tolerance; ++j)
            if (HasVisibleAccidental(el(j))) return true;
        return false;
    }

    bool needsAccidentalRoom(std::size_t i, int g) const {
        if (HasVisibleAccidental(el(i)) && g <= 9 * s_.stepUnit) return true;
        for (std::size_t j = i; j-- > 0 && m_[j].oldX == m_[i].oldX;) {
            const ElementRecord& a = el(j);
            if (m_[j].staff == m_[i].staff && a.isSignOfType(SignType::FreeAccidental) && !a.w0().cueSize() &&
                a.shift < 0)
                return true;
        }
        return false;
    }

    // Signs already placed at the column with the note's old x follow the note.
    void moveColumnSigns(std::size_t i, int x) {
        for (std::size_t j = i; j-- > 0 && m_[j].oldX == m_[i].oldX;)
            if (el(j).isSign() && newX_[j] == columnX_) newX_[j] = x;
    }

    std::span<StaffRecord* const> staves_;
    const std::vector<SpacingEntry>& m_;
    SpacingSettings& s_;
    std::vector<int> newX_;
    std::vector<int> advance_;  // of each note or rest, with the settings in force where it stands
    std::vector<KeyState> keys_;
    int columnX_ = 0;
    int columnOldX_ = 0;
    int gap_ = 0;
    int minGap_ = 0;
    int stepCount_ = 0;
    int runOldX_ = 0;
    std::vector<std::size_t> run_;
    bool flaggedUp_ = false;
};

// Writes the new x back; where the walk gave a later element of a staff a smaller x, it stands with the earlier.
void StoreNewX(std::span<StaffRecord* const> staves, const std::vector<SpacingEntry>& m, const std::vector<int>& x) {
    for (std::size_t i = 0; i < m.size(); ++i) staves[m[i].staff]->elements[m[i].index].x = x[i];
    for (StaffRecord* staff : staves)
        for (std::size_t k = 1; k < staff->elements.size(); ++k)
            staff->elements[k].x = std::max(staff->elements[k].x, staff->elements[k - 1].x);
}

int LastX(const std::vector<int>& x) { return x.empty() ? 0 : *std::max_element(x.begin(), x.end()); }

// Whether the optimised mode stops after a pass that ended at `x`; otherwise `step` is corrected.
bool Settled(int x, int previousX, int stepCount, const SpacingSettings& s, int& step) {
    const int length = s.lineLength;
    const int su = s.stepUnit;
    if (x <= length) {
        if (x < std::min(length / 2, length - 3 * su)) return true;  // too little music to stretch
        if (x > std::max(length / 2, length - 3 * su)) return true;  // close enough
    }
    if (x == previousX || stepCount <= 0) return true;
    if (x <= length + 10 * su) {
        if (x >= length - 10 * su) return true;
        step += (length - x) / stepCount;
    } else {
        step -= (x - length) / stepCount;
    }
    return step < 1;
}

// The rules for flagged notes read the stem-up flag: a note with an automatic stem gets the direction its drawing
// will give it (the drawing writes its decision into the same flag).
void SettleAutomaticStems(std::span<StaffRecord* const> staves) {
    for (StaffRecord* staff : staves) {
        const StaffClefs clefs(*staff);
        for (ElementRecord& e : staff->elements)
            if (e.isNote() && !IsChordMember(e) && e.noteWord().stemAutomatic())
                e.noteWord().setStemFlag(SingleStemUpUnderClef(*staff, e, clefs.valueAt(e.x)));
    }
}

}  // namespace

SpacingResult SpaceLines(std::span<StaffRecord* const> staves, SpacingMode mode, SpacingSettings& settings) {
    SettleAutomaticStems(staves);
    SpacingResult result{settings.step, 0, 0};
    const std::vector<SpacingEntry> m = BuildSpacingMatrix(staves, settings.tolerance);
    if (m.empty()) return result;

    const SpacingSettings start = settings;
    // Each pass reads the old x; the step it uses is the only thing a pass changes for the next.
    constexpr int maxPasses = 32;
    int step = settings.step;
    int previousX = INT_MIN;
    for (int pass = 0; pass < maxPasses; ++pass) {
        SpacingSettings walking = start;
        walking.step = step;
        LineWalk walk(staves, m, walking);
        walk.run();
        if (staves.size() > 1 && start.rules.polyphony != 0) walk.correctPolyphony();
        const int lastX = LastX(walk.newX());
        int nextStep = step;
        // Without a line length there is nothing to fit the line to.
        const bool done = mode == SpacingMode::Raw || start.lineLength <= 0 || Settled(lastX, previousX, walk.stepCount(), start, nextStep) ||
                          pass + 1 == maxPasses;
        if (done) {
            StoreNewX(staves, m, walk.newX());
            settings.rules = walking.rules;
            settings.rules.aesthetic = start.rules.aesthetic;
            settings.step = mode == SpacingMode::Optimised ? step : walking.step;
            result = SpacingResult{step, walk.stepCount(), lastX};
            break;
        }
        previousX = lastX;
        step = nextStep;
    }
    return result;
}

}  // namespace notavera
