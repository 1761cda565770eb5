// Trace lines of the `na_` callbacks.
#include "guido/gmn_trace.h"

#include <cstdio>

namespace notavera {

template <typename... Values>
void GmnTrace::line(const char* format, Values... values) {
    const int size = std::snprintf(nullptr, 0, format, values...);
    if (size < 0) return;
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.resize(static_cast<std::size_t>(size));
    write_(text);
}

void GmnTrace::na_segmInit() { write_("na_segmInit()\n"); }

void GmnTrace::na_segmExit() { write_("na_segmExit()\n"); }

void GmnTrace::na_seqInit() { write_("na_seqInit()\n"); }

void GmnTrace::na_seqExit() { write_("na_seqExit()\n"); }

void GmnTrace::na_seqAppendNote(int pc, int oct, int acc, long durN, long durD, int dots, long durPosN,
                                long durPosD) {
    line("na_seqAppendNote(pc=%i,oct=%i,acc=%i, durN=%li,durD=%li,dots=%i, durPosN=%li,durPosD=%li)\n", pc, oct, acc,
         durN, durD, dots, durPosN, durPosD);
}

void GmnTrace::na_chordInit(long durPosN, long durPosD) {
    line("na_chordInit(durPosN=%li,durPosD=%li)\n", durPosN, durPosD);
}

void GmnTrace::na_seqAppendChord(int voices, long durN, long durD, int dots, long durPosN, long durPosD) {
    line("na_seqAppendChord(voices=%i, durN=%li,durD=%li,dots=%i, durPosN=%li,durPosD=%li)\n", voices, durN, durD,
         dots, durPosN, durPosD);
}

void GmnTrace::na_tagStart(const std::string& s, int no, int tagno, long durPosN, long durPosD) {
    line("na_tagStart(s=%s,no=%i,tagno=%i, durPosN=%li,durPosD=%li)\n", s.c_str(), no, tagno, durPosN, durPosD);
}

void GmnTrace::na_tagIntArg(long n) { line("na_tagIntArg(n=%li)\n", n); }

void GmnTrace::na_tagIntArg(double r) { line("na_tagIntArg(r=%g)\n", r); }

void GmnTrace::na_tagStrArg(const std::string& s) { line("na_tagStrArg(s=%s)\n", s.c_str()); }

void GmnTrace::na_tagAdd(int tagno, int nargs, const GmnTagArguments&) {
    line("na_tagAdd(tagno=%i,nargs=%i)\n", tagno, nargs);
}

void GmnTrace::na_tagEnd(int tagno, long durPosN, long durPosD, long beforeDurPosN, long beforeDurPosD) {
    line("na_tagEnd(tagno=%i, durPosN=%li,durPosD=%li, beforeDurPosN=%li,beforeDurPosD=%li)\n", tagno, durPosN,
         durPosD, beforeDurPosN, beforeDurPosD);
}

}  // namespace notavera
