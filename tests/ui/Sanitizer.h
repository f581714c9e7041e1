// Whether this build runs under AddressSanitizer: its own allocator and its
// quarantine of freed memory, so checks of memory use mean nothing there.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define VELMOR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMOR_ADDRESS_SANITIZER 1
#endif
#endif

namespace velmor::test {

#ifdef VELMOR_ADDRESS_SANITIZER
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif

} // namespace velmor::test
