// The JSON picture of a document: decoded element fields, and every page listed even when the
// memory window holds only some of them.
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

TEST(ElementJson, NoteShowsItsPitchAndDuration) {
    ElementRecord e;
    e.x = 140;
    e.shift = -3;
    e.w0().setOctave(5);
    auto n = e.noteWord();
    n.setDurationCode(5);
    n.setDots(1);
    n.setStep(3);
    n.setAccidental(Accidental::Flat);
    n.setHiddenAccidental(true);
    const nlohmann::json j = ElementToJson(e);
    EXPECT_EQ(j["kind"], "note");
    EXPECT_EQ(j["rest"], false);
    EXPECT_EQ(j["durationCode"], 5);
    EXPECT_EQ(j["dots"], 1);
    EXPECT_EQ(j["step"], 3);
    EXPECT_EQ(j["octave"], 5);
    EXPECT_EQ(j["accidental"], 2);
    EXPECT_EQ(j["hiddenAccidental"], true);
    EXPECT_EQ(j["noteWord"], e.typeWord);
    EXPECT_EQ(j["x"], 140);
    EXPECT_EQ(j["shift"], -3);
    EXPECT_EQ(j["blobLength"], 0);
    EXPECT_FALSE(j.contains("param"));
    EXPECT_FALSE(j.contains("signWord"));
}

TEST(ElementJson, RestIsNamedSo) {
    ElementRecord e;
    e.noteWord().setRest(true);
    EXPECT_EQ(ElementToJson(e)["kind"], "rest");
    EXPECT_EQ(ElementToJson(e)["rest"], true);
}

TEST(ElementJson, SignShowsTypeCodeParameterAndBlob) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(SignType::Text);
    e.signWord().setCode(12);
    e.param = -25;
    const std::uint8_t text[] = {'f', 'f'};
    e.attachBlob(text);
    const nlohmann::json j = ElementToJson(e);
    EXPECT_EQ(j["kind"], "sign");
    EXPECT_EQ(j["signType"], 4);
    EXPECT_EQ(j["code"], 12);
    EXPECT_EQ(j["param"], -25);
    EXPECT_EQ(j["blobLength"], 6);
    EXPECT_EQ(j["signWord"], e.typeWord);
    EXPECT_EQ(j["word0"], e.word0);
    EXPECT_FALSE(j.contains("noteWord"));
    EXPECT_FALSE(j.contains("durationCode"));
}

// A nine-page score with a note on page 7, opened on page 1: only page 1 is in memory.
TEST(DocumentJson, ListsPagesOutsideTheWindowAndComesBack) {
    test::TempDir dir;
    const auto document = dir / "long.mus";
    {
        HeadlessUi ui(nullptr);
        EditorContext ctx(ui);
        SetUpNewDocument(ctx.doc, 9);
        ElementRecord note;
        note.x = 321;
        ctx.doc.findPage(7)->staves[2].elements.push_back(note);
        ASSERT_TRUE(NameDocument(ctx.doc, ctx.ui, document));
        ASSERT_TRUE(SavePages(ctx.doc, ctx.ui));
        DeleteWorkFiles(ctx.doc);
    }
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ASSERT_EQ(ReadDocument(ctx.doc, ctx.ui, document), FileOk);
    ASSERT_EQ(ctx.doc.currentPage, 1);
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
