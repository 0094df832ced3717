#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "codestyle/CodeStyleLibrary.h"
#include "codestyle/CodeStyleLibraryWriter.h"
#include "codestyle/CodeStyleSource.h"
#include "codestyle/TimingValue.h"
#include "tools/kvcodes/StylesIo.h"

namespace kv::tools {
namespace {

using codestyle::CodeStyleNode;
using codestyle::TimingValue;

constexpr const char* kUsage =
    "usage: kvcodes styles compile SOURCE.json -o QD01.csl\n"
    "       kvcodes styles list QD01.csl\n\n"
    "compile  checks the library source and writes the binary library file; a style that breaks\n"
    "         a limit is refused with a message naming the style and the field\n"
    "list     one line per style: index, name, carrier, symbols, layouts, sequence\n";

std::string Microseconds(std::int64_t hundredths) {
    std::ostringstream text;
    text << (hundredths > 0 ? "+" : "-");
    const std::int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    text << magnitude / 100;
    if (magnitude % 100 != 0) {
        char fraction[4];
        std::snprintf(fraction, sizeof fraction, "%02d", static_cast<int>(magnitude % 100));
        text << '.' << fraction;
    }
    return text.str();
}

std::string DescribeValue(TimingValue value, const CodeStyleNode& style) {
    const std::uint32_t m = codestyle::TimingMagnitude(value);
    if (codestyle::IsDurationKind(value)) {
        return Microseconds(codestyle::TimingToDuration(value, style));
    }
    if (codestyle::IsSymbolGroupKind(value)) {
        std::string text = std::to_string(m / 65536) + "u";
        if (m % 65536 != 0) {
            char digits[8];
            std::snprintf(digits, sizeof digits, "=%X", m % 65536);
            text += digits;
        }
        return text;
    }
    if (codestyle::IsPlaceholderKind(value)) {
        return "p";
    }
    const int kind = codestyle::TimingKindOf(value);
    const int table = kind >= 0x08 && kind <= 0x0A ? 1 : 2;
    if (kind == 0x08 || kind == 0x0C) {
        return "f" + std::to_string(table) + "." + std::to_string(m / 16) + ":" +
               std::to_string(m % 16) + "u";
    }
    if (kind >= 0x08 && kind <= 0x0E) {
        return "r" + std::to_string(table) + "." + std::to_string(m / 16);
    }
    char raw[16];
    std::snprintf(raw, sizeof raw, "?%08X", value);
    return raw;
}

std::string DescribeElement(TimingValue value, bool withTime) {
    const std::uint32_t m = codestyle::TimingMagnitude(value);
    std::string text;
    if (withTime) {
        const std::uint32_t amount = m & codestyle::kElementAmountMask;
        std::ostringstream time;
        time << (codestyle::IsPeriodElement(value) ? "h" : "t") << amount / 100;
        if (amount % 100 != 0) {
            time << '.' << (amount % 100 < 10 ? "0" : "") << amount % 100;
        }
        text = time.str() + ":";
    }
    return text + "L" + std::to_string(m >> codestyle::kElementLayoutShift);
}

std::string DescribeStyle(std::size_t index, const CodeStyleNode& style) {
    std::ostringstream line;
    line << index << ' ' << style.name << " carrier ";
    if (style.noCarrier != 0) {
        line << "none";
    } else {
        line << style.carrierFrequency << "Hz/" << int(style.carrierDivisor) << " A"
             << int(style.carrierByteA);
    }
    line << " symbols";
    for (std::size_t s = 0; s < style.symbolCount && s < style.symbolShapes.size(); ++s) {
        line << (s == 0 ? " [" : " [");
        const auto& shape = style.symbolShapes[s];
        for (std::size_t i = 0; i < shape.count && i < shape.values.size(); ++i) {
            line << (i ? " " : "") << DescribeValue(shape.values[i], style);
        }
        line << ']';
    }
    line << " layouts";
    for (std::size_t l = 0; l < style.layoutCount && l < style.layouts.size(); ++l) {
        line << " [";
        const auto& layout = style.layouts[l];
        for (std::size_t i = 0; i < layout.count && i < layout.values.size(); ++i) {
            line << (i ? " " : "") << DescribeValue(layout.values[i], style);
        }
        line << ']';
    }
    line << " sequence";
    for (std::size_t i = 0; i < style.sequenceLength && i < style.sequence.size(); ++i) {
        line << ' ' << DescribeElement(style.sequence[i], i > 0);
    }
    line << " repeat " << int(style.repeatCount);
    if (style.tailCount > 0) {
        line << " tail";
        for (std::size_t i = 0; i < style.tailCount && i < style.tail.size(); ++i) {
            line << ' ' << DescribeElement(style.tail[i], true);
        }
    }
    if (style.optionHigh != 0 || style.optionByte != 0 || style.optionLow != 0) {
        line << " options " << int(style.optionHigh) << '/' << int(style.optionByte) << '/'
             << int(style.optionLow);
    }
    return line.str();
}

int Compile(const std::vector<std::string>& args, CommandIo& io) {
    std::string source;
    std::string output;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) {
            output = args[++i];
        } else if (source.empty() && args[i] != "-o") {
            source = args[i];
        } else {
            io.err << kUsage;
            return kExitBadInput;
        }
    }
    if (source.empty() || output.empty()) {
        io.err << kUsage;
        return kExitBadInput;
    }
    const std::optional<std::string> text = ReadInputText(source, io, "styles compile");
    if (!text) {
        return kExitBadInput;
    }
    const codestyle::CodeStyleSource compiled = codestyle::CompileCodeStyleSource(*text);
    if (!compiled.error.empty()) {
        io.err << "kvcodes styles compile: " << source << ": " << compiled.error << '\n';
        return kExitBadInput;
    }
    if (!codestyle::WriteCodeStyleLibrary(output, compiled.Styles())) {
        io.err << "kvcodes styles compile: cannot write " << output << '\n';
        return kExitBadInput;
    }
    io.out << compiled.entries.size() << " styles written to " << output << '\n';
    return kExitResult;
}

int List(const std::vector<std::string>& args, CommandIo& io) {
    if (args.size() != 2) {
        io.err << kUsage;
        return kExitBadInput;
    }
    codestyle::ArrCodeStyleNode library;
    if (!codestyle::LoadCodeStyleLibrary(args[1], library)) {
        io.err << "kvcodes styles list: " << args[1] << " is not a code-style library\n";
        return kExitBadInput;
    }
    if (library.empty()) {
        return kExitNoResult;
    }
    for (std::size_t i = 0; i < library.size(); ++i) {
        io.out << DescribeStyle(i, library[i]) << '\n';
    }
    return kExitResult;
}

int RunStyles(const std::vector<std::string>& args, CommandIo& io) {
    if (!args.empty() && args[0] == "compile") {
        return Compile(args, io);
    }
    if (!args.empty() && args[0] == "list") {
        return List(args, io);
    }
    io.err << kUsage;
    return kExitBadInput;
}

}  // namespace

KVCODES_COMMAND("styles", "compile a code-style library source, or list a library's styles", kUsage,
                RunStyles);

}  // namespace kv::tools
