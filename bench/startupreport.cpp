#include "startupreport.h"

#include "peakmemory.h"

#include <QJsonDocument>

#include <cstdio>
#include <cstdlib>

void StartupReport::mark(const char *milestone, TimePoint at)
{
    milestones_.emplace_back(milestone, at);
}

QJsonObject StartupReport::json(const QJsonObject &fields) const
{
    QJsonObject out{{QStringLiteral("program"), program_}};
    for (const auto &[name, at] : milestones_) {
        const qint64 ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
        out.insert(QString::fromUtf8(name) + QStringLiteral("_ns"), ns);
    }
    out.insert(QStringLiteral("hwm_kib"), qint64(peakResidentKiB()));
    out.insert(QStringLiteral("rss_kib"), qint64(residentKiB()));
    for (auto field = fields.begin(); field != fields.end(); ++field)
        out.insert(field.key(), field.value());
    return out;
}

void StartupReport::printAndExit(const QJsonObject &fields) const
{
    exitWithLine(json(fields));
}

void StartupReport::exitWithLine(const QJsonObject &line)
{
    std::puts(QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    std::_Exit(0);
}
