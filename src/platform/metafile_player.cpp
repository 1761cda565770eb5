// The process's metafile player: set once at start-up, before any drawing, and read by every drawing pass.
#include "platform/metafile_player.h"

#include <atomic>

namespace notavera {
namespace {

std::atomic<const MetafilePlayer*> installed{nullptr};

}  // namespace

const MetafilePlayer* InstalledMetafilePlayer() { return installed.load(); }
void InstallMetafilePlayer(const MetafilePlayer* player) { installed.store(player); }

}  // namespace notavera
