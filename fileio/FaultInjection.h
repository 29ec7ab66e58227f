#pragma once
// A test seam of the file layer: every write, flush, rename and truncation
// counts as one operation, and a test can make the N-th of them fail, to prove
// that an interrupted change leaves the game directory recoverable.

#include <string_view>

namespace vehmira::fileio {

namespace FaultInjection {

// From now on, the n-th operation (1-based) raises an error; 0 switches off.
// With persist, every operation from the n-th on fails too, as after a power
// loss: nothing more reaches the disk, not even a rollback.
void FailAtOperation(int n, bool persist = false);
// Operations counted since the last FailAtOperation call.
int OperationsSeen();
// Called by the file layer before each write, flush, rename or truncation.
void CountOperation(std::string_view what);

} // namespace FaultInjection

} // namespace vehmira::fileio
