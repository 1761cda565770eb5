// Files written by the exporter, read by an independent reader (midicsv): no complaint, and the CSV shows
// the header, tempo, meter, key and the note times the score asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "midi/score_to_midi.h"
#include "support/score_builder.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

struct CsvRun {
    int status = -1;
    std::vector<std::string> lines;
    std::string errors;
};

CsvRun midicsv(const std::filesystem::path& midi) {
    const auto csv = midi.parent_path() / "out.csv";
    const auto err = midi.parent_path() / "err.txt";
    const std::string command = "midicsv '" + midi.string() + "' '" + csv.string() + "' 2> '" + err.string() + "'";
    CsvRun run;
    run.status = std::system(command.c_str());
    std::ifstream in(csv);
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    std::stringstream e;
    e << std::ifstream(err).rdbuf();
    run.errors = e.str();
    return run;
}

// The lines of one kind of record, from the third field on ("Note_on_c, 14, 60, 64" …) with their time.
std::vector<std::string> records(const CsvRun& run, const std::string& kind) {
    std::vector<std::string> out;
    for (const std::string& line : run.lines)
        if (line.find(", " + kind) != std::string::npos) out.push_back(line);
    return out;
}

std::vector<std::string> trackLines(const CsvRun& run, int track) {
    std::vector<std::string> out;
    const std::string prefix = std::to_string(track) + ", ";
    for (const std::string& line : run.lines)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

CsvRun exportAndRead(ScoreBuilder& b, int lastPage) {
    const test::TempDir dir;
    const auto path = dir / "score.mid";
    EXPECT_EQ(WriteScoreMidi(b.ctx().doc, b.ctx().ui, path, lastPage), 1);
    CsvRun run = midicsv(path);
    EXPECT_EQ(run.status, 0) << "midicsv must be installed (deps/debian-packages.txt)";
    EXPECT_EQ(run.errors, "");
    return run;
}

TEST(MidicsvReading, SimpleScoreShowsHeaderTempoMeterKeyAndNotes) {
    ScoreBuilder b;
    b.on(1, 0).meter(60, 3, 4);
    b.note(100, 1, 4, 1);  // dotted quarter C
    b.note(200, 2);
    b.doc().staff()->key().setKeyKind(KeyKind::Sharps);
    b.doc().staff()->key().setKeyCount(2);
    const CsvRun run = exportAndRead(b, 1);
    EXPECT_EQ(records(run, "Header"), (std::vector<std::string>{"0, 0, Header, 1, 2, 256"}));
    EXPECT_EQ(records(run, "Tempo"), (std::vector<std::string>{"1, 0, Tempo, 500000"}));
    EXPECT_EQ(records(run, "Time_signature"), (std::vector<std::string>{"1, 0, Time_signature, 3, 2, 36, 8"}));
    EXPECT_EQ(records(run, "Key_signature"), (std::vector<std::string>{"1, 0, Key_signature, 2, \"major\""}));
    EXPECT_EQ(records(run, "Program_c"), (std::vector<std::string>{"2, 0, Program_c, 14, 0"}));
    EXPECT_EQ(records(run, "Note_"),
              (std::vector<std::string>{"2, 0, Note_on_c, 14, 60, 64", "2, 384, Note_off_c, 14, 60, 64",
                                        "2, 384, Note_on_c, 14, 62, 64", "2, 640, Note_off_c, 14, 62, 64"}));
    EXPECT_EQ(records(run, "End_track").size(), 2u);
}

TEST(MidicsvReading, VoicesOnTheirOwnChannelsMakeThreeTracks) {
    ScoreBuilder b(2, 2, 2);
    b.setChannel(2, 0);
    for (int page = 1; page <= 2; ++page) {
        b.on(page, 0).notes(100, 100, 4, 5, 5);
        b.on(page, 1).rest(100, 3);
        b.note(300, 3, 3, 1, 3);
    }
    b.setCurrent(1, 0);
    const CsvRun run = exportAndRead(b, 2);
    EXPECT_EQ(records(run, "Header"), (std::vector<std::string>{"0, 0, Header, 1, 3, 256"}));
    EXPECT_EQ(records(run, "Note_on_c").size(), 8u + 2u);
    const auto second = trackLines(run, 3);
    EXPECT_NE(std::find(second.begin(), second.end(), "3, 512, Note_on_c, 0, 52, 64"), second.end());
    // The second page's rest carries the first page's end on to its own note.
    EXPECT_NE(std::find(second.begin(), second.end(), "3, 1792, Note_on_c, 0, 52, 64"), second.end());
}

TEST(MidicsvReading, ArticulationsTiesTupletsAndRestsReadCleanly) {
    ScoreBuilder b;
    b.on(1, 0).meter(60, 3, 4);
    b.rest(100, 2);
    b.bar(150);
    b.note(200, 1).noteWord().setStaccato(true);
    ElementRecord& start = b.note(300, 3);
    start.w0().setTiedToNext(true);
    start.w0().setTieStarts(true);
    ElementRecord& end = b.note(400, 3);
    end.w0().setTiedToNext(true);
    end.w0().setTieEnds(true);
    b.bar(450);
    b.doc().insertion.proportionNum = 3;
    b.doc().insertion.proportionDen = 2;
    b.notes(500, 40, 3, 5, 5);
    const CsvRun run = exportAndRead(b, 1);
    EXPECT_EQ(records(run, "Note_"),
              (std::vector<std::string>{
                  "2, 768, Note_on_c, 14, 60, 64", "2, 896, Note_off_c, 14, 60, 64",
                  "2, 1024, Note_on_c, 14, 64, 64", "2, 1536, Note_off_c, 14, 64, 64",
                  "2, 1536, Note_on_c, 14, 67, 64", "2, 1621, Note_off_c, 14, 67, 64",
                  "2, 1621, Note_on_c, 14, 67, 64", "2, 1706, Note_off_c, 14, 67, 64",
                  "2, 1706, Note_on_c, 14, 67, 64", "2, 1792, Note_off_c, 14, 67, 64"}));
}

}  // namespace
}  // namespace notavera
