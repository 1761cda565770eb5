// Going from page to page: Page Suivante, Page Précédente and Aller Page no, and the showing of the page reached
// that every navigation command shares.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// What every navigation command does first: an open insertion box is closed (as the Insert key does) and the
// template staff is left.
void LeaveEntryModes(EditorContext& ctx);

// Makes page n (clamped to the score's pages) current, its first staff and first element too, without showing it:
// a page in memory is simply taken, any other is read by sliding the page window. False, with nothing changed,
// when the page cannot be read.
bool GoToPage(EditorContext& ctx, int n);

// Makes page n current (clamped to the score's pages) and shows it: its first staff and first element current,
// the cursor on that element or at the staff's start, no staff moved to a neighbour's place. False, with nothing
// changed, while a mask page is edited or when the page cannot be read.
bool ShowPage(EditorContext& ctx, int n);

// Page Suivante: the next page, or at the last page a new page after it (a beep at 255 pages).
void NextPage(EditorContext& ctx);
// Page Précédente: the previous page; nothing on page 1.
void PreviousPage(EditorContext& ctx);
// "PageNo": the page typed (0 or no number gives page 1, beyond the last page the last page); false when
// cancelled.
bool GoToPageNumber(EditorContext& ctx);

void RegisterPageNavigationCommands(CommandRegistry& registry);

}  // namespace notavera
