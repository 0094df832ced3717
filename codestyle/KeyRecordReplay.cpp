#include "codestyle/KeyRecordReplay.h"

#include <cmath>
#include <cstddef>

#include "codestyle/HexText.h"
#include "codestyle/ItemCode.h"
#include "codestyle/Rounding.h"

namespace kv::codestyle {
namespace {

constexpr std::size_t kHeaderSize = 10;
using namespace itemcode;

bool ToBytes(std::string_view text, std::vector<int>& bytes) {
    int high = -1;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return false;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(high * 16 + digit);
            high = -1;
        }
    }
    return high < 0;
}

bool Fail(std::string* why, const std::string& reason) {
    if (why != nullptr) {
        *why = reason;
    }
    return false;
}

// A duration byte: the level in the two top bits, the steps less one in the six low bits.
std::int64_t DurationSteps(int byte) {
    const std::int64_t steps = (byte & 0x3F) + 1;
    return byte >= kMarkBase ? steps : -steps;
}

bool IsDurationByte(int byte) {
    return byte >= kSpaceBase;
}

KeyRecordElement ReadElement(const std::vector<int>& bytes, std::size_t at) {
    KeyRecordElement element;
    element.time = bytes[at] + bytes[at + 1] * 256 + (bytes[at + 2] & 0x3F) * 65536;
    element.period = (bytes[at + 2] & 0xC0) == 0x80;
    element.layout = bytes[at + 3];
    return element;
}

bool ReadSymbolTable(const std::vector<int>& bytes, std::size_t begin, std::size_t end,
                     KeyRecordModel& model, std::string* why) {
    if (begin == end) {
        return true;
    }
    const std::size_t count = static_cast<std::size_t>(bytes[begin]);
    if (count == 0 || count > 4 || begin + count > end) {
        return Fail(why, "the symbol table's offsets do not fit the first part");
    }
    for (std::size_t s = 0; s < count; ++s) {
        const std::size_t entry = begin + static_cast<std::size_t>(bytes[begin + s]);
        if (static_cast<std::size_t>(bytes[begin + s]) < count || entry >= end ||
            entry + 1 + static_cast<std::size_t>(bytes[entry]) > end) {
            return Fail(why, "symbol " + std::to_string(s) + " lies outside the first part");
        }
        std::vector<std::int64_t> durations;
        for (int i = 0; i < bytes[entry]; ++i) {
            const int byte = bytes[entry + 1 + static_cast<std::size_t>(i)];
            if (!IsDurationByte(byte)) {
                return Fail(why, "symbol " + std::to_string(s) + " holds a non-duration byte");
            }
            durations.push_back(DurationSteps(byte));
        }
        model.symbols.push_back(std::move(durations));
    }
    return true;
}

bool ReadList(const std::vector<int>& bytes, std::size_t begin, std::size_t end, bool fourLevel,
              std::vector<KeyRecordItem>& items, std::string* why) {
    if (begin >= end) {
        return Fail(why, "a frame list lies outside the second part");
    }
    const int count = bytes[begin];
    const int groupBase = fourLevel ? kFourLevelGroupBase : kTwoLevelGroupBase;
    std::size_t at = begin + 1;
    // A value that writes nothing still counts, so the list may end before its count.
    for (int n = 0; n < count && at < end; ++n) {
        const int byte = bytes[at++];
        KeyRecordItem item;
        if (IsDurationByte(byte)) {
            item.steps = DurationSteps(byte);
        } else if (byte == (fourLevel ? kFourLevelPlaceholder : kTwoLevelPlaceholder)) {
            item.kind = KeyRecordItem::Kind::Placeholder;
            at += fourLevel ? 1 : 0;
        } else if (byte >= groupBase && byte <= groupBase + kMaxGroupSymbols) {
            if (at >= end) {
                return Fail(why, "a symbol group lacks its value byte");
            }
            item.kind = KeyRecordItem::Kind::Symbols;
            const int symbolCount = byte - groupBase;
            const int value = bytes[at++];
            for (int i = 0; i < symbolCount; ++i) {
                // Symbols past the value byte's capacity were never stored: they count as 0.
                if (fourLevel) {
                    item.symbols.push_back(i < 4 ? (value >> (6 - 2 * i)) & 3 : 0);
                } else {
                    item.symbols.push_back(i < 8 ? (value >> (7 - i)) & 1 : 0);
                }
            }
        } else {
            return Fail(why, "a frame list holds the unknown item byte " + std::to_string(byte));
        }
        items.push_back(std::move(item));
    }
    if (at > end) {
        return Fail(why, "a frame list runs past the second part");
    }
    return true;
}

