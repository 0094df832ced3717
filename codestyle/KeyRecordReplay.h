#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::codestyle {

// A key record read back into what it says, field by field. docs/key-record.md describes the
// model: how the remote plays the record is not documented by its maker, so this is the reading
// that makes every field of the record mean something.
struct KeyRecordElement {
    int layout = 0;
    bool period = false;    // time from this frame's start to the next frame's start
    std::int64_t time = 0;  // in record units of unitTicks ticks (6 ticks per µs)
};

struct KeyRecordItem {
    enum class Kind { Duration, Symbols, Placeholder };
    Kind kind = Kind::Duration;
    std::int64_t steps = 0;    // Duration: signed, marks positive
    std::vector<int> symbols;  // Symbols: the symbol indices in sending order
};

struct KeyRecordModel {
    int keyCode = 0;
    int unitTicks = 0;
    int carrierByte = 0;
    int markMultiplier = 0;
    int spaceMultiplier = 0;
    int optionByte1 = 0;
    int optionByte2 = 0;
    int layoutCount = 0;
    int sequenceLength = 0;
    int repeatCount = 0;
    int tailCount = 0;
    // Element 0 has no entry in the record; it sends layout 0 at the start.
    std::vector<KeyRecordElement> sequence;
    std::vector<KeyRecordElement> tail;
    // Per symbol its durations in signed steps.
    std::vector<std::vector<std::int64_t>> symbols;
    // Per frame list of the second part, its items; listOfLayout maps a layout to its list.
    std::vector<std::vector<KeyRecordItem>> lists;
    std::vector<int> listOfLayout;  // -1 for a layout without list
    int fixedList = -1;             // the list the tail sends, or -1

    double MarkStepUs() const { return unitTicks * markMultiplier / 6.0; }
    double SpaceStepUs() const { return unitTicks * spaceMultiplier / 6.0; }
    double TimeUnitUs() const { return unitTicks / 6.0; }
};

// Reads a key record (hexadecimal text, white space ignored). Nothing, with the reason in
// `why`, when the text is not a well-formed record.
std::optional<KeyRecordModel> ParseKeyRecord(std::string_view recordHex, std::string* why);

// The signal the remote sends for the record when the key is pressed briefly: the sequence's
// frames, the repeated frames once, then the tail frames, with the gaps between them. Signed
// whole microseconds, marks positive, alternating, starting and ending with a mark (a space
// before the first mark is never seen by a receiver and is left out).
std::vector<std::int64_t> ReplayKeyRecord(const KeyRecordModel& record);

// "+9000 -4500 +560 ..." on one line.
std::string FormatSignedDurations(const std::vector<std::int64_t>& durations);

}  // namespace kv::codestyle
