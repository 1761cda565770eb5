// The drawing window's command handling: recordings, replays, symbols, metafile pictures, the selection of placed
// drawings, the accelerating cursor, the title bar and the menu items' state.
#include "shell/drawing_window.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "edit/drawing_elements.h"
#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/metafile_player.h"
#include "render/ink_canvas.h"
#include "render/metafile_export.h"
#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/drawing_window_menu.h"
#include "shell/drawing_window_state.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

constexpr int diskErrorMessage = 1;
constexpr int unreadableFileMessage = 4;
constexpr int markFirstMessage = 53;
constexpr int overwriteMessage = 65;
// What message 4 names when the clipboard's picture cannot be read.
const std::string clipboardName = "(Presse-papiers)";
// The cursor starts this far above the current staff's top line.
constexpr int aboveStaff = 40;
// Up and Down move a selected drawing by two of its vertical units (eighth spaces).
constexpr int moveSteps = 2;
constexpr int pictureStep = 5;
// The frame of a selected drawing stands this far off its ink, so that it hides none of it.
constexpr int selectionMargin = 10;

DrawingWindowState& Window(EditorContext& ctx) { return *ctx.shell.drawingWindow; }

std::optional<DrawingRecording>& Slot(EditorContext& ctx, int slot) {
    return ctx.shell.drawingSlots[static_cast<std::size_t>(std::clamp(slot, 1, 3) - 1)];
}

std::string SlotText(int slot) { return std::to_string(slot); }

void Changed(EditorContext& ctx) {
    ctx.doc.markModified();
    ctx.ui.invalidate();
}

// The cursor above the current staff, at x.
void CursorAboveStaff(EditorContext& ctx, double x) {
    DrawingWindowState& w = Window(ctx);
    w.cursor.x = x;
    if (const std::optional<DrawingStaffFrame> f = DrawingStaffFrameOf(ctx.doc, ctx.doc.currentStaff))
        w.cursor.y = f->topLine + aboveStaff;
}

ElementRecord* Selected(EditorContext& ctx) {
    DrawingWindowState& w = Window(ctx);
    StaffRecord* staff = ctx.doc.staff();
    if (!w.selected || staff == nullptr || *w.selected >= static_cast<int>(staff->elements.size())) return nullptr;
    ElementRecord& e = staff->elements[static_cast<std::size_t>(*w.selected)];
    return IsDrawingElement(e) ? &e : nullptr;
}

// The page point an element of the current staff stands for.
std::optional<PagePoint> OriginOf(const EditorContext& ctx, const ElementRecord& e) {
    const std::optional<DrawingStaffFrame> f = DrawingStaffFrameOf(ctx.doc, ctx.doc.currentStaff);
    if (!f) return std::nullopt;
    return PagePoint{static_cast<double>(e.x), f->reference + e.param * f->eighthSpace};
}

void Select(EditorContext& ctx, bool forward) {
    DrawingWindowState& w = Window(ctx);
    const StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return;
    const int count = static_cast<int>(staff->elements.size());
    const int from = w.selected ? *w.selected : (forward ? -1 : count);
    const std::optional<int> found = NeighbourDrawing(*staff, from, forward);
    if (!found) return;
    w.selected = found;
    ctx.doc.currentElement = *found;
    if (const std::optional<PagePoint> at = OriginOf(ctx, staff->elements[static_cast<std::size_t>(*found)]))
        w.cursor = *at;
    ctx.ui.invalidate();
}

void FinishRecording(EditorContext& ctx) {
    DrawingWindowState& w = Window(ctx);
    const int slot = w.recorder.slot();
    if (slot == 0) return;
    const std::optional<DrawingRecorder::Result> done = w.recorder.finish();
    w.controls = {};
    if (!done) return;
    Slot(ctx, slot) = done->recording;
    if (InsertDrawing(ctx.doc, ctx.doc.currentStaff, done->origin, done->recording, slot)) Changed(ctx);
}

