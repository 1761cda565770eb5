// The accidental commands of the "Armure" menu and "Inverser #-b": the accidentals of a staff group, of the pages
// up to the page marker, or of the region rewritten against the key and the bars, or respelt.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The group of the current staff in the given normalising mode (the current staff alone when marker Y is set on
// it).
void NormaliseCurrentGroup(EditorContext& ctx, unsigned mode);

// Every staff group from the current page to the page marker, or to the last page when none is set. The marked
// zone and the page marker are cleared; the cursor comes back to the page, staff and x it started from.
void NormaliseToPageMarker(EditorContext& ctx, unsigned mode);

// "Inverser #-b": every note of the region whose accidental is shown is respelt; the region is then cleared.
// Nothing happens while marker Y is not set.
void RespellRegion(EditorContext& ctx);

void RegisterAccidentalCommands(CommandRegistry& registry);

}  // namespace notavera
