#pragma once
// The colour disc's pixels. Each pixel's hue needs an arc cosine; those depend only on the
// disc's size, so they are computed once per size and every later drawing is table look-ups and
// a few multiplications.

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

private:
    // A pixel that the disc leaves in the face colour (outside the rim, or the centre).
    static constexpr std::int16_t notInked = -1;

    int side_ = -1;
    std::vector<std::int16_t> hue_;  // per pixel, row by row
    std::vector<float> distance_;    // per pixel, from the centre
};

}  // namespace trovelin
