// How the cursor finds its element on a staff: re-placing on a staff that became current, snapping a position
// onto a nearby element, the insertion octave from the clef in force, and the insertion attributes that follow
// the element at the cursor.
#pragma once

namespace notavera {

class ScoreDocument;
struct EditorContext;
struct StaffRecord;

// Within this many page units of an element the cursor lands on it.
inline constexpr int snapTolerance = 2;

// The rules that re-place the cursor on a staff that has just become current.
enum class Replace { AtOrAfterX, Last, First };

// Makes the element the rule chooses current and returns its x; on an empty staff no element is current and
// the staff start is returned.
int ReplaceOnStaff(ScoreDocument& doc, Replace rule, int x, int staffStart);

// Keeps the current element next to x and moves x onto an element within the tolerance. With `replace` the
// current element is first chosen as re-placing at or after x would (x itself is left where it is).
void SnapToElement(ScoreDocument& doc, int& x, bool replace);

// The insertion octave (as an offset from octave 4) that the clef in force at the current element gives.
int OctaveFromClef(const StaffRecord& staff, int element);
void SetOctaveOffset(ScoreDocument& doc, int offset);
int OctaveOffset(const ScoreDocument& doc);

// The insertion attributes take what the element at the cursor carries.
void FollowElement(EditorContext& ctx);

}  // namespace notavera
