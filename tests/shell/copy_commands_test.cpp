// Copy and paste of ranges the script tests cannot type: parentheses bound to their neighbours, a zone over two
// staves, and the page that holds the copy source.
#include <gtest/gtest.h>

#include <tuple>

#include "shell/copy_commands.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

// Page 1, staff 0: a parenthesis closing what stands before it, C and D, one opening what follows; staff 1: E.
class CopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        parenthesis(100, 2);
        b.note(150, 1);
        b.note(200, 2);
        parenthesis(250, 1);
        b.on(1, 1).note(150, 3);
    }
    void parenthesis(int x, unsigned placement) {
        ElementRecord& e = b.bar(x);
        e.signWord().setSignType(SignType::Parenthesis);
        e.signWord().setPair2(placement);
    }
    // Copies the zone on page 1 and pastes it at x 300 of page 2's first staff; what each staff there holds.
    std::vector<std::vector<int>> copyAndPaste(ZoneRecord zone) {
        zone.page = 1;
        b.setCurrent(1, 0, 0);
        b.ctx().shell.cursor.zone = zone;
        CopyPaste(b.ctx(), false);
        b.setCurrent(2, 0);
        b.ctx().shell.cursor.x = 300;
        b.ctx().shell.cursor.zoneRect.shown = true;
        CopyPaste(b.ctx(), true);
        std::vector<std::vector<int>> xs(2);
        for (std::size_t s = 0; s < 2; ++s)
            for (const ElementRecord& e : b.doc().page()->staves[s].elements) xs[s].push_back(e.x);
        return xs;
    }

    test::ScoreBuilder b{2, 2, 2};
};

TEST_F(CopyTest, BoundParenthesesStayWithTheirNeighboursAndZonesKeepTheirStaves) {
    using Xs = std::vector<std::vector<int>>;
    EXPECT_EQ(copyAndPaste({0, 0, 3}), (Xs{{300, 350}, {}}));           // both parentheses left behind
    EXPECT_FALSE(b.ctx().shell.cursor.zoneRect.shown);
    EXPECT_EQ(copyAndPaste({0, 0, 0}), (Xs{{300, 350}, {}}));           // one alone: nothing, the source forgotten
    EXPECT_FALSE(b.ctx().shell.copy.copy.recorded());
    b.doc().findPage(2)->staves = std::vector<StaffRecord>(2);
    // From D to E: D and the opening parenthesis (bound only at the end), and E, the leftmost, at the cursor.
    EXPECT_EQ(copyAndPaste({1, 2, 0, 0, 0}), (Xs{{350, 400}, {300}}));
}

TEST_F(CopyTest, ThePageOfTheCopySourceCannotBeDeletedAndNothingComesFromNothing) {
    copyAndPaste({0, 1, 2});
    b.ctx().shell.cursor.zone = {};
    b.setCurrent(2, 1);
    CopyPaste(b.ctx(), false);  // staff 1 of page 2 is empty: the source stays, without a beep
    b.doc().modified = false;
    RecoverErasure(b.ctx());  // nothing deleted yet: nothing to recover, nothing changed
    EXPECT_EQ(std::tuple(b.ui().beeps(), b.ctx().shell.copy.copy.page, b.doc().modified), std::tuple(0, 1, false));
    EXPECT_FALSE(RefuseDeletingCopySource(b.ctx(), 2));
    EXPECT_TRUE(b.ui().messages().empty());
    EXPECT_TRUE(RefuseDeletingCopySource(b.ctx(), 1));
    ASSERT_EQ(b.ui().messages().size(), 1u);
    EXPECT_EQ(b.ui().messages()[0].stringId, 34);
    EXPECT_NE(b.ui().messages()[0].text.find('1'), std::string::npos);
}

}  // namespace
}  // namespace notavera
