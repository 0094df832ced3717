#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "codestyle/CodeStyleNode.h"
#include "encoder/EncoderState.h"
#include "encoder/SymbolTimingTable.h"

namespace kv::encoder {

// The key record the remote stores for one learned key, as upper-case hexadecimal text: a
// 10-byte header, a first part describing the style (time base, carrier, frame order and
// spacing, symbol shapes) and a second part with the key's frames.
//
// Reads `unitTicks`, `markMultiplier`, `spaceMultiplier` and the symbol timing table from
// `state`, all set for `style`. The empty text when the record would not fit its fields, so that
// the encoder can go on to the next style: a key code outside 0 to 255, `unitTicks` outside 1 to
// 256, a multiplier outside 1 to 256, a carrier or option byte above 255, a sequence or symbol
// table that does not fit (see below), a first part above 245 bytes, or a second part that is
// empty or above 255 bytes.
std::string BuildKeyRecord(const codestyle::CodeStyleNode& style, std::string_view mergedText,
                           int keyCode, const EncoderState& state);

// The sequence table: a 4-byte entry for each sequence element after the first, then for each
// tail element, giving the element's time in record units, its marker (period or gap) and its
// layout. None when an entry does not fit: a time of 65536 units or more, a layout outside a
// byte, or an element that is no time at all (negative), or `unitTicks` below 1.
std::optional<std::string> BuildSequenceTable(const codestyle::CodeStyleNode& style, int unitTicks);

// The symbol table: an offset byte per symbol, then per symbol its count and one duration byte
// per duration (level in the top two bits, steps less one below). None when a duration's step
// count lies outside 1 to 64 (a duration of 0 among them) or an entry the style should have
// written is missing.
std::optional<std::string> BuildSymbolTable(const codestyle::CodeStyleNode& style,
                                            const SymbolTimingTable& table, int unitTicks,
                                            int markMultiplier, int spaceMultiplier);

}  // namespace kv::encoder
