#pragma once
// Pixels that a control keeps between paints, to draw part of itself again without a paint (a
// fader's knob that moves over its background, the colour mixer's disc under its marker). Every
// such buffer follows two rules, whatever size a record gives its control:
// - it holds at most what the canvas showed of the part it keeps, so a control larger than any
//   screen keeps no more than the screen;
// - the buffers of all controls painted on one surface stay within a small multiple of that
//   surface (its PaintBufferBudget, which paintControlTree hands to the canvas): past that, the
//   least recently used ones are taken back, and their controls paint again where they would
//   have drawn from them.
// So the memory a panel's painting holds is bounded by the surface, not by how many controls a
// panel file declares nor how large. A budget and its buffers live on one thread.

#include <cstdint>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include <QImage>

#include "framework/Canvas.h"
#include "framework/Geometry.h"

namespace trovelin {

// The part of `whole` (in the canvas's logical coordinates) that the canvas shows; empty where
// none of it shows. Sums are taken wide, so any int rectangle is safe.
TRect shownPart(const TCanvas& canvas, const TRect& whole);

class PaintBuffer;

// What the buffers of the controls painted on one surface may hold together. The surface owns
// it; when it ends, every buffer still in it is taken back, and a buffer that ends first leaves
// it, so neither ever points to the other once gone.
class PaintBufferBudget {
public:
    // How many surfaces' worth of pixels the buffers may hold together.
    static constexpr int surfacesKept = 2;
    // The smallest surface the limit assumes, so that small panels keep every buffer.
    static constexpr std::int64_t minimumSurfacePixels = 1024 * 1024;

    PaintBufferBudget() = default;
    ~PaintBufferBudget();
    PaintBufferBudget(const PaintBufferBudget&) = delete;
    PaintBufferBudget& operator=(const PaintBufferBudget&) = delete;

    // A surface of `width` x `height` is painted; the limit is surfacesKept times the largest
    // such surface (at least minimumSurfacePixels), in 32-bit pixels.
    void noteSurface(int width, int height);
    // What the buffers hold now, and may hold, in bytes.
    std::int64_t heldBytes() const { return held_; }
    std::int64_t limitBytes() const { return limit_; }
    // The largest that heldBytes() ever reached, for tests.
    std::int64_t peakBytes() const { return peak_; }

    // A table that controls of one class share while they paint on this surface (the colour
    // mixer's disc), made on first use and kept while the surface lives.
    template <class Table>
    Table& table()
    {
        std::shared_ptr<void>& slot = tables_[std::type_index(typeid(Table))];
        if (!slot) slot = std::make_shared<Table>();
        return *static_cast<Table*>(slot.get());
    }

private:
    friend class PaintBuffer;
    void add(PaintBuffer& buffer);
    void remove(PaintBuffer& buffer);
    // Takes back the least recently used buffers until `coming` more bytes fit.
    void makeRoom(std::int64_t coming);
    std::uint64_t tick() { return ++clock_; }

    std::vector<PaintBuffer*> buffers_;
    std::unordered_map<std::type_index, std::shared_ptr<void>> tables_;
    std::uint64_t clock_ = 0;
    std::int64_t held_ = 0;
    std::int64_t peak_ = 0;
    std::int64_t limit_ = surfacesKept * minimumSurfacePixels * 4;
};

class PaintBuffer {
public:
    PaintBuffer() = default;
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    // Takes a fresh (uninitialised) buffer for `part`, in the owner's coordinates, within the
    // budget of the surface that `canvas` paints, and returns it; a null image, holding nothing,
    // when `part` is empty. It may take back other buffers. A canvas of no surface's tree (a test
    // that paints one control) gives a buffer outside any budget.
    QImage& hold(const TCanvas& canvas, const TRect& part, QImage::Format format = QImage::Format_RGB32);
    // hold() of what `canvas` shows of `whole`.
    QImage& holdShown(const TCanvas& canvas, const TRect& whole, QImage::Format format = QImage::Format_RGB32);
    // Gives the pixels back; the buffer then reads as never held.
    void release();

    // Whether there are pixels: not before the first hold, after a release or once taken back.
    bool held() const { return !image_.isNull(); }
    // The budget took the pixels back since the last hold: the owner paints again instead.
    bool takenBack() const { return takenBack_; }
    // The pixels, marked as just used; null when none are held.
    QImage& image();
    const QImage& peek() const { return image_; }
    // Where the pixels lie in the owner's coordinates: the top left pixel is at part().left, top.
    const TRect& part() const { return part_; }
    TPoint origin() const { return {part_.left, part_.top}; }
    // The budget the pixels count in; none when nothing is held.
    PaintBufferBudget* budget() const { return budget_; }

private:
    friend class PaintBufferBudget;
    void takeBack();

    QImage image_;
    TRect part_;
    bool takenBack_ = false;
    std::uint64_t lastUse_ = 0;
    PaintBufferBudget* budget_ = nullptr;
};

// A canvas on a buffer that draws in the owner's coordinates, whatever part the buffer holds;
// inactive (drawing nothing, reading nothing) when the buffer holds nothing.
class PaintBufferCanvas : public TCanvas {
public:
    explicit PaintBufferCanvas(PaintBuffer& buffer) : TCanvas(buffer.image())
    {
        painter().translate(-buffer.origin().x, -buffer.origin().y);
        setBudget(buffer.budget());
    }
};

}  // namespace trovelin
