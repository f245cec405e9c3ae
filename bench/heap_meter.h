// Counts the heap in use by this process through replaced global operator new and
// delete, and keeps its peak. Used to state how much memory the engine itself needs.
#pragma once

#include <cstddef>

namespace bench::heap {

std::size_t InUse();
std::size_t Peak();
// Starts a new peak from what is in use now.
void ResetPeak();
// malloc's own figure of bytes in use (arena and mapped chunks), for a cross-check.
std::size_t MallocInUse();

}  // namespace bench::heap
