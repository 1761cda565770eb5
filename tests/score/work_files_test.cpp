// The working, backup and autosave files: names, the recovery offer, safe publishing, the lock
// against a second instance, and the autosave minute logic.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "score/working_file_lock.h"
#include "shell/autosave_timer.h"
#include "shell/editor_context.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;
using test::WriteText;

const std::string heldElsewhere = " est déjà ouvert dans une autre fenêtre de Notavera";

// Runs with its own private runtime folder, so that nothing leaks into the user's.
class WorkFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        fs::create_directory(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }

    // Files of the folder whose names none of the known files bear: temporary leftovers.
    std::vector<std::string> strayFiles(const std::vector<std::string>& known) const {
        std::vector<std::string> stray;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name != "runtime" && std::find(known.begin(), known.end(), name) == known.end()) stray.push_back(name);
        }
        return stray;
    }

    TempDir dir;
    fs::path runtime = dir / "runtime";
    fs::path document = dir / "song.mus";
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

// ---- names ----

struct NameCase {
    const char* document;
    const char* working;
    const char* backup;
    const char* autosave;
};

class WorkFileNames : public WorkFilesTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(WorkFileNames, FollowTheDocumentName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(WorkingFileName(dir / c.document), dir / c.working);
    EXPECT_EQ(BackupName(dir / c.document), dir / c.backup);
    EXPECT_EQ(AutosaveName(dir / c.document), dir / c.autosave);
}

INSTANTIATE_TEST_SUITE_P(
    Names, WorkFileNames,
    ::testing::Values(NameCase{"song.mus", "song.sum", "song.bak", "song.sav"},
                      NameCase{"Song.MUS", "Song.sUm", "Song.bak", "Song.sav"},
                      NameCase{"a.tar.mus", "a.tar.sum", "a.tar.bak", "a.tar.sav"},
                      // Names the rules would turn into the document itself get the extension appended.
                      NameCase{"song.sum", "song.sum.sum", "song.bak", "song.sav"},
                      NameCase{"old.bak", "old.sam", "old.bak.bak", "old.sav"},
                      NameCase{"x.sav", "x.sam", "x.bak", "x.sav.sav"},
                      NameCase{"ab", "ab.sum", "ab.bak", "ab.sav"}));

TEST(WithExtension, ReplacesOnlyInTheFileName) {
    EXPECT_EQ(WithExtension("d/song.mus", ".bak"), fs::path("d/song.bak"));
    EXPECT_EQ(WithExtension("my.folder/song", ".sav"), fs::path("my.folder/song.sav"));
    EXPECT_EQ(WithExtension("song.sav", ".mus"), fs::path("song.mus"));
}

TEST_F(WorkFilesTest, UnwritableFolderPutsTheWorkingFileInThePrivateFolder) {
    fs::path folder = dir / "readonly";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(folder.c_str(), W_OK) == 0) folder = "/proc/self";  // permissions do not hold back root
    if (access(folder.c_str(), W_OK) == 0) GTEST_SKIP() << "no folder here is read-only";

    const fs::path working = WorkingFileName(folder / "song.mus");
    EXPECT_EQ(working.filename(), "song.sum");
    EXPECT_EQ(working.parent_path().parent_path(), runtime / "notavera");
    EXPECT_EQ(AutosaveName(folder / "song.mus").parent_path(), working.parent_path());
    // The same name in another folder does not share the working file.
    EXPECT_NE(WorkingFileName("/proc/song.mus"), working);
    ASSERT_TRUE(MakeWorkFolder(working.parent_path()));
    EXPECT_EQ(fs::status(working.parent_path()).permissions(), fs::perms::owner_all);
}

TEST_F(WorkFilesTest, PrivateFolderOpenToOthersIsRefused) {
    const fs::path folder = runtime / "notavera" / "0123456789abcdef";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all);
    EXPECT_FALSE(MakeWorkFolder(folder));
    EXPECT_TRUE(MakeWorkFolder(dir.path()));  // the document's own folder is taken as it is
}

// ---- copies ----

