#pragma once

#include <QPixmap>

#include <array>

// The hidden gallery: 57 built-in pictures at the indices 0 to 56. It is never shown;
// it only holds the pictures that "Change Icon" picks from.
class frmIco
{
public:
    static constexpr int kPictureCount = 57;

    frmIco();

    // The picture of element `index`, or nullptr when there is no such element.
    const QPixmap *p(int index) const;

private:
    std::array<QPixmap, kPictureCount> pictures_;
};

// One built-in picture, decoded from the program's resources.
QPixmap builtInPicture(int index);
