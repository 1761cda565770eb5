// The working, backup and autosave files: names, the recovery offer, safe publishing, the lock
// against a second instance, and the autosave minute logic.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "score/working_file_lock.h"
#include "shell/autosave_timer.h"
#include "shell/editor_context.h"
#include "shell/file_commands.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::WriteText;

// Runs with its own private runtime folder, so that nothing leaks into the user's.
class WorkFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        WriteText(document, "document");
    }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }
    // The files of the folder, temporary leftovers included.
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) names.insert(entry.path().filename().string());
        names.erase("runtime");
        return names;
    }
    test::TempDir dir;
    fs::path runtime = dir / "runtime";
    fs::path document = dir / "song.mus";
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(WorkFilesTest, NamesFollowTheDocumentName) {
    // Names the rules would turn into the document itself get the extension appended.
    const std::vector<std::vector<std::string>> names = {
        {"song.mus", "song.sum", "song.bak", "song.sav"}, {"Song.MUS", "Song.sUm", "Song.bak", "Song.sav"},
        {"a.tar.mus", "a.tar.sum", "a.tar.bak", "a.tar.sav"}, {"song.sum", "song.sum.sum", "song.bak", "song.sav"},
        {"old.bak", "old.sam", "old.bak.bak", "old.sav"},    {"x.sav", "x.sam", "x.bak", "x.sav.sav"},
        {"ab", "ab.sum", "ab.bak", "ab.sav"}};
    for (const auto& n : names) {
        EXPECT_EQ(WorkingFileName(dir / n[0]), dir / n[1]);
        EXPECT_EQ(BackupName(dir / n[0]), dir / n[2]);
        EXPECT_EQ(AutosaveName(dir / n[0]), dir / n[3]);
    }
    EXPECT_EQ(WithExtension("my.folder/song", ".sav"), fs::path("my.folder/song.sav"));
}

// The recovery offer on opening a document beside its autosave: what is answered, and what is left.
TEST_F(WorkFilesTest, RecoveryOfferCopiesTheAutosaveOnlyWhereAsked) {
    struct Recovery {
        std::optional<MessageAnswer> answer;  // none: the batch inspection, which asks nothing
        std::optional<std::string> chosen;    // the name given for the copy
        const char* copy;                     // what the chosen file then holds
        bool autosaveKept;
        const char* documentAfter;
        std::vector<int> messages;
    };
    const Recovery cases[] = {
        {MessageAnswer::Yes, "recovered.mus", "autosaved", false, "document", {72}},
        {MessageAnswer::No, std::nullopt, "", false, "document", {72}},
        {MessageAnswer::Cancel, std::nullopt, "", false, "document", {72}},
        {MessageAnswer::Yes, std::nullopt, "", false, "document", {72}},                // no name given
        {MessageAnswer::Yes, "song.mus", "autosaved", false, "autosaved", {72}},        // over the document
        {MessageAnswer::Yes, "song.sav", "autosaved", true, "document", {72}},          // onto the autosave
        {MessageAnswer::Yes, "no-such-folder/x.mus", "", true, "document", {72, 2}},  // the copy fails
        {std::nullopt, std::nullopt, "", true, "document", {}},
    };
    for (const Recovery& c : cases) {
        SCOPED_TRACE(c.chosen.value_or("-"));
        HeadlessUi caseUi{nullptr};
        EditorContext open{caseUi};
        WriteText(document, "document");
        WriteText(dir / "song.sav", "autosaved");
        if (c.answer) caseUi.queueAnswer(*c.answer);
        if (c.answer == MessageAnswer::Yes)
            caseUi.queueFileName(c.chosen ? std::optional((dir / *c.chosen).string()) : std::nullopt);
        ASSERT_TRUE(PrepareWorkingFile(open.doc, open.ui, document, c.answer.has_value()));
        EXPECT_EQ(fs::exists(dir / "song.sav"), c.autosaveKept);
        EXPECT_EQ(ReadText(document), c.documentAfter);
        EXPECT_EQ(ReadText(dir / "song.sum"), c.documentAfter);  // what opens is the document as it now is
        std::vector<int> shown;
        for (const auto& m : caseUi.messages()) shown.push_back(m.stringId);
        EXPECT_EQ(shown, c.messages);
        if (c.chosen) {
            EXPECT_EQ(ReadText(dir / *c.chosen), c.copy);
        }
        DeleteWorkFiles(open.doc);
    }
}