TEST_F(WorkFilesTest, CopyFileCopiesEveryBlock) {
    std::string big(3 * 32768 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    WriteText(dir / "a", big);
    ASSERT_TRUE(CopyFile(dir / "a", dir / "b"));
    EXPECT_EQ(ReadText(dir / "b"), big);

    WriteText(dir / "b", "longer old content that must go");
    WriteText(dir / "a", "new");
    ASSERT_TRUE(CopyFile(dir / "a", dir / "b"));
    EXPECT_EQ(ReadText(dir / "b"), "new");
}

TEST_F(WorkFilesTest, CopyFileFromNothingDoesNothing) {
    EXPECT_TRUE(CopyFile(dir / "missing", dir / "b"));
    EXPECT_FALSE(fs::exists(dir / "b"));
}

TEST_F(WorkFilesTest, CopyFileOntoItselfKeepsTheContent) {
    WriteText(dir / "a", "content");
    EXPECT_TRUE(CopyFile(dir / "a", dir / "." / "a"));
    EXPECT_EQ(ReadText(dir / "a"), "content");
}

// ---- opening and the recovery check ----

class RecoveryCheck : public WorkFilesTest {
protected:
    void SetUp() override {
        WorkFilesTest::SetUp();
        WriteText(document, "document");
        WriteText(saved, "autosaved");
    }
    fs::path saved = dir / "song.sav";
};

TEST_F(RecoveryCheck, YesCopiesTheAutosaveToTheChosenName) {
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueFileName((dir / "recovered.mus").string());
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));

    ASSERT_EQ(ui.messages().size(), 1u);
    const MessageBoxRequest& box = ui.messages()[0];
    EXPECT_EQ(box.caption, "Notavera");
    EXPECT_EQ(box.stringId, 72);
    EXPECT_EQ(box.text, "Une version de sauvegarde <" + saved.string() +
                            "> peut-être plus complète existe. Voulez-vous la sauver ?");
    EXPECT_EQ(box.icon, MessageIcon::Question);
    EXPECT_EQ(box.buttons, MessageButtons::YesNoCancel);
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    ASSERT_EQ(ui.fileDialogs()[0].filters.size(), 1u);
    EXPECT_EQ(ui.fileDialogs()[0].filters[0].label, "Fichiers RECUPERATION (*.SAV)");

    EXPECT_EQ(ReadText(dir / "recovered.mus"), "autosaved");
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_EQ(ReadText(dir / "song.sum"), "document");
    EXPECT_EQ(ctx.doc.storage.path, document);
    EXPECT_EQ(ctx.doc.storage.workingPath, dir / "song.sum");
}

TEST_F(RecoveryCheck, NoDeletesWithoutCopying) {
    ui.queueAnswer(MessageAnswer::No);
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    EXPECT_TRUE(ui.fileDialogs().empty());
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_EQ(ReadText(document), "document");
}

TEST_F(RecoveryCheck, CancelDeletesToo) {
    ui.queueAnswer(MessageAnswer::Cancel);
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    EXPECT_TRUE(ui.fileDialogs().empty());
    EXPECT_FALSE(fs::exists(saved));
}

TEST_F(RecoveryCheck, YesThenNoNameDeletes) {
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueFileName(std::nullopt);
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    EXPECT_FALSE(fs::exists(saved));
}

TEST_F(RecoveryCheck, RecoveredOverTheDocumentIsWhatOpens) {
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueFileName(document.string());
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    EXPECT_EQ(ReadText(document), "autosaved");
    EXPECT_EQ(ReadText(dir / "song.sum"), "autosaved");
}

TEST_F(RecoveryCheck, ChoosingTheAutosaveItselfKeepsIt) {
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueFileName(saved.string());
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    EXPECT_EQ(ReadText(saved), "autosaved");
}

TEST_F(RecoveryCheck, FailedCopyKeepsTheAutosave) {
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueFileName((dir / "no-such-folder" / "x.mus").string());
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    EXPECT_EQ(ReadText(saved), "autosaved");
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].stringId, 2);
}

