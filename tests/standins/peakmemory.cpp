#include "peakmemory.h"

#include <cstdio>
#include <cstring>

namespace {

long statusField(const char *field)
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    const std::size_t length = std::strlen(field);
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            std::sscanf(line + length + 1, "%ld", &kib);
            break;
        }
    }
    std::fclose(status);
    return kib;
}

} // namespace

long peakResidentKiB()
{
    return statusField("VmHWM");
}

long residentKiB()
{
    return statusField("VmRSS");
}
