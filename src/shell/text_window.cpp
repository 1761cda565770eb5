// The text window's command handling: menu commands through their own registry and the dispatch's undo rules,
// keys, characters and mouse, the title bar and the menu items' state.
#include "shell/text_window.h"

#include <algorithm>
#include <array>
#include <limits>

#include "edit/syllable_spacing.h"
#include "edit/syllables.h"
#include "platform/ansi_text.h"
#include "platform/clipboard.h"
#include "platform/dialog_model.h"
#include "platform/messages.h"
#include "score/mus_file.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/outils_commands.h"
#include "shell/page_navigation.h"
#include "shell/text_window_menu.h"
#include "shell/text_window_state.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

constexpr int fontTableFullMessage = 69;
constexpr int lyricsFirstMessage = 71;
constexpr const char* kindDialogName = "TypeTexte";
constexpr int firstCategoryButton = 456;
constexpr int firstTypeButton = 449;
constexpr int categoryGroup = 1;
constexpr int typeGroup = 2;
// Shift+Tab: the previous note.
constexpr int shiftTabKey = shiftMoveKeyOffset + static_cast<int>(Key::Tab);

TextWindowState& Window(EditorContext& ctx) { return *ctx.shell.textWindow; }
TextEditor& Editor(EditorContext& ctx) { return ctx.shell.textWindow->editor; }

std::optional<TextStaffFrame> CurrentFrame(const EditorContext& ctx) {
    return TextStaffFrameOf(ctx.doc, ctx.doc.currentStaff);
}

// The parameter of the editor's line on the current staff.
int CurrentParameter(EditorContext& ctx) {
    const std::optional<TextStaffFrame> f = CurrentFrame(ctx);
    return f ? TextParamFor(Editor(ctx).y, f->staffTop, f->paramUnit) : 0;
}

bool Commit(EditorContext& ctx) {
    const bool changed = CommitText(Editor(ctx), ctx.doc);
    if (changed) ctx.ui.invalidate();
    return changed;
}

// The editor's line on the current staff for its kind of text.
void TakeDefaultLine(EditorContext& ctx) {
    if (const std::optional<TextStaffFrame> f = CurrentFrame(ctx)) Editor(ctx).y = DefaultTextY(*f, Editor(ctx).current);
}

// A text of the current kind at x on the current staff becomes the one edited.
void EditTextAt(EditorContext& ctx, int x) {
    const StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return;
    if (const std::optional<int> i = TextElementAt(*staff, x, Editor(ctx).current))
        EditTextElement(Editor(ctx), ctx.doc, ctx.doc.currentStaff, *i);
}

std::optional<std::string> ClipboardText(const EditorContext& ctx) {
    Clipboard* clipboard = const_cast<UiServices&>(ctx.ui).clipboard();
    if (clipboard == nullptr) return std::nullopt;
    std::optional<std::string> text = clipboard->text();
    if (text && text->empty()) return std::nullopt;
    return text;
}

// Tab and Shift+Tab: the next note that takes a syllable (any note for other texts), or the previous note.
void ToNeighbourNote(EditorContext& ctx, bool forward) {
    Commit(ctx);
    TextEditor& ed = Editor(ctx);
    const StaffRecord* staff = ctx.doc.staff();
    const std::optional<TextStaffFrame> f = CurrentFrame(ctx);
    if (staff == nullptr || !f) return;
    ed.x = forward ? NextSyllableNote(*staff, ed.x, SyllableRulesOf(ed), f->lineEnd) : PreviousNote(*staff, ed.x);
    EditTextAt(ctx, ed.x);
}

// F7 and F8: the previous or next text element of the staff becomes the one edited.
void ToNeighbourText(EditorContext& ctx, bool forward) {
    TextEditor& ed = Editor(ctx);
    const int skip = ed.editing ? ed.edited.element : -1;
    const int x = ed.x;
    Commit(ctx);
    const StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return;
    // The commit may have removed the text left (emptied): the neighbours are then looked for from its x.
    const int stillThere = skip >= 0 && skip < static_cast<int>(staff->elements.size()) &&
                                   staff->elements[static_cast<std::size_t>(skip)].x == x
                               ? skip
                               : -1;
    if (const std::optional<int> i = NeighbourTextElement(*staff, x, forward, stillThere))
        EditTextElement(ed, ctx.doc, ctx.doc.currentStaff, *i);
}

