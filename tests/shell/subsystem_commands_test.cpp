// The menu commands handed to other subsystems: the help file beside the program, About, the MIDI file written
// where the user chose, and GUIDO import refused while a file is open.
#include "shell/subsystem_commands.h"

#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "support/score_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

// A window that records the help and About requests.
class HelpUi : public HeadlessUi {
public:
    HelpUi() : HeadlessUi(nullptr) {}
    bool showHelp(const std::string& path) override {
        helpPath = path;
        return true;
    }
    void showAbout() override { ++abouts; }

    std::string helpPath;
    int abouts = 0;
};

TEST(SubsystemCommands, HelpOpensTheFileBesideTheProgramOrOnlyBeepsWithoutAHelpWindow) {
    EXPECT_EQ(HelpFilePath("/opt/notavera/bin/notavera"), fs::path("/opt/notavera/bin/notavera.hlp"));
    HelpUi ui;
    EditorContext ctx(ui);
    DispatchCommand(ctx, 901);
    EXPECT_EQ(fs::path(ui.helpPath).filename(), "notavera.hlp");
    DispatchCommand(ctx, 9);
    EXPECT_EQ(ui.abouts, 1);
    HeadlessUi plain(nullptr);
    EditorContext other(plain);
    DispatchCommand(other, 901);
    EXPECT_EQ(plain.beeps(), 1);
}

TEST(SubsystemCommands, SaveMidiFileWritesWhereTheUserChose) {
    test::TempDir dir;
    test::ScoreBuilder score;
    score.on(1, 0).notes(100, 40, 4, 3);
    score.setCurrent(1, 0);
    DispatchCommand(score.ctx(), 241);  // dialog cancelled
    score.ui().queueFileName((dir / "sortie.mid").string());
    DispatchCommand(score.ctx(), 241);
    EXPECT_EQ(score.ui().fileDialogs().size(), 2u);
    EXPECT_EQ(score.ui().fileDialogs()[0].filters.at(0).label, "Fichiers MIDI (*.mid)");
    ASSERT_TRUE(fs::exists(dir / "sortie.mid"));
    EXPECT_EQ(test::ReadBytes(dir / "sortie.mid").at(0), 'M');
    EXPECT_TRUE(score.ui().messages().empty());
}

TEST(SubsystemCommands, GuidoImportIsRefusedWhileADocumentFileIsOpen) {
    test::ScoreBuilder score;
    score.doc().storage.fileState = FileState::Open;
    DispatchCommand(score.ctx(), 902);
    EXPECT_TRUE(score.ui().fileDialogs().empty());
}

}  // namespace
}  // namespace notavera
