// The whole-file subcommands as a user runs them: the interchange file out and back in, compressing, merging and
// extracting a part, on scores made from the corpus.
#include <gtest/gtest.h>

#include <functional>

#include <nlohmann/json.hpp>

#include "score/mus_file.h"
#include "support/cli_runner.h"
#include "support/mus_file_builder.h"
#include "support/test_files.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunCli;

nlohmann::json Info(const test::TempDir& dir, const std::string& file) {
    const CliResult r = RunCli(dir.path(), {"info", file, "--elements"});
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out, nullptr, false);
}

// A three-page piece imported into `name`.
void ImportPiece(const test::TempDir& dir, const std::string& name) {
    test::WriteText(dir / "piece.gmn", test::ThreePagePiece());
    const CliResult r = RunCli(dir.path(), {"import-gmn", "piece.gmn", name});
    fs::remove(dir / "piece.gmn");  // the folder holds only what the test makes of the score
    ASSERT_TRUE(fs::exists(dir / name)) << r.err;
}

// A corpus piece imported into `name`.
void ImportCorpus(const test::TempDir& dir, const std::string& piece, const std::string& name) {
    const CliResult r = RunCli(dir.path(), {"import-gmn", (test::CorpusDir() / "gmn" / piece).string(), name});
    ASSERT_TRUE(fs::exists(dir / name)) << r.err;
}

// Pages lie one after the other from 4423 in page order, and the separator closes the last.
void ExpectCompact(const nlohmann::json& doc) {
    std::uint32_t at = firstPageOffset;
    for (int i = 0; i < doc["pageCount"].get<int>(); ++i) {
        EXPECT_EQ(doc["pageTable"][i][1], at) << "page " << i + 1;
        at += doc["pageTable"][i][0].get<std::uint32_t>();
    }
    EXPECT_EQ(doc["endOfData"], at);
}