void ToPage(EditorContext& ctx, int page) {
    Commit(ctx);
    if (page < 1 || page > ctx.doc.pageCount || !GoToPage(ctx, page)) return;
    TakeDefaultLine(ctx);
    if (const std::optional<TextStaffFrame> f = CurrentFrame(ctx)) Editor(ctx).x = f->left;
    ctx.ui.invalidate();
}

// Page Up and Page Down: the staff above or below; lyrics go to their verse's line and, going down, to the
// first note of the new staff that takes a syllable.
void ToStaff(EditorContext& ctx, bool down) {
    Commit(ctx);
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr) return;
    const int target = ctx.doc.currentStaff + (down ? 1 : -1);
    if (target < 0 || target >= static_cast<int>(page->staves.size())) return;
    ctx.doc.currentStaff = target;
    ctx.doc.currentElement = page->staves[static_cast<std::size_t>(target)].elements.empty() ? -1 : 0;
    TakeDefaultLine(ctx);
    TextEditor& ed = Editor(ctx);
    const std::optional<TextStaffFrame> f = CurrentFrame(ctx);
    if (down && f && ed.current.category == TextCategory::Lyrics) {
        ed.x = NextSyllableNote(page->staves[static_cast<std::size_t>(target)], f->left - 1, SyllableRulesOf(ed),
                                f->lineEnd);
        EditTextAt(ctx, ed.x);
    }
}

void ChooseFont(EditorContext& ctx) {
    TextEditor& ed = Editor(ctx);
    FontChoice current;
    current.face = ctx.doc.fonts.faceName(ed.current.fontIndex & 31);
    current.height = ed.current.size / 2;
    current.bold = ed.current.style == TextStyle::Bold || ed.current.style == TextStyle::BoldItalic;
    current.italic = ed.current.style == TextStyle::Italic || ed.current.style == TextStyle::BoldItalic;
    const std::optional<FontChoice> chosen = ctx.ui.chooseFont(current);
    if (!chosen) return;
    std::optional<int> index = FindOrAddFont(ed, ctx.doc.fonts, chosen->face, 0);
    if (!index) {
        ErrorBox(ctx.ui, fontTableFullMessage);
        index = fallbackFont;
    }
    ed.current.fontIndex = *index;
    ed.current.size = std::clamp(2 * chosen->height, MinTextSize, MaxTextSize);
    ed.pendingStyle = static_cast<TextStyle>((chosen->italic ? 1u : 0u) + (chosen->bold ? 2u : 0u));
}

// The "TypeTexte" dialog: the type buttons take the names of the category chosen.
std::optional<TextKindChoice> AskTextKind(EditorContext& ctx) {
    const TextAttributes& a = Editor(ctx).current;
    DialogModel dialog(kindDialogName, "Type de texte");
    for (unsigned c = 0; c < textCategoryCount; ++c)
        dialog.addRadio(firstCategoryButton + static_cast<int>(c), std::string(TextCategoryName(static_cast<TextCategory>(c))),
                        categoryGroup, c == static_cast<unsigned>(a.category));
    for (unsigned t = 0; t < textTypeCount; ++t)
        dialog.addRadio(firstTypeButton + static_cast<int>(t), TextTypeName(a.category, t), typeGroup, t == a.type);
    if (!ctx.ui.runDialog(dialog)) return std::nullopt;
    TextKindChoice choice{a.category, a.type};
    for (unsigned c = 0; c < textCategoryCount; ++c)
        if (dialog.checked(std::to_string(firstCategoryButton + static_cast<int>(c)))) choice.category = static_cast<TextCategory>(c);
    for (unsigned t = 0; t < textTypeCount; ++t)
        if (dialog.checked(std::to_string(firstTypeButton + static_cast<int>(t)))) choice.type = t;
    return choice;
}

