// The Détruire commands that take a slur, a beam group or a rhythmic group off the notes under the cursor
// (215, 214, 216): the notes stay, their marks go.
#pragma once

namespace notavera {

struct EditorContext;

inline constexpr int eraseBeamCommand = 214;
inline constexpr int eraseSlurCommand = 215;
inline constexpr int eraseGroupCommand = 216;

// The tie or slur that starts at, ends at or runs over the current note: its start and end flags are cleared
// on its two notes. A beep when there is none; true when one was removed.
bool EraseSlur(EditorContext& ctx);

// The beam group of the current note or rest: every member loses its beam flags.
bool EraseBeam(EditorContext& ctx);

// The rhythmic group of the current note or rest: every member loses its group marks and takes the plain
// proportion 1:1 again (so it can be deleted like any note).
bool EraseGroup(EditorContext& ctx);

}  // namespace notavera