// The slot may be overwritten: empty, or the user says so.
bool MayOverwrite(EditorContext& ctx, int slot) {
    return !Slot(ctx, slot) || AskYesNo(ctx.ui, overwriteMessage, SlotText(slot));
}

void StartRecording(EditorContext& ctx, int slot) {
    DrawingWindowState& w = Window(ctx);
    if (w.recorder.recording() || !MayOverwrite(ctx, slot)) return;
    Slot(ctx, slot).reset();
    w.recorder.start(slot);
    w.recorder.choose(w.tool, w.width, w.line);
}

void Replay(EditorContext& ctx, int slot) {
    DrawingWindowState& w = Window(ctx);
    const std::optional<DrawingRecording>& r = Slot(ctx, slot);
    if (w.recorder.recording() || !r) return;
    SaveStepOfAction(ctx);
    if (InsertDrawing(ctx.doc, ctx.doc.currentStaff, w.cursor, *r, slot)) Changed(ctx);
}

std::optional<std::vector<std::uint8_t>> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return std::nullopt;
    return bytes;
}

FileDialogRequest SymbolDialog(const char* title) {
    return {title, {}, {{"Fichiers SYMBOLE (*.SYM)", "*.SYM"}}};
}

void SaveSymbol(EditorContext& ctx, int slot) {
    const std::optional<DrawingRecording>& r = Slot(ctx, slot);
    if (!r) return;
    const std::optional<std::string> path = ctx.ui.saveFileName(SymbolDialog("Sauver symbole"));
    if (!path) return;
    const std::vector<std::uint8_t> bytes = EncodeSymbolFile(*r);
    std::ofstream file(*path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) ErrorBox(ctx.ui, diskErrorMessage);
}

// A symbol read into a slot is shown at the cursor; "Relecture" puts it in the score.
void ReadSymbol(EditorContext& ctx, int slot) {
    if (Window(ctx).recorder.recording() || !MayOverwrite(ctx, slot)) return;
    const std::optional<std::string> path = ctx.ui.openFileName(SymbolDialog("Lire symbole"));
    if (!path) return;
    const std::optional<std::vector<std::uint8_t>> bytes = ReadBytes(*path);
    Slot(ctx, slot) = bytes ? DecodeSymbolFile(*bytes) : std::nullopt;
    ctx.ui.invalidate();
}

FileDialogRequest MetafileDialog(const char* title) {
    return {title, {}, {{"Fichiers METAFILE (*.WMF)", "*.WMF"}}};
}

// A picture at the cursor in its own size, or fitted into the marked region.
void PlaceMetafile(EditorContext& ctx, const std::vector<std::uint8_t>& bytes, const std::string& name) {
    DrawingWindowState& w = Window(ctx);
    const MetafilePlayer* player = ctx.ui.metafilePlayer();
    const std::optional<MetafileSize> size = player != nullptr ? player->measure(bytes) : std::nullopt;
    if (!size || bytes.size() > maxPictureBytes) {
        ShowError(ctx.ui, unreadableFileMessage, &name);
        return;
    }
    PictureHead head;
    PagePoint at = w.cursor;
    head.xExtent = size->width;
    head.yExtent = size->height;
    if (w.region) {
        at = {static_cast<double>(w.region->left), static_cast<double>(w.region->top)};
        head.xExtent = w.region->right - w.region->left;
        head.yExtent = w.region->top - w.region->bottom;
    }
    SaveStepOfAction(ctx);
    if (InsertPicture(ctx.doc, ctx.doc.currentStaff, at, head, bytes)) Changed(ctx);
}

void ReadMetafileFile(EditorContext& ctx) {
    const std::optional<std::string> path = ctx.ui.openFileName(MetafileDialog("Lire metafile"));
    if (!path) return;
    const std::optional<std::vector<std::uint8_t>> bytes = ReadBytes(*path);
    if (!bytes) {
        ShowError(ctx.ui, unreadableFileMessage, &*path);
        return;
    }
    PlaceMetafile(ctx, *bytes, *path);
}

