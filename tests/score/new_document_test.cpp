// The state a new document starts in and the pages it is given.
#include <gtest/gtest.h>

#include "score/new_document.h"

namespace notavera {
namespace {

TEST(NewDocument, ConstructorHoldsTheNewDocumentValues) {
    ScoreDocument doc;
    EXPECT_EQ(doc.pageWidth, 2100);
    EXPECT_EQ(doc.pageHeight, 2970);
    EXPECT_EQ(doc.insertion.durationCode, 4u);
    EXPECT_EQ(doc.insertion.timeSigNum, 1u);
    EXPECT_EQ(doc.insertion.timeSigDen, 1u);
    EXPECT_EQ(doc.insertion.specialBar, 'E');
    EXPECT_EQ(doc.stepUnit, 10);
    EXPECT_EQ(doc.spacingStep, 10);
    EXPECT_EQ(doc.defaultFirstX, 60);
    EXPECT_EQ(doc.header.smallStaffNum(), 16);
    EXPECT_EQ(doc.header.smallStaffDen(), 20);
    EXPECT_EQ(doc.header.cueNum(), 3);
    EXPECT_EQ(doc.header.cueDen(), 4);
    EXPECT_DOUBLE_EQ(doc.settings.averageBeamHeight, 3.0);
    EXPECT_EQ(doc.header.averageBeamHeightTenths(), 30);
    EXPECT_TRUE(doc.settings.aestheticCorrection);
    EXPECT_EQ(doc.header.continuousPages(), 1);
    EXPECT_EQ(doc.header.screenHeightCorrection(), 2);
    EXPECT_EQ(doc.header.printerHeightCorrection(), 0);
    EXPECT_EQ(doc.header.stemPositionCorrection(), 2);
    EXPECT_EQ(doc.header.blockFlags(), 0);
    EXPECT_EQ(doc.storage.keepBefore, 5);
    EXPECT_EQ(doc.header.endOfData(), 4423u);
    EXPECT_EQ(doc.storage.fileState, FileState::None);
    EXPECT_EQ(doc.storage.working, nullptr);
    auto midi = doc.header.midi();
    EXPECT_EQ(midi.tempo(), 500000u);
    EXPECT_EQ(midi.minVelocity(), 50);
    EXPECT_EQ(midi.maxVelocity(), 110);
    EXPECT_EQ(midi.channelOfVoice(0), 14);
    EXPECT_EQ(midi.channelOfVoice(31), 14);
    EXPECT_FALSE(doc.modified);
}

TEST(NewDocument, PagesAreLaidOutFromTheModelAndAllHeldInMemory) {
    ScoreDocument doc;
    doc.layoutModel.setStaffCount(4);
    SetUpNewDocument(doc, 3);
    ASSERT_EQ(doc.pages.size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        const PageRecord* page = doc.findPage(n);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->staves.size(), 4u);
        EXPECT_EQ(page->layoutWord().staffCount(), 4u);
        EXPECT_EQ(page->layoutWord().staffSize(), 20u);
        EXPECT_EQ(page->lineLength, 1900u);
    }
    EXPECT_EQ(doc.pageCount, 3);
    EXPECT_EQ(doc.header.pageCount(), 3);
    EXPECT_EQ(doc.currentPage, 1);
    EXPECT_EQ(doc.currentStaff, 0);
    EXPECT_EQ(doc.currentElement, -1);
    EXPECT_EQ(doc.storage.windowFirst, 1);
    EXPECT_EQ(doc.storage.windowLast, 3);
    EXPECT_NE(doc.staff(), nullptr);
    EXPECT_EQ(doc.element(), nullptr);
    EXPECT_FALSE(doc.modified);
}

TEST(NewDocument, SpacingStepFollowsTheModelsStaffSize) {
    ScoreDocument doc;
    doc.layoutModel.setDefinition(25);
    SetUpNewDocument(doc, 1);
    EXPECT_EQ(doc.stepUnit, 12);  // an odd definition loses its odd tenth
    EXPECT_EQ(doc.spacingStep, 12);
}

TEST(NewDocument, PageCountIsKeptWithinTheScoreLimits) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 0);
    EXPECT_EQ(doc.pageCount, 1);
    SetUpNewDocument(doc, 400);
    EXPECT_EQ(doc.pageCount, maxPages);
    EXPECT_EQ(doc.pages.back().number, static_cast<std::uint32_t>(maxPages));
}

TEST(NewDocument, ReplacesThePagesOfAnEarlierSetUp) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 4);
    doc.pages[0].staves[0].elements.emplace_back();
    doc.modified = true;
    SetUpNewDocument(doc, 2);
    EXPECT_EQ(doc.pages.size(), 2u);
    EXPECT_TRUE(doc.pages[0].staves[0].elements.empty());
    EXPECT_FALSE(doc.modified);
}

}  // namespace
}  // namespace notavera
