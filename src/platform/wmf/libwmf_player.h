// The metafile player the programs install: libwmf reads and plays the records, and every shape, line and text
// it reports is drawn on the canvas with the canvas's own primitives, so pictures stay vectors on every output.
#pragma once

#include "platform/metafile_player.h"

namespace notavera {

const MetafilePlayer& LibwmfPlayer();

}  // namespace notavera
