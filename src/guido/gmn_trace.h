// The callbacks as text: one trace line per `na_` call, in the reader's own formats. It is the reader's
// test surface and the output of "notavera-cli gmn-trace".
#pragma once

#include <functional>
#include <string>

#include "guido/gmn_callbacks.h"

namespace notavera {

class GmnTrace : public GmnCallbacks {
public:
    // Each line (ending in "\n") goes to `write` as soon as its callback is made.
    explicit GmnTrace(std::function<void(const std::string&)> write) : write_(std::move(write)) {}

    void na_segmInit() override;
    void na_segmExit() override;
    void na_seqInit() override;
    void na_seqExit() override;
    void na_seqAppendNote(int pc, int oct, int acc, long durN, long durD, int dots, long durPosN,
                          long durPosD) override;
    void na_chordInit(long durPosN, long durPosD) override;
    void na_seqAppendChord(int voices, long durN, long durD, int dots, long durPosN, long durPosD) override;
    void na_tagStart(const std::string& s, int no, int tagno, long durPosN, long durPosD) override;
    void na_tagIntArg(long n) override;
    void na_tagIntArg(double r) override;
    void na_tagStrArg(const std::string& s) override;
    void na_tagAdd(int tagno, int nargs, const GmnTagArguments& args) override;
    void na_tagEnd(int tagno, long durPosN, long durPosD, long beforeDurPosN, long beforeDurPosD) override;

private:
    std::function<void(const std::string&)> write_;
};

}  // namespace notavera
