#pragma once
// The colour disc's pixels. Each pixel's hue needs an arc cosine and its inks a few integer
// divisions; those depend only on the disc's size, so they are computed once per size and every
// later drawing is a table walk with the channel arithmetic. The colour mixers painted on one
// surface share one table, the surface's (PaintBufferBudget::table), which keeps the last size's.

#include <cstdint>
#include <vector>

#include <QImage>

namespace trovelin {

class CmyDisc {
public:
    // The side the table was built for.
    int side() const { return side_; }
    // Rebuilds the table when `side` differs from the one it holds.
    void resize(int side);
    // Draws the disc into `bitmap`, which must be side by side.
    void paint(QImage& bitmap) const;
    // Draws the part of the disc whose top left pixel is `origin` into `bitmap`, which must lie
    // within the disc.
    void paint(QImage& bitmap, int originX, int originY) const;

private:
    // The inks of a pixel's hue and its distance from the centre. A pixel that is not inked keeps
    // the face colour (outside the rim), or is the centre.
    struct Pixel {
        float distance = 0;
        std::uint8_t c = 0;
        std::uint8_t m = 0;
        std::uint8_t y = 0;
        bool inked = false;
    };

    int side_ = -1;
    std::vector<Pixel> pixels_;  // row by row
};

}  // namespace trovelin
