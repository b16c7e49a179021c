// Says a word, then dies abnormally.
#include <cstdio>
#include <cstdlib>

#if __has_include(<sys/resource.h>)
#include <sys/resource.h>
#endif

int main()
{
#if __has_include(<sys/resource.h>)
    // Keep test runs from leaving core files behind.
    const rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
#endif
    std::fputs("about to crash\n", stdout);
    std::fflush(stdout);
    std::abort();
}