// "Coller": the clipboard's picture, in whatever form another program put it there.
void PasteMetafile(EditorContext& ctx) {
    const Clipboard* clipboard = ctx.ui.clipboard();
    const std::optional<std::vector<std::uint8_t>> bytes =
        clipboard != nullptr ? clipboard->metafile(maxPictureBytes) : std::nullopt;
    if (!bytes) {
        ShowError(ctx.ui, unreadableFileMessage, &clipboardName);
        return;
    }
    PlaceMetafile(ctx, *bytes, clipboardName);
}

// A region of the page (page units) as the metafile pass draws it, measured on the font files.
template <typename Use>
void WithRegionMetafile(EditorContext& ctx, Box area, Use use) {
    DrawingContext dc;
    dc.metafiles = ctx.ui.metafilePlayer();
    dc.visibleRegion = {area.left, area.bottom, area.right, area.top};
    InkCanvas measuring(dc.musicFont);
    use(dc, measuring, Box{dc.toDevice(area.left), dc.toDevice(area.bottom), dc.toDevice(area.right), dc.toDevice(area.top)});
}

void SaveRegionAsMetafile(EditorContext& ctx, Box area) {
    const std::optional<std::string> path = ctx.ui.saveFileName(MetafileDialog("Sauver metafile"));
    if (!path) return;
    WithRegionMetafile(ctx, area, [&](DrawingContext& dc, Canvas& measuring, Box zoomed) {
        const MetafileExport exported =
            ExportMetafile(dc, ctx.doc, {zoomed.left, zoomed.bottom, zoomed.right, zoomed.top}, measuring);
        if (!exported.picture->save(*path)) ErrorBox(ctx.ui, diskErrorMessage);
    });
}

void CopyRegionToClipboard(EditorContext& ctx, Box area) {
    Clipboard* clipboard = ctx.ui.clipboard();
    if (clipboard == nullptr) return;
    WithRegionMetafile(ctx, area, [&](DrawingContext& dc, Canvas&, Box zoomed) {
        ClipboardPicture picture;
        picture.area = zoomed;
        picture.draw = [&](Canvas& canvas) {
            dc.canvas = &canvas;
            DrawPage(dc, ctx.doc);
            dc.canvas = nullptr;
        };
        picture.metafile = [&](Canvas& measuring) {
            return ExportMetafile(dc, ctx.doc, {zoomed.left, zoomed.bottom, zoomed.right, zoomed.top}, measuring)
                .picture->fileBytes();
        };
        clipboard->setPicture(picture);
    });
}

// The marked region's commands: without a region, message 53.
void RegionCommand(EditorContext& ctx, int command) {
    const std::optional<Box> region = Window(ctx).region;
    if (!region) {
        ShowNotice(ctx.ui, markFirstMessage);
        return;
    }
    if (command == drawcmd::SaveMetafile) SaveRegionAsMetafile(ctx, *region);
    else CopyRegionToClipboard(ctx, *region);
}

void ChooseWidth(EditorContext& ctx, int command, ShapeWidth width) {
    DrawingWindowState& w = Window(ctx);
    w.width = width;
    w.widthCommand = command;
    w.attributeCommand = command;
    w.recorder.choose(w.tool, w.width, w.line);
}

void ChooseLine(EditorContext& ctx, int command, ShapeLine line) {
    DrawingWindowState& w = Window(ctx);
    w.line = line;
    w.lineCommand = command;
    w.attributeCommand = command;
    w.recorder.choose(w.tool, w.width, w.line);
}

// Choosing a tool (or none) ends the shape in progress; a full shape list ends the recording.
void ChooseTool(EditorContext& ctx, std::optional<ShapeKind> tool) {
    DrawingWindowState& w = Window(ctx);
    const bool full = w.recorder.endShape();
    w.tool = tool;
    w.controls = {};
    w.recorder.choose(w.tool, w.width, w.line);
    if (full) FinishRecording(ctx);
}

