// What the shell tells the user: message formatting that never overruns nor splits a character nor reads a value
// as a format, the box each helper shows (caption, icon, buttons, beep), the values box and the title bar.
#include "shell/messages.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/editor_context.h"
#include "shell/element_values.h"
#include "shell/title_bar.h"

namespace notavera {
namespace {

// True when `s` is whole UTF-8: no sequence is cut short.
bool isWholeUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

TEST(Messages, Utf8CutsNeverSplitASequence) {
    const struct {
        std::string text;
        std::size_t limit;
        std::string expected;
    } cases[] = {{"abc", 3, "abc"}, {"abcd", 3, "abc"}, {"aé", 2, "a"}, {"aé", 3, "aé"},
                 {"a\xE2\x82\xAC", 3, "a"},  // euro sign, 3 bytes
                 {"a\xF0\x9D\x84\x9E", 4, "a"}, {"a\xF0\x9D\x84\x9E" "b", 5, "a\xF0\x9D\x84\x9E"}, {"é", 1, ""},
                 {"a\x80\x80\x80\x80\x80", 4, "a\x80\x80\x80"},  // not UTF-8: cut at the limit
                 {"abc", 0, ""}};
    for (const auto& c : cases) EXPECT_EQ(CutUtf8(c.text, c.limit), c.expected) << c.text << " " << c.limit;
}

TEST(Messages, FormattedTextsStopAtTheirBuffersOnACharacterBoundary) {
    // "Impossible d'écrire le fichier " takes 32 bytes: 267 more fill the 299 bytes of a file message exactly.
    const std::string exact(267, 'x');
    EXPECT_EQ(FormatMessage(2, fileMessageCapacity, exact).size(), 299u);
    EXPECT_EQ(FormatMessage(2, fileMessageCapacity, exact + "y").size(), 299u);
    std::string accented = "xx";  // an 'é' straddles the 299th byte
    for (int i = 0; i < 300; ++i) accented += "é";
    const std::string shown = FormatMessage(2, fileMessageCapacity, accented);
    EXPECT_EQ(shown.size(), 298u);
    EXPECT_TRUE(isWholeUtf8(shown));
    EXPECT_EQ(shown.rfind("Impossible d'écrire le fichier xxé", 0), 0u);

    std::string ab;
    for (int i = 0; i < 98; ++i) ab += "ab";
    const MessageArg euro[] = {std::string_view("\xE2\x82\xAC")};
    EXPECT_EQ(FormatText(ab + "%s", euro, errorMessageCapacity).size(), 199u);  // 196 + 3 bytes
    const std::string cut = FormatText("z" + ab + "%s", euro, errorMessageCapacity);
    EXPECT_EQ(cut.size(), 197u);
    EXPECT_TRUE(isWholeUtf8(cut));
}

TEST(Messages, ValuesAreNeverReadAsFormatsAndMissingValuesGiveNothing) {
    EXPECT_EQ(FormatMessage(24, fileMessageCapacity, "100%s %d %n %%.mus"), "Fichier 100%s %d %n %%.mus écrit");
    const MessageArg args[] = {std::string_view("%s")};
    EXPECT_EQ(FormatText("%% %s %", args, 10), "% %s %");
    EXPECT_EQ(FormatMessage(55, errorMessageCapacity, 3, 0), "Quantités métriques correctes pour la voix no 3.");
    EXPECT_EQ(FormatMessage(13, errorMessageCapacity, 4, -2), "Erreur de lecture. Page 4, ligne -2 tronquée.");
    EXPECT_EQ(FormatMessage(3, errorMessageCapacity, 1, 2), "Version fichier (1.2) incompatible: utilisez !");
    EXPECT_EQ(FormatMessage(15, errorMessageCapacity, "x"), "");
}

TEST(Messages, EachHelperShowsItsBox) {
    const std::string name = "opus.mus", none;
    const struct {
        std::function<void(HeadlessUi&)> show;
        std::string caption;
        int id;
        std::string text;
        MessageIcon icon;
        int beeps;
    } cases[] = {
        {[](HeadlessUi& ui) { ShowError(ui, 9); }, "Erreur", 9, "Erreur de lecture.", MessageIcon::Exclamation, 1},
        {[&](HeadlessUi& ui) { ShowError(ui, 4, &name); }, "Notavera", 4, "Impossible de lire le fichier opus.mus !",
         MessageIcon::Exclamation, 1},
        {[&](HeadlessUi& ui) { ShowError(ui, 23, &none); }, "Notavera", 23, "Sauver d'abord le fichier (sans nom)",
         MessageIcon::Exclamation, 1},
        {[](HeadlessUi& ui) { ErrorBox(ui, 2); }, "Erreur", 2, "Impossible d'écrire le fichier %s",
         MessageIcon::Exclamation, 0},
        {[](HeadlessUi& ui) { MessageWithName(ui, 24, "50% plus.mus"); }, "Notavera", 24, "Fichier 50% plus.mus écrit",
         MessageIcon::Exclamation, 0},
        {[](HeadlessUi& ui) { EXPECT_FALSE(AskYesNo(ui, 25, "3")); }, "Notavera", 25, "Effacer la page 3?",
         MessageIcon::Question, 0},
    };
    for (const auto& c : cases) {
        HeadlessUi ui(nullptr);
        c.show(ui);
        ASSERT_EQ(ui.messages().size(), 1u) << c.id;
        const MessageBoxRequest& box = ui.messages().front();
        EXPECT_EQ(std::tie(box.caption, box.stringId, box.text), std::tie(c.caption, c.id, c.text));
        EXPECT_EQ(box.icon, c.icon) << c.id;
        EXPECT_EQ(box.buttons, c.icon == MessageIcon::Question ? MessageButtons::YesNoCancel : MessageButtons::Ok);
        EXPECT_EQ(ui.beeps(), c.beeps) << c.id;
    }
}

// Saving before giving a document up is seen with the file commands.
TEST(Messages, QuestionsAreTrueOnlyForYes) {
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel}) {
        HeadlessUi ui(nullptr);
        ui.queueAnswer(answer);
        EXPECT_EQ(AskYesNo(ui, 25, "3"), answer == MessageAnswer::Yes);
    }
    HeadlessUi ui(nullptr);
    ui.queueYesNo(true);
    EXPECT_TRUE(YesNoBox(ui, "Voulez-vous effacer a.mid?"));
    EXPECT_FALSE(YesNoBox(ui, "Voulez-vous effacer b.mid?"));  // nothing queued: "Non"
    EXPECT_EQ(std::tie(ui.messages()[0].caption, ui.messages()[0].text),
              std::tie("Message", "Voulez-vous effacer a.mid?"));
}

