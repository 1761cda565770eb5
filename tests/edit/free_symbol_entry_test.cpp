// The Z-symbol mode: the "ZSymbole" prompt, the symbol characters that choose a free accidental or dots, and the
// note keys that place the choice at their height.
#include "edit/free_symbol_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/sign_characters.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class FreeSymbolEntryTest : public ::testing::Test {
protected:
    FreeSymbolEntryTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }
    const std::vector<ElementRecord>& elements() { return ctx.doc.staff()->elements; }
    void startMode(bool ok = true) {
        ui.queueDialogAnswer({"ZSymbole", {}, ok});
        DispatchChar(ctx, 'z');
    }
    void noteKey(int index) { DispatchKey(ctx, static_cast<Key>(static_cast<int>(Key::F1) + index), {}); }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST(ZSymbolPromptTest, ThePromptShowsItsText) {
    EXPECT_EQ(zSymbolPrompt, "Entrez Symbole ( d D b B h u U ( . : ) + Hauteur (F1...F9)");
}

TEST_F(FreeSymbolEntryTest, ASharpChosenThenF5IsAFreeSharpOnF) {
    startMode();
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 1);
    DispatchChar(ctx, 'd');
    EXPECT_EQ(ctx.doc.insertion.accidental, Accidental::None);
    noteKey(4);
    ASSERT_EQ(elements().size(), 1u);
    const ElementRecord& e = elements()[0];
    EXPECT_TRUE(e.isSignOfType(SignType::FreeAccidental));
    EXPECT_EQ(e.signWord().subValue(), static_cast<unsigned>(Accidental::Sharp));
    EXPECT_EQ(e.signWord().code(), 4u);
    EXPECT_EQ(e.w0().octave(), 4u);
    EXPECT_EQ(e.x, 60);
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 0);  // one symbol per prompt
    noteKey(4);                           // the note key is a note again
    EXPECT_TRUE(elements()[1].isNote());
}

TEST_F(FreeSymbolEntryTest, DoubleDotsOnTheKeyAboveTheOctaveGoToCAbove) {
    startMode();
    DispatchChar(ctx, ':');
    EXPECT_EQ(ctx.doc.insertion.dots, 0u);
    noteKey(8);
    ASSERT_EQ(elements().size(), 1u);
    const ElementRecord& e = elements()[0];
    EXPECT_TRUE(e.isSignOfType(SignType::FreeDot));
    EXPECT_TRUE(e.signWord().flag16());
    EXPECT_EQ(e.signWord().code(), 1u);
    EXPECT_EQ(e.w0().octave(), 5u);
}

TEST_F(FreeSymbolEntryTest, WithoutASymbolChosenTheNoteKeysOnlyBeep) {
    startMode();
    noteKey(4);
    EXPECT_TRUE(elements().empty());
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 1);
}

TEST_F(FreeSymbolEntryTest, CancellingThePromptLeavesTheNoteKeysAlone) {
    startMode(false);
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 0);
    noteKey(4);
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_TRUE(elements()[0].isNote());
}

TEST_F(FreeSymbolEntryTest, EscapeLeavesTheMode) {
    startMode();
    DispatchChar(ctx, 'b');
    DispatchKey(ctx, Key::Escape, {});
    noteKey(4);
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_TRUE(elements()[0].isNote());
}

}  // namespace
}  // namespace notavera
