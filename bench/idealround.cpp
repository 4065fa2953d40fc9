#include "idealround.h"

#include "clock.h"
#include "errorreport.h"
#include "eventpump.h"
#include "fakerandom.h"
#include "form1.h"
#include "layout.h"
#include "listtext.h"
#include "throwingend.h"

#include <QListWidget>

namespace {

constexpr qint64 kMicrosPerDay = 86'400'000'000;
constexpr qint64 kMicrosPerPump = 10;

// Reads whole milliseconds as the system clock does, kept in integer microseconds so
// that a round's hundreds of thousands of pumps add up exactly; the tests' FakeClock
// reads its seconds unrounded.
class WaitOnlyClock final : public Clock
{
public:
    explicit WaitOnlyClock(qint64 startMs) : micros_(startMs * 1000) {}
    float now() override
    {
        const qint64 ms = (micros_ % kMicrosPerDay) / 1000;
        return static_cast<float>(ms / 1000.0);
    }
    void advance() { micros_ += kMicrosPerPump; }

private:
    qint64 micros_;
};

class WaitOnlyPump final : public EventPump
{
public:
    explicit WaitOnlyPump(WaitOnlyClock &clock) : clock_(clock) {}
    void pumpOnce(double) override { clock_.advance(); }

private:
    WaitOnlyClock &clock_;
};

} // namespace

int idealTicks(const QString &speed, qint64 startMs)
{
    WaitOnlyClock clock(startMs);
    FakeRandom random;
    WaitOnlyPump pump(clock);
    ThrowingEnd end;
    MessageBoxErrorReport errors(QString::fromUtf8(layout::kCaption));
    Form1 form({clock, random, pump, end, errors});
    if (!setListText(*form.findChild<QListWidget *>(QStringLiteral("lstSpeed")), speed))
        return -1;
    form.cmdGo_Click();
    return random.draws;
}
