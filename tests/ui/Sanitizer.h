// Whether this build runs under AddressSanitizer: its quarantine keeps freed
// memory resident for a while, so checks of the resident size mean nothing
// there.
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
