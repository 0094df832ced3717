#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codestyle/CodeStyleNode.h"

namespace kv::codestyle {

// The library as its authors write it: a JSON document with one object per style, in the order
// the encoder tries them. docs/styles.md describes every field; in short:
//
//   { "styles": [ { "name": "NEC", "note": "...",
//       "carrier": { "frequency": 38000, "divisor": 3, "byteA": 1 },   (or "carrier": null)
//       "symbols": [ [560, -560], [560, -1690] ],                       (µs, + mark, - space)
//       "layouts": [ [9000, -4500, {"group": 8}, ..., 560], [9000, -2250, 560] ],
//       "sequence": [ {"layout": 0}, {"layout": 1, "period": 108} ],   (ms)
//       "repeat": 1, "tail": [], "options": {"high": 0, "byte": 0, "low": 0} } ] }
struct CodeStyleSourceEntry {
    CodeStyleNode style;
    std::string note;  // which protocol the style is and where its timings come from
};

struct CodeStyleSource {
    std::vector<CodeStyleSourceEntry> entries;
    // Empty when the whole source compiled; otherwise why not, naming the style and the field
    // ("style 3 \"NEC\": symbols[1][0]: ..."). Nothing is compiled then.
    std::string error;

    ArrCodeStyleNode Styles() const;
};

// Parses and checks a library source. A style is refused when a value would not fit its field
// in the library file, or when the encoder could not turn a capture of it into a key record that
// fits the record's fields (time unit, step counts, frame times).
CodeStyleSource CompileCodeStyleSource(std::string_view jsonText);

// Why a style, as the encoder would use it, cannot produce a key record whose fields hold its
// values; the empty text when it can. The reason names the field at fault.
std::string CheckStyleEncodable(const CodeStyleNode& style);

}  // namespace kv::codestyle
