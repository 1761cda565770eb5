// The file commands (the command line, the question before a document is given up, Save As with its companion
// files, Open and New) and those handed to other subsystems: help, About, the MIDI file, GUIDO import.
#include "shell/file_commands.h"
#include "shell/subsystem_commands.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/companion_files.h"
#include "score/work_files.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/menu_state.h"
#include "shell/recent_files.h"
#include "support/score_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

TEST(CommandLine, LosesOnlyAPairOfSurroundingQuotes) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"/tmp/mon opus.mus\"", "/tmp/mon opus.mus"}, {"/tmp/opus.mus", "/tmp/opus.mus"},
        {"\"/tmp/opus.mus", "\"/tmp/opus.mus"},         {"/tmp/opus.mus\"", "/tmp/opus.mus\""},
        {"\"", "\""}, {"\"\"", ""}, {"", ""}};
    for (const auto& [given, path] : cases) EXPECT_EQ(DocumentPathFromCommandLine(given), path) << given;
}

class FileCommands : public ::testing::Test {
protected:
    FileCommands() { StartEmptyDocument(ctx); }
    ~FileCommands() override { DeleteWorkFiles(ctx.doc); }

    // A document saved in the folder and opened as at start-up.
    void openSaved(const std::string& name) {
        test::ScoreBuilder score;
        ASSERT_TRUE(score.saveAs(dir / name));
        ASSERT_EQ(OpenStartDocument(ctx, (dir / name).string()), 1);
    }

    test::TempDir dir;
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(FileCommands, QuitAsksOnlyForAModifiedDocumentAndCancelOrAFailedSaveKeepsItOpen) {
    ctx.doc.markModified();
    ui.queueAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(DoFileCommand(ctx, cmd::Quit), 0);
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueFileName(std::nullopt);  // the name dialog of the untitled document is cancelled
    EXPECT_EQ(DoFileCommand(ctx, cmd::Quit), 0);
    EXPECT_FALSE(ui.closed());
    EXPECT_TRUE(ctx.doc.modified);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].stringId, 66);
    EXPECT_EQ(ui.messages()[0].text, "Enregistrer les modifications dans (sans nom) ?");
    ctx.doc.modified = false;
    EXPECT_EQ(DoFileCommand(ctx, cmd::Quit), 1);
    EXPECT_TRUE(ui.closed());
    EXPECT_EQ(ui.messages().size(), 2u);
}

TEST_F(FileCommands, YesSavesThenQuits) {
    openSaved("opus.mus");
    ctx.doc.markModified();
    ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(DoFileCommand(ctx, cmd::Quit), 1);
    EXPECT_TRUE(ui.closed());
    EXPECT_TRUE(fs::exists(dir / "opus.bak"));
    EXPECT_FALSE(fs::exists(dir / "opus.sum"));
}

TEST_F(FileCommands, SaveOfAnUntitledDocumentAsksOnlyForANameAndWritesOnce) {
    ui.queueFileName((dir / "neuf.mus").string());
    EXPECT_EQ(DoFileCommand(ctx, cmd::Save), 1);
    EXPECT_EQ(ui.fileDialogs().size(), 1u);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(fs::exists(dir / "neuf.mus"));
    EXPECT_FALSE(fs::exists(dir / "neuf.bak"));
    EXPECT_FALSE(ctx.doc.modified);
    EXPECT_EQ(ui.title().find("Notavera v.6.5d - neuf.mus"), 0u);
}

TEST_F(FileCommands, SaveAsMovesTheCompanionFilesAndKeepsTheOldDocument) {
    openSaved("ancien.mus");
    const auto before = test::ReadBytes(dir / "ancien.mus");
    const fs::path oldSnapshot = *CompanionFileName(dir / "ancien.mus", 3, true);
    test::WriteText(oldSnapshot, "étape");
    ctx.doc.markModified();
    ui.queueFileName((dir / "nouveau.mus").string());
    EXPECT_EQ(DoFileCommand(ctx, cmd::SaveAs), 1);
    EXPECT_EQ(test::ReadBytes(dir / "ancien.mus"), before);
    EXPECT_FALSE(fs::exists(oldSnapshot));
    EXPECT_EQ(test::ReadText(*CompanionFileName(dir / "nouveau.mus", 3, true)), "étape");
    EXPECT_FALSE(fs::exists(dir / "ancien.sum"));
    EXPECT_TRUE(fs::exists(dir / "nouveau.mus"));
    DoFileCommand(ctx, cmd::Quit);
    EXPECT_FALSE(fs::exists(*CompanionFileName(dir / "nouveau.mus", 3, true)));
}

