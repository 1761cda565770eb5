#include "print/note_options_dialogs.h"

#include <gtest/gtest.h>

#include "score/score_document.h"

namespace notavera {
namespace {

class AccentButtons : public ::testing::TestWithParam<std::pair<int, unsigned>> {};

TEST_P(AccentButtons, GiveTheAccentOfTheirPlace) {
    const auto [bitmap, accent] = GetParam();
    ScoreDocument doc;
    DialogModel m = makeAccentDialog(doc);
    ASSERT_TRUE(m.type(std::to_string(bitmap), "1"));
    acceptAccentDialog(m, doc);
    EXPECT_EQ(doc.insertion.accentType, accent);
    EXPECT_TRUE(makeAccentDialog(doc).checked(std::to_string(bitmap)));
}

INSTANTIATE_TEST_SUITE_P(ResourceOrder, AccentButtons,
                         ::testing::Values(std::pair{1369, 0u}, std::pair{1370, 1u}, std::pair{1371, 2u},
                                           std::pair{1372, 5u}, std::pair{1373, 4u}, std::pair{1374, 3u},
                                           std::pair{1375, 6u}, std::pair{1376, 7u}));

TEST(NoteHeadDialog, ChoosesTheHeadOfTheNextNotes) {
    ScoreDocument doc;
    DialogModel m = makeNoteHeadDialog(doc);
    EXPECT_TRUE(m.checked("Normale"));
    m.type("Pas de tête", "1");
    acceptNoteHeadDialog(m, doc);
    EXPECT_EQ(doc.insertion.headShape, 5u);
}

TEST(NoteHeadDialog, HalvesWithFlagsIsToggledAtOnce) {
    ScoreDocument doc;
    DialogModel m = makeNoteHeadDialog(doc);
    m.type("Sans Queue", "1");
    m.type("Blanches crochées...", "1");
    // Cancelled: the head stays, the flag was already set.
    EXPECT_EQ(doc.insertion.headShape, 0u);
    EXPECT_TRUE(doc.settings.halvesWithFlags);
    EXPECT_TRUE(doc.modified);
}

TEST(SpecialBarDialog, ChoosesABarOrABraceOrABracket) {
    ScoreDocument doc;
    DialogModel m = makeSpecialBarDialog(doc);
    EXPECT_TRUE(m.checked("Barre finale"));
    m.type("Barre d'entrée ", "1");
    m.type("Par portées individuelles", "1");
    acceptSpecialBarDialog(m, doc);
    EXPECT_EQ(doc.insertion.specialBar, 'I');
    EXPECT_EQ(doc.insertion.specialBarBracket, 0);
    EXPECT_TRUE(doc.settings.barsPerStaff);

    m = makeSpecialBarDialog(doc);
    m.type("Droite ouvrante", "1");
    acceptSpecialBarDialog(m, doc);
    EXPECT_EQ(doc.insertion.specialBarBracket, -1);
    EXPECT_EQ(doc.insertion.specialBar, 'I');  // the bar sign is kept for the next bar
    EXPECT_TRUE(makeSpecialBarDialog(doc).checked("Droite ouvrante"));

    m = makeSpecialBarDialog(doc);
    m.type("Accolade", "1");
    acceptSpecialBarDialog(m, doc);
    EXPECT_EQ(doc.insertion.specialBarBracket, 1);
}

TEST(SpecialBarDialog, CancelLeavesTheChoice) {
    ScoreDocument doc;
    DialogModel m = makeSpecialBarDialog(doc);
    m.type("Double barre ||", "1");
    m.type("Par portées individuelles", "1");
    EXPECT_EQ(doc.insertion.specialBar, 'E');
    EXPECT_FALSE(doc.settings.barsPerStaff);
}

}  // namespace
}  // namespace notavera
