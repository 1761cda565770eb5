// The last page of the play and save commands and what becomes of the page marker.
#include "shell/playback_commands.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

struct Case {
    int command, markerPage;
    bool region;
    int lastPage, markerAfter;
};

class LastPage : public ::testing::TestWithParam<Case> {};

TEST_P(LastPage, IsChosenForTheCommand) {
    const Case& c = GetParam();
    const LastPageChoice choice = ChooseLastPage(c.command, 5, c.markerPage, c.region);
    EXPECT_EQ(choice.lastPage, c.lastPage);
    EXPECT_EQ(choice.markerPage, c.markerAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LastPage,
    ::testing::Values(Case{cmd::Play, 0, false, 5, 0}, Case{cmd::Play, 3, false, 3, 0},
                      Case{cmd::Play, 9, false, 5, 0}, Case{cmd::Play, 3, true, 5, 3},
                      Case{cmd::PlayCurrentVoice, 0, false, -5, 0}, Case{cmd::PlayCurrentVoice, 2, false, -2, 0},
                      Case{cmd::PlayCurrentVoice, 2, true, 5, 2}, Case{cmd::SaveMidiFile, 3, false, 5, 3},
                      Case{cmd::SaveMidiFile, 0, true, 5, 0}));

}  // namespace
}  // namespace notavera
