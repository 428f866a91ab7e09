#include "support/TestControlHost.h"

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/Control.h"
#include "framework/PaintTree.h"
#include "framework/WinControl.h"

namespace trovelin::testing {

namespace {

class RecordingHintDisplay : public HintDisplay {
public:
    explicit RecordingHintDisplay(HintRecord& record) : record_(record) {}
    void show(const TRect& screenRect, const std::string& text, const TFont& font, TColor color) override
    {
        record_.color = color;
        record_.showing = true;
        record_.rect = screenRect;
        record_.text = text;
        record_.fontName = font.name();
        record_.fontSize = font.size();
        ++record_.shows;
    }
    void hide() override { record_.showing = false; }

private:
    HintRecord& record_;
};

}  // namespace

void ManualTimerService::arm(TTimer& timer)
{
    due_[&timer] = now_ + timer.interval();
}

void ManualTimerService::disarm(TTimer& timer)
{
    due_.erase(&timer);
}

void ManualTimerService::advance(int milliseconds)
{
    const int end = now_ + milliseconds;
    for (;;) {
        // The earliest due timer; a handler may arm, disarm or destroy any timer, so look again
        // after every firing.
        TTimer* next = nullptr;
        int when = end + 1;
        for (const auto& [timer, due] : due_)
            if (due < when) {
                next = timer;
                when = due;
            }
        if (next == nullptr) break;
        now_ = when;
        due_[next] = when + next->interval();
        next->fire();
    }
    now_ = end;
}

TestControlHost::TestControlHost(TControl& control, TPoint screenOrigin) : control_(control), screenOrigin_(screenOrigin)
{
    control_.setHost(this);
}

TestControlHost::~TestControlHost()
{
    if (control_.host() == this) control_.setHost(nullptr);
}

const QImage& TestControlHost::paint(QRgb background)
{
    surface_ = QImage(std::max(control_.width(), 1), std::max(control_.height(), 1), QImage::Format_RGB32);
    surface_.fill(background);
    TCanvas canvas(surface_);
    canvas.setBudget(&paintBudget_);
    control_.paint(canvas);
    return surface_;
}

void TestControlHost::repaintControl(TControl&)
{
    ++repainted;
    paint();
}

void TestControlHost::drawOnControl(TControl& control, const std::function<void(TCanvas&)>& draw)
{
    ++drawnBetweenPaints;
    if (surface_.isNull()) paint();
    QPainter painter(&surface_);
    const TPoint offset = control.offsetWithin(control_);
    painter.translate(offset.x, offset.y);
    TCanvas canvas(painter);
    canvas.setBudget(&paintBudget_);
    draw(canvas);
}

TPoint TestControlHost::clientToScreen(const TControl& control, TPoint point) const
{
    const TPoint offset = control.offsetWithin(control_);
    return {screenOrigin_.x + offset.x + point.x, screenOrigin_.y + offset.y + point.y};
}

TPoint TestControlHost::screenToClient(const TControl& control, TPoint point) const
{
    const TPoint offset = control.offsetWithin(control_);
    return {point.x - screenOrigin_.x - offset.x, point.y - screenOrigin_.y - offset.y};
}

std::unique_ptr<HintDisplay> TestControlHost::createHintDisplay()
{
    return std::make_unique<RecordingHintDisplay>(hint);
}

QImage paintedAsTree(TWinControl& face, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    PaintBufferBudget budget;
    paintControlTree(image, face, budget);
    return image;
}

QImage paintedEachWhole(TWinControl& face, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        TCanvas canvas(image);
        face.paint(canvas);
    }
    for (TControl* control : face.controls()) {
        QPainter painter(&image);
        painter.setClipRect(control->left(), control->top(), control->width(), control->height());
        painter.translate(control->left(), control->top());
        TCanvas canvas(painter);
        control->paint(canvas);
    }
    return image;
}

}  // namespace trovelin::testing
