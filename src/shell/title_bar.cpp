// The main window's title: the document, the page, the current staff and voice, the rhythmic group
// and the page marker, refreshed after loads, saves, page and marker changes.
#include "shell/title_bar.h"

#include <algorithm>

#include "platform/messages.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

const StaffRecord* currentStaff(const ScoreDocument& doc) {
    const PageRecord* page = doc.findPage(doc.currentPage);
    if (!page || doc.currentStaff < 0 || doc.currentStaff >= static_cast<int>(page->staves.size())) return nullptr;
    return &page->staves[static_cast<std::size_t>(doc.currentStaff)];
}

unsigned nonNegative(int value) { return static_cast<unsigned>(std::max(value, 0)); }

}  // namespace

std::string TitleBarText(const TitleBarInfo& info) {
    using std::to_string;
    std::string text = std::string(productName) + " v.6.5d - ";
    text += info.fileTitle.empty() ? std::string(untitledName) : info.fileTitle;
    text += " (p." + to_string(info.page) + "/" + to_string(info.pageCount) + ")";
    text += " - {" + to_string(info.staffHighByte) + "," + to_string(info.staffGroupPos) + "} ";
    text += to_string(info.staffNumber) + " - Voix " + to_string(info.voice);
    text += "  [" + to_string(info.groupNum) + ":" + to_string(info.groupDen) + "]";
    if (info.markerPage != 0) text += " (mqPage: " + to_string(info.markerPage) + ")";
    return text;
}

TitleBarInfo TitleBarInfoOf(const EditorContext& ctx) {
    const ScoreDocument& doc = ctx.doc;
    TitleBarInfo info;
    info.fileTitle = doc.title();
    const int offset = ctx.shell.view.continuousView ? ctx.shell.view.continuousOffset : 0;
    info.page = nonNegative(doc.currentPage + offset);
    info.pageCount = nonNegative(doc.pageCount);
    if (const StaffRecord* staff = currentStaff(doc)) {
        info.staffHighByte = staff->voice().highByte();
        info.staffGroupPos = staff->voice().positionInGroup();
        info.staffNumber = static_cast<unsigned>(doc.currentStaff) + 1;
        info.voice = staff->voice().voice();
    }
    info.groupNum = ctx.shell.input.groupNum;
    info.groupDen = ctx.shell.input.groupDen;
    info.markerPage = ctx.shell.cursor.markerPage;
    return info;
}

void UpdateTitleBar(EditorContext& ctx) {
    if (!ctx.shell.documentReady) return;
    ctx.ui.setTitle(TitleBarText(TitleBarInfoOf(ctx)));
}

}  // namespace notavera
