// The command "Lire fichier MIDI": the browser's list, its "Info" with the parameters it sets, "Effacer", and the
// import of the chosen file.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/editor_context.h"
#include "shell/midi_import_command.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

// Division 96, format 0: four quarter notes C D E F.
const std::vector<std::uint8_t> fourQuarters = {
    'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 36,
    0, 0x90, 60, 64, 96, 0x80, 60, 0, 0, 0x90, 62, 64, 96, 0x80, 62, 0,
    0, 0x90, 64, 64, 96, 0x80, 64, 0, 0, 0x90, 65, 64, 96, 0x80, 65, 0, 0, 0xFF, 0x2F, 0};

class MidiImportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpNewDocument(ctx.doc, 1);
        ctx.shell.dialogs.midiFolder = dir.path();
        for (const char* name : {"song.mid", "Other.MID"}) test::WriteBytes(dir.path() / name, fourQuarters);
        test::WriteText(dir.path() / "notes.txt", "x");
        fs::create_directory(dir.path() / "sub");
    }
    void answer(std::vector<std::pair<std::string, std::string>> fields, bool ok = true) {
        ui.queueDialogAnswer(DialogAnswer{"MainScreen", std::move(fields), ok, 0});
    }
    int count(bool (*kind)(const ElementRecord&)) const {
        const auto& els = ctx.doc.findPage(1)->staves[0].elements;
        return static_cast<int>(std::count_if(els.begin(), els.end(), kind));
    }
    static bool IsNote(const ElementRecord& e) { return !e.isSign() && !e.isRest(); }
    static bool IsBar(const ElementRecord& e) { return e.isSignOfType(SignType::Bar); }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    test::TempDir dir;
};

TEST_F(MidiImportCommand, ListsMidiFilesInAnyCaseThenFolders) {
    const std::vector<std::string> expected{"Other.MID", "song.mid", "[..]", "[sub]"};
    EXPECT_EQ(MidiBrowserEntries(dir.path()), expected);
}

TEST_F(MidiImportCommand, ImportsTheChosenFileWithTheParametersOfInfo) {
    answer({{"201", "song.mid"}, {"Info", "1"}});
    ui.queueDialogAnswer(DialogAnswer{"InfoBox", {{"Mesure (en 16e)", "6"}, {"Levée (en 16e)", "2"}}, true, 0});
    EXPECT_EQ(RunMidiImportCommand(ctx), 1);
    for (const auto& m : ui.messages()) ADD_FAILURE() << m.text;
    // An upbeat of an eighth, then bars of six sixteenths: bar lines after 2, 8 and 14 sixteenths, then the final
    // bar; the first and the last quarter are cut by a bar line into tied eighths.
    EXPECT_EQ(count(IsNote), 6);
    EXPECT_EQ(count(IsBar), 4);
    EXPECT_EQ(ctx.shell.dialogs.midiImport.barNumerator, 0u);  // the bar is the file's again next time
    EXPECT_EQ(ctx.shell.dialogs.midiImport.upbeat, 2u);
    EXPECT_EQ(ctx.doc.storage.path, "midi.mus");
}

TEST_F(MidiImportCommand, EraseAsksAndQuitLeavesTheScore) {
    answer({{"201", "Other.MID"}, {"Effacer", "1"}}, false);
    ui.queueYesNo(true);
    EXPECT_EQ(RunMidiImportCommand(ctx), 0);
    EXPECT_FALSE(fs::exists(dir.path() / "Other.MID"));
    EXPECT_TRUE(fs::exists(dir.path() / "song.mid"));
    EXPECT_FALSE(ctx.doc.modified);
    ctx.doc.storage.fileState = FileState::Open;
    EXPECT_FALSE(MidiImportAllowed(ctx));
}

}  // namespace
}  // namespace notavera
