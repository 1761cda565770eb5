// Keeping ALSA's library messages off the terminal.
#include "platform/audio/alsa_quiet.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace notavera {

namespace {

void quiet(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void SilenceAlsaLibrary() {
    static std::once_flag done;
    std::call_once(done, [] { snd_lib_error_set_handler(quiet); });
}

}  // namespace notavera
