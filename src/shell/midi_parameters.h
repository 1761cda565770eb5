// "Paramètres MIDI" and "Détermination des voix": the instrument, channel, volume and transposition of the voice
// of a picked staff, and the voice numbers of the staves, each a dialog model with a staff ruler to pick from.
//
// Scripts pick a staff with field 110 (the ruler): its text is the staff's number on the page, from 1.
// E.g. `answer "Paramètres MIDI" 110=2 Transposition=-12 INSTRUMENT=40 ok`.
#pragma once

#include <array>
#include <cstdint>

#include "platform/dialog_model.h"
#include "print/staff_ruler.h"
#include "score/file_header.h"

namespace notavera {

class ScoreDocument;
class UiServices;
struct EditorContext;

// "Paramètres MIDI". The channel, instrument, volume, tempo, tolerances and flags act on the document at once;
// the transposition goes into a working copy of the table that OK writes back.
class MidiParamEditor {
public:
    explicit MidiParamEditor(ScoreDocument& doc);
    MidiParamEditor(const MidiParamEditor&) = delete;
    MidiParamEditor& operator=(const MidiParamEditor&) = delete;

    StaffRuler& ruler() { return ruler_; }
    int voice() const { return voice_; }

    // The dialog's fields; its reactions edit this editor and the document, which must outlive it.
    DialogModel makeDialog();
    // OK: the working transposition table is written and the document marked modified.
    void accept();
    // "Annuler": the MIDI settings as they were at opening.
    void cancel();

private:
    void react(DialogModel& m, const DialogField& changed);
    // Shows every value that follows from the voice being set.
    void show(DialogModel& m) const;
    MidiSettings midi() const;
    int channel() const;

    ScoreDocument& doc_;
    StaffLayoutModel layout_;
    StaffRuler ruler_;
    std::array<std::uint8_t, MidiSettings::size> saved_{};
    std::array<std::int8_t, 128> transposition_{};
    int voice_ = 0;
};

// "Détermination des voix". Numbering acts on the staves at once; OK may copy the page's numbers onward.
class VoiceNumberingEditor {
public:
    explicit VoiceNumberingEditor(ScoreDocument& doc);
    VoiceNumberingEditor(const VoiceNumberingEditor&) = delete;
    VoiceNumberingEditor& operator=(const VoiceNumberingEditor&) = delete;

    StaffRuler& ruler() { return ruler_; }
    int lastPage() const { return lastPage_; }

    DialogModel makeDialog();
    // Gives the staff at `index` of the current page and the staves after it in its system the voices n, n + 1…;
    // false when the numbers would run past 126 or n is not a voice number.
    bool number(int index, int n);

private:
    void react(DialogModel& m, const DialogField& changed);

    ScoreDocument& doc_;
    StaffLayoutModel layout_;
    StaffRuler ruler_;
    int staff_ = 0;
    int lastPage_ = 1;
};

// The voice numbers of the current page's staves, staff by staff, onto the pages after it up to `lastPage`.
void PropagateVoiceNumbers(ScoreDocument& doc, UiServices& ui, int lastPage);

// The two commands: 1 on OK, 0 on "Annuler".
int RunMidiParamDialog(EditorContext& ctx);
int RunVoiceDialog(EditorContext& ctx);

}  // namespace notavera