void RunMenuCommand(EditorContext& ctx, int command) {
    if (command == drawcmd::Quit) {
        CloseDrawingWindow(ctx);
        return;
    }
    DrawingWindowState& w = Window(ctx);
    if (ToolOfCommand(command)) {
        ChooseTool(ctx, ToolOfCommand(command));
    } else if (command >= drawcmd::FirstRecording && command < drawcmd::FirstRecording + 3) {
        StartRecording(ctx, command - drawcmd::FirstRecording + 1);
    } else if (command >= drawcmd::FirstReplay && command < drawcmd::FirstReplay + 3) {
        Replay(ctx, command - drawcmd::FirstReplay + 1);
    } else if (command >= drawcmd::FirstSaveSymbol && command < drawcmd::FirstSaveSymbol + 3) {
        SaveSymbol(ctx, command - drawcmd::FirstSaveSymbol + 1);
    } else if (command >= drawcmd::FirstReadSymbol && command < drawcmd::FirstReadSymbol + 3) {
        ReadSymbol(ctx, command - drawcmd::FirstReadSymbol + 1);
    } else {
        switch (command) {
        case drawcmd::FinishRecording: FinishRecording(ctx); break;
        case drawcmd::ReadMetafile: ReadMetafileFile(ctx); break;
        case drawcmd::PasteMetafile: PasteMetafile(ctx); break;
        case drawcmd::SaveMetafile:
        case drawcmd::CopyRegion: RegionCommand(ctx, command); break;
        case drawcmd::MarkRegion:
            w.markingRegion = true;
            w.regionCorner.reset();
            break;
        case drawcmd::Thin: ChooseWidth(ctx, command, ShapeWidth::Thin); break;
        case drawcmd::Normal: ChooseWidth(ctx, command, ShapeWidth::Normal); break;
        case drawcmd::Medium: ChooseWidth(ctx, command, ShapeWidth::Medium); break;
        case drawcmd::Thick: ChooseWidth(ctx, command, ShapeWidth::Thick); break;
        case drawcmd::Continuous: ChooseLine(ctx, command, ShapeLine::Continuous); break;
        case drawcmd::Dotted: ChooseLine(ctx, command, ShapeLine::Dotted); break;
        case drawcmd::Dashed: ChooseLine(ctx, command, ShapeLine::Dashed); break;
        case drawcmd::PreviousDrawing: Select(ctx, false); break;
        case drawcmd::NextDrawing: Select(ctx, true); break;
        default: break;
        }
    }
    if (!DrawingWindowOpen(ctx)) return;
    UpdateDrawingWindowTitle(ctx);
    ctx.ui.invalidate();
}

bool IsTwoPointShape(std::optional<ShapeKind> tool) {
    return tool && *tool != ShapeKind::Line && *tool != ShapeKind::Polygon && *tool != ShapeKind::FilledPolygon &&
           *tool != ShapeKind::Bezier;
}

bool ClosesByDoubleClick(std::optional<ShapeKind> tool) {
    return tool && (*tool == ShapeKind::Polygon || *tool == ShapeKind::FilledPolygon || *tool == ShapeKind::Bezier);
}

// A point given to the recording; a full recording ends.
void TakePoint(EditorContext& ctx, PagePoint at) {
    DrawingWindowState& w = Window(ctx);
    switch (w.recorder.addPoint(at)) {
    case PointOutcome::Refused: Beep(ctx.ui); return;
    case PointOutcome::Finished: FinishRecording(ctx); return;
    case PointOutcome::Added: break;
    }
    // A rectangle or an ellipse is whole with its second corner: the next click starts another one.
    if (IsTwoPointShape(w.tool) && w.recorder.openPoints().size() == 2 && w.recorder.endShape()) FinishRecording(ctx);
}

