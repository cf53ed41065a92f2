// Runs a byte string as a sequence of decoded window messages through the editor's message
// table, drawing a frame every few messages, and checks the editor's invariants after
// every message. Shared by the fuzzer and the regression test of its findings.
//
// Each message is an opcode byte (taken modulo 8) and its operands, little-endian:
//   0 move X16 Y16     1 left press X16 Y16    2 right press X16 Y16   3 left release
//   4 right release    5 key-down VK8          6 command W32 (any value)
//   7 menu item I8 H8  (the I8 % 13th menu command, with H8 in the high 16 bits)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The first broken invariant, or an empty string.
std::string RunMessageSequence(const std::uint8_t* data, std::size_t size);
