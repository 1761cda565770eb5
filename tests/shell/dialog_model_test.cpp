// The dialog model every dialog is built on: numbers clamped while typed, text cut to its edit, fields found by id
// or (repeated) label, radio groups, check boxes, lists, buttons, the change reaction and scripted answers.
#include "shell/dialog_model.h"

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
    m.addButton(0, "Police");
    m.addButton(0, "Police");
    return m;
}

TEST(DialogModel, TypedValuesAreClampedCutOrRefusedAsTheirFieldSays) {
    DialogModel m = sampleModel();
    const struct {
        const char* field;
        const char* typed;
        bool accepted;
        int value;  // the field's value after it
    } cases[] = {
        {"Hauteur moyenne", "0", true, 10}, {"Hauteur moyenne", "50", true, 40}, {"Hauteur moyenne", "-7", true, 10},
        {"Hauteur moyenne", "123", true, 12},  // the edit takes "12"
        {"à", "99999999999999999999999", true, 255}, {"à", "-99999999999999999999999", true, 1},
        {"à", "30", true, 30}, {"à", "", true, 30}, {"à", "   ", true, 30}, {"à", "abc", true, 30},
        {"à", "12x", true, 30}, {"à", "-", true, 30}, {"à", "+", true, 30}, {"à", "1.5", true, 30},
        {"à", "0x10", true, 30}, {"à", "--3", true, 30}, {"à", " 25 ", true, 25}, {"à", "+7", true, 7},
        {"Inverser arcs", "1", true, 1}, {"Inverser arcs", "7", false, 1}, {"Inverser arcs", "0", true, 0},
        {"Position", "Gauche", true, 2}, {"Position", "1", true, 1}, {"Position", "3", false, 1},
        {"Position", "Droite", false, 1}, {"Marge inférieure (mm):", "5", false, 0},
        {"Paysage", "1", true, 1}, {"Paysage", "0", true, 1},  // a radio button is released by choosing another
        {"Portrait", "2", false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m.type(c.field, c.typed), c.accepted) << c.field << " " << c.typed;
        EXPECT_EQ(m.value(c.field), c.value) << c.field << " " << c.typed;
    }
    EXPECT_FALSE(m.checked("Portrait"));
    EXPECT_EQ(m.text("Marge inférieure (mm):"), "12");
    m.type("Texte", "abcdefgh");
    EXPECT_EQ(m.text("Texte"), "abcde");
}

TEST(DialogModel, FieldsAreFoundByIdByLabelAndByRepeatedLabel) {
    DialogModel m = sampleModel();
    ASSERT_NE(m.find("281"), nullptr);
    EXPECT_EQ(m.find("281")->label, "à");
    EXPECT_EQ(m.value("Autre :"), 210);
    EXPECT_EQ(m.value("Autre :#2"), 297);
    for (const char* missing : {"Autre :#3", "Autre :#0", "999", "Inexistant"}) EXPECT_EQ(m.find(missing), nullptr);
}

TEST(DialogModel, TheReactionSeesEveryAcceptedChangeAndEveryButtonPressed) {
    DialogModel m = sampleModel();
    std::vector<const DialogField*> changed;
    m.onChange = [&changed](DialogModel&, const DialogField& f) { changed.push_back(&f); };
    m.type("Hauteur moyenne", "abc");  // kept: no change to react to
    m.type("Hauteur moyenne", "20");
    m.type("Paysage", "1");
    m.set("à", 300);
    EXPECT_TRUE(m.type("Police#2", "1"));
    EXPECT_TRUE(m.type("Police", ""));
    EXPECT_FALSE(m.type("Police#3", "1"));
    EXPECT_EQ(changed, (std::vector<const DialogField*>{m.find("Hauteur moyenne"), m.find("Paysage"), m.find("à"),
                                                        m.find("Police#2"), m.find("Police")}));
    EXPECT_EQ(m.value("à"), 255);
    EXPECT_EQ(m.value("Police"), 0);  // a button keeps no value
}

TEST(DialogModel, AnswersFillTheModelAndReportWhatTheyCouldNotUse) {
    DialogModel m = sampleModel();
    const DialogAnswer answer{"Essai", {{"Paysage", "1"}, {"281", "12"}, {"Autre :#2", "420"}, {"Nulle part", "3"},
                                        {"Marge inférieure (mm):", "1"}}, true};
    EXPECT_EQ(applyAnswer(m, answer), (std::vector<std::string>{"Nulle part", "Marge inférieure (mm):"}));
    EXPECT_TRUE(m.checked("Paysage"));
    EXPECT_EQ(m.value("à"), 12);
    EXPECT_EQ(m.value("Autre :#2"), 420);
}

}  // namespace
}  // namespace notavera
