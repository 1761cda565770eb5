// Menu preparation: the enabling and check-mark rules applied, in order, each time a menu of the main window
// opens. Later rules override earlier ones, as the user has always seen them.
#include "shell/menu_state.h"

#include <initializer_list>

#include "shell/menu_table.h"

namespace notavera {
namespace {

class MenuRules {
public:
    MenuRules(const ScoreDocument& doc, const ShellState& shell, const MenuInputs& inputs)
        : doc_(doc), shell_(shell), inputs_(inputs), mask_(shell.maskEditing), continuous_(shell.view.continuousView) {}

    MenuPreparation run() {
        for (int command : MainMenuCommands()) states_[command] = CommandState{true, false};
        states_[LeaveMaskCommand] = CommandState{mask_, false};
        const bool sticky = shell_.stickyModified || doc_.modified;
        fileRules(sticky);
        editRules();
        continuousRules();
        staffGroupRules();
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
        enable({7}, !doc_.storage.path.empty() && !mask_);
        enable({3}, sticky && !mask_);
        enable({8, 902, 589, 588}, !mask_);
        check(492, shell_.autosaveDelay != 0);
        const bool fileOpen = doc_.storage.fileState != FileState::None;
        if (!fileOpen || mask_) {
            enable({11, 672, 588}, false);
            enable({589}, !mask_);
        } else {
            enable({11}, inputs_.undoAvailable);
            enable({672}, inputs_.cancelAvailable);
            enable({588}, true);
            enable({589, 902}, false);
        }
    }

    void editRules() {
        enable({268}, inputs_.pageHasGhostModel && !mask_);
        enable({13}, inputs_.copyBufferFilled);
    }

    void continuousRules() {
        check(100, continuous_);
        enable({98, 99, 101, 239, 584, 61, 62, 621, 622, 614, 615, 14, 60, 65, 67, 597, 595, 596, 48, 498, 497},
               !continuous_);
    }

    // A staff that belongs to a group of several staves is spaced and aligned as a block, so the line and block
    // alignments of a single staff do not apply to it.
    void staffGroupRules() {
        const StaffRecord* staff = currentStaff();
        const bool grouped = staff && staff->voice().groupSize() > 1;
        enable({223, 249, 247, 285, 248, 236}, !grouped);
        enable({237}, !grouped || continuous_);
        // A justified page cannot be laid out in the continuous view, whatever the staff.
        enable({239}, !grouped && !continuous_);
    }

    void checkMarks() {
        if (doc_.toolOverride == 0 && FindTool(shell_.input.toolMenuItem)) check(shell_.input.toolMenuItem, true);
        check(shell_.view.zoomMenuItem, true);  // the item chosen last, "AUTRE" even when it gave 1/1
        const PageRecord* page = doc_.findPage(doc_.currentPage);
        check(619, page && page->layoutWord().withoutFixedMask());
        check(620, page && page->layoutWord().withoutVariableMask());
    }

    void maskRules() {
        const std::initializer_list<int> maskBarred = {622, 621, 623, 624, 63, 64, 66, 61, 49, 60, 65, 67, 1, 2, 4,
                                                       614, 615, 241, 242, 902, 15, 5, 14, 6, 48, 100, 584, 597,
                                                       595, 596};
        if (mask_) {
            enable(maskBarred, false);
            return;
        }
        enable({623}, doc_.optional.fixedMask != nullptr);
        enable({624}, doc_.optional.variableMask != nullptr);
        enable({63, 64, 66, 49, 1, 2, 4, 241, 242, 15, 5, 6, 100}, true);
        if (!continuous_) enable({584, 14, 615, 614, 60, 65, 67, 61, 622, 621, 48}, true);
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

}  // namespace notavera
