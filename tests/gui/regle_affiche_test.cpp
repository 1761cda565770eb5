// The Régleur's miniature page offscreen: the sheet and its staves painted in any widget size, clicks, drags and
// keys reaching the ruler, and the staff layout dialog that carries it.
#include "platform/qt/regle_affiche.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "platform/headless/headless_ui.h"
#include "platform/qt/dialog_form.h"
#include "platform/qt/staff_layout_dialog.h"
#include "print/staff_layout_editor.h"
#include "score/new_document.h"
#include "score/score_document.h"
#include "shell/midi_parameters.h"
#include "shell/system_settings.h"

namespace notavera {
namespace {

namespace sm = staff_model;

// The default model (ten staves) on A4, shown 210 × 297 pixels: one pixel for each millimetre.
struct RegleAfficheTest : ::testing::Test {
    StaffLayoutModel model = StaffLayoutModel::makeDefault();
    StaffRuler ruler{model, RulerSheet{}};
    RegleAffiche widget{ruler};

    void SetUp() override { widget.resize(210, 297); }
    QPointF middleOf(int i) const {
        const RulerStaff s = ruler.staves()[static_cast<std::size_t>(i)];
        return widget.toWidget((s.left + s.right) / 2.0, (s.top + s.bottom) / 2.0);
    }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent e(type, at, widget.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &e);
    }
    QImage paint() {
        QImage image(widget.size(), QImage::Format_RGB32);
        widget.render(&image);
        return image;
    }
};

TEST_F(RegleAfficheTest, PaintsTheGreyPageWithBlackStavesAndTheSelectionInGrey) {
    QImage image = paint();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(200, 200, 200));
    EXPECT_EQ(image.pixelColor(middleOf(0).toPoint()), QColor(Qt::black));
    sm::Grey::set(model.staffWord(1), 1);
    sm::Small::set(model.staffWord(2), 1);
    ruler.pressStaff(3);
    image = paint();
    EXPECT_EQ(image.pixelColor(middleOf(1).toPoint()), QColor(80, 80, 80));
    EXPECT_EQ(image.pixelColor(middleOf(2).toPoint()), QColor(200, 200, 200));  // a small staff is an outline
    EXPECT_EQ(image.pixelColor(middleOf(3).toPoint()), QColor(128, 128, 128));
}

TEST_F(RegleAfficheTest, ATallerWidgetKeepsTheSheetAtItsTopAndClicksFollowIt) {
    widget.resize(210, 500);
    const QImage image = paint();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(200, 200, 200));
    EXPECT_NE(image.pixelColor(5, 450), QColor(200, 200, 200));  // the spare room is below the sheet
    EXPECT_LT(middleOf(0).y(), 100);
    mouse(QEvent::MouseButtonPress, middleOf(0), Qt::LeftButton);
    EXPECT_EQ(ruler.selected(), 0);
}

TEST_F(RegleAfficheTest, AWiderWidgetCentresTheWholeSheetKeepingItsProportions) {
    widget.resize(500, 297);
    const QImage image = paint();
    const QPointF topLeft = widget.toWidget(0, 2970), bottomRight = widget.toWidget(2100, 0);
    EXPECT_NEAR(bottomRight.x() - topLeft.x(), 210, 0.5);
    EXPECT_NEAR(bottomRight.y() - topLeft.y(), 297, 0.5);
    EXPECT_NEAR(topLeft.x(), 500 - bottomRight.x(), 0.5);
    EXPECT_EQ(image.pixelColor(5, 150), image.pixelColor(495, 150));
    EXPECT_EQ(image.pixelColor(250, 290), QColor(200, 200, 200));
}

TEST_F(RegleAfficheTest, AClickSelectsAndADragMovesTheStaff) {
    int notices = 0;
    widget.notified = [&notices] { ++notices; };
    const QPointF at = middleOf(2);
    mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    EXPECT_EQ(ruler.selected(), 2);
    // Three pixels are three millimetres, more than the two-millimetre staff space.
    mouse(QEvent::MouseMove, at - QPointF(0, 3), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at - QPointF(0, 3), Qt::NoButton);
    EXPECT_EQ(sm::Distance::get(model.staffWord(2)), 12U);
    EXPECT_EQ(sm::Distance::get(model.staffWord(3)), 14U);
    EXPECT_EQ(notices, 1);
}

TEST_F(RegleAfficheTest, KeysReachTheRulerAndARefusalIsHeard) {
    int refusals = 0;
    widget.refused = [&refusals] { ++refusals; };
    ruler.mode = RulerMode::Systems;
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &down);
    QCoreApplication::sendEvent(&widget, &down);
    EXPECT_EQ(ruler.selected(), 1);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &space);
    EXPECT_EQ(ruler.groupStart(), 1);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_9, Qt::KeypadModifier);
    QCoreApplication::sendEvent(&widget, &up);
    QCoreApplication::sendEvent(&widget, &space);
    EXPECT_EQ(refusals, 1);
}

TEST(StaffLayoutDialogTest, TheDialogShowsTheFieldsAndTheRulerOfTheModel) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    StaffLayoutMemory memory;
    StaffLayoutEditor editor(doc, StaffLayoutPurpose::ModifyPage, memory, ui);
    DialogModel model = editor.makeDialog(1, 1);
    StaffLayoutDialog dialog(model, editor, nullptr);
    dialog.resize(600, 500);
    QImage image(dialog.size(), QImage::Format_RGB32);
    dialog.render(&image);
    EXPECT_EQ(dialog.ruler()->parentWidget(), &dialog);
    // The spread button is a button alone, not a labelled row.
    int spreadButtons = 0, spreadLabels = 0;
    for (const QPushButton* b : dialog.findChildren<QPushButton*>())
        spreadButtons += b->text() == "Ecarter/réunir portées";
    for (const QLabel* l : dialog.findChildren<QLabel*>()) spreadLabels += l->text() == "Ecarter/réunir portées";
    EXPECT_EQ(spreadButtons, 1);
    EXPECT_EQ(spreadLabels, 0);
}

// A click on a staff of the MIDI dialog's ruler makes that staff's voice the one being set; a drag moves nothing.
TEST(RulerDialogTest, AClickPicksTheStaffAndADragMovesNothing) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    doc.page()->staves[1].voice().setVoice(7);
    MidiParamEditor editor(doc);
    DialogModel model = editor.makeDialog();
    DialogForm form(model, editor.ruler(), nullptr);
    form.resize(700, 600);
    auto* ruler = static_cast<RegleAffiche*>(form.findChild<QWidget*>("110"));  // the widget has no meta-object
    ASSERT_NE(ruler, nullptr);
    const RulerStaff s = editor.ruler().staves()[1];
    const QPointF at = ruler->toWidget((s.left + s.right) / 2.0, (s.top + s.bottom) / 2.0);
    const auto mouse = [&](QEvent::Type type, QPointF where, Qt::MouseButtons held) {
        QMouseEvent e(type, where, ruler->mapToGlobal(where), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(ruler, &e);
    };
    const std::vector<RulerStaff> before = editor.ruler().staves();
    mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(QEvent::MouseMove, at - QPointF(0, 40), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at - QPointF(0, 40), Qt::NoButton);
    EXPECT_EQ(editor.voice(), 7);
    EXPECT_EQ(model.text("510"), "7");
    EXPECT_EQ(editor.ruler().staves()[1].top, before[1].top);
}

}  // namespace
}  // namespace notavera