void ChangeCategoryToMarker(EditorContext& ctx) {
    TextEditor& ed = Editor(ctx);
    const TextAttributes before = ed.current;
    const std::optional<TextKindChoice> chosen = AskTextKind(ctx);
    if (!chosen) return;
    SaveStepOfAction(ctx);
    Commit(ctx);
    ChangePagesToMarker(ctx, [&](PageRecord& page, bool) {
        return ChangeTextCategory(page, before.category, before.type, chosen->category, chosen->type);
    });
    ed.current.category = chosen->category;
    ed.current.type = chosen->type;
}

void UnifyToMarker(EditorContext& ctx) {
    Commit(ctx);
    const TextAttributes ref = Editor(ctx).current;
    const int param = CurrentParameter(ctx);
    ChangePagesToMarker(ctx, [&](PageRecord& page, bool) { return UnifyTexts(page, ref, param); });
}

void PasteText(EditorContext& ctx) {
    const std::optional<std::string> text = ClipboardText(ctx);
    if (text && InsertTextString(Editor(ctx), Utf8ToAnsi(*text))) ctx.ui.invalidate();
}

void InsertSyllablesFromClipboard(EditorContext& ctx) {
    TextEditor& ed = Editor(ctx);
    if (ed.current.category != TextCategory::Lyrics) {
        ShowNotice(ctx.ui, lyricsFirstMessage);
        return;
    }
    const std::optional<std::string> text = ClipboardText(ctx);
    if (!text) return;
    SaveStepOfAction(ctx);
    Commit(ctx);
    const int page = ctx.doc.currentPage;
    const int staff = ctx.doc.currentStaff;
    const int x = ed.x, y = ed.y;
    InsertSyllables(ed, ctx.doc, SplitSyllables(Utf8ToAnsi(*text)), [&ctx] {
        const int next = ctx.doc.currentPage + 1;
        return next <= ctx.doc.pageCount && GoToPage(ctx, next);
    });
    // The insertion point stays where the text began.
    if (ctx.doc.currentPage != page) GoToPage(ctx, page);
    ctx.doc.currentStaff = staff;
    ed.x = x;
    ed.y = y;
    ctx.ui.invalidate();
}

// What a menu command does itself, after the pending style and orientation were reset.
void ApplyTextCommand(EditorContext& ctx, int command) {
    TextEditor& ed = Editor(ctx);
    if (const std::optional<TextKindChoice> kind = TextKindOfCommand(command)) {
        const std::optional<TextStaffFrame> f = CurrentFrame(ctx);
        const int unit = f ? f->unit : 10;
        const bool wasLyrics = ed.current.category == TextCategory::Lyrics;
        const unsigned oldType = ed.current.type;
        ChooseTextKind(ed, kind->category, kind->type, unit, std::max(unit / 2, 1));
        // A verse of its own takes its own line; other texts keep the line the user chose.
        if (!ed.active() && kind->category == TextCategory::Lyrics && (!wasLyrics || oldType != kind->type))
            TakeDefaultLine(ctx);
        return;
    }
    switch (command) {
    case textcmd::Upright: ed.pendingStyle = TextStyle::Upright; break;
    case textcmd::Italic: ed.pendingStyle = TextStyle::Italic; break;
    case textcmd::Bold: ed.pendingStyle = TextStyle::Bold; break;
    case textcmd::BoldItalic: ed.pendingStyle = TextStyle::BoldItalic; break;
    case textcmd::Horizontal: ed.pendingOrientation = TextOrientation::Horizontal; break;
    case textcmd::Vertical: ed.pendingOrientation = TextOrientation::Vertical; break;
    case textcmd::Backwards: ed.pendingOrientation = TextOrientation::Backwards; break;
    case textcmd::Opaque: ed.current.opaque = !ed.current.opaque; break;
    case textcmd::MarkerPage: ctx.shell.cursor.markerPage = ctx.doc.currentPage; break;
    case textcmd::NextWord: ToNeighbourText(ctx, true); break;
    case textcmd::PreviousWord: ToNeighbourText(ctx, false); break;
    case textcmd::NextPage: ToPage(ctx, ctx.doc.currentPage + 1); break;
    case textcmd::PreviousPage: ToPage(ctx, ctx.doc.currentPage - 1); break;
    case textcmd::JustifyRight: ed.current.justification = LyricJustification::Ending; break;
    case textcmd::JustifyLeft: ed.current.justification = LyricJustification::Starting; break;
    case textcmd::Centred: ed.current.justification = LyricJustification::Centred; break;
    case textcmd::Fonts: ChooseFont(ctx); break;
    case textcmd::Unify: UnifyToMarker(ctx); break;
    case textcmd::ChangeCategory: ChangeCategoryToMarker(ctx); break;
    case textcmd::Paste: PasteText(ctx); break;
    case textcmd::InsertSyllables: InsertSyllablesFromClipboard(ctx); break;
    case textcmd::SyllableOnMelisma: ed.syllableOnMelisma = !ed.syllableOnMelisma; break;
    case textcmd::SyllablePerTiedGroup: ed.syllablePerTiedGroup = !ed.syllablePerTiedGroup; break;
    default: break;
    }
}

