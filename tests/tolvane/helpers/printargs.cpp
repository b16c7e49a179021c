// Prints each of its arguments on a line of its own.
#include <cstdio>

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", argv[i]);
    return 0;
}
