// The interface of every subcommand: the batch interface, with the readers the tool was built with (libwmf for
// pictures, QtCore for XML).
#pragma once

#include <cstdio>

#include "platform/headless/headless_ui.h"
#include "platform/wmf/libwmf_player.h"
#include "platform/xml/xml_file_reader.h"

namespace notavera::cli {

class CliUi : public HeadlessUi {
public:
    explicit CliUi(std::FILE* out) : HeadlessUi(out) {
        provideMetafilePlayer(&LibwmfPlayer());
        provideXmlReader(ReadXmlOrContainerFile);
    }
};

}  // namespace notavera::cli
