// The bit layouts of the score records' words, as views with named accessors.
// A view wraps one stored u32; bits a view does not name are never touched.
#pragma once

#include "score/bit_field.h"

namespace notavera {

enum class ElementKind : std::uint32_t { NoteOrRest = 0, Sign = 1 };

// word0 of every element: the attributes common to notes, rests and signs.
template <typename Word>
class ElementWord0View : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    ElementKind kind() const { return B::flag(0) ? ElementKind::Sign : ElementKind::NoteOrRest; }
    bool isSign() const { return B::flag(0); }
    void setKind(ElementKind k) const { B::putFlag(0, k == ElementKind::Sign); }
    bool tiedToNext() const { return B::flag(1); }
    void setTiedToNext(bool on) const { B::putFlag(1, on); }
    bool tieStarts() const { return B::flag(2); }
    void setTieStarts(bool on) const { B::putFlag(2, on); }
    bool tieEnds() const { return B::flag(3); }
    void setTieEnds(bool on) const { B::putFlag(3, on); }
    // The side a tie or slur ending here prefers: true above.
    bool curveAbove() const { return B::flag(4); }
    void setCurveAbove(bool on) const { B::putFlag(4, on); }
    bool inBeam() const { return B::flag(5); }
    void setInBeam(bool on) const { B::putFlag(5, on); }
    bool opensBeam() const { return B::flag(6); }
    void setOpensBeam(bool on) const { B::putFlag(6, on); }
    bool closesBeam() const { return B::flag(7); }
    void setClosesBeam(bool on) const { B::putFlag(7, on); }
    unsigned octave() const { return B::template get<8, 3>(); }
    void setOctave(unsigned o) const { B::template put<8, 3>(o); }
    bool cueSize() const { return B::flag(11); }
    void setCueSize(bool on) const { B::putFlag(11, on); }
    // Start and end marks of a tuplet (rhythmic) group.
    unsigned groupMark() const { return B::template get<12, 2>(); }
    void setGroupMark(unsigned v) const { B::template put<12, 2>(v); }
    // 0 own staff, 1 at the place of the staff above, 2 of the staff below.
    unsigned crossStaff() const { return B::template get<14, 2>(); }
    void setCrossStaff(unsigned v) const { B::template put<14, 2>(v); }
    bool hidden() const { return B::flag(17); }
    void setHidden(bool on) const { B::putFlag(17, on); }
    bool hiddenDots() const { return B::flag(18); }
    void setHiddenDots(bool on) const { B::putFlag(18, on); }
    bool hasBlob() const { return B::flag(19); }
    void setHasBlob(bool on) const { B::putFlag(19, on); }
    // The pen style of the tie or slur ending here: 0 solid, otherwise a dashed or dotted style.
    unsigned curveStyle() const { return B::template get<24, 2>(); }
    void setCurveStyle(unsigned v) const { B::template put<24, 2>(v); }
    // Above or below the notes, for the group marking.
    unsigned groupMarkSide() const { return B::template get<21, 2>(); }
    void setGroupMarkSide(unsigned v) const { B::template put<21, 2>(v); }
};

// word1: octave shift and the numerator/denominator pair (proportion of a note, fraction of a meter).
template <typename Word>
class ElementWord1View : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    unsigned smallField() const { return B::template get<0, 5>(); }
    void setSmallField(unsigned v) const { B::template put<0, 5>(v); }
    // 0 none, 1 one octave up, 2 two up, 3 one down, 4 two down (8va, 15ma).
    unsigned octaveShift() const { return B::template get<5, 3>(); }
    void setOctaveShift(unsigned v) const { B::template put<5, 3>(v); }
    unsigned numerator() const { return B::template get<8, 8>(); }
    void setNumerator(unsigned v) const { B::template put<8, 8>(v); }
    unsigned denominator() const { return B::template get<16, 8>(); }
    void setDenominator(unsigned v) const { B::template put<16, 8>(v); }
};

enum class Accidental : unsigned {
    None = 0, Sharp = 1, Flat = 2, Natural = 3, DoubleSharp = 4, DoubleFlat = 5, QuarterSharp = 6, QuarterFlat = 7
};