// Every menu command: pending style and orientation back to upright and horizontal, the command's own effect,
// then the pending values become current, the check mark moves to the command and the title is rebuilt.
void RunMenuCommand(EditorContext& ctx, int command) {
    if (command == textcmd::Quit) {
        CloseTextWindow(ctx);
        return;
    }
    TextEditor& ed = Editor(ctx);
    ed.pendingStyle = TextStyle::Upright;
    ed.pendingOrientation = TextOrientation::Horizontal;
    ApplyTextCommand(ctx, command);
    if (!TextWindowOpen(ctx)) return;
    ed.current.style = ed.pendingStyle;
    ed.current.orientation = ed.pendingOrientation;
    Window(ctx).checkedCommand = command;
    UpdateTextWindowTitle(ctx);
    ctx.ui.invalidate();
}

// Keys, numbered as the dispatch translates them.
void MoveSideways(EditorContext& ctx, bool right) {
    TextEditor& ed = Editor(ctx);
    if (ed.active()) {
        if (right && ed.insertion < ed.buffer.size()) ++ed.insertion;
        if (!right && ed.insertion > 0) --ed.insertion;
        return;
    }
    const int step = std::max(ctx.doc.spacingStep, 1);
    ed.x = std::clamp(ed.x + (right ? step : -step), 0, ctx.doc.pageWidth);
}

void MoveVertically(EditorContext& ctx, bool up) {
    const std::optional<TextStaffFrame> f = CurrentFrame(ctx);
    TextEditor& ed = Editor(ctx);
    const int unit = f ? f->unit : 10;
    ed.y = std::clamp(ed.y + (up ? unit : -unit), 0, ctx.doc.pageHeight);
}

void Backspace(EditorContext& ctx) {
    TextEditor& ed = Editor(ctx);
    if (ed.editing && ed.current.category == TextCategory::Lyrics) {
        RemoveSyllable(ed, ctx.doc);
        return;
    }
    if (ed.active() && ed.insertion > 0) ed.buffer.erase(--ed.insertion, 1);
}

void InsertKey(EditorContext& ctx) {
    TextEditor& ed = Editor(ctx);
    if (ed.editing && ed.current.category == TextCategory::Lyrics) ShiftSyllablesForward(ed, ctx.doc);
}

void ChangeSize(EditorContext& ctx, int by) {
    TextAttributes& a = Editor(ctx).current;
    a.size = std::clamp(a.size + by, MinTextSize, MaxTextSize);
}