TEST_F(RecoveryCheck, BatchInspectionLeavesTheAutosaveAlone) {
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, false));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(ReadText(saved), "autosaved");
}

TEST_F(WorkFilesTest, OpeningAnotherDocumentDropsTheFirstOnesWorkFiles) {
    WriteText(document, "one");
    WriteText(dir / "two.mus", "two");
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));  // the same document again: not "another instance"
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, dir / "two.mus", true));
    EXPECT_FALSE(fs::exists(dir / "song.sum"));
    EXPECT_EQ(ReadText(dir / "two.sum"), "two");
    DeleteWorkFiles(ctx.doc);
    EXPECT_TRUE(strayFiles({"song.mus", "two.mus"}).empty());
}

TEST_F(WorkFilesTest, MissingDocumentMakesNoWorkingFile) {
    EXPECT_FALSE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].stringId, 1);
    EXPECT_TRUE(strayFiles({}).empty());
}

// ---- a second instance ----

TEST_F(WorkFilesTest, SecondInstanceIsRefusedAndLeavesEverythingAlone) {
    WriteText(document, "document");
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    WriteText(dir / "song.sum", "edited pages");
    WriteText(dir / "song.sav", "first instance's autosave");

    HeadlessUi otherUi{nullptr};
    EditorContext other{otherUi};
    EXPECT_FALSE(PrepareWorkingFile(other.doc, other.ui, document, true));
    ASSERT_EQ(otherUi.messages().size(), 1u);
    EXPECT_EQ(otherUi.messages()[0].caption, "Erreur");
    EXPECT_EQ(otherUi.messages()[0].text, "Le fichier " + document.string() + heldElsewhere);
    EXPECT_EQ(ReadText(dir / "song.sum"), "edited pages");
    EXPECT_EQ(ReadText(dir / "song.sav"), "first instance's autosave");
    EXPECT_FALSE(NameDocument(other.doc, other.ui, document));
    // Cleaning up after the refusal must not take the first instance's working file.
    other.doc.storage.workingPath = WorkingFileName(document);
    DeleteWorkFiles(other.doc);
    EXPECT_EQ(ReadText(dir / "song.sum"), "edited pages");

    DeleteWorkFiles(ctx.doc);
    EXPECT_TRUE(PrepareWorkingFile(other.doc, other.ui, document, true));
}

TEST_F(WorkFilesTest, CrashedInstanceLeavesNoLockBehind) {
    WriteText(document, "document");
    const fs::path lockFile = LockFileName(WorkingFileName(document));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WorkingFileLock lock;
        const char held = lock.acquire(lockFile) == WorkingFileLock::Result::Acquired ? 'y' : 'n';
        (void)!write(ready[1], &held, 1);
        pause();  // killed while holding the lock
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    EXPECT_FALSE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(fs::exists(lockFile));  // the crash left the file, not the lock
    EXPECT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
}

TEST_F(WorkFilesTest, NamingMovesTheWorkingFileAndFreesTheOldName) {
    WriteText(document, "document");
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    ctx.doc.storage.fileState = FileState::Open;
    ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, dir / "copy.mus"));
    EXPECT_EQ(ReadText(dir / "copy.sum"), "document");
    EXPECT_FALSE(fs::exists(dir / "song.sum"));

    HeadlessUi otherUi{nullptr};
    EditorContext other{otherUi};
    EXPECT_TRUE(PrepareWorkingFile(other.doc, other.ui, document, true));
    EXPECT_FALSE(PrepareWorkingFile(other.doc, other.ui, dir / "copy.mus", true));
}

// ---- publishing ----

class Publish : public WorkFilesTest {
protected:
    // What a save leaves before publishing: the pages written into the working file.
    void saveContent(const std::string& content) {
        ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, document));
        WriteText(ctx.doc.storage.workingPath, content);
        ctx.doc.storage.fileState = FileState::Publish;
    }
};

