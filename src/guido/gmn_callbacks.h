// The event interface of the GUIDO reader: the `na_` callbacks, called in reading order, and the argument
// array of the current tag that a callee may query from na_tagAdd.
#pragma once

#include <string>
#include <vector>

namespace notavera {

// One argument of a tag: 'i' integer, 'f' real, 's' string (a bare word is read as a string too).
struct GmnTagArgument {
    char type = 'i';
    std::string name;  // empty unless the argument was written name=value
    double realValue = 0.0;
    long intValue = 0;
    std::string stringValue;
    std::string unit;  // "hs", "cm", "pt"… written right after a number; empty when none
};

class GmnTagArguments {
public:
    void clear() { args_.clear(); }
    void add(GmnTagArgument arg) { args_.push_back(std::move(arg)); }
    int count() const { return static_cast<int>(args_.size()); }

    // Queries by 1-based index; out of range gives type '-' and empty values.
    char type(int k) const;
    long intValue(int k) const;
    double realValue(int k) const;
    const std::string& stringValue(int k) const;
    const std::string& name(int k) const;
    const std::string& unit(int k) const;

private:
    const GmnTagArgument* at(int k) const;
    std::vector<GmnTagArgument> args_;
};

// Positions and durations are passed as reduced fractions of a whole note.
class GmnCallbacks {
public:
    virtual ~GmnCallbacks() = default;

    virtual void na_segmInit() = 0;
    virtual void na_segmExit() = 0;
    virtual void na_seqInit() = 0;
    virtual void na_seqExit() = 0;
    // pc: 0–11, −1 rest, −2 empty; acc: one per '#', minus one per '&'; the duration is written without its dots.
    virtual void na_seqAppendNote(int pc, int oct, int acc, long durN, long durD, int dots, long durPosN,
                                  long durPosD) = 0;
    virtual void na_chordInit(long durPosN, long durPosD) = 0;
    virtual void na_seqAppendChord(int voices, long durN, long durD, int dots, long durPosN, long durPosD) = 0;
    // s: the tag's name with its backslash; no: the number written after ':' (0 when none); tagno: the tag's
    // number in the file (1, 2, 3 … in order of start).
    virtual void na_tagStart(const std::string& s, int no, int tagno, long durPosN, long durPosD) = 0;
    virtual void na_tagIntArg(long n) = 0;
    virtual void na_tagIntArg(double r) = 0;
    virtual void na_tagStrArg(const std::string& s) = 0;
    // The arguments are complete; `args` holds them all, queried by 1-based index.
    virtual void na_tagAdd(int tagno, int nargs, const GmnTagArguments& args) = 0;
    // The tag's range closes: the position after it and the position before its last event.
    virtual void na_tagEnd(int tagno, long durPosN, long durPosD, long beforeDurPosN, long beforeDurPosD) = 0;
};

}  // namespace notavera
