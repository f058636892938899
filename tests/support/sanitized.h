#pragma once

// Whether the tests run under AddressSanitizer, which reserves terabytes of address space
// and adds shadow memory and quarantine to every allocation: limits of address space and
// peaks of memory then say nothing of the program's own.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
