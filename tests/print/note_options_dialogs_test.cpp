// The note option dialogs: accents, note heads and special bars chosen for the next entries.
#include "print/note_options_dialogs.h"

#include <gtest/gtest.h>

#include "score/score_document.h"

namespace notavera {
namespace {

TEST(NoteHeadDialog, ChoosesTheHeadOfTheNextNotesAndTogglesHalvesWithFlagsAtOnce) {
    ScoreDocument doc;
    DialogModel m = makeNoteHeadDialog(doc);
    EXPECT_TRUE(m.checked("Normale"));
    m.type("Pas de tête", "1");
    m.type("Blanches crochées...", "1");
    EXPECT_EQ(doc.insertion.headShape, 0u);  // not before OK; the flag is already set
    EXPECT_TRUE(doc.settings.halvesWithFlags);
    EXPECT_TRUE(doc.modified);
    acceptNoteHeadDialog(m, doc);
    EXPECT_EQ(doc.insertion.headShape, 5u);
}

TEST(SpecialBarDialog, ChoosesABarOrABraceOrABracket) {
    ScoreDocument doc;
    DialogModel m = makeSpecialBarDialog(doc);
    EXPECT_TRUE(m.checked("Barre finale"));
    m.type("Double barre ||", "1");
    m.type("Par portées individuelles", "1");
    EXPECT_EQ(doc.insertion.specialBar, 'E');  // nothing before OK
    EXPECT_FALSE(doc.settings.barsPerStaff);
    m = makeSpecialBarDialog(doc);
    m.type("Barre d'entrée ", "1");
    m.type("Par portées individuelles", "1");
    acceptSpecialBarDialog(m, doc);
    EXPECT_EQ(doc.insertion.specialBar, 'I');
    EXPECT_EQ(doc.insertion.specialBarBracket, 0);
    EXPECT_TRUE(doc.settings.barsPerStaff);
    for (const auto& [label, bracket] : {std::pair{"Droite ouvrante", -1}, {"Accolade", 1}}) {
        m = makeSpecialBarDialog(doc);
        m.type(label, "1");
        acceptSpecialBarDialog(m, doc);
        EXPECT_EQ(doc.insertion.specialBarBracket, bracket);
        EXPECT_EQ(doc.insertion.specialBar, 'I');  // the bar sign is kept for the next bar
        EXPECT_TRUE(makeSpecialBarDialog(doc).checked(label));
    }
}

}  // namespace
}  // namespace notavera
