// Note keys, the rest and bar characters, attribute characters on the note at the cursor, Delete and Insert.
#include "edit/note_entry.h"

#include <gtest/gtest.h>

#include "edit/entry_place.h"
#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/note_commands.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class NoteEntryTest : public ::testing::Test {
protected:
    NoteEntryTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }
    StaffRecord& staff() { return *ctx.doc.staff(); }
    const std::vector<ElementRecord>& elements() { return staff().elements; }
    void key(Key k) { DispatchKey(ctx, k, {}); }
    void chars(std::u32string_view text) {
        for (const char32_t c : text) DispatchChar(ctx, c);
    }
    // Puts the cursor back on element i, as the cursor keys would.
    void cursorOn(int i) {
        ctx.doc.currentElement = i;
        ctx.shell.cursor.x = elements()[static_cast<std::size_t>(i)].x;
    }
    std::vector<int> messageIds() const {
        std::vector<int> ids;
        for (const MessageBoxRequest& m : ui.messages()) ids.push_back(m.stringId);
        return ids;
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(NoteEntryTest, TheTieFormTiesEachNoteEnteredToTheNextAcrossBarsButNotRestsOrBars) {
    chars(U"_");
    key(Key::F3);
    chars(U"-|");
    key(Key::F3);
    chars(U"S");
    ASSERT_EQ(elements().size(), 4u);
    const auto w0 = [&](std::size_t i) { return elements()[i].w0(); };
    EXPECT_TRUE(w0(0).tiedToNext() && w0(0).tieStarts() && !w0(0).tieEnds());
    EXPECT_FALSE(w0(1).tiedToNext() || w0(1).tieStarts() || w0(1).tieEnds()) << "the bar";
    EXPECT_TRUE(w0(2).tiedToNext() && w0(2).tieEnds() && !w0(2).tieStarts());
    EXPECT_FALSE(w0(3).tiedToNext() || w0(3).tieStarts() || w0(3).tieEnds()) << "the rest";
}

TEST_F(NoteEntryTest, TheTieFormOnTheNoteAtTheCursorTiesItToTheNextNote) {
    key(Key::F3);
    cursorOn(0);
    chars(U"_");
    EXPECT_TRUE(elements()[0].w0().tieStarts());
    chars(U"-");
    ctx.shell.cursor.x = 200;
    key(Key::F3);
    EXPECT_TRUE(elements()[1].w0().tieEnds());
}

TEST_F(NoteEntryTest, NoteKeysGiveTheirNamesAndTheOctaveShiftsOfTheOuterKeys) {
    key(Key::F2);  // C
    key(Key::F1);  // B below
    key(Key::F9);  // C above
    ASSERT_EQ(elements().size(), 3u);
    EXPECT_EQ(elements()[0].noteWord().step(), 1u);
    EXPECT_EQ(elements()[0].w0().octave(), 4u);
    EXPECT_EQ(elements()[1].noteWord().step(), 7u);
    EXPECT_EQ(elements()[1].w0().octave(), 3u);
    EXPECT_EQ(elements()[2].noteWord().step(), 1u);
    EXPECT_EQ(elements()[2].w0().octave(), 5u);
    EXPECT_EQ(elements()[0].x, 60);
    EXPECT_LT(elements()[0].x, elements()[1].x);
    EXPECT_LT(elements()[1].x, elements()[2].x);
    EXPECT_GT(ctx.shell.cursor.x, elements()[2].x);
    EXPECT_TRUE(ctx.doc.modified);
}

TEST_F(NoteEntryTest, ANoteKeyAtTheEndOfALineContinuesOnTheNextLineWithTheSameAttributes) {
    chars(U"5");
    ctx.doc.insertion.octave = 5;
    ctx.shell.cursor.x = LineRightLimit(ctx.doc);
    key(Key::F4);
    EXPECT_TRUE(elements().size() == 1u);
    EXPECT_TRUE(ctx.doc.currentStaff != 0 || ctx.doc.currentPage != 1);
    EXPECT_TRUE(ctx.doc.findPage(1)->staves[0].elements.empty());
    const ElementRecord& note = elements()[0];
    EXPECT_EQ(note.noteWord().durationCode(), 5u);
    EXPECT_EQ(note.noteWord().step(), 3u);
    EXPECT_EQ(note.w0().octave(), 5u);
    EXPECT_LT(note.x, LineRightLimit(ctx.doc));
}

TEST_F(NoteEntryTest, APercussionStaffTakesOnlyTheMiddleKeys) {
    staff().lines().setLayoutFlag(true);
    for (const Key k : {Key::F1, Key::F2, Key::F3, Key::F4, Key::F8, Key::F9}) key(k);
    EXPECT_TRUE(elements().empty());
    EXPECT_FALSE(ctx.doc.modified);
    key(Key::F5);
    key(Key::F6);
    key(Key::F7);
    EXPECT_EQ(elements().size(), 3u);
}

TEST_F(NoteEntryTest, BWithANoteAtTheCursorFlattensItAndLeavesTheNextNotePlain) {
    key(Key::F3);
    cursorOn(0);
    chars(U"b");
    EXPECT_EQ(elements()[0].noteWord().accidental(), Accidental::Flat);
    EXPECT_FALSE(elements()[0].noteWord().hiddenAccidental());
    EXPECT_FALSE(ctx.doc.insertion.accidentalForced);
    ctx.shell.cursor.x = 300;
    ctx.doc.currentElement = 0;
    key(Key::F5);
    EXPECT_EQ(elements()[1].noteWord().accidental(), Accidental::None);
}

TEST_F(NoteEntryTest, AForcedAccidentalWithoutANoteServesTheNextNoteOnce) {
    chars(U"d");
    key(Key::F5);
    key(Key::F5);
    EXPECT_EQ(elements()[0].noteWord().accidental(), Accidental::Sharp);
    EXPECT_EQ(elements()[1].noteWord().accidental(), Accidental::Sharp);  // the bar's earlier sharp
    EXPECT_TRUE(elements()[1].noteWord().hiddenAccidental());
}

TEST_F(NoteEntryTest, TheAlternateActionRepitchesTheNoteAtTheCursorInPlace) {
    key(Key::F2);
    cursorOn(0);
    ctx.shell.input.alternateAction = true;
    ctx.doc.insertion.octave = 3;
    key(Key::F6);
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_EQ(elements()[0].noteWord().step(), 5u);
    EXPECT_EQ(elements()[0].w0().octave(), 3u);
    EXPECT_EQ(ctx.shell.cursor.x, elements()[0].x);
}

TEST_F(NoteEntryTest, TheKeyboardEchoSoundsEachNoteEnteredOrRepitchedButNoRest) {
    std::vector<unsigned> heard;  // the note names sounded
    ctx.soundNote = [&](const ElementRecord& note) { heard.push_back(note.noteWord().step()); };
    key(Key::F2);
    chars(U"S");
    cursorOn(0);
    ctx.shell.input.alternateAction = true;
    key(Key::F6);
    EXPECT_EQ(heard, (std::vector<unsigned>{1, 5}));

    ctx.shell.settings.keyboardEcho = -1;  // "Echo clavier" off
    key(Key::F3);
    EXPECT_EQ(heard.size(), 2u);
}

TEST_F(NoteEntryTest, RestsAndBarsMoveTheCursorPastThem) {
    chars(U".S");
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_TRUE(elements()[0].isRest());
    EXPECT_EQ(elements()[0].noteWord().dots(), 1u);
    EXPECT_EQ(elements()[0].noteWord().step(), 3u);
    EXPECT_EQ(ctx.doc.insertion.dots, 0u);
    const int afterRest = ctx.shell.cursor.x;
    chars(U"|");
    ASSERT_EQ(elements().size(), 2u);
    EXPECT_TRUE(elements()[1].isSignOfType(SignType::Bar));
    EXPECT_EQ(elements()[1].signWord().code(), static_cast<unsigned>('|'));
    EXPECT_EQ(elements()[1].x, afterRest);
    EXPECT_GT(ctx.shell.cursor.x, afterRest);
}

TEST_F(NoteEntryTest, ABeamOfQuartersIsRefusedWithItsMessage) {
    chars(U"[");
    EXPECT_EQ(messageIds(), std::vector<int>{17});
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchBeam, 0u);
    chars(U"5[");
    EXPECT_EQ(messageIds().size(), 1u);
    key(Key::F2);
    EXPECT_TRUE(elements()[0].w0().inBeam());
}

