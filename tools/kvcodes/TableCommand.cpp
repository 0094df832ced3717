#include <filesystem>
#include <ostream>

#include "codestyle/HexText.h"
#include "tools/kvcodes/CommandArgs.h"
#include "tools/kvcodes/StylesIo.h"
#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStateEntries.h"

namespace kv::tools {
namespace {

constexpr const char* kName = "table";

// A data block as stored at its entry's offset, or what of it lies inside.
std::string_view StoredBlock(std::string_view image, int offset, int length) {
    const std::size_t start = 2 * static_cast<std::size_t>(offset);
    if (start >= image.size()) {
        return {};
    }
    return image.substr(start, 2 * static_cast<std::size_t>(length));
}

void PrintTable(const workflow::KeyCodeTableImage& table, std::ostream& out) {
    out << "bytes " << table.bytes << '\n';
    out << "pairs " << table.pairs.size() << '\n';
    for (const std::string& pair : table.pairs) {
        out << "  pair " << pair.substr(0, 2) << ' ' << pair.substr(2, 2) << '\n';
    }
    out << "entries " << table.entries.size() << '\n';
    for (const auto& entry : table.entries) {
        out << "  entry " << entry.code << " flags " << entry.flags << " first @"
            << entry.firstOffset << '+' << entry.firstLength << " second @" << entry.secondOffset
            << '+' << entry.secondLength << '\n';
        // A first block of one or two bytes is not stored; its offset means nothing.
        if (entry.firstLength >= 3) {
            out << "    first  " << StoredBlock(table.image, entry.firstOffset, entry.firstLength)
                << '\n';
        }
        out << "    second " << StoredBlock(table.image, entry.secondOffset, entry.secondLength)
            << '\n';
    }
}

int Show(const CommandArgs& args, CommandIo& io) {
    if (args.positional.size() > 2) {
        return BadInput(io, "table show", "takes at most one FILE");
    }
    const auto input = ReadCommandInput(args, 1, io, "table show");
    if (!input) {
        return kExitBadInput;
    }
    const std::string text = WithoutWhiteSpace(*input);
    const auto table = workflow::ReadKeyCodeTable(text);
    const auto states = workflow::ParseCodeTypeData(text);
    if (!table || !states) {
        return BadInput(io, "table show",
                        "the counts, pairs or entries of the table are missing or not hex");
    }
    PrintTable(*table, io.out);
    io.out << "key states";
    for (const std::string& entry : *states) {
        io.out << ' ' << entry;
    }
    io.out << '\n';
    const workflow::TableFault fault = workflow::CheckKeyCodeTable(text);
    io.out << "check " << (fault == workflow::TableFault::None ? "writable" : "not writable: ")
           << (fault == workflow::TableFault::None ? "" : workflow::DescribeTableFault(fault))
           << '\n';
    return kExitResult;
}

// A file, standard input for "-", or else the argument itself when it is hex.
std::optional<std::string> TextArgument(const std::string& arg, CommandIo& io) {
    std::error_code error;
    if (arg != "-" && !std::filesystem::exists(arg, error) && codestyle::IsHexText(arg)) {
        return arg;
    }
    const auto text = ReadInputText(arg, io, "table merge");
    return text ? std::optional<std::string>(WithoutWhiteSpace(*text)) : std::nullopt;
}

int Merge(const CommandArgs& args, CommandIo& io) {
    if (args.positional.size() != 3) {
        return BadInput(io, "table merge", "needs TABLE and RECORD");
    }
    if (args.positional[1] == "-" && args.positional[2] == "-") {
        return BadInput(io, "table merge", "only one of TABLE and RECORD can be standard input");
    }
    const auto table = TextArgument(args.positional[1], io);
    const auto record = TextArgument(args.positional[2], io);
    if (!table || !record) {
        return kExitBadInput;
    }
    const workflow::MergeOutcome merged = workflow::MergeKeyRecordWithReason(*table, *record);
    switch (merged.refusal) {
        case workflow::MergeRefusal::None:
            io.out << merged.table << '\n';
            return kExitResult;
        case workflow::MergeRefusal::TooManyEntries:
        case workflow::MergeRefusal::TooLarge:
            return NoResult(io, "table merge", workflow::DescribeMergeRefusal(merged.refusal));
        default:
            return BadInput(io, "table merge", workflow::DescribeMergeRefusal(merged.refusal));
    }
}

int RunTable(const std::vector<std::string>& args, CommandIo& io) {
    CommandArgs parsed;
    if (std::string error = ParseCommandArgs(args, {}, parsed); !error.empty()) {
        return BadInput(io, kName, error);
    }
    const std::string verb = parsed.positional.empty() ? "" : parsed.positional[0];
    if (verb == "show") {
        return Show(parsed, io);
    }
    if (verb == "merge") {
        return Merge(parsed, io);
    }
    return BadInput(io, kName, "expected 'show' or 'merge' (see kvcodes table --help)");
}

KVCODES_COMMAND(kName, "key-code tables: show, merge",
                "usage: kvcodes table show [FILE]\n"
                "       kvcodes table merge TABLE RECORD\n\n"
                "show   lists the pairs, the entries (code, flags, offset+length and data of\n"
                "       both blocks), the key states and whether the table may be written.\n"
                "merge  merges the key record into the table and writes the new table.\n"
                "       TABLE and RECORD are files, '-' for standard input, or hex texts.\n"
                "       Exit 1 when the result would not fit the remote.\n"
                "Hex input may hold white space; a table ends at its first zero byte.\n",
                RunTable);

}  // namespace
}  // namespace kv::tools
