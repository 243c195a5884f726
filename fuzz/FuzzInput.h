// The bytes of the current fuzz input, reachable by URL like any asset, so that every target
// goes through the same opening and reading code as the game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tonvella::fuzz {

// Registers the game's stream protocols and, ahead of them, the "fuzz" protocol: "fuzz::<path>"
// opens the current input for any path that ServeInputAs allowed (all paths when none was
// given). Call once per process.
void InstallFuzzInput();
// The bytes "fuzz::" streams read until the next call; libFuzzer keeps them alive for one run.
void SetFuzzInput(const std::uint8_t* data, std::size_t size);
// Restricts "fuzz::" to this path (may be called several times); other paths do not open, as a
// missing asset would not.
void ServeInputAs(const std::u16string& path);
// Also serves the input for a URL of another protocol, e.g. an embedded blob, which the fuzz
// protocol then answers before the real one.
void ServeInputFor(const std::u16string& protocol, const std::u16string& path);

} // namespace tonvella::fuzz