void RunKey(EditorContext& ctx, int code) {
    TextEditor& ed = Editor(ctx);
    switch (code) {
    case static_cast<int>(Key::Tab): ToNeighbourNote(ctx, true); break;
    case static_cast<int>(Key::Delete): DeleteTextCharacter(ed); break;
    case static_cast<int>(Key::Backspace): Backspace(ctx); break;
    case static_cast<int>(Key::Left): MoveSideways(ctx, false); break;
    case static_cast<int>(Key::Right): MoveSideways(ctx, true); break;
    case static_cast<int>(Key::Up): MoveVertically(ctx, true); break;
    case static_cast<int>(Key::Down): MoveVertically(ctx, false); break;
    case static_cast<int>(Key::PageUp): ToStaff(ctx, false); break;
    case static_cast<int>(Key::PageDown): ToStaff(ctx, true); break;
    case static_cast<int>(Key::Insert): InsertKey(ctx); break;
    case static_cast<int>(Key::Enter):
    case static_cast<int>(Key::Escape): Commit(ctx); break;
    case static_cast<int>(Key::F1):
        ed.current.style = static_cast<TextStyle>((static_cast<unsigned>(ed.current.style) + 1) % 4);
        break;
    case static_cast<int>(Key::F2):
        ed.current.orientation = static_cast<TextOrientation>(static_cast<unsigned>(ed.current.orientation) % 3 + 1);
        break;
    case static_cast<int>(Key::F3): ChangeSize(ctx, -2); break;
    case static_cast<int>(Key::F4): ChangeSize(ctx, 2); break;
    case static_cast<int>(Key::F5): ToPage(ctx, ctx.doc.currentPage - 1); break;
    case static_cast<int>(Key::F6): ToPage(ctx, ctx.doc.currentPage + 1); break;
    case static_cast<int>(Key::F7):
    case static_cast<int>(Key::CtrlLeft): ToNeighbourText(ctx, false); break;
    case static_cast<int>(Key::F8):
    case static_cast<int>(Key::CtrlRight): ToNeighbourText(ctx, true); break;
    default: break;
    }
}

// Tab and Shift+Tab come as characters; Space too, which lyrics take as Tab while nothing is typed.
bool TakeMovingCharacter(EditorContext& ctx, char32_t c) {
    TextEditor& ed = Editor(ctx);
    if (c == U'\t') {
        ToNeighbourNote(ctx, true);
        return true;
    }
    if (c == U' ' && !ed.active() && ed.current.category == TextCategory::Lyrics) {
        ToNeighbourNote(ctx, true);
        return true;
    }
    return false;
}

// The character's code page 1252 byte; nothing for a character the code page lacks.
std::optional<char> AnsiOf(char32_t c) {
    std::string utf8;
    if (c < 0x80) utf8 = std::string(1, static_cast<char>(c));
    else if (c < 0x800) utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    else if (c < 0x10000)
        utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
    else return std::nullopt;
    const std::string ansi = Utf8ToAnsi(utf8);
    if (ansi.size() != 1 || (ansi[0] == '?' && c != U'?')) return std::nullopt;
    const auto byte = static_cast<unsigned char>(ansi[0]);
    if (byte < 32) return std::nullopt;
    return ansi[0];
}

// The text window's own registry: its menu commands and keys.
const CommandRegistry& TextCommands() {
    static const CommandRegistry registry = [] {
        CommandRegistry r;
        const auto menu = [](EditorContext& ctx, int command) { RunMenuCommand(ctx, command); };
        for (const Menu& m : TextMenus())
            VisitCommands(m.entries, [&](const MenuEntry& e) {
                // Unify changes much of the score: a step. "Modifier catégorie" and the syllables from the
                // clipboard save theirs once their dialog or clipboard let them go on.
                r.addCommand(e.command, menu, e.command == textcmd::Unify ? UndoPolicy::Step : UndoPolicy::None);
            });
        const auto key = [](EditorContext& ctx, int code) { RunKey(ctx, code); };
        for (const Key k : {Key::Tab, Key::Delete, Key::Backspace, Key::Left, Key::Right, Key::Up, Key::Down, Key::PageUp,
                            Key::PageDown, Key::Insert, Key::Enter, Key::Escape, Key::F1, Key::F2, Key::F3, Key::F4,
                            Key::F5, Key::F6, Key::F7, Key::F8, Key::CtrlLeft, Key::CtrlRight})
            r.addKey(static_cast<int>(k), key);
        // Shift+Tab reaches the window as the key Tab with Shift.
        r.addKey(shiftTabKey, [](EditorContext& ctx, int) { ToNeighbourNote(ctx, false); });
        return r;
    }();
    return registry;
}