TEST_F(NoteEntryTest, DeleteOnATiedNoteIsRefusedAndTheNoteStays) {
    key(Key::F2);
    cursorOn(0);
    staff().elements[0].w0().setTieStarts(true);
    staff().elements[0].w0().setTieEnds(true);
    ctx.doc.modified = false;
    key(Key::Delete);
    EXPECT_EQ(messageIds(), std::vector<int>{19});
    EXPECT_EQ(ui.messages()[0].caption, "Message");
    EXPECT_EQ(ui.messages()[0].text, "Supprimez liaison/groupe avant");
    EXPECT_EQ(elements().size(), 1u);
    EXPECT_FALSE(ctx.doc.modified);
}

TEST_F(NoteEntryTest, DeleteRemovesAPlainNoteAndClosesUpTheStaff) {
    key(Key::F2);
    key(Key::F3);
    key(Key::F4);
    const int secondX = elements()[1].x;
    cursorOn(1);
    key(Key::Delete);
    ASSERT_EQ(elements().size(), 2u);
    EXPECT_EQ(elements()[1].x, secondX);
    EXPECT_EQ(elements()[1].noteWord().step(), 3u);
}

TEST_F(NoteEntryTest, ATupletNoteIsNotDeleted) {
    key(Key::F2);
    cursorOn(0);
    staff().elements[0].w1().setNumerator(3);
    staff().elements[0].w1().setDenominator(2);
    key(Key::Delete);
    EXPECT_EQ(messageIds(), std::vector<int>{19});
    EXPECT_EQ(elements().size(), 1u);
}