// The third word of a note or rest.
template <typename Word>
class NoteWordView : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    static constexpr unsigned multiBarRestCode = 15;

    bool rest() const { return B::flag(0); }
    void setRest(bool on) const { B::putFlag(0, on); }
    // 0 longa … 4 quarter … 10 two-hundred-fifty-sixth; 15 on a rest marks a multi-bar rest.
    unsigned durationCode() const { return B::template get<1, 4>(); }
    void setDurationCode(unsigned c) const { B::template put<1, 4>(c); }
    unsigned dots() const { return B::template get<6, 2>(); }
    void setDots(unsigned d) const { B::template put<6, 2>(d); }
    Accidental accidental() const { return static_cast<Accidental>(B::template get<9, 3>()); }
    void setAccidental(Accidental a) const { B::template put<9, 3>(static_cast<unsigned>(a)); }
    // The accidental is kept but not drawn (it comes from the key or an earlier accidental).
    bool hiddenAccidental() const { return B::flag(12); }
    void setHiddenAccidental(bool on) const { B::putFlag(12, on); }
    bool stemAutomatic() const { return B::flag(13); }
    void setStemAutomatic(bool on) const { B::putFlag(13, on); }
    bool stemFlag() const { return B::flag(14); }
    void setStemFlag(bool on) const { B::putFlag(14, on); }
    bool staccato() const { return B::flag(15); }
    void setStaccato(bool on) const { B::putFlag(15, on); }
    bool staccatoOtherSide() const { return B::flag(17); }
    void setStaccatoOtherSide(bool on) const { B::putFlag(17, on); }
    bool bit(unsigned n) const { return B::flag(n); }
    void setBit(unsigned n, bool on) const { B::putFlag(n, on); }
    // Note name: 1 C … 7 B.
    unsigned step() const { return B::template get<22, 4>(); }
    void setStep(unsigned s) const { B::template put<22, 4>(s); }
    unsigned headShape() const { return B::template get<26, 3>(); }
    void setHeadShape(unsigned h) const { B::template put<26, 3>(h); }
    unsigned accentType() const { return B::template get<29, 3>(); }
    void setAccentType(unsigned a) const { B::template put<29, 3>(a); }
};

enum class SignType : unsigned {
    Bar = 0, FreeAccidental = 1, FreeDot = 2, Parenthesis = 3, Text = 4, TimeSignature = 5, Clef = 6,
    Drawing = 7, Curve = 8, FreeTie = 9, Hairpin = 10, Bracket = 11, Picture = 12, KeyChange = 13
};

// The third word of a sign.
template <typename Word>
class SignWordView : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    SignType signType() const { return static_cast<SignType>(B::template get<0, 4>()); }
    void setSignType(SignType t) const { B::template put<0, 4>(static_cast<unsigned>(t)); }
    unsigned subValue() const { return B::template get<4, 3>(); }
    void setSubValue(unsigned v) const { B::template put<4, 3>(v); }
    unsigned pairA() const { return B::template get<7, 2>(); }
    void setPairA(unsigned v) const { B::template put<7, 2>(v); }
    unsigned pairB() const { return B::template get<9, 2>(); }
    void setPairB(unsigned v) const { B::template put<9, 2>(v); }
    unsigned triple() const { return B::template get<11, 3>(); }
    void setTriple(unsigned v) const { B::template put<11, 3>(v); }
    // On a parenthesis: 1 opening, 2 closing.
    unsigned pair2() const { return B::template get<14, 2>(); }
    void setPair2(unsigned v) const { B::template put<14, 2>(v); }
    bool flag16() const { return B::flag(16); }
    void setFlag16(bool on) const { B::putFlag(16, on); }
    // The sign's character code or number (bar character, clef number, symbol character); 8 bits.
    unsigned code() const { return B::template get<17, 8>(); }
    void setCode(unsigned c) const { B::template put<17, 8>(c); }
    // The code as a signed byte: bar codes below zero are square brackets.
    int signedCode() const { return static_cast<std::int8_t>(static_cast<std::uint8_t>(code())); }
    unsigned high7() const { return B::template get<25, 7>(); }
    void setHigh7(unsigned v) const { B::template put<25, 7>(v); }

    // Text signs (type 4).
    unsigned textType() const { return subValue(); }
    unsigned textStyle() const { return pairA(); }
    unsigned textOrientation() const { return pairB(); }
    unsigned textCategory() const { return triple(); }
    unsigned textJustification() const { return pair2(); }
    bool textOpaque() const { return flag16(); }
    unsigned textSize() const { return code(); }
    unsigned textFontIndex() const { return high7(); }
};

