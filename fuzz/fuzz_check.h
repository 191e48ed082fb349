#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzzing {

// Prints a value with every byte outside printable ASCII as \xNN.
inline void printEscaped(std::string_view value) {
  std::fputc('"', stderr);
  for (char c : value) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
      std::fputc(byte, stderr);
    } else {
      std::fprintf(stderr, "\\x%02X", byte);
    }
  }
  std::fputc('"', stderr);
}

// Stops the run on a broken invariant; libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "\ninvariant broken: %s\n", what);
  std::abort();
}

inline void check(bool holds, const char* what) {
  if (!holds) fail(what);
}

// check for two texts that should be equal, printing both when not.
inline void checkEqual(std::string_view actual, std::string_view expected, const char* what) {
  if (actual == expected) return;
  std::fprintf(stderr, "\n%s:\n  actual   ", what);
  printEscaped(actual);
  std::fprintf(stderr, "\n  expected ");
  printEscaped(expected);
  fail(what);
}

}  // namespace fuzzing