TEST_F(FileCommands, OpenCancelledKeepsTheDocumentAndOpenReadsTheChosenOneAtNormalZoom) {
    openSaved("opus.mus");
    ctx.doc.markModified();
    ui.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(DoFileCommand(ctx, cmd::Open), 0);
    EXPECT_EQ(ctx.doc.title(), "opus.mus");
    EXPECT_TRUE(fs::exists(dir / "opus.sum"));
    test::ScoreBuilder other(3);
    ASSERT_TRUE(other.saveAs(dir / "autre.mus"));
    ctx.shell.view.zoom = {3, 2};
    ui.queueAnswer(MessageAnswer::No);
    ui.queueFileName((dir / "autre.mus").string());
    EXPECT_EQ(DoFileCommand(ctx, cmd::Open), 1);
    EXPECT_EQ(ctx.doc.pageCount, 3);
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{1, 1}));
    EXPECT_TRUE(ctx.shell.documentReady);
    EXPECT_FALSE(fs::exists(dir / "opus.sum"));
}

TEST_F(FileCommands, OpeningAnUnreadableFileLeavesAnEmptyUntitledDocument) {
    test::WriteText(dir / "faux.mus", "pas une partition");
    ui.queueFileName((dir / "faux.mus").string());
    EXPECT_EQ(DoFileCommand(ctx, cmd::Open), 0);
    EXPECT_EQ(ctx.doc.title(), "");
    EXPECT_EQ(ctx.doc.pageCount, 1);
    EXPECT_FALSE(ui.messages().empty());
}

TEST_F(FileCommands, NewWithNoDiscardsTheChanges) {
    openSaved("opus.mus");
    ctx.doc.markModified();
    ui.queueAnswer(MessageAnswer::No);
    DispatchCommand(ctx, cmd::New);
    EXPECT_EQ(ctx.doc.title(), "");
    EXPECT_FALSE(ctx.doc.modified);
    EXPECT_EQ(ctx.doc.pageCount, 1);
    EXPECT_FALSE(fs::exists(dir / "opus.sum"));
}

// "Fichiers récents": the files opened and saved, newest first, open again through the menu as "Ouvrir" does.
TEST_F(FileCommands, RecentFilesOpenAgainAfterTheQuestionAndOneGoneIsSaidAndForgotten) {
    openSaved("a.mus");
    ui.queueFileName((dir / "b.mus").string());
    ASSERT_EQ(DoFileCommand(ctx, cmd::SaveAs), 1);
    const std::string a = (dir / "a.mus").string(), b = (dir / "b.mus").string();
    EXPECT_EQ(ctx.shell.settings.recentFiles, (std::vector<std::string>{b, a}));
    EXPECT_EQ(ui.storedRecentFiles(), ctx.shell.settings.recentFiles);  // kept at once, not only at the end
    EXPECT_FALSE(CommandAvailable(ctx, cmd::FirstRecentFile + 2));
    ctx.doc.markModified();
    ui.queueAnswer(MessageAnswer::Cancel);
    DispatchCommand(ctx, cmd::FirstRecentFile + 1);
    EXPECT_EQ(ctx.doc.storage.path, b);
    ui.queueAnswer(MessageAnswer::No);
    DispatchCommand(ctx, cmd::FirstRecentFile + 1);
    EXPECT_EQ(ctx.doc.storage.path, a);
    EXPECT_EQ(ctx.shell.settings.recentFiles, (std::vector<std::string>{a, b}));
    fs::remove(b);
    const std::size_t asked = ui.messages().size();
    DispatchCommand(ctx, cmd::FirstRecentFile + 1);
    ASSERT_EQ(ui.messages().size(), asked + 1);
    EXPECT_EQ(ui.messages().back().text, "Impossible de lire le fichier " + b + " !");
    EXPECT_EQ(ctx.shell.settings.recentFiles, (std::vector<std::string>{a}));
    EXPECT_EQ(ui.storedRecentFiles(), ctx.shell.settings.recentFiles);
    EXPECT_EQ(ctx.doc.storage.path, a);
}

