// "Parties séparées" (Standard, Silences non condensés, Extraction brute) and "Partition->PARTITIO.MUS": the part
// of the current staff's voice, its page format and staff layout chosen in the Format and Régleur dialogs, written
// beside the document.
#pragma once

namespace notavera {

class CommandRegistry;

void RegisterSeparatePartCommands(CommandRegistry& registry);

}  // namespace notavera
