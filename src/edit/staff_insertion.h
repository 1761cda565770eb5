// Staves added to and removed from the current page: the page and the staff-layout template change together,
// within the page's limit of staves.
#pragma once

namespace notavera {

class ScoreDocument;
class UiServices;

// Inserts an empty staff after staff `above` of the current page, like it; the staves below move down by one
// staff distance. `above` −1 (a click above the first staff) is refused with message 73, a full page with 56.
// Returns true when the staff was inserted.
bool InsertStaffBelow(ScoreDocument& doc, UiServices& ui, int above);

// Deletes the current staff; refused with message 74 while it holds elements.
bool DeleteCurrentStaff(ScoreDocument& doc, UiServices& ui);

}  // namespace notavera
