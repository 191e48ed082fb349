#pragma once

namespace bench {

// Registers the benchmarks that run through the real Qt window (offscreen):
// a search keystroke on a large address book, the start-up, and selecting
// an entry with a note of megabytes.
void registerWindowBenchmarks();

}  // namespace bench
