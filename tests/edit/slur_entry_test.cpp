// Slurs typed with ( and ): which notes carry the curve flags, and every refusal with message 18.
#include "edit/slur_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

constexpr std::uint32_t startBits = (1u << 1) | (1u << 2);
constexpr std::uint32_t endBits = (1u << 1) | (1u << 3);
constexpr std::uint32_t curveBits = startBits | endBits;

class SlurEntryTest : public ::testing::Test {
protected:
    SlurEntryTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }
    const std::vector<ElementRecord>& elements() { return ctx.doc.staff()->elements; }
    std::uint32_t curve(std::size_t i) { return elements()[i].word0 & curveBits; }
    void type(std::string_view keys) {
        for (const char c : keys) {
            if (c >= '1' && c <= '9') DispatchKey(ctx, static_cast<Key>(static_cast<int>(Key::F1) + (c - '1')), {});
            else DispatchChar(ctx, static_cast<char32_t>(c));
        }
    }
    void cursorOn(int i) {
        ctx.doc.currentElement = i;
        ctx.shell.cursor.x = elements()[static_cast<std::size_t>(i)].x;
    }
    bool slurOpen() const { return (ctx.doc.insertion.switches & SwitchSlur) != 0; }
    // The refusal: message 18, and the staff exactly as it was.
    void expectRefused(const std::vector<ElementRecord>& before) {
        ASSERT_FALSE(ui.messages().empty());
        EXPECT_EQ(ui.messages().back().stringId, 18);
        EXPECT_EQ(ui.messages().back().text, "Employez liaison libre");
        ASSERT_EQ(elements().size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(elements()[i].word0, before[i].word0) << i;
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(SlurEntryTest, TypedAroundNotesTheSlurRunsFromTheFirstToTheLast) {
    type("(234)5");
    ASSERT_EQ(elements().size(), 4u);
    EXPECT_EQ(curve(0), startBits);
    EXPECT_EQ(curve(1), 0u);
    EXPECT_EQ(curve(2), endBits);
    EXPECT_EQ(curve(3), 0u);
    EXPECT_FALSE(slurOpen());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(SlurEntryTest, OpenedOnTheNoteAtTheCursorAndClosedOnTheNoteAtTheCursor) {
    type("2345");
    cursorOn(1);
    type("(");
    EXPECT_EQ(curve(1), startBits);
    cursorOn(3);
    type(")");
    EXPECT_EQ(curve(3), endBits);
    EXPECT_EQ(curve(0) | curve(2), 0u);
}

TEST_F(SlurEntryTest, ARestDoesNotTakeTheStartOfASlurWaitingForItsNote) {
    type("(S23)");
    ASSERT_EQ(elements().size(), 3u);
    EXPECT_EQ(curve(0), 0u);
    EXPECT_EQ(curve(1), startBits);
    EXPECT_EQ(curve(2), endBits);
}

TEST_F(SlurEntryTest, ClosingWithoutAnOpenSlurIsRefused) {
    type("23");
    const auto before = elements();
    const bool modified = ctx.doc.modified;
    type(")");
    expectRefused(before);
    EXPECT_EQ(ctx.doc.modified, modified);
}

TEST_F(SlurEntryTest, ClosingBeforeANoteBeganTheSlurIsRefusedAndTheSlurStaysOpen) {
    type("2(");
    const auto before = elements();
    type(")");
    expectRefused(before);
    EXPECT_TRUE(slurOpen());
    type("3)");  // the next note begins it, a later one may end it
    type("4)");
    EXPECT_EQ(curve(1), startBits);
    EXPECT_EQ(curve(2), endBits);
}

TEST_F(SlurEntryTest, ASlurCannotEndOnTheNoteItStartsOn) {
    type("2");
    cursorOn(0);
    type("(");
    const auto before = elements();
    type(")");
    expectRefused(before);
    EXPECT_TRUE(slurOpen());
}

TEST_F(SlurEntryTest, ASlurCannotEndBeforeItsStart) {
    type("234");
    cursorOn(2);
    type("(");
    cursorOn(0);
    const auto before = elements();
    type(")");
    expectRefused(before);
}

TEST_F(SlurEntryTest, OnAStaffOfAnotherVoiceTheSlurIsAFreeSlur) {
    type("(2");
    ctx.doc.currentStaff = 1;
    ctx.doc.currentElement = -1;
    ctx.shell.cursor.x = 60;
    type("3");
    ASSERT_NE(ctx.doc.staff()->voice().voice(), ctx.doc.findPage(1)->staves[0].voice().voice());
    const auto before = elements();
    type(")");
    expectRefused(before);
}

TEST_F(SlurEntryTest, OnALaterLineOfTheSameVoiceTheSlurEndsThere) {
    type("(2");
    PageRecord& page = *ctx.doc.findPage(1);
    page.staves[2].voice().setVoice(page.staves[0].voice().voice());
    ctx.doc.currentStaff = 2;
    ctx.doc.currentElement = -1;
    ctx.shell.cursor.x = 60;
    type("3)");
    EXPECT_EQ(curve(0), endBits);
    EXPECT_FALSE(slurOpen());
}

TEST_F(SlurEntryTest, WhileTheSlurIsOpenInsertAndDeleteAreRefused) {
    type("2(3");
    DispatchKey(ctx, Key::Insert, {});
    DispatchKey(ctx, Key::Delete, {});
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].stringId, 20);
    EXPECT_EQ(ui.messages()[1].stringId, 20);
    EXPECT_FALSE(ctx.shell.input.insertionOpen);
    EXPECT_EQ(elements().size(), 2u);
}

TEST_F(SlurEntryTest, InTheZSymbolModeTheOpeningCharacterChoosesTheFreeSlur) {
    ctx.shell.input.zSymbolMode = 1;
    type("(");
    EXPECT_EQ(ctx.shell.input.currentTool, 'l');
    EXPECT_FALSE(slurOpen());
    EXPECT_EQ(ctx.doc.insertion.word0Once, 0u);
}

}  // namespace
}  // namespace notavera
