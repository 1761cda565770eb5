// The reader's state between the generated scanner and parser: the current note, position, chord and tag
// stack, the texts of the tokens, the scanner's line and column, and the callbacks it drives.
#pragma once

#include <cstddef>
#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "guido/gmn_callbacks.h"
#include "guido/gmn_rational.h"
#include "guido/gmn_reader.h"
#include "guido/gmn_vocabulary.h"

namespace notavera {

// The value of a token. Plain data, because the generated parser copies its stack with memcpy;
// texts live in the state and are referred to by index.
struct GmnTokenValue {
    long integer;
    double real;
    int text;
};

// A scanner failure that cannot resume the scan; it never leaves ReadGmnText.
class GmnScannerFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct GmnSourcePosition {
    long line = 1;
    long column = 0;
};

class GmnParseState {
public:
    GmnParseState(GmnMode mode, GmnCallbacks& callbacks, const GmnErrorSink& onError);

    // Scanner side.
    // Moves the scanner's position past a matched text; returns where the text starts.
    GmnSourcePosition consume(const char* text, std::size_t length);
    // Steps back over the last `letters` characters consumed, which the scanner reads again (no line ends).
    void giveBack(std::size_t letters) { column_ -= static_cast<long>(letters); }
    GmnSourcePosition here() const { return {line_, column_ + 1}; }
    int keepText(std::string text);
    const std::string& text(int index) const { return texts_[static_cast<std::size_t>(index)]; }
    static long parseInteger(std::string_view digits);
    static double parseReal(std::string_view digits);
    // An error the reading passes over, and one that ends it.
    void report(const std::string& message, GmnSourcePosition at);
    void reportFailure(const std::string& message, GmnSourcePosition at);

    // Parser side, in reading order.
    void beginSegment();
    void endSegment();
    void beginSequence();
    void endSequence();

    void beginNote(const std::string& name, GmnSourcePosition at);
    void addAccidental(int step) { acc_ += step; }
    void setOctave(long octave);
    // False (with the error reported) for a zero denominator, which no duration has.
    bool setDuration(long num, long den, GmnSourcePosition at);
    void setDots(int dots) { dots_ = dots; }
    void endNote();

    void beginChord();
    void endChord();

    void beginTag(const std::string& name, long number);
    void setIntValue(long n);
    void setRealValue(double r);
    void setStringValue(const std::string& s);
    void setUnit(const std::string& unit) { pending_.unit = unit; }
    void addArgument(const std::string& name);
    void endArguments();
    void endTag();
    // The bar-line shorthand: the tag "\bar" without arguments.
    void bar();

private:
    GmnRational eventPosition() const { return inChord_ ? chordPosition_ : position_; }
    bool tagPasses() const { return !tagStack_.empty() && tagStack_.back() != -1; }

    GmnMode mode_;
    GmnCallbacks& callbacks_;
    const GmnErrorSink& onError_;

    long line_ = 1;
    long column_ = 0;
    std::deque<std::string> texts_;

    // The current note; octave, duration and dots carry over from the previous note of the sequence.
    int pitchClass_ = 0;
    int acc_ = 0;
    int octave_ = 1;
    GmnRational duration_{1, 4};
    int dots_ = 0;

    GmnRational position_;
    GmnRational beforeLastEvent_;

    bool inChord_ = false;
    GmnRational chordPosition_;
    int chordVoices_ = 0;
    GmnRational chordLongest_;  // with dots
    GmnRational chordLongestWritten_;
    int chordLongestDots_ = 0;

    int tagCount_ = 0;
    std::vector<int> tagStack_;  // the open tags' numbers, −1 for a tag the mode filters out
    GmnTagArguments args_;
    GmnTagArgument pending_;
};

}  // namespace notavera