// Ends a polygon or a curve at `end`: a curve first takes its control points, then its end.
void CloseShape(EditorContext& ctx, PagePoint end) {
    DrawingWindowState& w = Window(ctx);
    if (!w.recorder.shapeOpen()) return;
    if (w.tool == ShapeKind::Bezier) {
        for (const std::optional<PagePoint>& c : w.controls)
            if (c && w.recorder.recording()) TakePoint(ctx, *c);
        if (w.recorder.recording()) TakePoint(ctx, end);
        w.controls = {};
    }
    if (w.recorder.recording() && w.recorder.endShape()) FinishRecording(ctx);
}

void ClickAt(EditorContext& ctx, PagePoint at) {
    DrawingWindowState& w = Window(ctx);
    w.cursor = at;
    if (w.markingRegion) {
        if (!w.regionCorner) {
            w.regionCorner = at;
            return;
        }
        const auto x0 = static_cast<int>(std::lround(std::min(at.x, w.regionCorner->x)));
        const auto x1 = static_cast<int>(std::lround(std::max(at.x, w.regionCorner->x)));
        const auto y0 = static_cast<int>(std::lround(std::min(at.y, w.regionCorner->y)));
        const auto y1 = static_cast<int>(std::lround(std::max(at.y, w.regionCorner->y)));
        w.region = Box{x0, y0, x1, y1};
        w.markingRegion = false;
        w.regionCorner.reset();
        return;
    }
    if (!w.tool || !w.recorder.recording()) return;
    // Further clicks on a curve only move the cursor: its control points come from the digit keys.
    if (w.tool == ShapeKind::Bezier && w.recorder.shapeOpen()) return;
    TakePoint(ctx, at);
}

// The cursor keys and the keypad's digits: their direction.
struct Direction {
    int dx = 0;
    int dy = 0;
};
std::optional<Direction> DirectionOf(Key key) {
    switch (key) {
    case Key::Left:
    case Key::Numpad4: return Direction{-1, 0};
    case Key::Right:
    case Key::Numpad6: return Direction{1, 0};
    case Key::Up:
    case Key::Numpad8: return Direction{0, 1};
    case Key::Down:
    case Key::Numpad2: return Direction{0, -1};
    case Key::Numpad1: return Direction{-1, -1};
    case Key::Numpad3: return Direction{1, -1};
    case Key::Numpad7: return Direction{-1, 1};
    case Key::Numpad9: return Direction{1, 1};
    default: return std::nullopt;
    }
}

void MoveCursor(EditorContext& ctx, Key key, Direction d, bool ctrl) {
    DrawingWindowState& w = Window(ctx);
    int step = 0;
    if (ctrl) {
        step = std::max(ctx.doc.spacingStep, 1);
    } else {
        // Each press while the key is held goes one unit further than the one before.
        if (w.heldKey != static_cast<int>(key)) w.step = 0;
        w.heldKey = static_cast<int>(key);
        step = ++w.step;
    }
    w.cursor.x = std::clamp(w.cursor.x + d.dx * step, 0.0, static_cast<double>(ctx.doc.pageWidth));
    w.cursor.y = std::clamp(w.cursor.y + d.dy * step, 0.0, static_cast<double>(ctx.doc.pageHeight));
}

void ToStaff(EditorContext& ctx, bool down) {
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || Window(ctx).recorder.recording()) return;
    const int target = ctx.doc.currentStaff + (down ? 1 : -1);
    if (target < 0 || target >= static_cast<int>(page->staves.size())) return;
    ctx.doc.currentStaff = target;
    ctx.doc.currentElement = page->staves[static_cast<std::size_t>(target)].elements.empty() ? -1 : 0;
    Window(ctx).selected.reset();
    CursorAboveStaff(ctx, Window(ctx).cursor.x);
}

