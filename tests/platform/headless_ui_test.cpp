// The scripted user interface: the MESSAGE lines it prints and the answers it gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/headless/headless_ui.h"

namespace notavera {
namespace {

std::string readAll(std::FILE* f) {
    std::rewind(f);
    std::string s;
    for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
    return s;
}

TEST(HeadlessUi, PrintsOneLinePerBoxAndDialog) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::tmpfile(), &std::fclose);
    ASSERT_TRUE(out);
    HeadlessUi ui(out.get());
    ui.showMessage({"Notavera", 4, "Impossible de lire le fichier a\nb.mus !", MessageIcon::Exclamation,
                    MessageButtons::Ok});
    ui.yesNoBox("Voulez-vous effacer c.mid?");
    EXPECT_EQ(readAll(out.get()), "MESSAGE Notavera 4 Impossible de lire le fichier a b.mus !\n"
                                  "MESSAGE Message 0 Voulez-vous effacer c.mid?\n");
    // The recorded box keeps the text as it was.
    EXPECT_EQ(ui.messages().front().text, "Impossible de lire le fichier a\nb.mus !");
}

TEST(HeadlessUi, AnswersInOrderThenByDefault) {
    HeadlessUi ui(nullptr);
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueAnswer(MessageAnswer::No);
    const MessageBoxRequest question{"Notavera", 66, "?", MessageIcon::Question, MessageButtons::YesNoCancel};
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::Yes);
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::No);
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::Cancel);
    EXPECT_EQ(ui.showMessage({"Erreur", 9, "!", MessageIcon::Exclamation, MessageButtons::Ok}), MessageAnswer::Ok);
}

TEST(HeadlessUi, AnAnswerTheBoxDoesNotOfferBecomesItsDefault) {
    HeadlessUi ui(nullptr);
    ui.queueAnswer(MessageAnswer::Yes);
    ui.queueAnswer(MessageAnswer::Ok);
    EXPECT_EQ(ui.showMessage({"Erreur", 9, "!", MessageIcon::Exclamation, MessageButtons::Ok}), MessageAnswer::Ok);
    EXPECT_EQ(ui.showMessage({"Notavera", 66, "?", MessageIcon::Question, MessageButtons::YesNoCancel}),
              MessageAnswer::Cancel);
}

}  // namespace
}  // namespace notavera
