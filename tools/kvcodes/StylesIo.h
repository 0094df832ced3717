#pragma once

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "tools/kvcodes/Command.h"

namespace kv::tools {

// The whole text of FILE, or of standard input for "-" or no file; nothing (with a message on
// stderr) when the file cannot be read.
inline std::optional<std::string> ReadInputText(const std::string& path, CommandIo& io,
                                                const char* command) {
    if (path.empty() || path == "-") {
        return std::string(std::istreambuf_iterator<char>(io.in), {});
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        io.err << "kvcodes " << command << ": cannot read " << path << '\n';
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace kv::tools
