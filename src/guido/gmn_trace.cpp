// Trace lines of the `na_` callbacks.
#include "guido/gmn_trace.h"

#include <charconv>

namespace notavera {

namespace {

std::string num(long v) { return std::to_string(v); }

// Reals in their shortest exact form: 0.93, -1.5, 2.
std::string real(double v) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

std::string position(const char* n, long durN, const char* d, long durD) {
    return std::string(n) + "=" + num(durN) + "," + d + "=" + num(durD);
}

}  // namespace

void GmnTrace::na_segmInit() { write_("na_segmInit()\n"); }

void GmnTrace::na_segmExit() { write_("na_segmExit()\n"); }

void GmnTrace::na_seqInit() { write_("na_seqInit()\n"); }

void GmnTrace::na_seqExit() { write_("na_seqExit()\n"); }

void GmnTrace::na_seqAppendNote(int pc, int oct, int acc, long durN, long durD, int dots, long durPosN,
                                long durPosD) {
    write_("na_seqAppendNote(pc=" + num(pc) + ",oct=" + num(oct) + ",acc=" + num(acc) + ", " +
           position("durN", durN, "durD", durD) + ",dots=" + num(dots) + ", " +
           position("durPosN", durPosN, "durPosD", durPosD) + ")\n");
}

void GmnTrace::na_chordInit(long durPosN, long durPosD) {
    write_("na_chordInit(" + position("durPosN", durPosN, "durPosD", durPosD) + ")\n");
}

void GmnTrace::na_seqAppendChord(int voices, long durN, long durD, int dots, long durPosN, long durPosD) {
    write_("na_seqAppendChord(voices=" + num(voices) + ", " + position("durN", durN, "durD", durD) +
           ",dots=" + num(dots) + ", " + position("durPosN", durPosN, "durPosD", durPosD) + ")\n");
}

void GmnTrace::na_tagStart(const std::string& s, int no, int tagno, long durPosN, long durPosD) {
    write_("na_tagStart(s=" + s + ",no=" + num(no) + ",tagno=" + num(tagno) + ", " +
           position("durPosN", durPosN, "durPosD", durPosD) + ")\n");
}

void GmnTrace::na_tagIntArg(long n) { write_("na_tagIntArg(n=" + num(n) + ")\n"); }

void GmnTrace::na_tagIntArg(double r) { write_("na_tagIntArg(r=" + real(r) + ")\n"); }

void GmnTrace::na_tagStrArg(const std::string& s) { write_("na_tagStrArg(s=" + s + ")\n"); }

void GmnTrace::na_tagAdd(int tagno, int nargs, const GmnTagArguments&) {
    write_("na_tagAdd(tagno=" + num(tagno) + ",nargs=" + num(nargs) + ")\n");
}

void GmnTrace::na_tagEnd(int tagno, long durPosN, long durPosD, long beforeDurPosN, long beforeDurPosD) {
    write_("na_tagEnd(tagno=" + num(tagno) + ", " + position("durPosN", durPosN, "durPosD", durPosD) + ", " +
           position("beforeDurPosN", beforeDurPosN, "beforeDurPosD", beforeDurPosD) + ")\n");
}

}  // namespace notavera