// StaffRecord.voiceWord.
template <typename Word>
class StaffVoiceWordView : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    unsigned voice() const { return B::template get<0, 8>(); }
    void setVoice(unsigned v) const { B::template put<0, 8>(v); }
    unsigned positionInGroup() const { return B::template get<8, 8>(); }
    void setPositionInGroup(unsigned v) const { B::template put<8, 8>(v); }
    unsigned groupSize() const { return B::template get<16, 8>(); }
    void setGroupSize(unsigned v) const { B::template put<16, 8>(v); }
    unsigned highByte() const { return B::template get<24, 8>(); }
    void setHighByte(unsigned v) const { B::template put<24, 8>(v); }
};

enum class KeyKind : unsigned { None = 0, Sharps = 1, Flats = 2 };

// StaffRecord.keyWord.
template <typename Word>
class StaffKeyWordView : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    unsigned index() const { return B::template get<0, 8>(); }
    void setIndex(unsigned v) const { B::template put<0, 8>(v); }
    KeyKind keyKind() const { return static_cast<KeyKind>(B::template get<8, 2>()); }
    void setKeyKind(KeyKind k) const { B::template put<8, 2>(static_cast<unsigned>(k)); }
    unsigned keyCount() const { return B::template get<10, 3>(); }
    void setKeyCount(unsigned n) const { B::template put<10, 3>(n); }
    bool oldNotation() const { return B::flag(13); }
    void setOldNotation(bool on) const { B::putFlag(13, on); }
    bool grey() const { return B::flag(14); }
    void setGrey(bool on) const { B::putFlag(14, on); }
    bool invisible() const { return B::flag(15); }
    void setInvisible(bool on) const { B::putFlag(15, on); }
    // Distance from the previous staff in staff spaces (for the first staff, the top margin).
    unsigned distance() const { return B::template get<16, 10>(); }
    void setDistance(unsigned v) const { B::template put<16, 10>(v); }
    unsigned systemGrouping() const { return B::template get<26, 2>(); }
    void setSystemGrouping(unsigned v) const { B::template put<26, 2>(v); }
    unsigned blockGrouping() const { return B::template get<28, 2>(); }
    void setBlockGrouping(unsigned v) const { B::template put<28, 2>(v); }
    bool small() const { return B::flag(30); }
    void setSmall(bool on) const { B::putFlag(30, on); }
    bool indented() const { return B::flag(31); }
    void setIndented(bool on) const { B::putFlag(31, on); }
};

// StaffRecord.lineWord.
template <typename Word>
class StaffLineWordView : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    bool layoutFlag() const { return B::flag(0); }
    void setLayoutFlag(bool on) const { B::putFlag(0, on); }
    unsigned lineCount() const { return B::template get<1, 4>(); }
    void setLineCount(unsigned v) const { B::template put<1, 4>(v); }
    // The block grouping of the key word is a brace (true) or a block (false).
    bool brace() const { return B::flag(5); }
    void setBrace(bool on) const { B::putFlag(5, on); }
    bool accessory() const { return B::flag(6); }
    void setAccessory(bool on) const { B::putFlag(6, on); }
    unsigned value9() const { return B::template get<7, 9>(); }
    void setValue9(unsigned v) const { B::template put<7, 9>(v); }
};

// PageRecord.layout.
template <typename Word>
class PageLayoutView : public WordView<Word> {
    using B = WordView<Word>;

public:
    using B::B;
    unsigned staffCount() const { return B::template get<0, 10>(); }
    void setStaffCount(unsigned n) const { B::template put<0, 10>(n); }
    bool withoutFixedMask() const { return B::flag(10); }
    void setWithoutFixedMask(bool on) const { B::putFlag(10, on); }
    bool withoutVariableMask() const { return B::flag(11); }
    void setWithoutVariableMask(bool on) const { B::putFlag(11, on); }
    unsigned continuousCount() const { return B::template get<12, 4>(); }
    void setContinuousCount(unsigned n) const { B::template put<12, 4>(n); }
    // "Définition (mm/10)": the staff space of the page in page units.
    unsigned staffSize() const { return B::template get<16, 8>(); }
    void setStaffSize(unsigned v) const { B::template put<16, 8>(v); }
};

}  // namespace notavera
