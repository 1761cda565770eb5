// The size-ratio and music-font commands.
#include "shell/font_ratio_commands.h"

#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/fraction_dialog.h"

namespace notavera {

namespace {

// The music font is eight staff spaces high: the chooser shows that height for the normal staff.
constexpr int fontHeightInHalfSpaces = 16;

}  // namespace

void ChangeSizeRatio(EditorContext& ctx, bool small) {
    FileHeader& h = ctx.doc.header;
    std::uint8_t& num = small ? h.smallStaffNum() : h.cueNum();
    std::uint8_t& den = small ? h.smallStaffDen() : h.cueDen();
    const std::optional<Fraction> chosen = RunFractionDialog(ctx, {num, den});
    if (!chosen || (chosen->num == num && chosen->den == den)) return;
    num = static_cast<std::uint8_t>(chosen->num);
    den = static_cast<std::uint8_t>(chosen->den);
    ctx.doc.markModified();
    ctx.ui.invalidate();
}

void ChangeMusicFont(EditorContext& ctx) {
    FontBlock& fonts = ctx.doc.fonts;
    const FontChoice current{fonts.faceName(0), fontHeightInHalfSpaces * ctx.doc.stepUnit, false, false};
    const std::optional<FontChoice> chosen = ctx.ui.chooseFont(current);
    if (!chosen || chosen->face.empty() || chosen->face == current.face) return;
    fonts.setEntry(0, chosen->face, fonts.charSet(0));
    ctx.doc.markModified();
    ctx.ui.invalidate();
}

void RegisterFontRatioCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::StaffSizeRatios, [](EditorContext& ctx, int) { ChangeSizeRatio(ctx, true); },
                        UndoPolicy::Step);
    registry.addCommand(cmd::OrnamentSizeRatios, [](EditorContext& ctx, int) { ChangeSizeRatio(ctx, false); },
                        UndoPolicy::Step);
    registry.addCommand(cmd::ChangeMusicFont, [](EditorContext& ctx, int) { ChangeMusicFont(ctx); },
                        UndoPolicy::Step);
}

}  // namespace notavera
