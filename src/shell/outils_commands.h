// The element commands of the "Outils", "Editer" and "Détruire" menus that apply one change to a stretch of the
// score: the current line, the marked region, or from the cursor to the page marker (or the end of the score).
#pragma once

#include <functional>

namespace notavera {

class CommandRegistry;
struct EditorContext;
struct PageRecord;
struct StaffRecord;

// A change to elements first..last of one staff; returns how many elements it changed.
using StaffChange = std::function<int(StaffRecord&, int first, int last)>;

// A change to one page, told whether it is the page the command started on; returns how much it changed.
using PageChange = std::function<int(PageRecord&, bool firstPage)>;

// Which staves a command from the cursor to the page marker visits.
enum class StaffScope { All, CurrentVoice };

// The change on every element of the current staff.
void ChangeCurrentLine(EditorContext& ctx, const StaffChange& change);
// The change on the marked region (a beep when none is marked); the region mark is removed.
void ChangeRegion(EditorContext& ctx, const StaffChange& change);
// The change on the current page and every page after it up to the page marker, or to the end of the score without
// one. The cursor comes back to where it was and the page marker is used up.
void ChangePagesToMarker(EditorContext& ctx, const PageChange& change);
// The change from the cursor to the page marker, or to the end of the score without one: on the current page the
// current staff from the cursor's element on and the staves below it whole, on the pages after it every staff. The
// cursor comes back to where it was and the page marker is used up.
void ChangeToPageMarker(EditorContext& ctx, StaffScope scope, const StaffChange& change);

void RegisterOutilsCommands(CommandRegistry& registry);

}  // namespace notavera
