#include "iconchanger.h"

#include "clock.h"
#include "errorreport.h"
#include "picturebox.h"
#include "randomsource.h"

#include <cmath>
#include <limits>

std::optional<qint16> roundToInteger(double value)
{
    const double whole = std::nearbyint(value);
    if (!(whole >= std::numeric_limits<qint16>::min() && whole <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return static_cast<qint16>(whole);
}

std::optional<qint16> galleryIndex(float r)
{
    return roundToInteger(static_cast<double>(r) * (frmIco::kPictureCount - 1));
}

void IconChanger::cmdIco_Click(Clock &clock, RandomSource &random, ErrorReport &errors,
                               PictureBox &picIco)
{
    random.reseed(clock.now());
    const std::optional<qint16> index = galleryIndex(random.next());
    if (!index)
        errors.raise(RuntimeError::Overflow);
    if (!gallery_)
        gallery_ = std::make_unique<frmIco>();
    const QPixmap *picture = gallery_->p(*index);
    if (!picture)
        errors.raise(RuntimeError::SubscriptOutOfRange);
    picIco.setPicture(*picture);
}