// F1/F2 and F6-F9 on the selected element: a drawing is scaled, a picture's extents change.
void Resize(EditorContext& ctx, Key key) {
    ElementRecord* e = Selected(ctx);
    if (e == nullptr) return;
    const bool grow = key == Key::F2 || key == Key::F7 || key == Key::F9;
    const double f = grow ? 1.01 : 0.99;
    const int d = grow ? pictureStep : -pictureStep;
    const bool both = key == Key::F1 || key == Key::F2;
    const bool heights = key == Key::F6 || key == Key::F7;
    if (e->isSignOfType(SignType::Drawing)) ScaleDrawing(*e, both || !heights ? f : 1.0, both || heights ? f : 1.0);
    else ResizePicture(*e, both || heights ? d : 0, both || !heights ? d : 0);
    Changed(ctx);
}

void Escape(EditorContext& ctx) {
    DrawingWindowState& w = Window(ctx);
    ChooseTool(ctx, std::nullopt);
    w.markingRegion = false;
    w.regionCorner.reset();
    w.region.reset();
    w.selected.reset();
}

void RunKey(EditorContext& ctx, Key key, KeyModifiers modifiers) {
    DrawingWindowState& w = Window(ctx);
    if ((key == Key::Up || key == Key::Down) && !modifiers.ctrl && Selected(ctx) != nullptr) {
        MoveDrawing(*Selected(ctx), key == Key::Up ? moveSteps : -moveSteps);
        Changed(ctx);
        return;
    }
    if (const std::optional<Direction> d = DirectionOf(key)) {
        MoveCursor(ctx, key, *d, modifiers.ctrl);
        return;
    }
    switch (key) {
    case Key::PageUp: ToStaff(ctx, false); break;
    case Key::PageDown: ToStaff(ctx, true); break;
    case Key::Insert:
    case Key::NumpadAdd:
        if (w.tool && w.recorder.recording()) TakePoint(ctx, w.cursor);
        break;
    case Key::Enter:
    case Key::End:
        if (ClosesByDoubleClick(w.tool) && w.recorder.shapeOpen()) CloseShape(ctx, w.cursor);
        else ctx.shell.cursor.x = static_cast<int>(std::lround(w.cursor.x));
        break;
    case Key::Escape: Escape(ctx); break;
    case Key::F4: Select(ctx, false); break;
    case Key::F5: Select(ctx, true); break;
    case Key::F1:
    case Key::F2:
    case Key::F6:
    case Key::F7:
    case Key::F8:
    case Key::F9: Resize(ctx, key); break;
    default: break;
    }
}

const CommandRegistry& DrawingCommands() {
    static const CommandRegistry registry = [] {
        CommandRegistry r;
        const auto menu = [](EditorContext& ctx, int command) { RunMenuCommand(ctx, command); };
        for (const Menu& m : DrawingMenus())
            VisitCommands(m.entries, [&](const MenuEntry& e) {
                // Finishing a recording puts a drawing in the score: a step of its own.
                const bool step = e.command == drawcmd::FinishRecording;
                r.addCommand(e.command, menu, step ? UndoPolicy::Step : UndoPolicy::None);
            });
        return r;
    }();
    return registry;
}

}  // namespace

void OpenDrawingWindow(EditorContext& ctx) {
    if (ctx.doc.page() == nullptr) return;
    if (!ctx.shell.drawingWindow) {
        ctx.shell.drawingWindow = std::make_shared<DrawingWindowState>();
        DrawingWindowState& w = Window(ctx);
        w.widthCommand = drawcmd::Normal;
        w.lineCommand = drawcmd::Continuous;
        w.attributeCommand = drawcmd::Normal;
        CursorAboveStaff(ctx, ctx.shell.cursor.x);
    }
    ctx.ui.showDrawingWindow();
    UpdateDrawingWindowTitle(ctx);
}

