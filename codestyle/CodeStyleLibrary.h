#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "codestyle/CodeStyleNode.h"

namespace kv::codestyle {

// Reads one length byte and that many bytes. The empty text when the length byte is missing or
// 0, or when the stream holds fewer bytes than announced; otherwise the bytes up to the first
// zero byte among them.
std::string ReadLengthPrefixedText(std::istream& file);

// Loads the library file at `path`. True when the file exists and carries the library header:
// `library` then holds the file's styles in file order. False when it is missing, unreadable or
// has another header: `library` is left as it was.
//
// A record that the file cuts short inside its body is kept with the missing bytes as zeros; one
// cut short inside its name is dropped. A record whose counts break the limits that every stage
// walking a style relies on (StyleWithinLimits) is skipped and the rest still load, so a damaged
// entry costs that style only.
bool LoadCodeStyleLibrary(const std::string& path, ArrCodeStyleNode& library);

// The same, from an open stream positioned at the header's length byte.
bool LoadCodeStyleLibrary(std::istream& file, ArrCodeStyleNode& library);

// The style held by one record's bytes (name and body, at most 1033 bytes; missing bytes read
// as zeros). Limits are not checked here.
CodeStyleNode DecodeCodeStyleRecord(std::string_view record);

}  // namespace kv::codestyle
