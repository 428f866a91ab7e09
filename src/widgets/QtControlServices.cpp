#include "widgets/QtControlServices.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "framework/Canvas.h"
#include "framework/HintWindow.h"
#include "framework/NamedConstants.h"

namespace trovelin {

namespace {

// The hint as the original draws it: the text on the info colour inside a one-pixel frame,
// 2 pixels in from the left.
class HintWidget : public QWidget {
public:
    HintWidget() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

    void setContent(const std::string& text, const TFont& font, TColor color)
    {
        text_ = text;
        font_.assign(font);
        color_ = color;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        TCanvas canvas(painter);
        canvas.brush().setColor(color_);
        canvas.pen().setColor(clWindowFrame);
        canvas.rectangle({0, 0, width(), height()});
        canvas.font().assign(font_);
        canvas.font().setColor(clInfoText);
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.textOut(2, 1, text_);
    }

private:
    std::string text_;
    TFont font_;
    TColor color_ = clInfoBk;
};

class QtHintDisplay : public HintDisplay {
public:
    void show(const TRect& screenRect, const std::string& text, const TFont& font, TColor color) override
    {
        widget_.setContent(text, font, color);
        widget_.setGeometry(screenRect.left, screenRect.top, screenRect.width(), screenRect.height());
        widget_.show();
        widget_.repaint();
    }
    void hide() override { widget_.hide(); }

private:
    HintWidget widget_;
};

}  // namespace

QtTimerService::QtTimerService() = default;

QtTimerService::~QtTimerService() = default;

void QtTimerService::arm(TTimer& timer)
{
    auto qtTimer = std::make_unique<QTimer>();
    qtTimer->setInterval(timer.interval());
    QObject::connect(qtTimer.get(), &QTimer::timeout, [&timer] { timer.fire(); });
    qtTimer->start();
    timers_[&timer] = std::move(qtTimer);
}

void QtTimerService::disarm(TTimer& timer)
{
    const auto found = timers_.find(&timer);
    if (found == timers_.end()) return;
    // A timer disarmed from its own handler is still inside the QTimer's signal, so the QTimer
    // goes later; stopped now, it cannot fire for a timer that is gone by then.
    QTimer* qtTimer = found->second.release();
    qtTimer->stop();
    qtTimer->deleteLater();
    timers_.erase(found);
}

std::unique_ptr<HintDisplay> QtControlServices::createHintDisplay()
{
    return std::make_unique<QtHintDisplay>();
}

QtControlServices::~QtControlServices()
{
    if (hides_ > 0) QGuiApplication::restoreOverrideCursor();
}

TPoint QtControlServices::cursorPos() const
{
    const QPoint at = QCursor::pos();
    return {at.x(), at.y()};
}

void QtControlServices::showCursor(bool show)
{
    // Only the first hide and its last matching show touch Qt's override stack, and a show
    // without a hide is ignored, so that other override cursors are never popped by mistake.
    if (!show) {
        if (hides_++ == 0) QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    } else if (hides_ > 0 && --hides_ == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtControlServices::setCursorPos(TPoint screenPoint)
{
    QCursor::setPos(screenPoint.x, screenPoint.y);
}

}  // namespace trovelin
