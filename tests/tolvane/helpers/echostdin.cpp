// Copies standard input to standard output until the input ends.
#include <cstdio>

int main()
{
    char buffer[4096];
    std::size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        std::fwrite(buffer, 1, read, stdout);
    return 0;
}
