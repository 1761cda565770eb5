// The folders are given by the build to this file alone (see tests/CMakeLists.txt).
#include "support/test_paths.h"

namespace notavera::test {

std::filesystem::path CliProgram() { return NOTAVERA_CLI; }
std::filesystem::path EditorProgram() { return NOTAVERA_APP; }
std::filesystem::path SourceDir() { return NOTAVERA_SOURCE_DIR; }
std::filesystem::path CorpusDir() { return NOTAVERA_CORPUS_DIR; }

}  // namespace notavera::test
