// The values box of time signatures and clefs, and its silence for every other element.
#include "shell/element_values.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"

namespace notavera {
namespace {

ElementRecord signOf(SignType type) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(type);
    return e;
}

TEST(ElementValues, TimeSignatureAndClefShowTheirFourValuesAndNothingElseShowsAny) {
    for (SignType type : {SignType::TimeSignature, SignType::Clef}) {
        ElementRecord e = signOf(type);
        e.word1 = 0xFFFFFF00u | 21u;  // only the low 5 bits are the reference value
        e.signWord().setHigh7(100);
        e.signWord().setPairB(2);  // polyphony
        e.signWord().setPairA(3);  // aesthetic
        e.signWord().setCode(0xFF);
        HeadlessUi ui(nullptr);
        ShowElementValues(ui, e);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, "Valeur de l'étalon: 21 - valeur du pas variable: 100 - Correction "
                                         "polyphonie: 2, esthétique: 3");
        EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Information);
    }
    ElementRecord rest;
    rest.typeWord = 5;  // a rest whose low bits read like a time signature's type
    HeadlessUi ui(nullptr);
    for (const ElementRecord& e : {rest, signOf(SignType::Bar), signOf(SignType::KeyChange)}) ShowElementValues(ui, e);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(ui.beeps(), 0);
}

}  // namespace
}  // namespace notavera