void CloseDrawingWindow(EditorContext& ctx) {
    if (!ctx.shell.drawingWindow) return;
    FinishRecording(ctx);
    ctx.shell.drawingWindow.reset();
    ctx.ui.closeDrawingWindow();
    ctx.ui.invalidate();
    UpdateTitleBar(ctx);
}

bool DrawingWindowOpen(const EditorContext& ctx) { return ctx.shell.drawingWindow != nullptr; }

void DispatchDrawingCommand(EditorContext& ctx, int command) {
    if (DrawingWindowOpen(ctx))
        RunWindowCommand(ctx, DrawingCommands(), command, DrawingMenuItem(ctx, command).enabled);
}

void DispatchDrawingKey(EditorContext& ctx, Key key, KeyModifiers modifiers) {
    if (!DrawingWindowOpen(ctx)) return;
    const CommandScope scope(ctx, UndoPolicy::None);
    RunKey(ctx, key, modifiers);
    if (DrawingWindowOpen(ctx)) UpdateDrawingWindowTitle(ctx);
    ctx.ui.invalidate();
}

void DispatchDrawingKeyUp(EditorContext& ctx, Key key) {
    if (!DrawingWindowOpen(ctx)) return;
    DrawingWindowState& w = Window(ctx);
    if (w.heldKey == static_cast<int>(key)) {
        w.heldKey = 0;
        w.step = 0;
    }
}

void DispatchDrawingChar(EditorContext& ctx, char32_t character) {
    if (!DrawingWindowOpen(ctx)) return;
    DrawingWindowState& w = Window(ctx);
    // The digits 1 to 4 place the control points of the curve in progress at the cursor.
    if (character >= U'1' && character <= U'4' && w.tool == ShapeKind::Bezier && w.recorder.shapeOpen()) {
        w.controls[static_cast<std::size_t>(character - U'1')] = w.cursor;
        ctx.ui.invalidate();
    }
}

void DrawingMouseLeftDown(EditorContext& ctx, Point at, KeyModifiers modifiers) {
    if (!DrawingWindowOpen(ctx)) return;
    const CommandScope scope(ctx, UndoPolicy::None);
    if (modifiers.ctrl) Select(ctx, false);
    else ClickAt(ctx, {static_cast<double>(at.x), static_cast<double>(at.y)});
    if (DrawingWindowOpen(ctx)) UpdateDrawingWindowTitle(ctx);
    ctx.ui.invalidate();
}

void DrawingMouseDoubleClick(EditorContext& ctx, Point at) {
    if (!DrawingWindowOpen(ctx)) return;
    const CommandScope scope(ctx, UndoPolicy::None);
    if (ClosesByDoubleClick(Window(ctx).tool)) CloseShape(ctx, {static_cast<double>(at.x), static_cast<double>(at.y)});
    if (DrawingWindowOpen(ctx)) UpdateDrawingWindowTitle(ctx);
    ctx.ui.invalidate();
}

void DrawingMouseRightDown(EditorContext& ctx, KeyModifiers modifiers) {
    if (!DrawingWindowOpen(ctx)) return;
    if (modifiers.ctrl) {
        Select(ctx, true);
        return;
    }
    Window(ctx).selected.reset();
    ChooseTool(ctx, std::nullopt);
    UpdateDrawingWindowTitle(ctx);
    ctx.ui.invalidate();
    if (const std::optional<int> chosen = ctx.ui.popupDrawingCategoryMenu()) DispatchDrawingCommand(ctx, *chosen);
}

std::string DrawingWindowTitle(const EditorContext& ctx) {
    if (!ctx.shell.drawingWindow) return {};
    const DrawingWindowState& w = *ctx.shell.drawingWindow;
    std::string attribute = "Normal";
    switch (w.attributeCommand) {
    case drawcmd::Thin: attribute = "Fin"; break;
    case drawcmd::Medium: attribute = "Moyen"; break;
    case drawcmd::Thick: attribute = "Epais"; break;
    case drawcmd::Dotted: attribute = "Pointillé"; break;
    case drawcmd::Dashed: attribute = "Traitillé"; break;
    default: break;
    }
    std::string title = "NV (DESSIN) *  " + std::string(ToolName(w.tool)) + " (" + attribute + ") * ";
    if (w.recorder.recording()) title += "ENREGISTREMENT Dessin " + std::to_string(w.recorder.slot());
    return title;
}

