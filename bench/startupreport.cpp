#include "startupreport.h"

#include "peakmemory.h"

#include <cstdio>
#include <cstdlib>

void StartupReport::mark(const char *milestone, TimePoint at)
{
    milestones_.emplace_back(milestone, at);
}

std::string StartupReport::json(const std::string &extraFields) const
{
    std::string out = "{\"program\":\"" + program_ + "\"";
    for (const auto &[name, at] : milestones_) {
        const auto ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
        out += ",\"" + std::string(name) + "_ns\":" + std::to_string(ns);
    }
    out += ",\"hwm_kib\":" + std::to_string(peakResidentKiB());
    out += ",\"rss_kib\":" + std::to_string(residentKiB());
    if (!extraFields.empty())
        out += "," + extraFields;
    return out + "}";
}

void StartupReport::printAndExit(const std::string &extraFields) const
{
    std::puts(json(extraFields).c_str());
    std::fflush(stdout);
    std::_Exit(0);
}
