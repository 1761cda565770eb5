// The scripted user interface: the MESSAGE lines it prints and the answers it gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/headless/headless_ui.h"

namespace notavera {
namespace {

TEST(HeadlessUi, PrintsOneLinePerBoxAndAnswersInOrderThenByDefault) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::tmpfile(), &std::fclose);
    ASSERT_TRUE(out);
    HeadlessUi ui(out.get());
    const MessageBoxRequest question{"Notavera", 66, "?", MessageIcon::Question, MessageButtons::YesNoCancel};
    const MessageBoxRequest error{"Erreur", 9, "a\nb !", MessageIcon::Exclamation, MessageButtons::Ok};
    for (MessageAnswer a : {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Ok, MessageAnswer::Yes})
        ui.queueAnswer(a);
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::Yes);
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::No);
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::Cancel);  // an answer the box does not offer: its default
    EXPECT_EQ(ui.showMessage(error), MessageAnswer::Ok);
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::Cancel);  // no answer left
    ui.yesNoBox("Voulez-vous effacer c.mid?");
    std::rewind(out.get());
    std::string printed;
    for (int c; (c = std::fgetc(out.get())) != EOF;) printed += static_cast<char>(c);
    EXPECT_EQ(printed.substr(printed.find("MESSAGE Erreur")), "MESSAGE Erreur 9 a b !\n"
                                                                "MESSAGE Notavera 66 ?\n"
                                                                "MESSAGE Message 0 Voulez-vous effacer c.mid?\n");
    EXPECT_EQ(ui.messages()[3].text, "a\nb !");  // the recorded box keeps the text as it was
}

}  // namespace
}  // namespace notavera