bool ReadSecondPart(const std::vector<int>& bytes, std::size_t begin, std::size_t end,
                    KeyRecordModel& model, std::string* why) {
    // Lists are written for each layout that the sequence reaches above the highest before it,
    // then for the fixed layout when the style has a tail.
    model.listOfLayout.assign(static_cast<std::size_t>(model.layoutCount), -1);
    int lists = 0;
    int previous = -1;
    const auto reach = [&](int layout) {
        if (layout > previous) {
            if (layout < model.layoutCount) {
                model.listOfLayout[static_cast<std::size_t>(layout)] = lists;
            }
            ++lists;
            previous = layout;
        }
    };
    reach(0);
    for (const KeyRecordElement& element : model.sequence) {
        reach(element.layout);
    }
    if (model.tailCount > 0) {
        model.fixedList = lists++;
    }
    // Two-level records write no lists from the capture when they have fewer than two symbols.
    const bool fourLevel = model.symbols.size() > 2;
    if (model.symbols.size() < 2) {
        std::fill(model.listOfLayout.begin(), model.listOfLayout.end(), -1);
        lists = model.tailCount > 0 ? 1 : 0;
        model.fixedList = model.tailCount > 0 ? 0 : -1;
    }
    const std::size_t offsets = static_cast<std::size_t>(lists);
    if (begin + offsets > end) {
        return Fail(why, "the second part is shorter than its list offsets");
    }
    for (std::size_t j = 0; j < offsets; ++j) {
        const int offset = bytes[begin + j] - model.layoutCount;
        if (offset < 0) {
            return Fail(why, "a list offset lies before the lists");
        }
        const std::size_t listBegin = begin + offsets + static_cast<std::size_t>(offset);
        const std::size_t listEnd = j + 1 < offsets
                                        ? begin + offsets +
                                              static_cast<std::size_t>(std::max(
                                                  0, bytes[begin + j + 1] - model.layoutCount))
                                        : end;
        std::vector<KeyRecordItem> items;
        if (!ReadList(bytes, listBegin, std::min(listEnd, end), fourLevel, items, why)) {
            return false;
        }
        model.lists.push_back(std::move(items));
    }
    return true;
}

// Appends a signed duration, joining it to the previous one of the same level: two spaces in a
// row are one longer space on the air.
void AppendLevel(std::vector<double>& signal, double duration) {
    if (duration == 0.0) {
        return;
    }
    if (!signal.empty() && (signal.back() > 0) == (duration > 0)) {
        signal.back() += duration;
    } else {
        signal.push_back(duration);
    }
}

double StepsUs(const KeyRecordModel& record, std::int64_t steps) {
    return steps > 0 ? static_cast<double>(steps) * record.MarkStepUs()
                     : static_cast<double>(steps) * record.SpaceStepUs();
}

std::vector<double> FrameOf(const KeyRecordModel& record, const std::vector<KeyRecordItem>& list) {
    std::vector<double> frame;
    const auto sendSymbol = [&](int symbol) {
        if (symbol < 0 || static_cast<std::size_t>(symbol) >= record.symbols.size()) {
            return;
        }
        for (const std::int64_t steps : record.symbols[static_cast<std::size_t>(symbol)]) {
            AppendLevel(frame, StepsUs(record, steps));
        }
    };
    for (const KeyRecordItem& item : list) {
        switch (item.kind) {
            case KeyRecordItem::Kind::Duration:
                AppendLevel(frame, StepsUs(record, item.steps));
                break;
            case KeyRecordItem::Kind::Symbols:
                for (const int symbol : item.symbols) {
                    sendSymbol(symbol);
                }
                break;
            case KeyRecordItem::Kind::Placeholder:
                // The remote fills the placeholder in (a toggle); a first press sends symbol 0.
                sendSymbol(0);
                break;
        }
    }
    return frame;
}

double FrameLength(const std::vector<double>& frame) {
    double length = 0;
    for (const double d : frame) {
        length += std::fabs(d);
    }
    return length;
}

}  // namespace

