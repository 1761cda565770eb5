// Effacer Page courante and Effacer Page(s) ->marqueurPage/fin: the question, the deletion of the pages one by one,
// and the place the cursor comes back to.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Deletes the pages from the current one to the page marker (or the last page), never all of them; a score of
// one page gets a new page through the staff-layout dialog instead. The page recorded for copy is not deleted
// (message 34), nor any page after it. The page marker is cleared.
void DeletePagesFromCurrent(EditorContext& ctx);

void RegisterPageDeletionCommands(CommandRegistry& registry);

}  // namespace notavera