ElementRecord signOf(SignType type) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(type);
    return e;
}

TEST(ElementValues, TimeSignatureAndClefShowTheirFourValuesAndNothingElseShowsAny) {
    for (SignType type : {SignType::TimeSignature, SignType::Clef}) {
        ElementRecord e = signOf(type);
        e.word1 = 0xFFFFFF00u | 21u;  // only the low 5 bits are the reference value
        e.signWord().setHigh7(100);
        e.signWord().setPairB(2);  // polyphony
        e.signWord().setPairA(3);  // aesthetic
        e.signWord().setCode(0xFF);
        HeadlessUi ui(nullptr);
        ShowElementValues(ui, e);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, "Valeur de l'étalon: 21 - valeur du pas variable: 100 - Correction "
                                         "polyphonie: 2, esthétique: 3");
        EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Information);
    }
    ElementRecord rest;
    rest.typeWord = 5;  // a rest whose low bits read like a time signature's type
    HeadlessUi ui(nullptr);
    for (const ElementRecord& e : {rest, signOf(SignType::Bar), signOf(SignType::KeyChange)}) ShowElementValues(ui, e);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(ui.beeps(), 0);
}

TEST(TitleBar, TextWithAndWithoutNameAndPageMarker) {
    TitleBarInfo info;
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - (sans nom) (p.0/0) - {0,0} 0 - Voix 0  [0:0]");
    info = {.fileTitle = "100%s%d.mus", .page = 3, .pageCount = 14, .staffHighByte = 5, .staffGroupPos = 2,
            .staffNumber = 4, .voice = 9, .groupNum = 3, .groupDen = 2};
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - 100%s%d.mus (p.3/14) - {5,2} 4 - Voix 9  [3:2]");
    info.markerPage = 7;
    EXPECT_EQ(TitleBarText(info), "Notavera v.6.5d - 100%s%d.mus (p.3/14) - {5,2} 4 - Voix 9  [3:2] (mqPage: 7)");
}

TEST(TitleBar, ValuesComeFromTheCurrentStaffAndPageOnceTheDocumentIsReady) {
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    ctx.doc.storage.path = "/home/user/partitions/sonate.mus";
    ctx.doc.pageCount = 6;
    ctx.doc.currentPage = 2;
    ctx.doc.currentStaff = 1;
    PageRecord page;
    page.number = 2;
    page.staves.resize(3);
    page.staves[1].voiceWord = 0x0A030207u;  // bytes: voice 7, position 2, size 3, high 10
    ctx.doc.pages.push_back(std::move(page));
    ctx.shell.groupNum = 3;
    ctx.shell.groupDen = 2;
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "") << "nothing before the document is ready";
    ctx.shell.documentReady = true;
    ctx.shell.markerPage = 5;
    UpdateTitleBar(ctx);
    EXPECT_EQ(ui.title(), "Notavera v.6.5d - sonate.mus (p.2/6) - {10,2} 2 - Voix 7  [3:2] (mqPage: 5)");
    ctx.shell.continuousOffset = 2;
    EXPECT_EQ(TitleBarInfoOf(ctx).page, 2u);  // the offset means nothing outside the continuous view
    ctx.shell.continuousView = true;
    EXPECT_EQ(TitleBarInfoOf(ctx).page, 4u);
    ctx.shell.continuousView = false;
    ctx.shell.markerPage = 0;
    ctx.doc.currentStaff = 3;  // not on the page
    EXPECT_EQ(TitleBarText(TitleBarInfoOf(ctx)), "Notavera v.6.5d - sonate.mus (p.2/6) - {0,0} 0 - Voix 0  [3:2]");
    ctx.doc.currentStaff = 0;
    ctx.doc.currentPage = 4;  // not in memory
    EXPECT_EQ(TitleBarText(TitleBarInfoOf(ctx)), "Notavera v.6.5d - sonate.mus (p.4/6) - {0,0} 0 - Voix 0  [3:2]");
}

}  // namespace
}  // namespace notavera
