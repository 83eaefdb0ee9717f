// KOLT_ADDRESS_SANITIZER is defined in a build with AddressSanitizer, whose
// shadow memory makes tests of memory limits meaningless there.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define KOLT_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOLT_ADDRESS_SANITIZER 1
#endif
#endif
