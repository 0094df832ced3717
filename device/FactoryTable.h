#pragma once

#include <string>
#include <string_view>

namespace kv::device {

// The key-code table a new remote leaves the factory with: preset codes for
// a few keys (TV power, AV/TV, volume up, TV 1 and 2, IPTV volume up) and one
// pair, IPTV volume up sending what TV volume up sends. Laid out as the
// program itself rebuilds tables: entries by key code, a shared style block
// stored once, then each key's own block.
std::string FactoryKeyCodeTable();

// Whether the remote can store `text` as its key-code table: hex digit pairs
// that fit the flash, with counts, pairs and entries inside the text and every
// data block an entry points at lying within it. The remote refuses anything
// else rather than keep a table it could not play.
bool IsStorableKeyCodeTable(std::string_view text);

}  // namespace kv::device