TEST(RecentFiles, KeepTheNewestEightOnceEachWithTheirAmpersandsShown) {
    std::vector<std::string> recent;
    for (int i = 0; i < 10; ++i) RememberRecentFile(recent, "/p/" + std::to_string(i % 9) + ".mus");
    ASSERT_EQ(recent.size(), 8u);
    EXPECT_EQ(recent.front(), "/p/0.mus");
    EXPECT_EQ(recent[1], "/p/8.mus");
    EXPECT_EQ(recent.back(), "/p/2.mus");
    RememberRecentFile(recent, "/p/x/../4.mus");
    EXPECT_EQ(recent.front(), "/p/4.mus");
    EXPECT_EQ(recent.size(), 8u);
    EXPECT_EQ(RecentFileLabel(1, "/a&b/c.mus"), "&2 /a&&b/c.mus");
}

TEST(ShowDocument, PutsTheCursorOnTheCurrentElementPastTheLastOrAtTheStaffStartAndForgetsTheMarkers) {
    test::ScoreBuilder score;
    score.on(1, 0).notes(420, 100, 2, 5, 4);
    score.setCurrent(1, 0, 0);
    score.ctx().shell.cursor.markerX = 700;
    ShowDocument(score.ctx());
    EXPECT_EQ(score.ctx().shell.cursor.x, 420);
    EXPECT_EQ(score.ctx().shell.cursor.markerX, 0);
    score.setCurrent(1, 0, 1);  // the staff's last element: typing goes on after it
    ShowDocument(score.ctx());
    EXPECT_GT(score.ctx().shell.cursor.x, 520);
    score.setCurrent(1, 0, 5);  // an element the staff does not have
    ShowDocument(score.ctx());
    EXPECT_EQ(score.ctx().shell.cursor.x, score.doc().defaultFirstX);
}

// A window that records the help and About requests.
struct HelpUi : HeadlessUi {
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
    DispatchCommand(ctx, cmd::Help);
    EXPECT_EQ(fs::path(ui.helpPath).filename(), "notavera.hlp");
    DispatchCommand(ctx, cmd::About);
    EXPECT_EQ(ui.abouts, 1);
    HeadlessUi plain(nullptr);
    EditorContext other(plain);
    DispatchCommand(other, cmd::Help);
    EXPECT_EQ(plain.beeps(), 1);
}

TEST(SubsystemCommands, SaveMidiFileWritesWhereTheUserChose) {
    test::TempDir dir;
    test::ScoreBuilder score;
    score.on(1, 0).notes(100, 40, 4, 3);
    score.setCurrent(1, 0);
    DispatchCommand(score.ctx(), cmd::SaveMidiFile);  // dialog cancelled
    score.ui().queueFileName((dir / "sortie.mid").string());
    DispatchCommand(score.ctx(), cmd::SaveMidiFile);
    EXPECT_EQ(score.ui().fileDialogs().size(), 2u);
    EXPECT_EQ(score.ui().fileDialogs()[0].filters.at(0).label, "Fichiers MIDI (*.mid)");
    ASSERT_TRUE(fs::exists(dir / "sortie.mid"));
    EXPECT_EQ(test::ReadBytes(dir / "sortie.mid").at(0), 'M');
    EXPECT_TRUE(score.ui().messages().empty());
}

TEST(SubsystemCommands, GuidoImportIsRefusedWhileADocumentFileIsOpen) {
    test::ScoreBuilder score;
    score.doc().storage.fileState = FileState::Open;
    DispatchCommand(score.ctx(), cmd::ReadGuido);
    EXPECT_TRUE(score.ui().fileDialogs().empty());
}

}  // namespace
}  // namespace notavera
