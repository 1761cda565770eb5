// The information box that shows the spacing values carried by a time signature or a clef.
#include "shell/element_values.h"

#include "platform/messages.h"

namespace notavera {

void ShowElementValues(UiServices& ui, const ElementRecord& element) {
    if (!element.isSignOfType(SignType::TimeSignature) && !element.isSignOfType(SignType::Clef)) return;
    const auto sign = element.signWord();
    const MessageArg values[] = {
        static_cast<long>(element.w1().smallField()),  // the reference value
        static_cast<long>(sign.high7()),               // the variable step
        static_cast<long>(sign.pairB()),               // the polyphony correction
        static_cast<long>(sign.pairA()),               // the aesthetic correction
    };
    constexpr std::string_view format =
        "Valeur de l'étalon: %d - valeur du pas variable: %d - Correction polyphonie: %d, esthétique: %d";
    ui.showMessage({"Message", 0, FormatText(format, values, fileMessageCapacity), MessageIcon::Information,
                    MessageButtons::Ok});
}

}  // namespace notavera