TEST_F(WorkFilesTest, SecondInstanceIsRefusedAndLeavesEverythingAlone) {
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));  // the same document again is not "another instance"
    WriteText(dir / "song.sum", "edited pages");
    WriteText(dir / "song.sav", "first instance's autosave");
    HeadlessUi otherUi{nullptr};
    EditorContext other{otherUi};
    EXPECT_FALSE(PrepareWorkingFile(other.doc, other.ui, document, true));
    ASSERT_EQ(otherUi.messages().size(), 1u);
    EXPECT_EQ(otherUi.messages()[0].caption, "Erreur");
    EXPECT_EQ(ReadText(dir / "song.sav"), "first instance's autosave");
    EXPECT_FALSE(NameDocument(other.doc, other.ui, document));
    // Cleaning up after the refusal must not take the first instance's working file.
    other.doc.storage.workingPath = WorkingFileName(document);
    DeleteWorkFiles(other.doc);
    EXPECT_EQ(ReadText(dir / "song.sum"), "edited pages");

    // Naming moves the working file and frees the old name; opening another document drops the first one's.
    ctx.doc.storage.fileState = FileState::Open;
    ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, dir / "copy.mus"));
    EXPECT_EQ(ReadText(dir / "copy.sum"), "edited pages");
    EXPECT_TRUE(PrepareWorkingFile(other.doc, other.ui, document, true));
    EXPECT_FALSE(PrepareWorkingFile(other.doc, other.ui, dir / "copy.mus", true));
    WriteText(dir / "two.mus", "two");
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, dir / "two.mus", true));
    EXPECT_FALSE(fs::exists(dir / "copy.sum"));
    EXPECT_FALSE(PrepareWorkingFile(ctx.doc, ctx.ui, dir / "missing.mus", true));  // a missing document makes no working file
    EXPECT_EQ(ui.messages().at(0).stringId, 1);
}

// Only copies staged for this very document and left by this user go; links and look-alikes stay.
TEST_F(WorkFilesTest, OpeningRemovesTheStagingCopiesAKilledSaveLeft) {
    for (const char* ours : {".song.mus.Ab3xZ9", ".song.bak.000000"}) WriteText(dir / ours, "half written");
    const std::set<std::string> others = {".song.mus.Ab3xZ",  ".song.mus.Ab3xZ90", ".song.mus.Ab-xZ9",
                                          "song.mus.Ab3xZ9",  ".song.mu.Ab3xZ9",   ".song.musAAb3xZ9",
                                          ".other.mus.Ab3xZ9", ".song.bak.LiNk00"};
    for (const auto& name : others) WriteText(dir / name, "not ours");
    fs::remove(dir / ".song.bak.LiNk00");
    fs::create_symlink(dir / "song.mus", dir / ".song.bak.LiNk00");
    WriteText(dir / ".song.mus.OTHER1", "another user's");
    const bool chowned = chown((dir / ".song.mus.OTHER1").c_str(), 65534, 65534) == 0;  // only root can
    ASSERT_TRUE(PrepareWorkingFile(ctx.doc, ctx.ui, document, true));
    EXPECT_EQ(files().size(), others.size() + 3 + chowned) << "the document, its working file and lock";
}

// An untitled score autosaves in a file of its own; a session killed before it was named leaves it to the next start.
TEST_F(WorkFilesTest, UntitledScoreKilledBeforeItsFirstSaveIsOfferedAtTheNextStart) {
    for (const bool killed : {true, false}) {
        HeadlessUi sessionUi{nullptr};
        EditorContext session{sessionUi};
        EditorContext& c = killed ? session : ctx;  // ctx goes on: its score is not offered
        if (killed && fork() != 0) {
            wait(nullptr);
            continue;
        }
        StartEmptyDocument(c);
        c.doc.markModified();
        SetAutosaveDelay(c, 1);
        AutosaveMinuteTick(c);
        if (killed) _exit(0);
    }
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueFileName((dir / "found.mus").string());
    OpenStartDocument(ctx, "");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_GT(fs::file_size(dir / "found.mus"), 4423u);
    DeleteWorkFiles(ctx.doc);
    EXPECT_TRUE(fs::is_empty(UntitledFolder()));
}

class Publish : public WorkFilesTest {
protected:
    // What a save leaves before publishing: the pages written into the working file.
    void saveContent(const std::string& content) {
        ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, document));
        WriteText(ctx.doc.storage.workingPath, content);
        ctx.doc.storage.fileState = FileState::Publish;
    }
};

TEST_F(Publish, FirstSaveMakesNoBackupTheSecondKeepsThePreviousVersion) {
    fs::remove(document);
    WriteText(dir / "song.sav", "autosaved");
    saveContent("version 1");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(files(), (std::set<std::string>{"song.mus", "song.sum", ".song.sum.lock"}));
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Open);
    saveContent("version 2");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(ReadText(document), "version 2");
    EXPECT_EQ(ReadText(dir / "song.bak"), "version 1");
    DeleteWorkFiles(ctx.doc);
    EXPECT_EQ(files(), (std::set<std::string>{"song.mus", "song.bak"}));
}