// The fonts in use anywhere in the score, and the one the editor is about to give a text.
std::uint32_t FontsInUse(EditorContext& ctx) {
    std::uint32_t used = 1u << (Editor(ctx).current.fontIndex & 31);
    for (int p = 1; p <= ctx.doc.pageCount; ++p)
        if (const PageView page = ViewPage(ctx.doc, ctx.ui, p)) MarkFontsOfPage(*page, used);
    return used;
}

void FreeUnusedFonts(EditorContext& ctx) {
    const std::uint32_t used = FontsInUse(ctx);
    FreeAddedFonts(Editor(ctx), ctx.doc.fonts, [used](int i) { return (used & (1u << i)) != 0; });
}

TextFont FontOf(const EditorContext& ctx, const TextAttributes& a) {
    TextFont f;
    f.face = ctx.doc.fonts.faceName(a.fontIndex & 31);
    f.charset = ctx.doc.fonts.charSet(a.fontIndex & 31);
    f.height = a.size;
    f.weight = a.style == TextStyle::Bold || a.style == TextStyle::BoldItalic ? 700 : 400;
    f.italic = a.style == TextStyle::Italic || a.style == TextStyle::BoldItalic;
    f.escapement = a.orientation == TextOrientation::Vertical    ? 900
                   : a.orientation == TextOrientation::Backwards ? 1800
                                                                 : 0;
    return f;
}

// The staff a click at y writes on: for lyrics the staff above the click (verses hang under their staff, nearer
// at times to the next staff's lines), for other texts the staff whose lines lie nearest.
int NearestStaff(const EditorContext& ctx, int y) {
    const PageRecord* shown = ctx.doc.findPage(ctx.doc.currentPage);
    if (shown != nullptr && Editor(const_cast<EditorContext&>(ctx)).current.category == TextCategory::Lyrics) {
        std::optional<int> above;
        int lowest = 0;
        for (int s = 0; s < static_cast<int>(shown->staves.size()); ++s) {
            const std::optional<TextStaffFrame> f = TextStaffFrameOf(ctx.doc, s);
            if (f && f->bottomLine >= y && (!above || f->bottomLine < lowest)) {
                above = s;
                lowest = f->bottomLine;
            }
        }
        if (above) return *above;
    }
    const PageRecord* page = ctx.doc.findPage(ctx.doc.currentPage);
    int best = ctx.doc.currentStaff;
    int distance = std::numeric_limits<int>::max();
    for (int s = 0; page != nullptr && s < static_cast<int>(page->staves.size()); ++s) {
        const std::optional<TextStaffFrame> f = TextStaffFrameOf(ctx.doc, s);
        if (!f) continue;
        const int d = y > f->topLine ? y - f->topLine : y < f->bottomLine ? f->bottomLine - y : 0;
        if (d < distance) {
            distance = d;
            best = s;
        }
    }
    return best;
}

