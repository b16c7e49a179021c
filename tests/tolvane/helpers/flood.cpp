// Writes the given number of numbered lines, even ones to standard output and odd
// ones to standard error, each flushed at once so the interleaving is observable;
// ends with "end" on standard output and no line end.
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const long count = argc > 1 ? std::atol(argv[1]) : 0;
    for (long i = 0; i < count; ++i) {
        std::FILE *stream = i % 2 == 0 ? stdout : stderr;
        std::fprintf(stream, "%ld\n", i);
        std::fflush(stream);
    }
    std::fputs("end", stdout);
    return 0;
}
