#include "framework/PaintBuffer.h"

#include <algorithm>

#include "framework/Canvas.h"

namespace trovelin {

PaintBufferBudget::~PaintBufferBudget()
{
    // Buffers that outlive their surface keep nothing: their controls paint again instead.
    while (!buffers_.empty()) buffers_.back()->takeBack();
}

void PaintBufferBudget::noteSurface(int width, int height)
{
    const std::int64_t pixels = std::int64_t{std::max(width, 0)} * std::max(height, 0);
    limit_ = std::max(limit_, surfacesKept * std::max(pixels, minimumSurfacePixels) * 4);
}

void PaintBufferBudget::add(PaintBuffer& buffer)
{
    buffers_.push_back(&buffer);
    buffer.budget_ = this;
    held_ += buffer.image_.sizeInBytes();
    peak_ = std::max(peak_, held_);
}

void PaintBufferBudget::remove(PaintBuffer& buffer)
{
    const auto at = std::find(buffers_.begin(), buffers_.end(), &buffer);
    if (at == buffers_.end()) return;
    held_ -= buffer.image_.sizeInBytes();
    *at = buffers_.back();
    buffers_.pop_back();
    buffer.budget_ = nullptr;
}

void PaintBufferBudget::makeRoom(std::int64_t coming)
{
    while (!buffers_.empty() && held_ + coming > limit_) {
        PaintBuffer* oldest = *std::min_element(buffers_.begin(), buffers_.end(),
                                                [](const PaintBuffer* a, const PaintBuffer* b) {
                                                    return a->lastUse_ < b->lastUse_;
                                                });
        oldest->takeBack();
    }
}

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

QImage& PaintBuffer::hold(const TCanvas& canvas, const TRect& part, QImage::Format format)
{
    release();
    if (part.isEmpty()) return image_;
    PaintBufferBudget* budget = canvas.budget();
    // Room is made before the new pixels are taken, so that the peak stays within the limit
    // unless this one buffer alone is larger.
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (budget != nullptr) budget->makeRoom(std::int64_t{part.width()} * part.height() * std::max(depth, 8) / 8);
    image_ = QImage(part.width(), part.height(), format);
    if (image_.isNull()) return image_;
    part_ = part;
    if (budget != nullptr) {
        lastUse_ = budget->tick();
        budget->add(*this);
    }
    return image_;
}

QImage& PaintBuffer::holdShown(const TCanvas& canvas, const TRect& whole, QImage::Format format)
{
    return hold(canvas, shownPart(canvas, whole), format);
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

}  // namespace trovelin
