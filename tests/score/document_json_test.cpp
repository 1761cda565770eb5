// The JSON picture of a document: decoded element fields, and every page listed even when the memory window
// holds only some of them.
#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/document_json.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#include "support/test_files.h"

namespace notavera {
namespace {

// A nine-page score with a note on page 7, opened on page 1: only page 1 is in memory.
TEST(DocumentJson, ListsPagesOutsideTheWindowAndComesBack) {
    test::TempDir dir;
    const auto document = dir / "long.mus";
    {
        HeadlessUi ui(nullptr);
        EditorContext ctx(ui);
        SetUpNewDocument(ctx.doc, 9);
        ctx.doc.findPage(7)->staves[2].elements.emplace_back().x = 321;
        ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, document));
        ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
        DeleteWorkFiles(ctx.doc);
    }
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ASSERT_EQ(ReadDocument(ctx.doc, ctx.ui, document), FileOk);
    ASSERT_EQ(ctx.doc.findPage(7), nullptr);
    ctx.doc.currentStaff = 3;
    const nlohmann::json j = DocumentToJson(ctx.doc, ctx.ui, true);
    ASSERT_EQ(j["pages"].size(), 9u);
    for (int p = 0; p < 9; ++p) EXPECT_EQ(j["pages"][p]["number"], p + 1);
    EXPECT_EQ(j["pages"][6]["staves"][2]["elementCount"], 1);
    EXPECT_EQ(j["pages"][6]["staves"][2]["elements"][0]["x"], 321);
    EXPECT_EQ(ctx.doc.currentPage, 1);
    EXPECT_EQ(ctx.doc.currentStaff, 3);
    EXPECT_NE(ctx.doc.findPage(1), nullptr);
    EXPECT_TRUE(ui.messages().empty());
    DeleteWorkFiles(ctx.doc);
}

}  // namespace
}  // namespace notavera
