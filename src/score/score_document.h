// The open document: its pages in memory, navigation, insertion state, settings and storage state.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "score/accidental_context.h"
#include "score/file_header.h"
#include "score/font_block.h"
#include "score/records.h"
#include "score/staff_layout_model.h"
#include "score/working_file_lock.h"

namespace notavera {

class BinaryFile;

// The on/off insertion attributes switched by paired characters (capital or opening form on).
enum InsertionSwitch : unsigned {
    SwitchGroup = 1u << 0,  // G/g rhythmic group
    SwitchM = 1u << 1,      // M/m
    SwitchC = 1u << 2,      // C/c
    SwitchL = 1u << 3,      // L/l
    SwitchT = 1u << 4,      // T/t
    SwitchTie = 1u << 5,    // _/- tie form
    SwitchSlur = 1u << 6,   // ( and )
    SwitchBeam = 1u << 7,   // [ and ]
};

// The attributes the next new note or sign receives.
struct InsertionState {
    unsigned octave = 4;
    unsigned durationCode = 4;  // quarter
    unsigned dots = 0;
    Accidental accidental = Accidental::None;
    bool accidentalForced = false;  // when false the context (key, earlier accidental in the bar) may supply one
    unsigned proportionNum = 1;
    unsigned proportionDen = 1;
    std::uint32_t word0Flags = 0;     // flag bits copied into word0 of a new element
    std::uint32_t noteWordFlags = 1u << 13;  // flag bits copied into the noteWord of a new note: stems automatic
    std::uint32_t word0Once = 0;      // word0 bits for the next new note or rest only: a slur or group starting on it
    unsigned timeSigNum = 1;
    unsigned timeSigDen = 1;
    unsigned signAttribute = 0;  // the 7-bit value carried into bits 25–31 of a new sign
    char specialBar = 'E';       // final bar
    int specialBarBracket = 0;   // instead of the bar: 1 a brace, −1 an opening straight bracket
    unsigned headShape = 0;
    unsigned accentType = 0;
    unsigned switches = 0;        // InsertionSwitch bits
    unsigned referenceValue = 6;  // the duration code given to time signatures as their reference ("étalon")
    KeyInEffect key;              // the key last looked up, which a key placed at the cursor starts from
};

struct PageTableEntry {
    std::uint32_t length = 0;  // bytes of the page record, separator included
    std::uint32_t offset = 0;  // file offset of the page's separator
};
using PageTable = std::array<PageTableEntry, maxPages>;

// The optional blocks that follow the pages.
struct OptionalBlocks {
    std::optional<std::array<std::uint8_t, 10>> pagination;
    std::optional<std::array<std::uint8_t, 206>> pageHeader;
    std::optional<std::array<std::uint8_t, 206>> pageFooter;
    std::unique_ptr<PageRecord> fixedMask;     // page number 0
    std::unique_ptr<PageRecord> variableMask;  // page number 0
    std::optional<std::string> notes;          // at most 2047 characters
};

enum class FileState { None = 0, Open = 1, Publish = 100 };

// Where the document lives on disk and how its working file is used.
struct DocumentStorage {
    std::filesystem::path path;         // the document (".mus"); empty while untitled
    std::filesystem::path workingPath;  // the working file
    std::unique_ptr<BinaryFile> working;
    WorkingFileLock lock;  // keeps other running instances away from the working file
    FileState fileState = FileState::None;
    PageTable pageTable{};
    int windowFirst = 0;  // first page in memory
    int windowLast = 0;   // last page in memory
    int keepBefore = 5;   // W: pages kept before the current one

    DocumentStorage();
    ~DocumentStorage();
    DocumentStorage(DocumentStorage&&) noexcept;
    DocumentStorage& operator=(DocumentStorage&&) noexcept;
};

// Where the undo history stands. The steps themselves are copies of the working file in the numbered
// companion files: the ring a.mu0..a.mu9 holds the states to go back to, a.uu0..a.uu9 the states an undo left.
struct UndoHistory {
    int undoCount = 0;    // steps that can be undone, 0..10
    int redoCount = 0;    // undos that can be cancelled
    int stepIndex = -1;   // ring place of the newest step, -1 when there is none
};

// Flags and values of the document that the settings dialogs edit.
struct DocumentSettings {
    bool doubleJustification = false;
    bool aestheticCorrection = true;
    bool polyphonyCorrection = false;
    bool invertArcs = false;
    bool halvesWithFlags = false;  // "Blanches crochées..."
    bool barsPerStaff = false;     // "Par portées individuelles"
    int alignmentResolution = 0;   // "Résolution x (alignements)"
    double averageBeamHeight = 3.0;
};

class ScoreDocument {
public:
    // A new, untitled document: no pages yet, the values a new document starts with.
    ScoreDocument();
    ScoreDocument(const ScoreDocument&) = delete;
    ScoreDocument& operator=(const ScoreDocument&) = delete;
    ScoreDocument(ScoreDocument&&) noexcept;
    ScoreDocument& operator=(ScoreDocument&&) noexcept;
    ~ScoreDocument();

    // Counts and navigation. Pages are numbered from 1; staff and element are indices (element −1: none).
    int pageCount = 0;
    int currentPage = 0;
    int currentStaff = 0;
    int currentElement = -1;

    // The pages in memory: consecutive page numbers windowFirst..windowLast, in order.
    std::vector<PageRecord> pages;
    // The mask page being edited, 0 when none (1 the fixed mask, 2 the variable mask): while it is, page number 0
    // is that mask page, so every editing command works on it as on any page.
    int editedMask = 0;

    PageRecord* findPage(int number);
    const PageRecord* findPage(int number) const;
    PageRecord* page() { return findPage(currentPage); }
    // Where the staff lines of `page` end: its line length, or the lengthened line while the continuous view shows
    // it.
    int lineEnd(const PageRecord& page) const;
    StaffRecord* staff();
    ElementRecord* element();

    InsertionState insertion;
    int spacingStep = 10;      // "Taille du Pas", page units
    // The user answered no to counting cue notes as full values when aligning: not asked again for this document.
    bool cueNotesRefused = false;
    int stepUnit = 10;         // the normal staff's half-space
    int defaultFirstX = 60;    // x of a staff's first element
    int measureNumberOffset = 0;  // "Mesure initiale" of the measure numbering: added to every number written
    int pageWidth = 2100;      // derived from the page format (the lengthened line in the continuous view)
    // The lengthened line of the page the continuous view shows; 0 when the view shows single pages.
    int continuousLineEnd = 0;
    int pageHeight = 2970;
    StaffLayoutModel layoutModel = StaffLayoutModel::makeDefault();
    DocumentSettings settings;

    FileHeader header;
    FontBlock fonts = FontBlock::makeDefault();
    OptionalBlocks optional;
    DocumentStorage storage;
    UndoHistory undo;

    // Set by the commands that let a tool act outside its own rules; a tool command clears it, and while it is
    // set the tool menu shows no check mark.
    int toolOverride = 0;

    bool modified = false;
    void markModified() { modified = true; }

    // The document title: its file name without directory, "" while untitled.
    std::string title() const;
};

}  // namespace notavera
