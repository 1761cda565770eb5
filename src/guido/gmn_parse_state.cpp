// What the grammar's actions do: keep the current note and position exactly, and call the callbacks
// that the mode lets through.
#include "guido/gmn_parse_state.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace notavera {

namespace {

constexpr long maxValue = std::numeric_limits<std::int32_t>::max();

bool isUtf8Continuation(unsigned char c) { return (c & 0xC0u) == 0x80u; }

int clampToInt(long v) { return static_cast<int>(std::clamp(v, -maxValue, maxValue)); }

}  // namespace

GmnParseState::GmnParseState(GmnMode mode, GmnCallbacks& callbacks, const GmnErrorSink& onError)
    : mode_(mode), callbacks_(callbacks), onError_(onError) {}

GmnSourcePosition GmnParseState::consume(const char* text, std::size_t length) {
    const GmnSourcePosition start = here();
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line_;
            column_ = 0;
        } else if (!isUtf8Continuation(c)) {
            // Columns count characters, so a UTF-8 accent in a title does not shift what follows.
            ++column_;
        }
    }
    return start;
}

int GmnParseState::keepText(std::string text) {
    texts_.push_back(std::move(text));
    return static_cast<int>(texts_.size() - 1);
}

long GmnParseState::parseInteger(std::string_view digits) {
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range || value > maxValue) value = maxValue;
    return negative ? -value : value;
}

double GmnParseState::parseReal(std::string_view digits) {
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) value = 0.0;
    return value;
}

void GmnParseState::report(const std::string& message, GmnSourcePosition at) {
    if (onError_) onError_(GmnError{message, at.line, at.column, false});
}

void GmnParseState::reportFailure(const std::string& message, GmnSourcePosition at) {
    if (onError_) onError_(GmnError{message, at.line, at.column, true});
}

void GmnParseState::beginSegment() { callbacks_.na_segmInit(); }

void GmnParseState::endSegment() { callbacks_.na_segmExit(); }

void GmnParseState::beginSequence() {
    position_ = GmnRational();
    beforeLastEvent_ = GmnRational();
    octave_ = 1;
    duration_ = GmnRational(1, 4);
    dots_ = 0;
    inChord_ = false;
    callbacks_.na_seqInit();
}

void GmnParseState::endSequence() { callbacks_.na_seqExit(); }

void GmnParseState::beginNote(const std::string& name, GmnSourcePosition at) {
    acc_ = 0;
    if (const auto pc = GmnPitchClass(name)) {
        pitchClass_ = *pc;
    } else {
        report("Unknown notename, replaced by rest.", at);
        pitchClass_ = gmnRest;
    }
}

void GmnParseState::setOctave(long octave) { octave_ = clampToInt(octave); }

bool GmnParseState::setDuration(long num, long den, GmnSourcePosition at) {
    if (den == 0) {
        reportFailure("parse error", at);
        return false;
    }
    duration_ = GmnRational(num, den);
    dots_ = 0;
    return true;
}

void GmnParseState::endNote() {
    const GmnRational at = eventPosition();
    if (GmnModePassesNotes(mode_))
        callbacks_.na_seqAppendNote(pitchClass_, octave_, acc_, duration_.num(), duration_.den(), dots_, at.num(),
                                    at.den());
    const GmnRational length = dots_ == 0 ? duration_ : dots_ == 1 ? duration_.scaled(3, 2) : duration_.scaled(7, 4);
    if (inChord_) {
        ++chordVoices_;
        if (length.compare(chordLongest_) > 0) {
            chordLongest_ = length;
            chordLongestWritten_ = duration_;
            chordLongestDots_ = dots_;
        }
        return;
    }
    beforeLastEvent_ = position_;
    position_ = position_ + length;
}

void GmnParseState::beginChord() {
    inChord_ = true;
    chordPosition_ = position_;
    chordVoices_ = 0;
    chordLongest_ = GmnRational();
    chordLongestWritten_ = GmnRational();
    chordLongestDots_ = 0;
    if (GmnModePassesNotes(mode_)) callbacks_.na_chordInit(chordPosition_.num(), chordPosition_.den());
}

void GmnParseState::endChord() {
    inChord_ = false;
    if (GmnModePassesNotes(mode_))
        callbacks_.na_seqAppendChord(chordVoices_, chordLongestWritten_.num(), chordLongestWritten_.den(),
                                     chordLongestDots_, chordPosition_.num(), chordPosition_.den());
    // A chord lasts as long as its longest note, so the next event never starts while a chord note still sounds.
    beforeLastEvent_ = chordPosition_;
    position_ = chordPosition_ + chordLongest_;
}

void GmnParseState::beginTag(const std::string& name, long number) {
    const int tagNumber = ++tagCount_;
    const bool passes = GmnModePassesTag(mode_, name);
    tagStack_.push_back(passes ? tagNumber : -1);
    args_.clear();
    if (!passes) return;
    const GmnRational at = eventPosition();
    callbacks_.na_tagStart(name, clampToInt(number), tagNumber, at.num(), at.den());
}

void GmnParseState::setIntValue(long n) {
    pending_ = GmnTagArgument{};
    pending_.type = 'i';
    pending_.intValue = n;
    pending_.realValue = static_cast<double>(n);
}

void GmnParseState::setRealValue(double r) {
    pending_ = GmnTagArgument{};
    pending_.type = 'f';
    pending_.realValue = r;
    pending_.intValue = static_cast<long>(std::clamp(r, -static_cast<double>(maxValue), static_cast<double>(maxValue)));
}

void GmnParseState::setStringValue(const std::string& s) {
    pending_ = GmnTagArgument{};
    pending_.type = 's';
    pending_.stringValue = s;
}

void GmnParseState::addArgument(const std::string& name) {
    pending_.name = name;
    if (tagPasses()) {
        switch (pending_.type) {
            case 'i': callbacks_.na_tagIntArg(pending_.intValue); break;
            case 'f': callbacks_.na_tagIntArg(pending_.realValue); break;
            default: callbacks_.na_tagStrArg(pending_.stringValue); break;
        }
    }
    args_.add(std::move(pending_));
    pending_ = GmnTagArgument{};
}

void GmnParseState::endArguments() {
    if (tagPasses()) callbacks_.na_tagAdd(tagStack_.back(), args_.count(), args_);
    args_.clear();
}

void GmnParseState::endTag() {
    if (tagStack_.empty()) return;
    const int tagNumber = tagStack_.back();
    tagStack_.pop_back();
    if (tagNumber == -1) return;
    const GmnRational after = eventPosition();
    callbacks_.na_tagEnd(tagNumber, after.num(), after.den(), beforeLastEvent_.num(), beforeLastEvent_.den());
}

void GmnParseState::bar() {
    beginTag("\\bar", 0);
    endArguments();
    endTag();
}

}  // namespace notavera
