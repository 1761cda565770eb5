// The play commands write the score into the private temporary "nv$$$.mid" and hand it to the sequencer.
#include "shell/playback_menu_commands.h"

#include <algorithm>

#include "midi/midi_devices.h"
#include "midi/playback_file.h"
#include "midi/score_to_midi.h"
#include "platform/message_ids.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/playback_commands.h"
#include "shell/title_bar.h"
#include "shell/zone.h"

namespace notavera {

namespace {

// The rectangle dragged over the current page, staff by staff and by x; nothing when none is shown there.
std::optional<MidiRegion> MarkedRegion(const EditorContext& ctx) {
    const CursorState& c = ctx.shell.cursor;
    if (!c.zoneRect.shown || !c.zone.marked() || c.zone.last < 0 || c.zone.page != ctx.doc.currentPage)
        return std::nullopt;
    return MidiRegion{std::min(c.zone.startStaff, c.zone.lastStaff), std::max(c.zone.startStaff, c.zone.lastStaff),
                      std::min(c.zoneRect.left, c.zoneRect.right), std::max(c.zoneRect.left, c.zoneRect.right)};
}

bool SameRectangle(const ZoneRectangle& a, const ZoneRectangle& b) {
    return a.shown == b.shown && a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

void PlayScore(EditorContext& ctx, int command, MidiDevices& devices, MidiWindow& window, PlaybackState& state) {
    const std::filesystem::path file = PlaybackFilePath();
    const std::optional<MidiRegion> region = MarkedRegion(ctx);
    const LastPageChoice last =
        ChooseLastPage(command, ctx.doc.pageCount, ctx.shell.cursor.markerPage, region.has_value());
    ctx.ui.setWaitCursor(true);
    const int written = !file.empty() && WriteScoreMidi(ctx.doc, ctx.ui, file, last.lastPage, region);
    ctx.ui.setWaitCursor(false);
    if (!written) {
        const std::string name = playbackFileName;
        ShowError(ctx.ui, msg::cannotWrite, &name);
        return;
    }
    if (ctx.shell.cursor.markerPage != last.markerPage) {
        ctx.shell.cursor.markerPage = last.markerPage;
        UpdateTitleBar(ctx);
    }
    // The region stays highlighted while it plays; a playback that does not start has nothing to show.
    state.playedRegion.reset();
    if (region) state.playedRegion = ctx.shell.cursor.zoneRect;
    if (!devices.PlayMidiFile(file, window)) EndRegionPlayback(ctx, state);
}

}  // namespace

void RegisterPlaybackCommands(CommandRegistry& registry, MidiDevices& devices, MidiWindow& window,
                              PlaybackState& state) {
    for (const int command : {cmd::Play, cmd::PlayCurrentVoice}) {
        registry.addCommand(command, [&devices, &window, &state](EditorContext& ctx, int id) {
            PlayScore(ctx, id, devices, window, state);
        });
    }
    registry.addCommand(cmd::PlayMidiFile, [&devices, &window](EditorContext&, int) {
        devices.PlayMidiFileCommand(window);
    });
    registry.addCommand(cmd::StopMidi, [&devices, &state](EditorContext& ctx, int) {
        devices.StopMidi();
        EndRegionPlayback(ctx, state);
    });
}

void EndRegionPlayback(EditorContext& ctx, PlaybackState& state) {
    if (!state.playedRegion) return;
    if (SameRectangle(*state.playedRegion, ctx.shell.cursor.zoneRect)) ClearZone(ctx);
    state.playedRegion.reset();
}

}  // namespace notavera
