// The table itself. SMuFL code points are written next to the glyph names they stand for; the fonts' metadata is
// keyed by name and the tests check that both agree.
#include "render/music_font_table.h"

#include <array>

namespace notavera {
namespace {

using A = GlyphAnchor;

constexpr SmuflGlyphName None{};

constexpr std::array<MusicCode, 80> Normal{{
    {40, {"noteheadParenthesisLeft", 0xE0F5}, None, A::Origin},
    {41, {"noteheadParenthesisRight", 0xE0F6}, None, A::Origin},
    // Articulation 3 (below, above): a wedge, moved further out than the staccato dot it resembles.
    {44, {"articStaccatissimoWedgeBelow", 0xE4A9}, None, A::OverNotehead},
    {60, {"articStaccatissimoWedgeAbove", 0xE4A8}, None, A::OverNotehead},
    {48, {"timeSig0", 0xE080}, None, A::SeatedOnBaseline},
    {49, {"timeSig1", 0xE081}, None, A::SeatedOnBaseline},
    {50, {"timeSig2", 0xE082}, None, A::SeatedOnBaseline},
    {51, {"timeSig3", 0xE083}, None, A::SeatedOnBaseline},
    {52, {"timeSig4", 0xE084}, None, A::SeatedOnBaseline},
    {53, {"timeSig5", 0xE085}, None, A::SeatedOnBaseline},
    {54, {"timeSig6", 0xE086}, None, A::SeatedOnBaseline},
    {55, {"timeSig7", 0xE087}, None, A::SeatedOnBaseline},
    {56, {"timeSig8", 0xE088}, None, A::SeatedOnBaseline},
    {57, {"timeSig9", 0xE089}, None, A::SeatedOnBaseline},
    // Articulation 5 (above, below).
    {58, {"articMarcatoAbove", 0xE4AC}, None, A::OverNotehead},
    {59, {"articMarcatoBelow", 0xE4AD}, None, A::OverNotehead},
    {62, {"articAccentAbove", 0xE4A0}, None, A::OverNotehead},
    {90, {"repeatDots", 0xE043}, None, A::CentredVertically},
    // Dynamics typed as texts in the music font.
    {102, {"dynamicForte", 0xE522}, None, A::Origin},
    {109, {"dynamicMezzo", 0xE521}, None, A::Origin},
    {110, {"dynamicNiente", 0xE526}, None, A::Origin},
    {112, {"dynamicPiano", 0xE520}, None, A::Origin},
    {114, {"dynamicRinforzando", 0xE523}, None, A::Origin},
    {115, {"dynamicSforzando", 0xE524}, None, A::Origin},
    {122, {"dynamicZ", 0xE525}, None, A::Origin},
    {107, {"articStaccatoAbove", 0xE4A2}, None, A::OverNotehead},
    // Time-signature forms 4 (4/2) and 5 (6/2), then 1 (2/2) and 0 (4/4).
    {127, {"timeSigCut2", 0xEC85}, {"timeSigCutCommon", 0xE08B}, A::SeatedOnBaseline},
    {128, {"timeSigCut3", 0xEC86}, {"timeSigCutCommon", 0xE08B}, A::SeatedOnBaseline},
    {129, {"timeSigCutCommon", 0xE08B}, None, A::SeatedOnBaseline},
    {140, {"timeSigCommon", 0xE08A}, None, A::SeatedOnBaseline},
    {152, {"unpitchedPercussionClef1", 0xE069}, None, A::Origin},
    // Tuplet numbers: lighter digits than the time signature's, standing on their baseline.
    {160, {"tuplet0", 0xE880}, None, A::Origin},
    {161, {"tuplet1", 0xE881}, None, A::Origin},
    {162, {"tuplet2", 0xE882}, None, A::Origin},
    {163, {"tuplet3", 0xE883}, None, A::Origin},
    {164, {"tuplet4", 0xE884}, None, A::Origin},
    {165, {"tuplet5", 0xE885}, None, A::Origin},
    {166, {"tuplet6", 0xE886}, None, A::Origin},
    {167, {"tuplet7", 0xE887}, None, A::Origin},
    {168, {"tuplet8", 0xE888}, None, A::Origin},
    {169, {"tuplet9", 0xE889}, None, A::Origin},
    // Flags of two to six strokes, up then down: the font draws each value's flags as one glyph.
    {170, {"flag16thUp", 0xE242}, None, A::Origin},
    {171, {"flag32ndUp", 0xE244}, None, A::Origin},
    {172, {"flag64thUp", 0xE246}, None, A::Origin},
    {173, {"flag128thUp", 0xE248}, None, A::Origin},
    {174, {"flag256thUp", 0xE24A}, None, A::Origin},
    {175, {"flag16thDown", 0xE243}, None, A::Origin},
    {176, {"flag32ndDown", 0xE245}, None, A::Origin},
    {177, {"flag64thDown", 0xE247}, None, A::Origin},
    {178, {"flag128thDown", 0xE249}, None, A::Origin},
    {179, {"flag256thDown", 0xE24B}, None, A::Origin},
    {201, {"noteheadWhole", 0xE0A2}, None, A::Origin},
    {202, {"noteheadWholeFilled", 0xE0FA}, {"noteheadBlack", 0xE0A4}, A::Origin},
    {203, {"noteheadHalf", 0xE0A3}, None, A::Origin},
    {204, {"noteheadBlack", 0xE0A4}, None, A::Origin},
    {205, {"flag8thUp", 0xE240}, None, A::Origin},
    {206, {"flag8thDown", 0xE241}, None, A::Origin},
    {207, {"gClef", 0xE050}, None, A::Origin},
    {208, {"fClef", 0xE062}, None, A::Origin},
    {209, {"cClef", 0xE05C}, None, A::Origin},
    {210, {"gClef8vb", 0xE052}, None, A::Origin},
    {211, {"accidentalSharp", 0xE262}, None, A::Origin},
    {212, {"accidentalNatural", 0xE261}, None, A::Origin},
    {213, {"accidentalFlat", 0xE260}, None, A::Origin},
    {214, {"accidentalDoubleSharp", 0xE263}, None, A::Origin},
    {215, {"restQuarter", 0xE4E5}, None, A::Origin},
    {216, {"rest8th", 0xE4E6}, None, A::Origin},
    {217, {"rest16th", 0xE4E7}, None, A::Origin},
    {218, {"rest32nd", 0xE4E8}, None, A::Origin},
    {219, {"rest64th", 0xE4E9}, None, A::Origin},
    {220, {"rest128th", 0xE4EA}, None, A::Origin},
    {221, {"rest256th", 0xE4EB}, None, A::Origin},
    {244, {"accidentalQuarterToneSharpStein", 0xE282}, None, A::Origin},
    {246, {"accidentalQuarterToneFlatStein", 0xE280}, None, A::Origin},
    // Head shapes 1–6 of "Têtes de Notes": hollow and filled diamond, x, asterisk, no head, free option.
    {250, {"noteheadDiamondHalf", 0xE0D9}, None, A::Origin},
    {251, {"noteheadDiamondBlack", 0xE0DB}, None, A::Origin},
    {252, {"noteheadXBlack", 0xE0A9}, None, A::Origin},
    {253, {"noteheadXOrnate", 0xE0AA}, {"noteheadCircleX", 0xE0B3}, A::Origin},
    {254, {"noteheadNull", 0xE0A5}, None, A::Origin},
    {255, {"noteheadTriangleUpBlack", 0xE0BE}, None, A::Origin},
}};

// Old notation: white mensural heads, straight flags, mensural clefs and rests, the medieval flat and natural.
constexpr std::array<AlternateMusicCode, 17> Alternate{{
    {221, {"mensuralNoteheadSemibrevisVoid", 0xE939}, 201, A::Origin},
    {222, {"mensuralNoteheadSemibrevisBlack", 0xE938}, 202, A::Origin},
    {223, {"mensuralNoteheadMinimaWhite", 0xE93C}, 203, A::Origin},
    {224, {"mensuralNoteheadSemibrevisBlack", 0xE938}, 204, A::Origin},
    {225, {"flag8thUpStraight", 0xF40F}, 205, A::Origin},
    {226, {"flag8thDownStraight", 0xF411}, 206, A::Origin},
    {227, {"mensuralGclef", 0xE900}, 207, A::Origin},
    {228, {"mensuralFclef", 0xE903}, 208, A::Origin},
    {229, {"mensuralCclef", 0xE905}, 209, A::Origin},
    {232, {"medRenNatural", 0xE9E2}, 212, A::Origin},
    {233, {"medRenFlatSoftB", 0xE9E0}, 213, A::Origin},
    {235, {"mensuralRestSemiminima", 0xE9F6}, 215, A::CentredVertically},
    {236, {"mensuralRestFusa", 0xE9F7}, 216, A::CentredVertically},
    {237, {"mensuralRestSemifusa", 0xE9F8}, 217, A::CentredVertically},
    {241, {"gClefChange", 0xE07A}, 207, A::Origin},
    {242, {"fClefChange", 0xE07C}, 208, A::Origin},
    {243, {"cClefChange", 0xE07B}, 209, A::Origin},
}};

// Bravura's size variants of the brace sit in its optional range; the plain brace is the standard one.
constexpr std::array<SmuflGlyphName, StructuralGlyphCount> Structural{{
    {"brace", 0xE000},
    {"braceLarge", 0xF401},
    {"braceLarger", 0xF402},
    {"bracketTop", 0xE003},
    {"bracketBottom", 0xE004},
    {"ottavaAlta", 0xE511},
    {"quindicesimaAlta", 0xE515},
    {"ottavaBassaVb", 0xE51C},
    {"quindicesimaBassaMb", 0xE51D},
}};

}  // namespace

std::span<const SmuflGlyphName> StructuralGlyphNames() { return Structural; }

std::span<const MusicCode> NormalMusicCodes() { return Normal; }
std::span<const AlternateMusicCode> AlternateMusicCodes() { return Alternate; }

WrittenCode SubstituteCode(int code, bool alternateLine, bool cueSize) {
    WrittenCode w{code, false, false};
    if (alternateLine && code >= 200 && code <= 220) {
        w.code = code + 20;
        w.alternate = true;
        if (cueSize && w.code >= 227 && w.code <= 229) {
            w.code += 14;
            w.normalSize = true;
        }
    }
    return w;
}

}  // namespace notavera
