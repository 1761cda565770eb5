// Keys from the "Armure" menu: the staff's own key near the line start (handed down a block), key changes
// further right, cancelling keys, the dialog's memory and "Effacer Armure".
#include "edit/key_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/key_commands.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class KeyEntryTest : public ::testing::Test {
protected:
    KeyEntryTest() { ctx.doc = test::NewDocument(1); }

    StaffRecord& staff(int i = 0) { return ctx.doc.page()->staves[static_cast<std::size_t>(i)]; }
    void answer(std::vector<std::pair<std::string, std::string>> fields, bool ok = true) {
        ui.queueDialogAnswer(DialogAnswer{"Armure", std::move(fields), ok});
    }
    void placeKey(const std::string& number, const std::string& kind) {
        answer({{"Nombre", number}, {kind, "1"}});
        DispatchCommand(ctx, 125);
    }
    // Staves 0 and 1 form one block.
    void groupFirstTwoStaves() {
        for (int i = 0; i < 2; ++i) {
            staff(i).voice().setPositionInGroup(static_cast<unsigned>(i + 1));
            staff(i).voice().setGroupSize(2);
        }
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(KeyEntryTest, NearTheLineStartTheStaffTakesTheKeyAndTheCursorGoesPastIt) {
    ctx.shell.cursor.x = 40;
    placeKey("3", "Bémol");
    EXPECT_EQ(staff().key().keyKind(), KeyKind::Flats);
    EXPECT_EQ(staff().key().keyCount(), 3u);
    EXPECT_TRUE(staff().elements.empty());
    EXPECT_GT(ctx.shell.cursor.x, 40);
    EXPECT_TRUE(ctx.doc.modified);
}

TEST_F(KeyEntryTest, AStaffKeyIsHandedDownItsBlockOnlyFromTheBlocksFirstStaff) {
    groupFirstTwoStaves();
    ctx.shell.cursor.x = 40;
    placeKey("2", "Dièse");
    EXPECT_EQ(staff(1).key().keyKind(), KeyKind::Sharps);
    EXPECT_EQ(staff(1).key().keyCount(), 2u);

    ctx.doc.currentStaff = 1;
    ctx.shell.cursor.x = 40;
    placeKey("4", "Bémol");
    EXPECT_EQ(staff(0).key().keyKind(), KeyKind::Sharps) << "a lower staff keeps the block's other staves";
    EXPECT_EQ(staff(1).key().keyCount(), 4u);
}

TEST_F(KeyEntryTest, AKeyRightAfterTheOpeningClefIsTheStaffKeyWhereverTheCursorStands) {
    groupFirstTwoStaves();
    ctx.shell.cursor.x = 30;
    DispatchCommand(ctx, 201);  // the clef moves the cursor well past the line start
    ctx.shell.cursor.x = 400;
    placeKey("1", "Dièse");
    EXPECT_EQ(staff(0).elements.size(), 1u) << "no key change";
    EXPECT_EQ(staff(0).key().keyCount(), 1u);
    EXPECT_EQ(staff(1).key().keyCount(), 1u);
}

TEST_F(KeyEntryTest, FurtherRightAKeyChangeIsWrittenAndRewrittenInPlace) {
    ctx.shell.cursor.x = 500;
    placeKey("2", "Dièse");
    ASSERT_EQ(staff().elements.size(), 1u);
    const ElementRecord& e = staff().elements[0];
    EXPECT_TRUE(e.isSignOfType(SignType::KeyChange));
    EXPECT_EQ(e.x, 500);
    EXPECT_EQ(e.signWord().subValue(), 1u);
    EXPECT_EQ(e.signWord().high7(), 2u);
    EXPECT_EQ(e.signWord().code(), 2u);
    EXPECT_FALSE(e.signWord().flag16());
    EXPECT_GT(ctx.shell.cursor.x, 500);
    EXPECT_EQ(staff().key().keyKind(), KeyKind::None) << "the staff's own key is untouched";

    ctx.shell.cursor.x = 500;
    ctx.doc.currentElement = 0;
    placeKey("5", "Bémol");
    ASSERT_EQ(staff().elements.size(), 1u);
    EXPECT_EQ(staff().elements[0].signWord().subValue(), 2u);
    EXPECT_EQ(staff().elements[0].signWord().high7(), 5u);
}

TEST_F(KeyEntryTest, NumberZeroCancelsTheKeyInForceAtTheCursor) {
    staff().key().setKeyKind(KeyKind::Sharps);
    staff().key().setKeyCount(3);
    ctx.shell.cursor.x = 600;
    answer({{"Nombre", "0"}});
    DispatchCommand(ctx, 125);
    ASSERT_EQ(staff().elements.size(), 1u);
    const ElementRecord& e = staff().elements[0];
    EXPECT_TRUE(e.signWord().flag16());
    EXPECT_EQ(e.signWord().subValue(), 1u);
    EXPECT_EQ(e.signWord().high7(), 3u);
    EXPECT_FALSE(StepInKey(KeyInEffectAt(staff(), 0, 700), 4)) << "no note is altered after a cancellation";
}

TEST_F(KeyEntryTest, TheDialogOffersTheLastAnswerAndCancelChangesNothing) {
    ctx.shell.cursor.x = 40;
    placeKey("9", "Dièse");
    EXPECT_EQ(staff().key().keyCount(), 7u) << "the number is limited to 7";
    EXPECT_EQ(ctx.shell.dialogs.keyDialog.number, 7);
    EXPECT_EQ(ctx.shell.dialogs.keyDialog.kind, 1);
    const DialogModel m = MakeKeyDialog(ctx.shell.dialogs.keyDialog.number, ctx.shell.dialogs.keyDialog.kind);
    EXPECT_EQ(m.value("Nombre"), 7);
    EXPECT_TRUE(m.checked("Dièse"));
    EXPECT_FALSE(m.checked("Bémol"));

    answer({{"Nombre", "2"}, {"Bémol", "1"}}, false);
    DispatchCommand(ctx, 125);
    EXPECT_EQ(staff().key().keyKind(), KeyKind::Sharps);
    EXPECT_EQ(staff().key().keyCount(), 7u);
}

TEST_F(KeyEntryTest, AKeyWithoutKindIsNotPlaced) {
    ctx.shell.cursor.x = 500;
    answer({{"Nombre", "2"}});
    DispatchCommand(ctx, 125);
    EXPECT_TRUE(staff().elements.empty());
    EXPECT_FALSE(ctx.doc.modified);
}

TEST_F(KeyEntryTest, EffacerArmureClearsTheStaffKeyOrRemovesTheKeyChangeAtTheCursor) {
    groupFirstTwoStaves();
    ctx.shell.cursor.x = 40;
    placeKey("2", "Dièse");
    ctx.shell.cursor.x = 40;
    DispatchCommand(ctx, 128);
    EXPECT_EQ(staff(0).key().keyKind(), KeyKind::None);
    EXPECT_EQ(staff(1).key().keyCount(), 0u);

    ctx.shell.cursor.x = 500;
    placeKey("2", "Dièse");
    ctx.shell.cursor.x = 500;
    ctx.doc.currentElement = 0;
    DispatchCommand(ctx, 128);
    EXPECT_TRUE(staff().elements.empty());
}

TEST_F(KeyEntryTest, EffacerArmureLeavesANoteAtTheCursor) {
    ctx.shell.cursor.x = 500;
    DispatchKey(ctx, Key::F2, {});
    ctx.shell.cursor.x = 500;
    ctx.doc.currentElement = 0;
    DispatchCommand(ctx, 128);
    EXPECT_EQ(staff().elements.size(), 1u);
}

}  // namespace
}  // namespace notavera
