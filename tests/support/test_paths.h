// Where the tests find the programs they start and the files they read: the build's programs, the source tree
// and the shared corpus.
#pragma once

#include <filesystem>

namespace notavera::test {

std::filesystem::path CliProgram();
// Empty in a build without the editor.
std::filesystem::path EditorProgram();
std::filesystem::path SourceDir();
std::filesystem::path CorpusDir();

}  // namespace notavera::test
