// Menu preparation: the enabling and check-mark rules applied, in order, each time a menu of the main window
// opens. Later rules override earlier ones, as the user has always seen them.
#include "shell/menu_state.h"

#include <initializer_list>

#include "print/mask_editing.h"
#include "shell/command_ids.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/menu_table.h"

namespace notavera {
namespace {

class MenuRules {
public:
    MenuRules(const ScoreDocument& doc, const ShellState& shell, const MenuInputs& inputs)
        : doc_(doc), shell_(shell), inputs_(inputs), mask_(shell.maskEditing), continuous_(shell.view.continuousView) {}

    MenuPreparation run() {
        for (int command : MainMenuCommands()) states_[command] = CommandState{true, false};
        states_[cmd::LeaveMask] = CommandState{mask_, false};
        const bool sticky = shell_.stickyModified || doc_.modified;
        fileRules(sticky);
        editRules();
        continuousRules();
        staffGroupRules();
        keyRules();
        checkMarks();
        maskRules();
        return MenuPreparation{std::move(states_), sticky, mask_};
    }

private:
    void enable(std::initializer_list<int> commands, bool on) {
        for (int command : commands) states_[command].enabled = on;
    }
    void check(int command, bool on) { states_[command].checked = on; }

    void fileRules(bool sticky) {
        enable({cmd::Compress}, !doc_.storage.path.empty() && !mask_);
        enable({cmd::Save}, sticky && !mask_);
        enable({cmd::Merge, cmd::ReadGuido, cmd::ImportMusicXml, cmd::ReadMidiFile, cmd::ImportInterchange,
                cmd::ExportInterchange},
               !mask_);
        check(cmd::Autosave, shell_.autosaveDelay != 0);
        // A recent file opens in place of the document, as "Ouvrir" does: never while a mask is edited.
        for (int n = 0; n < cmd::RecentFileCount; ++n)
            enable({cmd::FirstRecentFile + n},
                   static_cast<std::size_t>(n) < shell_.settings.recentFiles.size() && !mask_);
        const bool fileOpen = doc_.storage.fileState != FileState::None;
        if (!fileOpen || mask_) {
            enable({cmd::Undo, cmd::CancelUndo, cmd::ExportInterchange}, false);
            enable({cmd::ImportInterchange}, !mask_);
        } else {
            enable({cmd::Undo}, inputs_.undoAvailable);
            enable({cmd::CancelUndo}, inputs_.cancelAvailable);
            enable({cmd::ExportInterchange}, true);
            enable({cmd::ImportInterchange, cmd::ReadGuido, cmd::ImportMusicXml, cmd::ReadMidiFile}, false);
        }
    }

    void editRules() {
        enable({cmd::TraceGhostModel}, inputs_.pageHasGhostModel && !mask_);
        enable({cmd::Paste}, shell_.copy.copy.recorded());
        enable({cmd::RecoverErasure}, !shell_.copy.erased.empty());
    }

    void continuousRules() {
        check(cmd::ContinuousPage, continuous_);
        enable({cmd::CutLineUp, cmd::CutLineDown, cmd::ToLineAbove, cmd::LayOutPageJustified, cmd::ScoreToPartitionFile,
                cmd::CreatePage, cmd::ModifyPage, cmd::EditFixedMask, cmd::EditVariableMask, cmd::Pagination,
                cmd::HeaderFooter, cmd::SeparatePartsStandard, cmd::PageFormat, cmd::InsertPage, cmd::DeletePage,
                cmd::ExcludeBarAccidentalsToMarker, cmd::IncludeBarAccidentalsToMarker, cmd::ReadKeyToMarker,
                cmd::NumberMeasures, cmd::EraseStaff, cmd::InsertStaff},
               !continuous_);
    }

    // A staff that belongs to a group of several staves is spaced and aligned as a block, so the line and block
    // alignments of a single staff do not apply to it.
    void staffGroupRules() {
        const StaffRecord* staff = currentStaff();
        const bool grouped = staff && staff->voice().groupSize() > 1;
        enable({cmd::Align, cmd::SpaceBlockAligned, cmd::AlignAutoMatrix, cmd::AlignAutoMatrixTools,
                cmd::SpaceBlockLines, cmd::SpaceBlockRaw},
               !grouped);
        enable({cmd::SpaceBlockOptimised}, !grouped || continuous_);
        // A justified page cannot be laid out in the continuous view, whatever the staff.
        enable({cmd::LayOutPageJustified}, !grouped && !continuous_);
    }

    // Keys and accidentals are written on the current staff; the respelling needs the region that marker Y closes.
    void keyRules() {
        if (currentStaff() == nullptr)
            enable({cmd::KeySignature, cmd::EraseKeySignature, cmd::ReadKey, cmd::IncludeBarAccidentals,
                    cmd::ExcludeBarAccidentals, cmd::ReadKeyToMarker, cmd::IncludeBarAccidentalsToMarker,
                    cmd::ExcludeBarAccidentalsToMarker, cmd::ShowKeyAccidentals, cmd::LoadKey, cmd::UnloadKey},
                   false);
        const CursorState& c = shell_.cursor;
        const bool region = (c.zoneRect.shown && c.zone.last >= 0) || c.zone.page == doc_.currentPage;
        enable({cmd::InvertSharpsFlats}, currentStaff() != nullptr && c.zone.marked() && region);
    }

