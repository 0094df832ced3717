#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "codestyle/CodeStyleNode.h"
#include "encoder/EncoderState.h"

namespace kv::encoder {

// The code-style library's file name in the program folder.
inline constexpr std::string_view kCodeStyleLibraryFileName = "QD01.csl";

// Turns a capture into the key record of `keyCode` (0 to 255). `captureBody` is the capture
// text after its frame count, carrier and carrier marker. `libraryLocation` is the program
// folder, which holds the library file, or the library file itself; the library is loaded afresh
// on every call. The styles are tried in file order and the first one that the capture fits and
// whose record fits its fields is encoded.
//
// The empty text when the library cannot be loaded, no style fits, or the key code is out of
// range. `state` is the encoder's working state; its symbol timing table keeps what earlier
// styles and calls wrote, as the decoders expect.
std::string EncodeLearnedCode(std::string_view captureBody, int keyCode,
                              const std::filesystem::path& libraryLocation, EncoderState& state);

// The same over a library already in memory.
std::string EncodeWithLibrary(std::string_view captureBody, int keyCode,
                              const codestyle::ArrCodeStyleNode& library, EncoderState& state);

// Writes the style's symbol durations (whole µs, truncated) into the table: N = the symbol
// count, D = the count of the last symbol. Entries the style does not reach keep their values;
// with no symbols D keeps its value too.
void FillSymbolTimingTable(const codestyle::CodeStyleNode& style, SymbolTimingTable& table);

}  // namespace kv::encoder
