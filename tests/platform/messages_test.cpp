// The string table, the bounded and safe formatting of messages, and the boxes each helper shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/headless/headless_ui.h"
#include "platform/messages.h"

namespace notavera {
namespace {

// True when `s` is whole UTF-8: no sequence is cut short at its end or anywhere else.
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

std::string repeat(std::string_view piece, std::size_t times) {
    std::string s;
    for (std::size_t i = 0; i < times; ++i) s += piece;
    return s;
}

const std::set<int> listedIds = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 16, 17, 18, 19,
                                 20, 21, 22, 23, 24, 25, 26, 32, 33, 34, 35, 36, 37, 38, 39, 40, 48, 49,
                                 50, 51, 52, 53, 54, 55, 56, 64, 65, 66, 68, 69, 70, 71, 72, 73, 74};

struct TableCase {
    int id;
    const char* text;
};

class MessageTableText : public ::testing::TestWithParam<TableCase> {};

TEST_P(MessageTableText, IsExact) { EXPECT_EQ(MessageText(GetParam().id), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Sample, MessageTableText,
    ::testing::Values(TableCase{1, "Erreur Disque: Fichier non écrit"},
                      TableCase{3, "Version fichier (%d.%d) incompatible: utilisez %s!"},
                      TableCase{21, "Région modifiée : l'opération de Copie est impossible."},
                      TableCase{26, "Effacer jusqu'à la page %s?"},
                      TableCase{35, "Ce disque ne réagit pas. Vérifiez s'il contient un disque."},
                      TableCase{49, "Erreur de valeur à la portée %s ou mesure inconnue."},
                      TableCase{50, "Erreur d'allocation mémoire. DANGER!"},
                      TableCase{66, "Enregistrer les modifications dans %s ?"},
                      TableCase{72, "Une version de sauvegarde <%s> peut-être plus complète existe. "
                                    "Voulez-vous la sauver ?"},
                      TableCase{73, "Opération impossible. Insérez plus bas et utilisez Outil-Permuter "
                                    "portée marquée/courante"},
                      TableCase{74, "Effacez d'abord le contenu"}));

TEST(MessageTable, EveryListedIdResolvesAndNoOtherDoes) {
    for (int id = -5; id <= 200; ++id) {
        const bool listed = listedIds.count(id) > 0;
        EXPECT_EQ(!MessageText(id).empty(), listed) << "id " << id;
        EXPECT_TRUE(isWholeUtf8(std::string(MessageText(id)))) << "id " << id;
    }
}

TEST(MessageSlots, EveryTextFitsItsSlotWhole) {
    MessageSlots slots;
    for (int id : listedIds) {
        const std::string& loaded = slots.LoadMessage(id, id % 2);
        EXPECT_EQ(loaded, MessageText(id));
        EXPECT_LT(loaded.size(), messageSlotCapacity);
    }
    EXPECT_EQ(slots.LoadMessage(15, 0), "");
}

TEST(MessageSlots, TheTwoSlotsHoldTwoTextsAtOnce) {
    MessageSlots slots;
    const std::string& first = slots.LoadMessage(3, 0);
    const std::string& second = slots.LoadMessage(11, 1);
    EXPECT_EQ(first, MessageText(3));
    EXPECT_EQ(second, MessageText(11));
    // A new load replaces only its own slot.
    slots.LoadMessage(7, 0);
    EXPECT_EQ(first, MessageText(7));
    EXPECT_EQ(second, MessageText(11));
    // The version message names the other text as its converter.
    const MessageArg args[] = {2L, 3L, std::string_view(second)};
    EXPECT_EQ(FormatText(slots.LoadMessage(3, 0), args, fileMessageCapacity),
              "Version fichier (2.3) incompatible: utilisez si possible les fonctions EXPORTER puis IMPORTER nom.wnv!");
}

struct CutCase {
    std::string text;
    std::size_t limit;
    std::string expected;
};

class Utf8Cut : public ::testing::TestWithParam<CutCase> {};

TEST_P(Utf8Cut, NeverSplitsASequence) { EXPECT_EQ(CutUtf8(GetParam().text, GetParam().limit), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Boundaries, Utf8Cut,
    ::testing::Values(CutCase{"abc", 3, "abc"}, CutCase{"abcd", 3, "abc"}, CutCase{"aé", 2, "a"},
                      CutCase{"aé", 3, "aé"}, CutCase{"a\xE2\x82\xAC", 3, "a"},          // euro sign, 3 bytes
                      CutCase{"a\xF0\x9D\x84\x9E", 4, "a"},                              // G clef, 4 bytes
                      CutCase{"a\xF0\x9D\x84\x9E" "b", 5, "a\xF0\x9D\x84\x9E"}, CutCase{"é", 1, ""},
                      CutCase{"a\x80\x80\x80\x80\x80", 4, "a\x80\x80\x80"},  // not UTF-8: cut at the limit
                      CutCase{"abc", 0, ""}));

TEST(FormatMessage, FileMessagesStopAt299BytesOnACharacterBoundary) {
    // "Impossible d'écrire le fichier " takes 32 bytes: 267 more fill the buffer exactly.
    const std::string exact = repeat("x", 267);
    EXPECT_EQ(FormatMessage(2, fileMessageCapacity, exact).size(), 299u);
    EXPECT_EQ(FormatMessage(2, fileMessageCapacity, exact + "y").size(), 299u);

    const std::string accented = "xx" + repeat("é", 300);  // an 'é' straddles the 299th byte
    const std::string shown = FormatMessage(2, fileMessageCapacity, accented);
    EXPECT_EQ(shown.size(), 298u);
    EXPECT_TRUE(isWholeUtf8(shown));
    EXPECT_EQ(shown.rfind("Impossible d'écrire le fichier xxé", 0), 0u);
}

TEST(FormatMessage, FormattedErrorsStopAt199Bytes) {
    const MessageArg args[] = {std::string_view("\xE2\x82\xAC")};
    const std::string shown = FormatText(repeat("ab", 98) + "%s", args, errorMessageCapacity);  // 196 + 3 bytes
    EXPECT_EQ(shown.size(), 199u);
    const std::string cut = FormatText("z" + repeat("ab", 98) + "%s", args, errorMessageCapacity);
    EXPECT_EQ(cut.size(), 197u);
    EXPECT_TRUE(isWholeUtf8(cut));
}

TEST(FormatMessage, ValuesAreNeverReadAsFormats) {
    EXPECT_EQ(FormatMessage(24, fileMessageCapacity, "100%s %d %n %%.mus"), "Fichier 100%s %d %n %%.mus écrit");
    const MessageArg args[] = {std::string_view("%s")};
    EXPECT_EQ(FormatText("%% %s %", args, 10), "% %s %");
}

TEST(FormatMessage, NumbersFillTextPlaceholdersAndMissingValuesGiveNothing) {
    EXPECT_EQ(FormatMessage(55, errorMessageCapacity, 3, 0), "Quantités métriques correctes pour la voix no 3.");
    EXPECT_EQ(FormatMessage(13, errorMessageCapacity, 4, -2), "Erreur de lecture. Page 4, ligne -2 tronquée.");
    EXPECT_EQ(FormatMessage(3, errorMessageCapacity, 1, 2), "Version fichier (1.2) incompatible: utilisez !");
    EXPECT_EQ(FormatMessage(15, errorMessageCapacity, "x"), "");
}

struct ShownBox {
    std::string caption;
    int id;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
    int beeps;
};

void expectOneBox(const HeadlessUi& ui, const ShownBox& box) {
    ASSERT_EQ(ui.messages().size(), 1u);
    const MessageBoxRequest& shown = ui.messages().front();
    EXPECT_EQ(shown.caption, box.caption);
    EXPECT_EQ(shown.stringId, box.id);
    EXPECT_EQ(shown.text, box.text);
    EXPECT_EQ(shown.icon, box.icon);
    EXPECT_EQ(shown.buttons, box.buttons);
    EXPECT_EQ(ui.beeps(), box.beeps);
}

TEST(MessageBoxes, ShowErrorBeepsThenShowsAnErrorOrANamedMessage) {
    {
        HeadlessUi ui(nullptr);
        ShowError(ui, 9);
        expectOneBox(ui, {"Erreur", 9, "Erreur de lecture.", MessageIcon::Exclamation, MessageButtons::Ok, 1});
    }
    {
        HeadlessUi ui(nullptr);
        const std::string name = "opus.mus";
        ShowError(ui, 4, &name);
        expectOneBox(ui, {"Notavera", 4, "Impossible de lire le fichier opus.mus !", MessageIcon::Exclamation,
                          MessageButtons::Ok, 1});
    }
    {
        HeadlessUi ui(nullptr);
        const std::string none;
        ShowError(ui, 23, &none);
        expectOneBox(ui, {"Notavera", 23, "Sauver d'abord le fichier (sans nom)", MessageIcon::Exclamation,
                          MessageButtons::Ok, 1});
    }
}

TEST(MessageBoxes, FormattedErrorsBeepAndCarryBothNumbers) {
    HeadlessUi ui(nullptr);
    ShowErrorFormatted(ui, 13, 7, 12);
    expectOneBox(ui, {"Erreur", 13, "Erreur de lecture. Page 7, ligne 12 tronquée.", MessageIcon::Exclamation,
                      MessageButtons::Ok, 1});
}

TEST(MessageBoxes, ErrorBoxShowsTheTextAsItIsWithoutBeeping) {
    HeadlessUi ui(nullptr);
    ErrorBox(ui, 2);
    expectOneBox(ui, {"Erreur", 2, "Impossible d'écrire le fichier %s", MessageIcon::Exclamation, MessageButtons::Ok,
                      0});
}

TEST(MessageBoxes, MessageWithNameKeepsAPercentInTheTitle) {
    HeadlessUi ui(nullptr);
    MessageWithName(ui, 24, "50% plus.mus");
    expectOneBox(ui, {"Notavera", 24, "Fichier 50% plus.mus écrit", MessageIcon::Exclamation, MessageButtons::Ok, 0});
}

TEST(MessageBoxes, AskYesNoIsTrueOnlyForYes) {
    const std::pair<MessageAnswer, bool> cases[] = {
        {MessageAnswer::Yes, true}, {MessageAnswer::No, false}, {MessageAnswer::Cancel, false}};
    for (const auto& [answer, expected] : cases) {
        HeadlessUi ui(nullptr);
        ui.queueAnswer(answer);
        EXPECT_EQ(AskYesNo(ui, 25, "3"), expected);
        expectOneBox(ui, {"Notavera", 25, "Effacer la page 3?", MessageIcon::Question, MessageButtons::YesNoCancel,
                          0});
    }
}

TEST(MessageBoxes, BeepAndYesNoBox) {
    HeadlessUi ui(nullptr);
    Beep(ui);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_TRUE(ui.messages().empty());

    ui.queueYesNo(true);
    EXPECT_TRUE(YesNoBox(ui, "Voulez-vous effacer a.mid?"));
    EXPECT_FALSE(YesNoBox(ui, "Voulez-vous effacer b.mid?"));  // nothing queued: "Non"
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].caption, "Message");
    EXPECT_EQ(ui.messages()[0].text, "Voulez-vous effacer a.mid?");
}

struct SaveCase {
    const char* name;
    std::string title;
    MessageAnswer answer;
    bool saveSucceeds;
    MessageAnswer expected;
    bool saveCalled;
    const char* text;
};

class AskSaveChangesCase : public ::testing::TestWithParam<SaveCase> {};

TEST_P(AskSaveChangesCase, AnswersAndSaves) {
    const SaveCase& c = GetParam();
    HeadlessUi ui(nullptr);
    ui.queueAnswer(c.answer);
    int saves = 0;
    const MessageAnswer got = AskSaveChanges(ui, c.title, [&] {
        ++saves;
        return c.saveSucceeds;
    });
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(saves, c.saveCalled ? 1 : 0);
    expectOneBox(ui, {"Notavera", 66, c.text, MessageIcon::Question, MessageButtons::YesNoCancel, 0});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AskSaveChangesCase,
    ::testing::Values(
        SaveCase{"UntitledNo", "", MessageAnswer::No, true, MessageAnswer::No, false,
                 "Enregistrer les modifications dans (sans nom) ?"},
        SaveCase{"YesSaved", "opus.mus", MessageAnswer::Yes, true, MessageAnswer::Yes, true,
                 "Enregistrer les modifications dans opus.mus ?"},
        SaveCase{"YesSaveFailedKeepsOpen", "", MessageAnswer::Yes, false, MessageAnswer::Cancel, true,
                 "Enregistrer les modifications dans (sans nom) ?"},
        SaveCase{"Cancel", "opus.mus", MessageAnswer::Cancel, true, MessageAnswer::Cancel, false,
                 "Enregistrer les modifications dans opus.mus ?"}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

TEST(AskSaveChanges, YesWithoutASaveCountsAsCancel) {
    HeadlessUi ui(nullptr);
    ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(AskSaveChanges(ui, "a.mus", nullptr), MessageAnswer::Cancel);
}

}  // namespace
}  // namespace notavera