TEST_F(Publish, FailureLosesNothingAndIsTriedAgainAtTheNextSave) {
    WriteText(dir / "song.bak", "older");
    WriteText(dir / "song.sav", "autosaved");
    saveContent("unused");
    fs::remove(ctx.doc.storage.workingPath);
    EXPECT_FALSE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(ReadText(dir / "song.bak"), "older");
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Publish);
    fs::remove(dir / "song.bak");
    fs::create_directories(dir / "song.bak" / "in the way");
    saveContent("new version");
    EXPECT_FALSE(PublishWorkingFile(ctx.doc));  // the backup cannot be replaced
    EXPECT_EQ(ReadText(document), "document");
    EXPECT_EQ(ReadText(dir / "song.sav"), "autosaved");
    EXPECT_EQ(files(), (std::set<std::string>{"song.mus", "song.sav", "song.bak", "song.sum", ".song.sum.lock"}));
}

// A document of one page with one note, saved once under its name, then modified.
TEST_F(WorkFilesTest, CrashedInstanceLeavesNoLockBehind) {
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


TEST_F(Publish, ReplacedDocumentKeepsItsPermissions) {
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    WriteText(document, "published");
    fs::permissions(document, mode);
    saveContent("new version");
    ASSERT_TRUE(PublishWorkingFile(ctx.doc));
    EXPECT_EQ(fs::status(document).permissions(), mode);
}

TEST_F(Publish, DocumentReachedThroughALinkStaysALink) {
    fs::remove(document);
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
        fs::remove(document);
        PageRecord& page = ctx.doc.pages.emplace_back();
        page.number = 1;
        page.layoutWord().setStaffCount(1);
        page.staves.emplace_back().elements.emplace_back().x = 60;
        ctx.doc.pageCount = ctx.doc.currentPage = 1;
        ctx.doc.storage.windowFirst = ctx.doc.storage.windowLast = 1;
        ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, document));
        ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
        published = ReadText(document);
        ctx.doc.pages[0].staves[0].elements[0].x = 80;
        ctx.doc.markModified();
    }
    void TearDown() override {
        DeleteWorkFiles(ctx.doc);
        WorkFilesTest::TearDown();
    }
    // Ticks minutes one by one; true when the autosave copy then exists.
    bool tick(int minutes) {
        for (int i = 0; i < minutes; ++i) AutosaveMinuteTick(ctx);
        return fs::exists(saved);
    }
    fs::path saved = dir / "song.sav";
    std::string published;
};

TEST_F(AutosaveTest, RunsEveryDelayMinutesWhenModifiedAndNoEditIsUnderWay) {
    for (const auto& [typed, delay] : {std::pair{"75", 60}, {"123", 12}, {" 7", 7}, {"-5", 0}, {"abc", 5}})
        EXPECT_EQ(ClampAutosaveDelay(typed, 5), delay) << typed;  // two digits read, clamped, or the last delay
    EXPECT_TRUE(SetAutosaveDelay(ctx, 3));
    EXPECT_FALSE(tick(2));
    ASSERT_TRUE(tick(1));
    EXPECT_EQ(ReadText(saved), ReadText(ctx.doc.storage.workingPath));
    EXPECT_NE(ReadText(saved), published);
    fs::remove(saved);
    EXPECT_FALSE(tick(2));
    EXPECT_FALSE(SetAutosaveDelay(ctx, 0));
    EXPECT_FALSE(tick(5));
    EXPECT_TRUE(SetAutosaveDelay(ctx, 1));  // the count restarts with the new delay
    for (bool* busy :
         {&ctx.shell.input.insertionOpen, &ctx.shell.maskEditing, &ctx.shell.input.templateStaffMode}) {
        *busy = true;
        EXPECT_FALSE(tick(1));
        *busy = false;
    }
    ctx.doc.modified = false;
    EXPECT_FALSE(tick(3));
    ctx.doc.modified = true;
    EXPECT_TRUE(tick(1));
}

TEST_F(AutosaveTest, LeavesTheDocumentUnpublishedUntilTheExplicitSave) {
    ctx.doc.currentElement = 0;
    ctx.doc.storage.fileState = FileState::Publish;
    SetAutosaveDelay(ctx, 1);
    ASSERT_TRUE(tick(1));
    EXPECT_EQ(ReadText(document), published);
    EXPECT_FALSE(fs::exists(dir / "song.bak"));
    EXPECT_EQ(ctx.doc.storage.fileState, FileState::Publish);
    EXPECT_TRUE(ctx.doc.modified);
    EXPECT_EQ(ctx.doc.currentElement, 0);
    ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
    EXPECT_FALSE(fs::exists(saved));  // the explicit save deletes it
    EXPECT_EQ(ReadText(dir / "song.bak"), published);
}

}  // namespace
}  // namespace notavera