    void checkMarks() {
        if (doc_.toolOverride == 0 && FindTool(shell_.input.toolMenuItem)) check(shell_.input.toolMenuItem, true);
        check(shell_.view.zoomMenuItem, true);  // the item chosen last, "AUTRE" even when it gave 1/1
        const PageRecord* page = doc_.findPage(doc_.currentPage);
        check(cmd::WithoutFixedMask, page && page->layoutWord().withoutFixedMask());
        check(cmd::WithoutVariableMask, page && page->layoutWord().withoutVariableMask());
    }

    void maskRules() {
        if (mask_) {
            enable({cmd::EditVariableMask, cmd::EditFixedMask, cmd::EraseFixedMask, cmd::EraseVariableMask,
                    cmd::NextPage, cmd::PreviousPage, cmd::GoToPage, cmd::CreatePage, cmd::GoToMeasure, cmd::PageFormat,
                    cmd::InsertPage, cmd::DeletePage, cmd::New, cmd::Open, cmd::SaveAs, cmd::Pagination,
                    cmd::HeaderFooter, cmd::SaveMidiFile, cmd::ReadMidiFile, cmd::ReadGuido, cmd::SaveMetafile,
                    cmd::Print, cmd::ExportPdf, cmd::ExportMusicXml, cmd::SeparatePartsStandard, cmd::Quit, cmd::NumberMeasures,
                    cmd::ContinuousPage,
                    cmd::ScoreToPartitionFile, cmd::ExcludeBarAccidentalsToMarker, cmd::IncludeBarAccidentalsToMarker,
                    cmd::ReadKeyToMarker},
                   false);
            return;
        }
        enable({cmd::EraseFixedMask}, doc_.optional.fixedMask != nullptr);
        enable({cmd::EraseVariableMask}, doc_.optional.variableMask != nullptr);
        enable({cmd::NextPage, cmd::PreviousPage, cmd::GoToPage, cmd::GoToMeasure, cmd::New, cmd::Open, cmd::SaveAs,
                cmd::SaveMidiFile, cmd::ReadMidiFile, cmd::SaveMetafile, cmd::Print, cmd::ExportPdf, cmd::ExportMusicXml, cmd::Quit,
                cmd::ContinuousPage},
               true);
        if (!continuous_) {
            enable({cmd::ScoreToPartitionFile, cmd::SeparatePartsStandard, cmd::HeaderFooter, cmd::Pagination,
                    cmd::PageFormat, cmd::InsertPage, cmd::DeletePage, cmd::CreatePage, cmd::EditVariableMask,
                    cmd::EditFixedMask, cmd::NumberMeasures},
                   true);
        }
    }

    const StaffRecord* currentStaff() const {
        const PageRecord* page = doc_.findPage(doc_.currentPage);
        if (!page || doc_.currentStaff < 0 || static_cast<std::size_t>(doc_.currentStaff) >= page->staves.size()) {
            return nullptr;
        }
        return &page->staves[static_cast<std::size_t>(doc_.currentStaff)];
    }

    const ScoreDocument& doc_;
    const ShellState& shell_;
    const MenuInputs& inputs_;
    const bool mask_;
    const bool continuous_;
    std::unordered_map<int, CommandState> states_;
};

}  // namespace

CommandState MenuPreparation::operator[](int command) const {
    const auto found = commands.find(command);
    return found == commands.end() ? CommandState{} : found->second;
}

MenuPreparation PrepareMenus(const ScoreDocument& doc, const ShellState& shell, const MenuInputs& inputs,
                             const std::function<bool(int)>& isBuilt) {
    MenuPreparation prepared = MenuRules(doc, shell, inputs).run();
    for (auto& [command, state] : prepared.commands) {
        if (!isBuilt || !isBuilt(command)) state.enabled = false;
    }
    return prepared;
}

MenuInputs MenuInputsOf(const EditorContext& ctx) {
    MenuInputs in;
    in.pageHasGhostModel = MasksShownOnPage(ctx.doc) != 0;
    in.undoAvailable = ctx.doc.undo.undoCount != 0;
    in.cancelAvailable = ctx.doc.undo.redoCount != 0;
    return in;
}

bool CommandAvailable(EditorContext& ctx, int command) {
    const MenuPreparation prepared =
        PrepareMenus(ctx.doc, ctx.shell, MenuInputsOf(ctx), [&ctx](int c) { return CommandIsBuilt(ctx, c); });
    ctx.shell.stickyModified = prepared.stickyModified;
    const auto item = prepared.commands.find(command);
    return item == prepared.commands.end() ? CommandIsBuilt(ctx, command) : item->second.enabled;
}

}  // namespace notavera
