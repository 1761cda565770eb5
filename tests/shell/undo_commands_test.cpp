// Undo when its files fail: a step that cannot be read changes nothing and keeps the counts; a redo file that
// cannot be written still lets the undo happen but offers no redo. An undo leaves the continuous view.
#include "shell/undo_commands.h"

#include <gtest/gtest.h>

#include "edit/undo_steps.h"
#include "platform/headless/headless_ui.h"
#include "score/companion_files.h"
#include "score/work_files.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/file_commands.h"
#include "support/score_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

class UndoCommands : public ::testing::Test {
protected:
    void SetUp() override {
        test::ScoreBuilder score;
        score.note(60, 1);
        ASSERT_TRUE(score.saveAs(dir / "opus.mus"));
        ASSERT_EQ(OpenStartDocument(ctx, (dir / "opus.mus").string()), 1);
        DispatchKey(ctx, Key::F2, {});
        ASSERT_EQ(ctx.doc.undo.undoCount, 1);
        before = ctx.doc.staff()->elements.size();
    }
    ~UndoCommands() override { DeleteWorkFiles(ctx.doc); }
    fs::path step(bool redo) { return *CompanionFileName(dir / "opus.mus", 0, redo); }

    test::TempDir dir;
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    std::size_t before = 0;
};

TEST_F(UndoCommands, AStepThatCannotBeReadChangesNothing) {
    const std::function<void(const fs::path&)> spoilers[] = {
        [](const fs::path& p) { fs::resize_file(p, 100); },  // read, but not a document
        [](const fs::path& p) { fs::remove(p); },            // not there to be copied
    };
    for (const auto& spoil : spoilers) {
        spoil(step(false));
        DispatchCommand(ctx, cmd::Undo);
        ASSERT_NE(ctx.doc.staff(), nullptr);
        EXPECT_EQ(ctx.doc.staff()->elements.size(), before);
        EXPECT_EQ(ctx.doc.undo.undoCount, 1);
        EXPECT_EQ(ctx.doc.undo.redoCount, 0);
        // The working file still holds the present state, which the undo kept as its redo file.
        EXPECT_EQ(test::ReadText(ctx.doc.storage.workingPath), test::ReadText(step(true)));
    }
}

TEST_F(UndoCommands, WithoutItsRedoFileAnUndoCannotBeCancelled) {
    fs::create_directory(step(true));
    ctx.shell.view.continuousView = true;
    ctx.shell.cursor.markerX = 500;  // markers belong to the state left
    DispatchChar(ctx, undoCharacter);
    EXPECT_EQ(ctx.doc.staff()->elements.size(), before - 1);
    EXPECT_EQ(ctx.doc.undo.undoCount, 0);
    EXPECT_EQ(ctx.doc.undo.redoCount, 0);
    EXPECT_FALSE(ctx.shell.view.continuousView);
    EXPECT_EQ(ctx.shell.cursor.markerX, 0);
}

TEST_F(UndoCommands, TheTemplateStaffModeSavesOnlyTheStepsAskedForEvenThere) {
    const struct {
        UndoKind kind;
        bool templateMode;
        int saved;
    } cases[] = {{UndoKind::Save, true, 0}, {UndoKind::SaveAlways, true, 1}, {UndoKind::Save, false, 1}};
    for (const auto& c : cases) {
        const int count = ctx.doc.undo.undoCount;
        EXPECT_EQ(UndoStep(ctx.doc, ui, c.kind, c.templateMode), c.saved);
        EXPECT_EQ(ctx.doc.undo.undoCount, count + c.saved);
    }
}

}  // namespace
}  // namespace notavera
