#ifndef SANITIZERSLOWDOWN_H
#define SANITIZERSLOWDOWN_H

// How many times longer the same work takes when the sanitizers check every memory access;
// the generous time bounds of the bad-input tests are meant for a normal build.
#if defined(__SANITIZE_ADDRESS__)
constexpr int sanitizerSlowdown = 5;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int sanitizerSlowdown = 5;
#else
constexpr int sanitizerSlowdown = 1;
#endif
#else
constexpr int sanitizerSlowdown = 1;
#endif

#endif
