// What the process holds on the heap: the allocator's own count of the bytes
// handed out and not yet freed (glibc's mallinfo2), in kB. Unlike the
// resident size it does not move when the allocator keeps freed pages or
// gives them back, so a bound on its growth tells a leak from the
// allocator's habits.
#pragma once

#include <malloc.h>

namespace velmor::test {

inline long HeapInUseKb()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

} // namespace velmor::test
