// Every value the score holds comes back from the MusicXML name written for it,
// so a reader undoes the writer.
#include <gtest/gtest.h>

#include "score/musicxml_names.h"

namespace notavera {
namespace {

TEST(MusicXmlNames, EveryScoreValueComesBackFromItsName) {
  for (unsigned code = 0; code <= 10; ++code)
    EXPECT_EQ(DurationCodeOfNoteType(NoteTypeName(code)), code);
  EXPECT_FALSE(DurationCodeOfNoteType("maxima"));
  for (int clef = 1; clef <= 12; ++clef) {
    const auto c = MusicXmlClefOf(clef);
    ASSERT_TRUE(c);
    EXPECT_EQ(ClefNumberOf(c->sign, c->line, c->octaveChange), clef);
  }
  for (unsigned a = 1; a <= 7; ++a) {
    EXPECT_EQ(AccidentalOfName(AccidentalName(static_cast<Accidental>(a))),
              static_cast<Accidental>(a));
  }
  for (int bar : {'|', 'E', 'R', 'F', 'O', 'D', 'I'}) {
    const auto b = MusicXmlBarOf(bar);
    ASSERT_TRUE(b);
    EXPECT_EQ(BarCodeOf(b->style, b->repeatBackward, b->repeatForward), bar);
  }
  for (unsigned shift = 1; shift <= 4; ++shift) {
    const auto s = MusicXmlOctaveShiftOf(shift);
    ASSERT_TRUE(s);
    EXPECT_EQ(OctaveShiftOf(s->type, s->size), shift);
  }
  for (unsigned kind : {1u, 2u, 3u, 5u})
    EXPECT_EQ(AccentTypeOf(ArticulationName(kind)), kind);
  for (unsigned shape = 1; shape <= 5; ++shape)
    EXPECT_EQ(HeadShapeOf(NoteheadName(shape), shape == 2), shape);
  for (unsigned type : {0u, 1u, 3u})
    EXPECT_EQ(MiscellaneousTypeOf(CreditTypeOf(type)), type);
}

TEST(MusicXmlNames, NearestClefAndValuesOfTheNeighbours) {
  EXPECT_EQ(ClefNumberOf("F", 2, 0), 3); // no baritone F clef: the bass clef
  EXPECT_EQ(ClefNumberOf("G", 2, 1), 1);
  EXPECT_EQ(ClefNumberOf("TAB", 5, 0), 0);
  EXPECT_EQ(KeyFifths(KeyKind::Flats, 3), -3);
  EXPECT_EQ(KeyFifths(KeyKind::Sharps, 2), 2);
  EXPECT_DOUBLE_EQ(AccidentalAlter(Accidental::QuarterFlat), -0.5);
  EXPECT_TRUE(IsMusicXmlDynamic("sfz"));
  EXPECT_FALSE(IsMusicXmlDynamic("cresc."));
  EXPECT_EQ(
      MusicXmlTextPlaceOf(TextCategory::Miscellaneous, FirstMiscellaneous + 1),
      MusicXmlTextPlace::Words);
}

} // namespace
} // namespace notavera