std::optional<KeyRecordModel> ParseKeyRecord(std::string_view recordHex, std::string* why) {
    std::vector<int> bytes;
    if (!ToBytes(recordHex, bytes)) {
        Fail(why, "a key record is hexadecimal text of whole bytes");
        return std::nullopt;
    }
    if (bytes.size() < kHeaderSize || bytes[0] != 0x00 || bytes[1] != 0x01 || bytes[3] != 0xC7 ||
        bytes[4] != 0x0A || bytes[5] != 0x00 || bytes[8] != 0x00) {
        Fail(why, "the text does not start with a key record header (0001 KK C7 0A00 ...)");
        return std::nullopt;
    }
    const std::size_t firstLength = static_cast<std::size_t>(bytes[6]);
    const std::size_t secondLength = static_cast<std::size_t>(bytes[9]);
    if (bytes[7] != static_cast<int>(firstLength + kHeaderSize) % 256 || firstLength < 10 ||
        bytes.size() != kHeaderSize + firstLength + secondLength) {
        Fail(why, "the header's lengths do not match the record");
        return std::nullopt;
    }
    const std::size_t first = kHeaderSize;
    const std::size_t second = first + firstLength;
    KeyRecordModel model;
    model.keyCode = bytes[2];
    const std::size_t symbolTable = first + static_cast<std::size_t>(bytes[first]);
    if (static_cast<std::size_t>(bytes[first + 1]) != firstLength || symbolTable > second) {
        Fail(why, "the first part's own lengths do not match the header");
        return std::nullopt;
    }
    model.unitTicks = bytes[first + 2] + 1;
    model.carrierByte = bytes[first + 3];
    model.markMultiplier = bytes[first + 4] + 1;
    model.spaceMultiplier = bytes[first + 5] + 1;
    model.optionByte1 = bytes[first + 6];
    model.optionByte2 = bytes[first + 7];
    model.layoutCount = bytes[first + 8] >> 4;
    model.sequenceLength = bytes[first + 8] & 0x0F;
    model.repeatCount = bytes[first + 9] >> 4;
    model.tailCount = bytes[first + 9] & 0x0F;
    const std::size_t entries =
        static_cast<std::size_t>(std::max(0, model.sequenceLength - 1) + model.tailCount);
    if (model.sequenceLength < 1 || model.layoutCount < 1 ||
        model.repeatCount > model.sequenceLength || first + 10 + 4 * entries != symbolTable) {
        Fail(why, "the sequence table does not match its counts");
        return std::nullopt;
    }
    for (std::size_t i = 0; i < entries; ++i) {
        const KeyRecordElement element = ReadElement(bytes, first + 10 + 4 * i);
        if (element.layout >= model.layoutCount) {
            Fail(why, "a sequence element names a layout the record does not have");
            return std::nullopt;
        }
        (i + 1 < static_cast<std::size_t>(model.sequenceLength) ? model.sequence : model.tail)
            .push_back(element);
    }
    if (!ReadSymbolTable(bytes, symbolTable, second, model, why) ||
        !ReadSecondPart(bytes, second, bytes.size(), model, why)) {
        return std::nullopt;
    }
    return model;
}

std::vector<std::int64_t> ReplayKeyRecord(const KeyRecordModel& record) {
    // The frames in sending order: element 0 (layout 0), the other elements with the time
    // before them, the last repeatCount elements once more, then the tail.
    struct Send {
        int list;
        const KeyRecordElement* before;
    };
    std::vector<Send> sends;
    const auto listFor = [&](int layout) {
        return layout >= 0 && static_cast<std::size_t>(layout) < record.listOfLayout.size()
                   ? record.listOfLayout[static_cast<std::size_t>(layout)]
                   : -1;
    };
    sends.push_back({listFor(0), nullptr});
    for (const KeyRecordElement& element : record.sequence) {
        sends.push_back({listFor(element.layout), &element});
    }
    for (int k = record.repeatCount; k >= 1; --k) {
        const int index = record.sequenceLength - k;  // 1 or more: element 0 has no time
        if (index >= 1) {
            const KeyRecordElement& element = record.sequence[static_cast<std::size_t>(index - 1)];
            sends.push_back({listFor(element.layout), &element});
        }
    }
    for (const KeyRecordElement& element : record.tail) {
        sends.push_back({record.fixedList, &element});
    }

    std::vector<double> signal;
    double previousLength = 0;
    for (const Send& send : sends) {
        if (send.list < 0 || static_cast<std::size_t>(send.list) >= record.lists.size()) {
            continue;
        }
        if (send.before != nullptr) {
            const double time = static_cast<double>(send.before->time) * record.TimeUnitUs();
            AppendLevel(signal,
                        -(send.before->period ? std::max(0.0, time - previousLength) : time));
        }
        const std::vector<double> frame =
            FrameOf(record, record.lists[static_cast<std::size_t>(send.list)]);
        for (const double d : frame) {
            AppendLevel(signal, d);
        }
        previousLength = FrameLength(frame);
    }
    // A receiver sees neither a space before the first mark nor one after the last.
    if (!signal.empty() && signal.front() < 0) {
        signal.erase(signal.begin());
    }
    if (!signal.empty() && signal.back() < 0) {
        signal.pop_back();
    }
    std::vector<std::int64_t> durations;
    durations.reserve(signal.size());
    for (const double d : signal) {
        durations.push_back(RoundToInteger(d));
    }
    return durations;
}

std::string FormatSignedDurations(const std::vector<std::int64_t>& durations) {
    std::string text;
    for (const std::int64_t d : durations) {
        if (!text.empty()) {
            text += ' ';
        }
        text += (d > 0 ? "+" : "-") + std::to_string(AbsoluteValue(d));
    }
    return text;
}

}  // namespace kv::codestyle