TEST_F(Publish, FirstSaveOfANewDocumentMakesNoBackup) {
    WriteText(dir / "song.sav", "autosaved");
    saveContent("version 1");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(ReadText(document), "version 1");
    EXPECT_FALSE(fs::exists(dir / "song.bak"));
    EXPECT_FALSE(fs::exists(dir / "song.sav"));
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Open);
}

TEST_F(Publish, SecondSaveKeepsThePreviousVersionAsBackup) {
    saveContent("version 1");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    saveContent("version 2");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(ReadText(document), "version 2");
    EXPECT_EQ(ReadText(dir / "song.bak"), "version 1");
    DeleteWorkFiles(ctx.doc);
    EXPECT_TRUE(strayFiles({"song.mus", "song.bak"}).empty());
}

TEST_F(Publish, MissingWorkingFileLosesNothing) {
    WriteText(document, "published");
    WriteText(dir / "song.bak", "older");
    WriteText(dir / "song.sav", "autosaved");
    saveContent("unused");
    fs::remove(ctx.doc.storage.workingPath);
    EXPECT_FALSE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(ReadText(document), "published");
    EXPECT_EQ(ReadText(dir / "song.bak"), "older");
    EXPECT_EQ(ReadText(dir / "song.sav"), "autosaved");
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Publish);  // the next save tries again
}

TEST_F(Publish, BackupThatCannotBeReplacedLosesNothing) {
    WriteText(document, "published");
    WriteText(dir / "song.sav", "autosaved");
    fs::create_directories(dir / "song.bak" / "in the way");
    saveContent("new version");
    EXPECT_FALSE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(ReadText(document), "published");
    EXPECT_EQ(ReadText(dir / "song.sav"), "autosaved");
    EXPECT_TRUE(strayFiles({"song.mus", "song.sav", "song.bak", "song.sum", ".song.sum.lock"}).empty());
}

TEST_F(Publish, ReplacedDocumentKeepsItsPermissions) {
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    WriteText(document, "published");
    fs::permissions(document, mode);
    saveContent("new version");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(fs::status(document).permissions(), mode);
}

TEST_F(Publish, DocumentReachedThroughALinkStaysALink) {
    fs::create_directory(dir / "real");
    WriteText(dir / "real" / "song.mus", "published");
    fs::create_symlink(dir / "real" / "song.mus", document);
    saveContent("new version");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    EXPECT_TRUE(fs::is_symlink(document));
    EXPECT_EQ(ReadText(dir / "real" / "song.mus"), "new version");
    EXPECT_EQ(ReadText(dir / "song.bak"), "published");
}

// ---- autosave ----

// A document of one page with one note, saved once under its name.
class AutosaveTest : public WorkFilesTest {
protected:
    void SetUp() override {
        WorkFilesTest::SetUp();
        PageRecord page;
        page.number = 1;
        page.layoutWord().setStaffCount(1);
        page.staves.emplace_back();
        page.staves[0].elements.emplace_back();
        page.staves[0].elements[0].x = 60;
        ctx.doc.pages.push_back(std::move(page));
        ctx.doc.pageCount = 1;
        ctx.doc.currentPage = 1;
        ctx.doc.storage.windowFirst = ctx.doc.storage.windowLast = 1;
        ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, document));
        ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
        ASSERT_TRUE(fs::exists(document));
        ASSERT_EQ(ctx.doc.storage.fileState, FileState::Open);
        published = ReadText(document);
        ctx.doc.pages[0].staves[0].elements[0].x = 80;
        ctx.doc.markModified();
    }
    void TearDown() override {
        DeleteWorkFiles(ctx.doc);
        WorkFilesTest::TearDown();
    }
    void tick(int minutes) {
        for (int i = 0; i < minutes; ++i) AutosaveMinuteTick(ctx);
    }

    fs::path saved = dir / "song.sav";
    std::string published;
};

TEST_F(AutosaveTest, RunsEveryDelayMinutes) {
    EXPECT_TRUE(SetAutosaveDelay(ctx, 3));
    tick(2);
    EXPECT_FALSE(fs::exists(saved));
    tick(1);
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(ReadText(saved), ReadText(ctx.doc.storage.workingPath));
    EXPECT_NE(ReadText(saved), published);
    fs::remove(saved);
    tick(2);
    EXPECT_FALSE(fs::exists(saved));
    tick(1);
    EXPECT_TRUE(fs::exists(saved));
}