TEST(WnvCli, ExportThenImportGivesTheSameScoreLaidOutInPageOrder) {
    if (!fs::is_directory(test::CorpusDir() / "gmn")) GTEST_SKIP() << "no corpus beside the sources";
    test::TempDir dir;
    for (const std::string piece : {"guidolib_examples_bach.gmn", "guidolib_complex_Faure.gmn",
                                    "guidolib_examples_4voices.gmn"}) {
        ImportCorpus(dir, piece, "a.mus");
        // Page 1 grows and moves to the end of the data: the import must put it back in its place.
        test::WriteText(dir / "grow.txt", "cmd 64\ncmd 64\nkey F2\nkey F2\nsave\n");
        ASSERT_EQ(RunCli(dir.path(), {"script", "a.mus", "grow.txt"}).status, 0);
        CliResult r = RunCli(dir.path(), {"export-wnv", "a.mus", "a.wnv"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "MESSAGE Notavera 24 Fichier a.wnv écrit\n");
        fs::create_directory(dir / "back");
        r = RunCli(dir.path(), {"import-wnv", "a.wnv", "back/a.mus"});
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json original = Info(dir, "a.mus");
        const nlohmann::json back = Info(dir, "back/a.mus");
        if (original["pageCount"] > 1) {
            EXPECT_NE(original["pageTable"][0][1], firstPageOffset) << "page 1 moved";
        }
        EXPECT_EQ(back["pages"], original["pages"]) << piece;
        EXPECT_EQ(back["fonts"], original["fonts"]);
        EXPECT_EQ(back["midi"], original["midi"]);
        EXPECT_EQ(back["title"], "a.mus");
        ExpectCompact(back);
        fs::remove_all(dir / "back");
    }
}

TEST(WnvCli, ImportKeepsThePreviousDocumentAsOldAndAFailedOneLeavesTheTargetWhole) {
    test::TempDir dir;
    ImportPiece(dir, "a.mus");
    ASSERT_EQ(RunCli(dir.path(), {"new", "b.mus"}).status, 0);
    ASSERT_EQ(RunCli(dir.path(), {"export-wnv", "a.mus", "a.wnv"}).status, 0);
    const std::vector<std::uint8_t> before = test::ReadBytes(dir / "b.mus");

    std::vector<std::uint8_t> cut = test::ReadBytes(dir / "a.wnv");
    cut.resize(cut.size() - 200);
    test::WriteBytes(dir / "cut.wnv", cut);
    CliResult r = RunCli(dir.path(), {"import-wnv", "cut.wnv", "b.mus"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "MESSAGE Erreur 9 Erreur de lecture.\n");
    EXPECT_EQ(test::ReadBytes(dir / "b.mus"), before);

    r = RunCli(dir.path(), {"import-wnv", "a.wnv", "b.mus"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadBytes(dir / "b.old"), before);
    EXPECT_EQ(Info(dir, "b.mus")["pages"], Info(dir, "a.mus")["pages"]);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 5) << "no staged copy left";
}

// A document of `pages` pages whose texts name font 4, which the table calls `font`.
void WriteDocumentWithFont(const fs::path& path, int pages, const std::string& font) {
    test::MusFileBuilder b;
    b.fonts.setEntry(4, font, 0);
    for (int n = 1; n <= pages; ++n) {
        PageRecord page = test::MakePage(n, 2, 3);
        for (StaffRecord& staff : page.staves) staff.elements[1].signWord().setHigh7(4);
        b.addPage(page);
    }
    test::WriteBytes(path, b.build());
}

TEST(MergeCli, AppendsThePagesNumberedAfterTheDocumentsAndRenamesTheirFonts) {
    test::TempDir dir;
    WriteDocumentWithFont(dir / "five.mus", 5, "Courier");
    WriteDocumentWithFont(dir / "three.mus", 3, "Garamond");
    const CliResult r = RunCli(dir.path(), {"merge", "five.mus", "three.mus"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::uint8_t> bytes = test::ReadBytes(dir / "five.mus");
    const nlohmann::json doc = Info(dir, "five.mus");
    ASSERT_EQ(doc["pageCount"], 8);
    for (int n = 6; n <= 8; ++n) {
        const std::uint32_t offset = test::GetU32(bytes, test::pageTableEntryAt(n) + 4);
        EXPECT_EQ(test::GetU32(bytes, offset + sizeof pageSeparator), static_cast<std::uint32_t>(n));
    }
    EXPECT_EQ(doc["fonts"][4], "Courier");
    EXPECT_EQ(doc["fonts"][5], "Garamond");
    const auto textFont = [&doc](int page) {
        return doc["pages"][page - 1]["staves"][1]["elements"][1]["signWord"].get<std::uint32_t>() >> 25;
    };
    EXPECT_EQ(textFont(5), 4u);
    EXPECT_EQ(textFont(6), 5u);
    EXPECT_EQ(textFont(8), 5u);
}

struct MergeRefusal {
    const char* name;
    int documentPages;
    std::string other;                               // the file named to merge
    std::function<void(std::vector<std::uint8_t>&)> damage;  // what is done to that file first
    std::string message;
};

class MergeRefused : public ::testing::TestWithParam<MergeRefusal> {};

TEST_P(MergeRefused, LeavesTheDocumentAsItWas) {
    test::TempDir dir;
    const MergeRefusal& c = GetParam();
    WriteDocumentWithFont(dir / "doc.mus", c.documentPages, "Courier");
    WriteDocumentWithFont(dir / "other.mus", 3, "Garamond");
    std::vector<std::uint8_t> other = test::ReadBytes(dir / "other.mus");
    if (c.damage) c.damage(other);
    test::WriteBytes(dir / "other.mus", other);
    const std::vector<std::uint8_t> before = test::ReadBytes(dir / "doc.mus");
    const CliResult r = RunCli(dir.path(), {"merge", "doc.mus", c.other});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.message + "\n");
    EXPECT_EQ(test::ReadBytes(dir / "doc.mus"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeRefused,
    ::testing::Values(
        MergeRefusal{"Itself", 5, "./doc.mus", nullptr, "MESSAGE Erreur 64 Un fichier ne peut fusionner avec lui-même"},
        MergeRefusal{"Version21", 5, "other.mus", [](auto& b) { b[2] = 1; },
                     "MESSAGE Erreur 7 Version de fichiers incompatibles."},
        MergeRefusal{"Missing", 5, "absent.mus", nullptr, "MESSAGE Notavera 2 Impossible d'écrire le fichier absent.mus"},
        MergeRefusal{"LastPageEmpty", 5, "other.mus", [](auto& b) { test::PutU32(b, test::pageTableEntryAt(3), 0); },
                     "MESSAGE Notavera 4 Impossible de lire le fichier other.mus !"},
        MergeRefusal{"PageNumberedWrong", 5, "other.mus",
                     [](auto& b) { test::PutU32(b, test::GetU32(b, test::pageTableEntryAt(2) + 4) + 7, 9); },
                     "MESSAGE Notavera 4 Impossible de lire le fichier other.mus !"},
        MergeRefusal{"PastThePageTable", 253, "other.mus", nullptr,
                     "MESSAGE Erreur 75 Fusion impossible: le document dépasserait 255 pages"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompressCli, RemovesTheGapsOfSavesInPlaceAndKeepsEveryPageInOrder) {
    test::TempDir dir;
    ImportPiece(dir, "c.mus");
    test::WriteText(dir / "saves.txt", "cmd 64\ncmd 64\nkey F2\nsave\ncmd 63\nkey F2\nkey F2\nsave\ncmd 64\nkey F3\n"
                                       "save\ncmd 63\ncmd 63\nkey F2\nsave\n");
    ASSERT_EQ(RunCli(dir.path(), {"script", "c.mus", "saves.txt"}).status, 0);
    const nlohmann::json saved = Info(dir, "c.mus");
    const auto savedSize = fs::file_size(dir / "c.mus");
    CliResult r = RunCli(dir.path(), {"compress", "c.mus"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const nlohmann::json compressed = Info(dir, "c.mus");
    EXPECT_EQ(compressed["pages"], saved["pages"]);
    ExpectCompact(compressed);
    EXPECT_LT(fs::file_size(dir / "c.mus"), savedSize);
    EXPECT_EQ(fs::file_size(dir / "c.bak"), savedSize);
    ASSERT_EQ(RunCli(dir.path(), {"export-wnv", "c.mus", "c.wnv"}).status, 0);
    ASSERT_EQ(RunCli(dir.path(), {"import-wnv", "c.wnv", "fresh.mus"}).status, 0);
    EXPECT_LE(fs::file_size(dir / "c.mus"), fs::file_size(dir / "fresh.mus"));
}

// A quartet in two lines whose first voice rests for three bars, then for two.
constexpr const char* quartet =
    "{ [ \\clef<\"treble\"> \\meter<\"4/4\"> c2/4 d e f | _/1 | _/1 | _/1 | g1/1 | \\newSystem _/1 | _/1 | c2/1 ],\n"
    "  [ \\clef<\"treble\"> \\meter<\"4/4\"> e1/1 | f | g | a | b | c2 | d | e ],\n"
    "  [ \\clef<\"alto\"> \\meter<\"4/4\"> c1/1 | d | e | f | g | a | b | c2 ],\n"
    "  [ \\clef<\"bass\"> \\meter<\"4/4\"> c0/1 | d | e | f | g | a | b | c1 ] }\n";

TEST(ExtractPartCli, ThePartOfTheFirstVoiceIsLaidOutWithMultiBarRestsAndBarNumbers) {
    test::TempDir dir;
    test::WriteText(dir / "q.gmn", quartet);
    ASSERT_EQ(RunCli(dir.path(), {"import-gmn", "q.gmn", "q.mus"}).status, 0);
    const nlohmann::json score = Info(dir, "q.mus");
    const int voice = score["pages"][0]["staves"][0]["voiceWord"].get<int>() & 0xFF;
    struct Mode {
        const char* name;
        int multiBarRests;
    };
    for (const Mode& mode : {Mode{"standard", 2}, Mode{"voice-alone", 0}, Mode{"raw", 0}}) {
        const CliResult r =
            RunCli(dir.path(), {"extract-part", "q.mus", "--voice", std::to_string(voice), "--mode", mode.name, "p.mus"});
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json part = Info(dir, "p.mus");
        ExpectCompact(part);
        ASSERT_EQ(part["pageCount"], 1) << mode.name;
        const nlohmann::json& staves = part["pages"][0]["staves"];
        ASSERT_EQ(staves.size(), 2u) << "a line for each of the score's two lines";
        int multi = 0;
        for (int line = 0; line < 2; ++line) {
            const nlohmann::json& els = staves[line]["elements"];
            for (const auto& e : els) multi += e.value("durationCode", 0) == 15 ? 1 : 0;
            EXPECT_EQ(staves[line]["voiceWord"].get<int>() & 0xFF, voice);
        }
        EXPECT_EQ(multi, mode.multiBarRests) << mode.name;
        // The second line is numbered with the measure it starts with: three bars of rest count as three.
        EXPECT_EQ(staves[1]["elements"][0]["text"]["characters"], "6") << mode.name;
    }
    EXPECT_EQ(Info(dir, "p.mus")["fonts"][4], "Mesures NV");
}

}  // namespace
}  // namespace notavera