TEST_F(NoteEntryTest, DeleteAndInsertAreRefusedInsideASlur) {
    key(Key::F2);
    cursorOn(0);
    chars(U"(");
    key(Key::Delete);
    key(Key::Insert);
    EXPECT_EQ(messageIds(), (std::vector<int>{20, 20}));
    EXPECT_EQ(elements().size(), 1u);
    EXPECT_FALSE(ctx.shell.input.insertionOpen);
}

TEST_F(NoteEntryTest, TheInsertionBoxOpensAGapAndClosingTakesBackWhatWasNotUsed) {
    key(Key::F2);
    key(Key::F3);
    const int secondX = elements()[1].x;
    cursorOn(1);
    key(Key::Insert);
    EXPECT_TRUE(ctx.shell.input.insertionOpen);
    EXPECT_GT(elements()[1].x, secondX);
    key(Key::Insert);
    EXPECT_FALSE(ctx.shell.input.insertionOpen);
    EXPECT_EQ(elements()[1].x, secondX);
    DispatchCommand(ctx, 23);  // the palette button does the same
    EXPECT_TRUE(ctx.shell.input.insertionOpen);
}

TEST_F(NoteEntryTest, ANoteEnteredInTheBoxKeepsTheMusicAfterItClear) {
    key(Key::F2);
    key(Key::F3);
    cursorOn(1);
    key(Key::Insert);
    chars(U"1");  // a long value needs more room than the box opened
    ctx.doc.currentElement = 0;
    key(Key::F7);
    ASSERT_EQ(elements().size(), 3u);
    EXPECT_EQ(elements()[1].noteWord().step(), 6u);
    EXPECT_GT(elements()[2].x, ctx.shell.cursor.x);
}

TEST_F(NoteEntryTest, TheCAttributeStacksAChordAtOnePlace) {
    chars(U"C");
    key(Key::F2);
    key(Key::F4);
    chars(U"c");
    key(Key::F6);
    ASSERT_EQ(elements().size(), 3u);
    EXPECT_EQ(elements()[0].x, elements()[1].x);
    EXPECT_TRUE(elements()[0].noteWord().bit(18));
    EXPECT_GT(elements()[2].x, elements()[1].x);
}

TEST_F(NoteEntryTest, JPutsAMultiBarRestAndCommand628WaitsForItsClick) {
    chars(U"5.");
    chars(U"j");
    ASSERT_EQ(elements().size(), 1u);
    const ElementRecord& rest = elements()[0];
    EXPECT_TRUE(rest.isRest());
    EXPECT_EQ(rest.noteWord().durationCode(), 15u);
    EXPECT_EQ(rest.noteWord().dots(), 0u);
    EXPECT_EQ(rest.x, 60);
    EXPECT_GT(ctx.shell.cursor.x, 60);
    EXPECT_EQ(ctx.doc.insertion.dots, 0u);
    EXPECT_EQ(ctx.doc.insertion.durationCode, 5u);
    DispatchCommand(ctx, 628);
    EXPECT_EQ(ctx.shell.input.mouseMode, multiBarRestMouseMode);
}

TEST_F(NoteEntryTest, TheValueSymbolRefusesValuesLongerThanAnEighth) {
    key(Key::F2);
    for (const char32_t duration : {U'4', U'3', U'0'}) {
        chars(std::u32string{duration, U'='});
        ASSERT_FALSE(ui.messages().empty());
        EXPECT_EQ(ui.messages().back().stringId, 17);
        EXPECT_EQ(ui.messages().back().text, "Valeur inappropriée");
    }
    const std::size_t refusals = ui.messages().size();
    chars(U"5=6=s=");
    EXPECT_EQ(ui.messages().size(), refusals);
    EXPECT_EQ(elements().size(), 1u);
}

}  // namespace
}  // namespace notavera