TEST_F(AutosaveTest, LeavesTheDocumentUnpublishedAndModified) {
    ctx.doc.currentStaff = 0;
    ctx.doc.currentElement = 0;
    SetAutosaveDelay(ctx, 1);
    tick(1);
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(ReadText(document), published);
    EXPECT_FALSE(fs::exists(dir / "song.bak"));
    EXPECT_TRUE(ctx.doc.modified);
    EXPECT_EQ(ctx.doc.currentPage, 1);
    EXPECT_EQ(ctx.doc.currentElement, 0);
}

TEST_F(AutosaveTest, PendingPublicationWaitsForTheExplicitSave) {
    ctx.doc.storage.fileState = FileState::Publish;
    SetAutosaveDelay(ctx, 1);
    tick(1);
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(ReadText(document), published);
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Publish);
}

TEST_F(AutosaveTest, UnmodifiedDocumentIsNotSaved) {
    ctx.doc.modified = false;
    SetAutosaveDelay(ctx, 3);
    tick(3);
    EXPECT_FALSE(fs::exists(saved));
}

TEST_F(AutosaveTest, WaitsWhileAnEditIsUnderWay) {
    SetAutosaveDelay(ctx, 1);
    for (bool* busy : {&ctx.shell.input.insertionOpen, &ctx.shell.maskEditing, &ctx.shell.input.templateStaffMode}) {
        *busy = true;
        tick(1);
        EXPECT_FALSE(fs::exists(saved));
        *busy = false;
    }
    tick(1);
    EXPECT_TRUE(fs::exists(saved));
}

TEST_F(AutosaveTest, OffThenOnAgainStillRuns) {
    SetAutosaveDelay(ctx, 3);
    tick(2);
    EXPECT_FALSE(SetAutosaveDelay(ctx, 0));
    tick(5);
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_TRUE(SetAutosaveDelay(ctx, 3));
    tick(2);
    EXPECT_FALSE(fs::exists(saved));  // the count restarted with the new delay
    tick(1);
    EXPECT_TRUE(fs::exists(saved));
}

TEST_F(AutosaveTest, ExplicitSaveDeletesTheAutosave) {
    SetAutosaveDelay(ctx, 1);
    tick(1);
    ASSERT_TRUE(fs::exists(saved));
    ctx.doc.storage.fileState = FileState::Publish;
    ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_EQ(ReadText(dir / "song.bak"), published);
}

TEST(AutosaveDelay, TypedValueIsClamped) {
    EXPECT_EQ(ClampAutosaveDelay("75", 2), 60);
    EXPECT_EQ(ClampAutosaveDelay("-5", 2), 0);
    EXPECT_EQ(ClampAutosaveDelay("60", 2), 60);
    EXPECT_EQ(ClampAutosaveDelay("0", 2), 0);
    EXPECT_EQ(ClampAutosaveDelay(" 7", 2), 7);
    EXPECT_EQ(ClampAutosaveDelay("123", 2), 12);  // two digits are read
    EXPECT_EQ(ClampAutosaveDelay("", 5), 5);
    EXPECT_EQ(ClampAutosaveDelay("abc", 5), 5);
    EXPECT_EQ(ClampAutosaveDelay("-", 5), 5);
}

TEST(AutosaveDelay, SettingClampsAndRestartsTheCount) {
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    ctx.shell.autosaveMinutes = 2;
    EXPECT_TRUE(SetAutosaveDelay(ctx, 75));
    EXPECT_EQ(ctx.shell.autosaveDelay, 60);
    EXPECT_EQ(ctx.shell.autosaveMinutes, 0);
    EXPECT_FALSE(SetAutosaveDelay(ctx, -5));
    EXPECT_EQ(ctx.shell.autosaveDelay, 0);
}

}  // namespace
}  // namespace notavera
