#include "iconchanger.h"

#include "clock.h"
#include "errorreport.h"
#include "picturebox.h"
#include "randomsource.h"

#include <cmath>

qint16 galleryIndex(float r)
{
    const double product = static_cast<double>(r) * 56.0;
    return static_cast<qint16>(std::nearbyint(product));
}

void IconChanger::cmdIco_Click(Clock &clock, RandomSource &random, ErrorReport &errors,
                               PictureBox &picIco)
{
    random.reseed(clock.now());
    const qint16 index = galleryIndex(random.next());
    if (!gallery_)
        gallery_ = std::make_unique<frmIco>();
    const QPixmap *picture = gallery_->p(index);
    if (!picture)
        errors.raise(RuntimeError::SubscriptOutOfRange);
    picIco.setPicture(*picture);
}