void UpdateDrawingWindowTitle(EditorContext& ctx) { ctx.ui.setDrawingWindowTitle(DrawingWindowTitle(ctx)); }

CommandState DrawingMenuItem(const EditorContext& ctx, int command) {
    CommandState state;
    if (!ctx.shell.drawingWindow || DrawingCommands().findCommand(command) == nullptr) return state;
    const DrawingWindowState& w = *ctx.shell.drawingWindow;
    const bool recording = w.recorder.recording();
    state.enabled = true;
    if (command == drawcmd::FinishRecording) state.enabled = recording;
    else if (command >= drawcmd::FirstRecording && command < drawcmd::FirstRecording + 3) state.enabled = !recording;
    else if (command >= drawcmd::FirstReplay && command < drawcmd::FirstReplay + 3)
        state.enabled = !recording && ctx.shell.drawingSlots[static_cast<std::size_t>(command - drawcmd::FirstReplay)];
    else if (command >= drawcmd::FirstSaveSymbol && command < drawcmd::FirstSaveSymbol + 3)
        state.enabled = ctx.shell.drawingSlots[static_cast<std::size_t>(command - drawcmd::FirstSaveSymbol)].has_value();
    else if (command >= drawcmd::FirstReadSymbol && command < drawcmd::FirstReadSymbol + 3) state.enabled = !recording;
    else if (command == drawcmd::PasteMetafile)
        state.enabled = ctx.ui.clipboard() != nullptr && ctx.ui.clipboard()->holdsPicture();
    if (const std::optional<ShapeKind> tool = ToolOfCommand(command)) state.checked = w.tool == tool;
    else state.checked = command == w.widthCommand || command == w.lineCommand;
    return state;
}

std::optional<DrawingFeedback> DrawingWindowFeedback(const EditorContext& ctx) {
    if (!ctx.shell.drawingWindow) return std::nullopt;
    const DrawingWindowState& w = *ctx.shell.drawingWindow;
    DrawingFeedback f;
    f.cursor = w.cursor;
    if (w.recorder.recording() && !w.recorder.sofar().points.empty()) {
        f.recording = w.recorder.sofar();
        f.origin = w.recorder.origin();
    }
    f.openShape = w.recorder.openPoints();
    for (const std::optional<PagePoint>& c : w.controls)
        if (c) f.openShape.push_back(*c);
    f.region = w.region;
    auto& self = const_cast<EditorContext&>(ctx);
    if (const ElementRecord* e = Selected(self))
        if (const std::optional<PagePoint> at = OriginOf(ctx, *e))
            if (const std::optional<Box> box = DrawingElementExtent(*e, *at))
                f.selection = Box{box->left - selectionMargin, box->bottom - selectionMargin,
                                  box->right + selectionMargin, box->top + selectionMargin};
    return f;
}

void RegisterDrawingWindowCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::DrawingWindow, [](EditorContext& ctx, int) { OpenDrawingWindow(ctx); }, UndoPolicy::Step);
    // "Sauver fichier METAFILE": the zone marked on the page.
    registry.addCommand(cmd::SaveMetafile, [](EditorContext& ctx, int) {
        ZoneRectangle& r = ctx.shell.cursor.zoneRect;
        if (!r.shown) {
            ShowNotice(ctx.ui, markFirstMessage);
            return;
        }
        SaveRegionAsMetafile(ctx, {std::min(r.left, r.right), std::min(r.bottom, r.top), std::max(r.left, r.right),
                                   std::max(r.bottom, r.top)});
    });
}

}  // namespace notavera
