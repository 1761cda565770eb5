// The command "Lire fichier GUIDO": when it is open, its file dialog, the reading into page 1 and the
// document's new name.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/editor_context.h"
#include "shell/gmn_import_command.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

class GuidoImportCommand : public ::testing::Test {
protected:
    void SetUp() override { SetUpNewDocument(ctx.doc, 1); }
    fs::path write(const std::string& name, const std::string& text) {
        test::WriteText(dir / name, text);
        return dir / name;
    }
    std::size_t elementsOnStaff(int i) {
        return ctx.doc.findPage(1)->staves[static_cast<std::size_t>(i)].elements.size();
    }
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    test::TempDir dir;
};

TEST_F(GuidoImportCommand, ReadsTheChosenFileAndNamesTheDocumentAfterIt) {
    const fs::path file = write("piece.GMN", "{[\\clef<\"g\"> c d e], [f/2.]}");
    ui.queueFileName(file.string());
    EXPECT_EQ(RunGuidoImportCommand(ctx), 1);
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    ASSERT_EQ(ui.fileDialogs()[0].filters.size(), 1u);
    EXPECT_EQ(ui.fileDialogs()[0].filters[0].label, "Fichiers GUIDO (*.GMN)");
    EXPECT_EQ(elementsOnStaff(0), 5u);  // the music and the final bar
    EXPECT_EQ(elementsOnStaff(1), 3u);  // the treble clef of a staff that names none, its note, the final bar
    EXPECT_EQ(ctx.doc.storage.path, dir / "piece.mus");
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::None);
    EXPECT_TRUE(ctx.doc.modified);
    for (const auto& m : ui.messages()) ADD_FAILURE() << m.text;
}

TEST_F(GuidoImportCommand, RefusedWhileADocumentFileIsOpenOrAMaskIsEditedAndCancelChangesNothing) {
    ui.queueFileName(std::nullopt);
    EXPECT_EQ(RunGuidoImportCommand(ctx), 0);
    EXPECT_TRUE(ctx.doc.storage.path.empty());
    EXPECT_FALSE(ctx.doc.modified);
    EXPECT_TRUE(GuidoImportAllowed(ctx));
    ctx.doc.storage.fileState = FileState::Open;
    EXPECT_FALSE(GuidoImportAllowed(ctx));
    ctx.doc.storage.fileState = FileState::None;
    ctx.doc.storage.path = dir / "song.mus";
    EXPECT_FALSE(GuidoImportAllowed(ctx));
    ctx.doc.storage.path.clear();
    ctx.shell.maskEditing = true;
    EXPECT_FALSE(GuidoImportAllowed(ctx));
    ui.queueFileName(write("p.gmn", "[c]").string());
    EXPECT_EQ(RunGuidoImportCommand(ctx), 0);
    EXPECT_EQ(ui.fileDialogs().size(), 1u);
}

}  // namespace
}  // namespace notavera
