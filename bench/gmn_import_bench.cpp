// Speed of GUIDO import: the reader alone (tokens and callbacks) and the reading written into a score,
// for one sequence of bars of four notes (and the same without bar lines), as the piece grows.
#include <benchmark/benchmark.h>

#include <string>

#include "guido/gmn_import.h"
#include "guido/gmn_reader.h"
#include "score/new_document.h"

namespace notavera {
namespace {

std::string Piece(int bars, bool barLines = true) {
    std::string s = "[\\clef<\"g\"> \\key<2> \\meter<\"4/4\">";
    const std::string bar = " c/8 d e f# \\slur(g1/4 a) b/2";
    for (int i = 0; i < bars; ++i) s += barLines ? bar + " |" : bar;
    return s + "]";
}

// Callbacks that only count, so the reader's own cost is measured.
class Counter : public GmnCallbacks {
public:
    long calls = 0;
    void na_segmInit() override { ++calls; }
    void na_segmExit() override { ++calls; }
    void na_seqInit() override { ++calls; }
    void na_seqExit() override { ++calls; }
    void na_seqAppendNote(int, int, int, long, long, int, long, long) override { ++calls; }
    void na_chordInit(long, long) override { ++calls; }
    void na_seqAppendChord(int, long, long, int, long, long) override { ++calls; }
    void na_tagStart(const std::string&, int, int, long, long) override { ++calls; }
    void na_tagIntArg(long) override { ++calls; }
    void na_tagIntArg(double) override { ++calls; }
    void na_tagStrArg(const std::string&) override { ++calls; }
    void na_tagAdd(int, int, const GmnTagArguments&) override { ++calls; }
    void na_tagEnd(int, long, long, long, long) override { ++calls; }
};

void BM_ReadGmn(benchmark::State& state) {
    const std::string text = Piece(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Counter counter;
        benchmark::DoNotOptimize(ReadGmnText(text, GmnMode::All, counter, {}));
        benchmark::DoNotOptimize(counter.calls);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadGmn)->Arg(100)->Arg(1000)->Arg(10000);

void BM_ImportGmn(benchmark::State& state) {
    const std::string text = Piece(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        benchmark::DoNotOptimize(ImportGuidoText(doc, text, {}));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ImportGmn)->Arg(100)->Arg(400)->Arg(1600)->Complexity();

// Music without bar lines: every note's accidental context reaches back to the staff's start unless it is carried.
void BM_ImportGmnWithoutBars(benchmark::State& state) {
    const std::string text = Piece(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        benchmark::DoNotOptimize(ImportGuidoText(doc, text, {}));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ImportGmnWithoutBars)->Arg(100)->Arg(400)->Arg(1600)->Complexity();

}  // namespace
}  // namespace notavera
