// ALSA's library prints its own complaints (no sound card, no sequencer) on the terminal; the user sees our
// messages instead.
#pragma once

namespace notavera {

// Sends ALSA's library messages nowhere, for the whole process; call before any use of ALSA.
void SilenceAlsaLibrary();

}  // namespace notavera
