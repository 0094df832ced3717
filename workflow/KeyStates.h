#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workflow/WindowModel.h"

namespace kv::workflow {

// Key state entries "CC|S": key code, bar, state digit. "1" preset code,
// "2" learned code in the remote, "3" learned in this run and not yet written.
using KeyStateList = std::vector<std::string>;

inline constexpr char kStatePreset = '1';
inline constexpr char kStateLearned = '2';
inline constexpr char kStateUnwritten = '3';

// The value of a text of hex digits (either case); nothing for an empty text,
// any other character, or a value beyond int.
std::optional<int> ReadHex(std::string_view digits);

// The index of a key's pictures: its code read as hex, when it is one of the
// 128 pictures of a set.
std::optional<int> PictureIndex(std::string_view code);

// The code and state parts of an entry; '\0' / empty for a malformed entry.
std::string_view EntryCode(std::string_view entry);
char EntryState(std::string_view entry);
bool IsLearnedState(char state);

// True at the first entry with state "2" or "3".
bool hasLearnedKey(const KeyStateList& keyStates);

// The first entry of the code whose state is not "3", or "".
std::string FindKeyState(const KeyStateList& keyStates, std::string_view code);

// Sets the key's entry to code|3, keeping the list in ascending code order:
// replaces the first entry with the same value, or inserts before the first
// greater one, or appends.
void MarkKeyLearned(KeyStateList& keyStates, const std::string& code);

// Deletes the first entry of the code, if any.
void RemoveKeyState(KeyStateList& keyStates, std::string_view code);

// Turns every "3" into "2".
void CommitLearnedStates(KeyStateList& keyStates);

// Puts on every key button the picture its entries call for, entries applied
// in list order so that a later entry wins. Learned keys get their face
// swapped (IsEnable false) before the learned picture goes on.
void showKeyStates(WindowModel& model, const KeyStateList& keyStates);

}  // namespace kv::workflow
