// What the staff-layout dialog does to the document: the dialog run from start to end, the model applied to the
// current page with its elements following their staves and their new size, and the model copied to a range of
// pages.
#pragma once

#include <vector>

#include "print/staff_layout_editor.h"

namespace notavera {

struct EditorContext;
struct PageRecord;

// Runs the "Regleur" dialog. Returns 1 on OK, 0 on "Annuler" (1 when the first page of a new document is
// being defined: that page keeps the model it has), 10 when the model was also copied to other pages.
// With FirstPage and ModifyPage the current page takes the model on OK; with NewPage only the document's model
// changes (the caller makes the page from it).
int RunStaffLayoutDialog(EditorContext& ctx, StaffLayoutPurpose purpose);

// Gives the page the model and keeps its elements right under the new staves: their horizontal places scale with
// the staff size (new definition ÷ the page's old one), and a note placed at a neighbouring staff that the page
// no longer has goes back to its own. False, with the page unchanged, when staves the model drops hold elements.
bool ApplyModelToPage(const StaffLayoutModel& model, PageRecord& page);
// Only the staff size ("Copier Définition seulement"), its elements rescaled with it.
void ApplyDefinitionToPage(unsigned definition, PageRecord& page);

// Copies the model to pages first..last other than the current one, loading each into memory as needed, and
// comes back to the current page. Returns the pages that could not take it.
std::vector<int> CopyModelToPages(EditorContext& ctx, const StaffLayoutModel& model, int first, int last,
                                  bool definitionOnly);

}  // namespace notavera
