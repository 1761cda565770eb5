// Queries on the argument array of the current tag.
#include "guido/gmn_callbacks.h"

namespace notavera {

namespace {
const std::string noText;
}

const GmnTagArgument* GmnTagArguments::at(int k) const {
    if (k < 1 || k > count()) return nullptr;
    return &args_[static_cast<std::size_t>(k - 1)];
}

char GmnTagArguments::type(int k) const {
    const GmnTagArgument* a = at(k);
    return a ? a->type : '-';
}

long GmnTagArguments::intValue(int k) const {
    const GmnTagArgument* a = at(k);
    return a ? a->intValue : 0;
}

double GmnTagArguments::realValue(int k) const {
    const GmnTagArgument* a = at(k);
    return a ? a->realValue : 0.0;
}

const std::string& GmnTagArguments::stringValue(int k) const {
    const GmnTagArgument* a = at(k);
    return a ? a->stringValue : noText;
}

const std::string& GmnTagArguments::name(int k) const {
    const GmnTagArgument* a = at(k);
    return a ? a->name : noText;
}

const std::string& GmnTagArguments::unit(int k) const {
    const GmnTagArgument* a = at(k);
    return a ? a->unit : noText;
}

}  // namespace notavera