// The text element of the staff whose box holds the point.
std::optional<int> TextElementUnder(const EditorContext& ctx, int staff, Point at) {
    const PageRecord* page = ctx.doc.findPage(ctx.doc.currentPage);
    const std::optional<TextStaffFrame> f = TextStaffFrameOf(ctx.doc, staff);
    if (page == nullptr || !f) return std::nullopt;
    const auto& els = page->staves[static_cast<std::size_t>(staff)].elements;
    for (std::size_t i = 0; i < els.size(); ++i) {
        if (!IsText(els[i])) continue;
        const TextAttributes a = TextAttributesOf(els[i]);
        const int width = MeasureTextWidth(ctx.doc.fonts, a, TextCharacters(els[i]));
        const int left = TextLeftOf(a, els[i].x, width);
        const auto bottom = static_cast<int>(TextLowerEdge(f->staffTop, els[i].param, f->paramUnit));
        if (at.x >= left && at.x <= left + width && at.y >= bottom && at.y <= bottom + a.size)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace

void OpenTextWindow(EditorContext& ctx) {
    if (ctx.doc.page() == nullptr) return;
    if (!ctx.shell.textWindow) {
        ctx.shell.textWindow = std::make_shared<TextWindowState>();
        TextEditor& ed = Editor(ctx);
        const std::optional<TextStaffFrame> f = CurrentFrame(ctx);
        const int unit = f ? f->unit : 10;
        ChooseTextKind(ed, TextCategory::Miscellaneous, FirstTitle, unit, std::max(unit / 2, 1));
        ed.x = ctx.shell.cursor.x;
        TakeDefaultLine(ctx);
        Window(ctx).checkedCommand = TextKindCommand(TextCategory::Miscellaneous, FirstTitle);
    }
    ctx.ui.showTextWindow();
    UpdateTextWindowTitle(ctx);
}

void CloseTextWindow(EditorContext& ctx) {
    if (!ctx.shell.textWindow) return;
    Commit(ctx);
    FreeUnusedFonts(ctx);
    ctx.shell.cursor.x = Editor(ctx).x;
    ctx.shell.textWindow.reset();
    ctx.ui.closeTextWindow();
    ctx.ui.invalidate();
    UpdateTitleBar(ctx);
}

void DeactivateTextWindow(EditorContext& ctx) {
    if (!ctx.shell.textWindow) return;
    // The score's own window may change the staff under the text: it goes into the score first.
    Commit(ctx);
    FreeUnusedFonts(ctx);
}

bool TextWindowOpen(const EditorContext& ctx) { return ctx.shell.textWindow != nullptr; }

void DispatchTextCommand(EditorContext& ctx, int command) {
    if (TextWindowOpen(ctx)) RunWindowCommand(ctx, TextCommands(), command, TextMenuItem(ctx, command).enabled);
}

void DispatchTextKey(EditorContext& ctx, Key key, KeyModifiers modifiers) {
    if (!TextWindowOpen(ctx)) return;
    const int code = modifiers.shift && key == Key::Tab ? shiftTabKey : TranslateKey(key, modifiers);
    const CommandRegistry::Entry* entry = TextCommands().findKey(code);
    if (entry == nullptr) return;
    const CommandScope scope(ctx, entry->policy);
    entry->handler(ctx, code);
    if (TextWindowOpen(ctx)) UpdateTextWindowTitle(ctx);
    ctx.ui.invalidate();
}

void DispatchTextChar(EditorContext& ctx, char32_t character) {
    if (!TextWindowOpen(ctx)) return;
    const CommandScope scope(ctx, UndoPolicy::None);
    if (TakeMovingCharacter(ctx, character)) {
        ctx.ui.invalidate();
        return;
    }
    const std::optional<char> byte = AnsiOf(character);
    if (!byte) return;
    // The first character starts a new text at the cursor, on the staff the cursor is on.
    TypeTextCharacter(Editor(ctx), *byte);
    ctx.ui.invalidate();
}

void TextMouseLeftDown(EditorContext& ctx, Point at) {
    if (!TextWindowOpen(ctx)) return;
    TextEditor& ed = Editor(ctx);
    if (ed.editing && ed.edited.staff == ctx.doc.currentStaff &&
        TextElementUnder(ctx, ed.edited.staff, at) == ed.edited.element) {
        Window(ctx).dragging = true;
        return;
    }
    Commit(ctx);
    const int staff = NearestStaff(ctx, at.y);
    ctx.doc.currentStaff = staff;
    const StaffRecord* s = ctx.doc.staff();
    ctx.doc.currentElement = s == nullptr || s->elements.empty() ? -1 : 0;
    if (const std::optional<int> hit = TextElementUnder(ctx, staff, at)) {
        EditTextElement(ed, ctx.doc, staff, *hit);
        Window(ctx).dragging = true;
    } else {
        ed.x = at.x;
        ed.y = at.y;
    }
    UpdateTextWindowTitle(ctx);
    ctx.ui.invalidate();
}

void TextMouseMove(EditorContext& ctx, Point at) {
    if (!TextWindowOpen(ctx) || !Window(ctx).dragging) return;
    Editor(ctx).y = std::clamp(at.y, 0, ctx.doc.pageHeight);
    ctx.ui.invalidate();
}

void TextMouseLeftUp(EditorContext& ctx, Point at) {
    if (!TextWindowOpen(ctx)) return;
    TextMouseMove(ctx, at);
    Window(ctx).dragging = false;
}

void TextMouseRightDown(EditorContext& ctx) {
    if (!TextWindowOpen(ctx)) return;
    if (const std::optional<int> chosen = ctx.ui.popupTextCategoryMenu()) DispatchTextCommand(ctx, *chosen);
}

std::string TextWindowTitle(const EditorContext& ctx) {
    if (!ctx.shell.textWindow) return {};
    const TextAttributes& a = ctx.shell.textWindow->editor.current;
    std::string title = "NV (TEXTE) p." + std::to_string(ctx.doc.currentPage) + "/" +
                        std::to_string(ctx.doc.pageCount) + " ***  " +
                        ctx.doc.fonts.faceName(a.fontIndex & 31) + " " +
                        std::to_string(a.size) + ", " + std::string(TextStyleName(a.style)) + " " +
                        std::string(TextOrientationName(a.orientation)) + " ***  " + TextTypeName(a.category, a.type);
    if (ctx.shell.cursor.markerPage != 0) title += "  -  mqPage: " + std::to_string(ctx.shell.cursor.markerPage);
    return title + " ";
}

void UpdateTextWindowTitle(EditorContext& ctx) { ctx.ui.setTextWindowTitle(TextWindowTitle(ctx)); }

CommandState TextMenuItem(const EditorContext& ctx, int command) {
    CommandState state;
    if (!ctx.shell.textWindow || TextCommands().findCommand(command) == nullptr) return state;
    const TextEditor& ed = ctx.shell.textWindow->editor;
    state.enabled = true;
    switch (command) {
    case textcmd::Paste:
    case textcmd::InsertSyllables: state.enabled = ClipboardText(ctx).has_value(); break;
    case textcmd::JustifyRight:
    case textcmd::JustifyLeft:
    case textcmd::Centred: state.enabled = ed.current.category == TextCategory::Lyrics; break;
    default: break;
    }
    if (command == textcmd::Opaque) state.checked = ed.current.opaque;
    else if (command == textcmd::SyllableOnMelisma) state.checked = ed.syllableOnMelisma;
    else if (command == textcmd::SyllablePerTiedGroup) state.checked = ed.syllablePerTiedGroup;
    else state.checked = command == ctx.shell.textWindow->checkedCommand;
    return state;
}

std::optional<TextInEditing> TextBeingEdited(const EditorContext& ctx) {
    if (!ctx.shell.textWindow) return std::nullopt;
    const TextEditor& ed = ctx.shell.textWindow->editor;
    if (!ed.active()) return std::nullopt;
    TextInEditing t;
    const int width = MeasureTextWidth(ctx.doc.fonts, ed.current, ed.buffer);
    t.origin = {TextLeftOf(ed.current, ed.x, width), ed.y};
    t.utf8 = AnsiToUtf8(ed.buffer);
    t.font = FontOf(ctx, ed.current);
    t.caretX = t.origin.x + MeasureTextWidth(ctx.doc.fonts, ed.current, std::string_view(ed.buffer).substr(0, ed.insertion));
    return t;
}

std::optional<Point> TextCursor(const EditorContext& ctx) {
    if (!ctx.shell.textWindow) return std::nullopt;
    const TextEditor& ed = ctx.shell.textWindow->editor;
    return Point{ed.x, ed.y};
}

void RegisterTextWindowCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::TextWindow, [](EditorContext& ctx, int) { OpenTextWindow(ctx); }, UndoPolicy::Step);
    registry.addCommand(
        cmd::SyllablesOnLine, [](EditorContext& ctx, int) { SpaceSyllablesOfLine(ctx.doc); ctx.ui.invalidate(); },
        UndoPolicy::Step);
    registry.addCommand(
        cmd::CentreSyllableDashes, [](EditorContext& ctx, int) { CentreHyphensOfPage(ctx.doc); ctx.ui.invalidate(); },
        UndoPolicy::Step);
}

}  // namespace notavera
