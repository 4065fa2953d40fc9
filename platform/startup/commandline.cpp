#include "commandline.h"

#include <cstdio>
#include <cstring>

std::optional<int> answerCommandLine(int argc, char *argv[], const char *version)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::puts("Usage: quorvel (a reflex game: pick a speed, press GO! and click the "
                      "wandering picture; no options but -h or --help, and --version)");
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quorvel %s\n", version);
            return 0;
        }
    }
    return std::nullopt;
}
