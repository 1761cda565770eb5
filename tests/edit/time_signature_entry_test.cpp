// The "IndMesure" dialog: its controls, the flag rules between them, and the time signature it writes.
#include "edit/time_signature_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/time_signature_commands.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

struct MeterCase {
    std::vector<std::pair<std::string, std::string>> typed;
    unsigned flags;
    unsigned style;
    unsigned numerator;
    unsigned denominator;
};

class MeterDialogTest : public ::testing::TestWithParam<MeterCase> {};

TEST_P(MeterDialogTest, GivesTheFlagsStyleAndNumbers) {
    DialogModel m = MakeMeterDialog(MeterChoice{1, 0, 0, 0});
    for (const auto& [key, text] : GetParam().typed) ASSERT_TRUE(m.type(key, text)) << key;
    const MeterChoice c = ReadMeterDialog(m);
    EXPECT_EQ(c.flags, GetParam().flags);
    EXPECT_EQ(c.style, GetParam().style);
    EXPECT_EQ(c.numerator, GetParam().numerator);
    EXPECT_EQ(c.denominator, GetParam().denominator);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MeterDialogTest,
    ::testing::Values(
        MeterCase{{{"400", "3"}, {"401", "4"}}, 1, 0, 3, 4},
        MeterCase{{{"400", "1"}, {"401", "2"}}, 1, 0, 1, 2},
        MeterCase{{{"400", "1"}, {"401", "1"}}, 0, 0, 0, 0},  // no numbers worth showing
        MeterCase{{{"400", "0"}}, 0, 0, 0, 0},                // 0 becomes 1, copied below: 1/1
        MeterCase{{{"400", "40"}, {"401", "8"}}, 1, 0, 31, 8},
        MeterCase{{{"403", "1"}}, 64, 1, 0, 0},
        MeterCase{{{"400", "6"}, {"401", "8"}, {"405", "1"}}, 64, 4, 0, 0},  // '2' symbols reset the numbers
        MeterCase{{{"402", "1"}, {"412", "1"}}, 16 | 4, 0, 0, 0},  // a bar on a C turns it imperfect
        MeterCase{{{"408", "1"}, {"413", "1"}}, 32 | 2, 0, 0, 0},
        MeterCase{{{"410", "1"}, {"412", "1"}, {"402", "1"}}, 64, 0, 0, 0},  // C clears the boxes
        MeterCase{{{"400", "2"}, {"401", "2"}, {"409", "1"}}, 16 | 1, 0, 2, 2}));

class TimeSignatureEntryTest : public ::testing::Test {
protected:
    TimeSignatureEntryTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }
    const std::vector<ElementRecord>& elements() { return ctx.doc.staff()->elements; }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(TimeSignatureEntryTest, ANewTimeSignatureTakesTheNumbersAndTheCursorMovesPastIt) {
    ui.queueDialogAnswer(DialogAnswer{"IndMesure", {{"Numérateur", "3"}, {"Dénominateur", "4"}}, true});
    DispatchCommand(ctx, 230);
    ASSERT_EQ(elements().size(), 1u);
    const ElementRecord& e = elements()[0];
    EXPECT_TRUE(e.isSignOfType(SignType::TimeSignature));
    EXPECT_EQ(e.w1().numerator(), 3u);
    EXPECT_EQ(e.w1().denominator(), 4u);
    EXPECT_EQ(e.signWord().code(), 1u);
    EXPECT_GT(ctx.shell.cursor.x, 60);
    EXPECT_EQ(ctx.doc.insertion.timeSigNum, 1u);
}

TEST_F(TimeSignatureEntryTest, TheTimeSignatureAtTheCursorIsEditedAndCancelChangesNothing) {
    ui.queueDialogAnswer(DialogAnswer{"IndMesure", {{"400", "3"}, {"401", "4"}}, true});
    DispatchCommand(ctx, 230);
    ctx.shell.cursor.x = 60;
    ui.queueDialogAnswer(DialogAnswer{"IndMesure", {{"400", "6"}, {"401", "8"}}, false});
    DispatchCommand(ctx, 230);
    EXPECT_EQ(elements()[0].w1().numerator(), 3u);
    ui.queueDialogAnswer(DialogAnswer{"IndMesure", {{"403", "1"}}, true});
    DispatchCommand(ctx, 230);
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_EQ(elements()[0].signWord().code(), 64u | 1u);  // the symbol, and the numbers it kept
    EXPECT_EQ(elements()[0].signWord().subValue(), 1u);
    EXPECT_EQ(ctx.shell.dialogs.meterFlags, 65u);
}

}  // namespace
}  // namespace notavera
