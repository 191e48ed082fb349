#pragma once

namespace bench {

// Registers the benchmarks that run through the real Qt window (offscreen):
// a search keystroke on a large address book, and the start-up.
void registerWindowBenchmarks();

}  // namespace bench
