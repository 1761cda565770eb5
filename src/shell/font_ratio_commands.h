// The "Options" commands on the music's sizes and font: the two size ratios (small staff, ornament size) asked
// through the "Fraction" dialog, and the choice of the music font.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// "Rapports Grosse/Petite portée" (small = true) or "Taille normale/Taille ornement": the ratio shown in the
// "Fraction" dialog; on OK it is stored with the document, and the staff metrics and music font heights follow
// at the next drawing.
void ChangeSizeRatio(EditorContext& ctx, bool small);

// "Changer Police musicale": the font chooser on the music font; on OK its face becomes the document's music font
// (entry 0 of the font table) and the score is drawn with it.
void ChangeMusicFont(EditorContext& ctx);

void RegisterFontRatioCommands(CommandRegistry& registry);

}  // namespace notavera
