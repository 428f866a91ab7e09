#include "framework/PaintBuffer.h"

#include <algorithm>
#include <vector>

#include "framework/Canvas.h"

namespace trovelin {

// The buffers of one thread, with what they hold and the limit.
class PaintBufferBudget {
public:
    ~PaintBufferBudget()
    {
        // Buffers that outlive their thread keep their pixels and leave the budget.
        for (PaintBuffer* buffer : buffers_) buffer->budget_ = nullptr;
    }

    std::uint64_t tick() { return ++clock_; }

    void add(PaintBuffer& buffer)
    {
        buffers_.push_back(&buffer);
        buffer.budget_ = this;
        held_ += bytes(buffer);
        peak_ = std::max(peak_, held_);
    }

    void remove(PaintBuffer& buffer)
    {
        const auto at = std::find(buffers_.begin(), buffers_.end(), &buffer);
        if (at == buffers_.end()) return;
        held_ -= bytes(buffer);
        *at = buffers_.back();
        buffers_.pop_back();
        buffer.budget_ = nullptr;
    }

    // Takes back the least recently used buffers until `coming` more bytes fit.
    void makeRoom(std::int64_t coming)
    {
        while (!buffers_.empty() && held_ + coming > limit_) {
            PaintBuffer* oldest = *std::min_element(buffers_.begin(), buffers_.end(),
                                                    [](const PaintBuffer* a, const PaintBuffer* b) {
                                                        return a->lastUse_ < b->lastUse_;
                                                    });
            oldest->takeBack();
        }
    }

    void noteSurface(std::int64_t pixels)
    {
        limit_ = std::max(limit_, paintBuffers::surfacesKept * std::max(pixels, paintBuffers::minimumSurfacePixels) * 4);
    }

    std::int64_t held() const { return held_; }
    std::int64_t limit() const { return limit_; }
    std::int64_t peak() const { return peak_; }
    void resetPeak() { peak_ = held_; }

private:
    static std::int64_t bytes(const PaintBuffer& buffer) { return buffer.image_.sizeInBytes(); }

    std::vector<PaintBuffer*> buffers_;
    std::uint64_t clock_ = 0;
    std::int64_t held_ = 0;
    std::int64_t peak_ = 0;
    std::int64_t limit_ = paintBuffers::surfacesKept * paintBuffers::minimumSurfacePixels * 4;
};

namespace {

PaintBufferBudget& threadBudget()
{
    thread_local PaintBufferBudget budget;
    return budget;
}

}  // namespace

TRect shownPart(const TCanvas& canvas, const TRect& whole)
{
    const TRect visible = canvas.visibleArea();
    const TRect part{std::max(whole.left, visible.left), std::max(whole.top, visible.top),
                     std::min(whole.right, visible.right), std::min(whole.bottom, visible.bottom)};
    return part.isEmpty() ? TRect{} : part;
}

PaintBuffer::~PaintBuffer()
{
    if (budget_ != nullptr) budget_->remove(*this);
}

QImage& PaintBuffer::hold(const TRect& part, QImage::Format format)
{
    release();
    if (part.isEmpty()) return image_;
    PaintBufferBudget& budget = threadBudget();
    // Room is made before the new pixels are taken, so that the peak stays within the limit
    // unless this one buffer alone is larger.
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    budget.makeRoom(std::int64_t{part.width()} * part.height() * std::max(depth, 8) / 8);
    image_ = QImage(part.width(), part.height(), format);
    if (image_.isNull()) return image_;
    part_ = part;
    lastUse_ = budget.tick();
    budget.add(*this);
    return image_;
}

QImage& PaintBuffer::holdShown(const TCanvas& canvas, const TRect& whole, QImage::Format format)
{
    return hold(shownPart(canvas, whole), format);
}

void PaintBuffer::release()
{
    if (budget_ != nullptr) budget_->remove(*this);
    image_ = QImage();
    part_ = {};
    takenBack_ = false;
}

QImage& PaintBuffer::image()
{
    if (budget_ != nullptr) lastUse_ = budget_->tick();
    return image_;
}

void PaintBuffer::takeBack()
{
    release();
    takenBack_ = true;
}

namespace paintBuffers {

void noteSurface(int width, int height)
{
    threadBudget().noteSurface(std::int64_t{std::max(width, 0)} * std::max(height, 0));
}

std::int64_t heldBytes() { return threadBudget().held(); }
std::int64_t limitBytes() { return threadBudget().limit(); }
std::int64_t peakBytes() { return threadBudget().peak(); }
void resetPeak() { threadBudget().resetPeak(); }

}  // namespace paintBuffers

}  // namespace trovelin
