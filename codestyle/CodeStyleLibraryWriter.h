#pragma once

#include <string>

#include "codestyle/CodeStyleNode.h"

namespace kv::codestyle {

// The exact bytes of a library file holding `library` in order: the length-prefixed header,
// then one 1033-byte record per style. Reserved bytes are zeros and names are cut to 21 bytes.
std::string CodeStyleLibraryBytes(const ArrCodeStyleNode& library);

// The 1033 bytes of one style's record.
std::string EncodeCodeStyleRecord(const CodeStyleNode& style);

// Writes CodeStyleLibraryBytes(library) to `path`, replacing the file; false when it cannot be
// written completely.
bool WriteCodeStyleLibrary(const std::string& path, const ArrCodeStyleNode& library);

}  // namespace kv::codestyle
