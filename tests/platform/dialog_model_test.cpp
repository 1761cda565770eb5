#include "platform/dialog_model.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

DialogModel sampleModel() {
    DialogModel m("Essai", "Essai");
    m.addInteger(0, "Hauteur moyenne", 10, 40, 30, 2);
    m.addInteger(281, "à", 1, 255, 1);
    m.addInteger(0, "Autre :", 10, 1500, 210, 4);
    m.addInteger(0, "Autre :", 10, 1500, 297, 4);
    m.addCheck(0, "Inverser arcs", false);
    m.addRadio(0, "Portrait", 1, true);
    m.addRadio(0, "Paysage", 1, false);
    m.addChoice(0, "Position", {"NEANT", "Centré", "Gauche"}, 0);
    m.addText(0, "Texte", "", 5);
    m.addStatic(0, "Marge inférieure (mm):", "12");
    return m;
}

TEST(DialogModel, NumbersAreClampedWhileTyped) {
    DialogModel m = sampleModel();
    EXPECT_TRUE(m.type("Hauteur moyenne", "0"));
    EXPECT_EQ(m.value("Hauteur moyenne"), 10);
    EXPECT_TRUE(m.type("Hauteur moyenne", "50"));
    EXPECT_EQ(m.value("Hauteur moyenne"), 40);
    EXPECT_TRUE(m.type("Hauteur moyenne", "-7"));
    EXPECT_EQ(m.value("Hauteur moyenne"), 10);
    EXPECT_TRUE(m.type("à", "99999999999999999999999"));
    EXPECT_EQ(m.value("à"), 255);
    EXPECT_TRUE(m.type("à", "-99999999999999999999999"));
    EXPECT_EQ(m.value("à"), 1);
}

TEST(DialogModel, EmptyOrNonNumericTextKeepsTheValue) {
    DialogModel m = sampleModel();
    m.type("à", "30");
    for (const char* text : {"", "   ", "abc", "12x", "-", "+", "1.5", "0x10", "--3"}) {
        EXPECT_TRUE(m.type("à", text)) << text;
        EXPECT_EQ(m.value("à"), 30) << text;
    }
    EXPECT_TRUE(m.type("à", " 25 "));
    EXPECT_EQ(m.value("à"), 25);
    EXPECT_TRUE(m.type("à", "+7"));
    EXPECT_EQ(m.value("à"), 7);
}

TEST(DialogModel, TextBeyondTheEditLengthIsCut) {
    DialogModel m = sampleModel();
    m.type("Hauteur moyenne", "123");  // the edit takes "12"
    EXPECT_EQ(m.value("Hauteur moyenne"), 12);
    m.type("Texte", "abcdefgh");
    EXPECT_EQ(m.text("Texte"), "abcde");
}

TEST(DialogModel, FieldsAreFoundByIdByLabelAndByRepeatedLabel) {
    DialogModel m = sampleModel();
    ASSERT_NE(m.find("281"), nullptr);
    EXPECT_EQ(m.find("281")->label, "à");
    EXPECT_EQ(m.value("Autre :"), 210);
    EXPECT_EQ(m.value("Autre :#2"), 297);
    EXPECT_EQ(m.find("Autre :#3"), nullptr);
    EXPECT_EQ(m.find("Autre :#0"), nullptr);
    EXPECT_EQ(m.find("999"), nullptr);
    EXPECT_EQ(m.find("Inexistant"), nullptr);
}

TEST(DialogModel, RadioButtonsOfAGroupExcludeEachOther) {
    DialogModel m = sampleModel();
    EXPECT_TRUE(m.type("Paysage", "1"));
    EXPECT_FALSE(m.checked("Portrait"));
    EXPECT_TRUE(m.checked("Paysage"));
    // A chosen button is released only by choosing another one.
    EXPECT_TRUE(m.type("Paysage", "0"));
    EXPECT_TRUE(m.checked("Paysage"));
    EXPECT_FALSE(m.type("Portrait", "2"));
    EXPECT_FALSE(m.checked("Portrait"));
}

TEST(DialogModel, CheckBoxesTakeZeroOrOne) {
    DialogModel m = sampleModel();
    EXPECT_TRUE(m.type("Inverser arcs", "1"));
    EXPECT_TRUE(m.checked("Inverser arcs"));
    EXPECT_FALSE(m.type("Inverser arcs", "7"));
    EXPECT_TRUE(m.checked("Inverser arcs"));
    EXPECT_TRUE(m.type("Inverser arcs", "0"));
    EXPECT_FALSE(m.checked("Inverser arcs"));
}

TEST(DialogModel, ListsTakeAnEntryOrItsIndex) {
    DialogModel m = sampleModel();
    EXPECT_TRUE(m.type("Position", "Gauche"));
    EXPECT_EQ(m.value("Position"), 2);
    EXPECT_TRUE(m.type("Position", "1"));
    EXPECT_EQ(m.value("Position"), 1);
    EXPECT_FALSE(m.type("Position", "3"));
    EXPECT_FALSE(m.type("Position", "Droite"));
    EXPECT_EQ(m.value("Position"), 1);
}

TEST(DialogModel, StaticTextTakesNoInput) {
    DialogModel m = sampleModel();
    EXPECT_FALSE(m.type("Marge inférieure (mm):", "5"));
    EXPECT_EQ(m.text("Marge inférieure (mm):"), "12");
}

TEST(DialogModel, ChangeReactionSeesEveryAcceptedChange) {
    DialogModel m = sampleModel();
    std::vector<std::string> changed;
    m.onChange = [&changed](DialogModel&, const DialogField& f) { changed.push_back(f.label); };
    m.type("Hauteur moyenne", "abc");  // kept: no change to react to
    m.type("Hauteur moyenne", "20");
    m.type("Paysage", "1");
    m.set("à", 300);
    EXPECT_EQ(changed, (std::vector<std::string>{"Hauteur moyenne", "Paysage", "à"}));
    EXPECT_EQ(m.value("à"), 255);
}

TEST(DialogModel, PressingAButtonRunsTheReactionAndKeepsNoValue) {
    DialogModel m("Essai", "Essai");
    m.addButton(0, "Police");
    m.addButton(0, "Police");
    std::vector<const DialogField*> pressed;
    m.onChange = [&pressed](DialogModel&, const DialogField& f) { pressed.push_back(&f); };
    EXPECT_TRUE(m.type("Police#2", "1"));
    EXPECT_TRUE(m.type("Police", ""));
    m.set("Police", 7);
    EXPECT_EQ(pressed, (std::vector<const DialogField*>{m.find("Police#2"), m.find("Police"), m.find("Police")}));
    EXPECT_EQ(m.value("Police"), 0);
    EXPECT_FALSE(m.type("Police#3", "1"));
}

TEST(DialogModel, AnswersFillTheModelAndReportWhatTheyCouldNotUse) {
    DialogModel m = sampleModel();
    const DialogAnswer answer{"Essai", {{"Paysage", "1"}, {"281", "12"}, {"Autre :#2", "420"}, {"Nulle part", "3"},
                                        {"Marge inférieure (mm):", "1"}}, true};
    const std::vector<std::string> refused = applyAnswer(m, answer);
    EXPECT_TRUE(m.checked("Paysage"));
    EXPECT_EQ(m.value("à"), 12);
    EXPECT_EQ(m.value("Autre :#2"), 420);
    EXPECT_EQ(refused, (std::vector<std::string>{"Nulle part", "Marge inférieure (mm):"}));
}

}  // namespace
}  // namespace notavera
