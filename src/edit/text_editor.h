// The text window's editor: the attributes of the next text, the characters being typed or edited with their
// insertion point, and committing them to the score as text elements. Also finding and freeing fonts, and the
// two bulk changes of texts over pages.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "edit/text_elements.h"
#include "score/score_document.h"

namespace notavera {

// At most this many characters are typed into one text.
inline constexpr std::size_t textBufferCapacity = 300;
// The font entries the document starts with (music font, Times New Roman, Arial, Chiffrage) are never freed.
inline constexpr int firstFreeableFont = 4;
// The index a full font table falls back to.
inline constexpr int fallbackFont = 0;

// A text element by page, staff and element index; page 0 names none.
struct TextPlace {
    int page = 0;
    int staff = 0;
    int element = -1;
    bool empty() const { return page == 0; }
};

struct TextEditor {
    TextAttributes current;                  // what the next text gets, and the text being edited
    TextStyle pendingStyle = TextStyle::Upright;  // set by a command before it becomes current
    TextOrientation pendingOrientation = TextOrientation::Horizontal;
    bool syllableOnMelisma = true;           // "Syllabe sur mélisme": only a beam group's first note takes one
    bool syllablePerTiedGroup = true;        // "1 Syllabe par groupe lié": tie continuations take none
    std::string buffer;                      // code page 1252 characters
    std::size_t insertion = 0;               // insertion point in the buffer
    std::string loaded;                      // the edited element's characters as they were loaded
    int x = 0;                               // where the text stands (its element's x)
    int y = 0;                               // the text's lower edge, page units
    TextPlace edited;                        // the element being edited
    bool typing = false;                     // a new text is being typed
    bool editing = false;                    // an existing text is being edited
    std::uint32_t addedFonts = 0;            // entries added to the font table while the window is open

    bool active() const { return typing || editing; }
};

// What a staff of the current page measures for texts.
struct TextStaffFrame {
    double staffTop = 0;  // the y texts count their parameter from
    int paramUnit = 20;   // the staff's space: the parameter counts tenths of it
    int unit = 10;        // the staff's half space: the step of the keys and of the sizes
    int topLine = 0;
    int bottomLine = 0;
    int left = 0;        // where the staff's elements begin (its left edge + 3 step units)
    int lineEnd = 0;     // where the staff ends
    int stepUnit = 10;   // the normal staff's half space
};
std::optional<TextStaffFrame> TextStaffFrameOf(const ScoreDocument& doc, int staff);

// The line a new text takes on a staff: above it, or for lyrics the line of the verse below it.
int DefaultTextY(const TextStaffFrame& f, const TextAttributes& a);

// Category and type from the menu: font index, size and pending style and orientation by the kind of text
// (`unit` the staff's half space, `secondUnit` its quarter space).
void ChooseTextKind(TextEditor& ed, TextCategory category, unsigned type, int unit, int secondUnit);

// A typed character at the insertion point; the first one starts a new text at the editor's x and y. False when
// the buffer is full.
bool TypeTextCharacter(TextEditor& ed, char character);
// Inserts a whole string at the insertion point; nothing when it would pass the capacity.
bool InsertTextString(TextEditor& ed, std::string_view characters);
// Delete: the character after the insertion point.
void DeleteTextCharacter(TextEditor& ed);

// Puts a text element on a staff of the current page after every element at or left of its x, and makes it the
// current element. Returns its index.
int InsertTextElement(ScoreDocument& doc, int staff, ElementRecord e);

// Commits the text being typed or edited to the current page and leaves the editor idle. An emptied text
// loses its element. Returns whether the score changed.
bool CommitText(TextEditor& ed, ScoreDocument& doc);
// The editor holds no text any more: its characters, insertion point and edited place are cleared.
void StopEditing(TextEditor& ed);

// Makes a text element of the current page the one being edited: its attributes become current and its
// characters fill the buffer, the insertion point at their end.
void EditTextElement(TextEditor& ed, const ScoreDocument& doc, int staff, int element);

// The index of the next text element of the staff right of x, or of the previous one at or left of x (the text
// just typed there first); `skipIndex` (the text being edited, or -1) orders the texts at its own x. Nothing when
// there is none.
std::optional<int> NeighbourTextElement(const StaffRecord& staff, int x, bool forward, int skipIndex);

// A text element of the staff at x with the category and type of `a`.
std::optional<int> TextElementAt(const StaffRecord& staff, int x, const TextAttributes& a);

// The face chosen in the font dialog: its entry (compared without regard to case), or the first free entry,
// flagged as added. Nothing when the table is full.
std::optional<int> FindOrAddFont(TextEditor& ed, FontBlock& fonts, const std::string& face, std::uint8_t charSet);

// Clears the added entries that no text of the score uses (`used` tells for each index), and forgets the flags.
void FreeAddedFonts(TextEditor& ed, FontBlock& fonts, const std::function<bool(int)>& used);

// Whether any text element of the page names the font.
void MarkFontsOfPage(const PageRecord& page, std::uint32_t& used);

// Unify: every text of the reference category and type on the page takes the size, font and (except lyrics
// types 4 to 7) the style of `ref`; lyrics also take the parameter, figures the orientation, measure numbers the
// parameter. Returns the count changed.
int UnifyTexts(PageRecord& page, const TextAttributes& ref, int param);
// Every text of category `from` and type `fromType` becomes `to`, `toType`. Returns the count changed.
int ChangeTextCategory(PageRecord& page, TextCategory from, unsigned fromType, TextCategory to, unsigned toType);

}  // namespace notavera
