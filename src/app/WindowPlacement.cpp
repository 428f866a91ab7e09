#include "app/WindowPlacement.h"

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace trovelin {

namespace {

QRect availableAreaOf(const QScreen* screen)
{
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? QRect() : screen->availableGeometry();
}

bool frameKnown(const QWidget& window)
{
    return window.frameGeometry() != window.geometry();
}

// Sets the frame of `window` to `frame`, keeping its window manager's borders around the client
// area. Before the window manager has framed the window its borders are unknown: the position
// then goes to the frame (a client area put at the top would have its title bar above the
// screen), and the window is fitted again once its borders are known.
void setFrameGeometry(QWidget& window, const QRect& frame)
{
    if (!frameKnown(window)) {
        window.resize(frame.size());
        window.move(frame.topLeft());
        return;
    }
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    window.setGeometry(frame.adjusted(inner.left() - outer.left(), inner.top() - outer.top(),
                                      inner.right() - outer.right(), inner.bottom() - outer.bottom()));
}

void fitFrame(QWidget& window, QRect frame, const QRect& available)
{
    if (available.isEmpty()) return;
    setFrameGeometry(window, fittedInside(frame, available));
}

void fitOnItsScreen(QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    fitFrame(window, frame, availableAreaOf(screen != nullptr ? screen : window.screen()));
}

// Fits its window again whenever the program shows it, and once more when the window manager's
// borders first become known after that; shows that the window system makes (a window restored)
// keep the window's place, and so do the user's own moves.
class ScreenKeeper : public QObject {
public:
    explicit ScreenKeeper(QWidget& window) : QObject(&window), window_(window) { window.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &window_) return false;
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            fitOnItsScreen(window_);
            awaitingFrame_ = !frameKnown(window_);
        } else if (awaitingFrame_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
                   frameKnown(window_)) {
            awaitingFrame_ = false;
            fitOnItsScreen(window_);
        }
        return false;
    }

private:
    QWidget& window_;
    bool awaitingFrame_ = false;
};

}  // namespace

QRect fittedInside(QRect frame, const QRect& available)
{
    frame.setSize(frame.size().boundedTo(available.size()));
    frame.moveLeft(std::clamp(frame.left(), available.left(), available.left() + available.width() - frame.width()));
    frame.moveTop(std::clamp(frame.top(), available.top(), available.top() + available.height() - frame.height()));
    return frame;
}

void keepOnScreen(QWidget& window)
{
    fitOnItsScreen(window);
    new ScreenKeeper(window);
}

void placeNear(QWidget& window, const QWidget& anchor)
{
    const QWidget& anchorWindow = *anchor.window();
    QRect frame = window.frameGeometry();
    frame.moveCenter(anchorWindow.frameGeometry().center());
    fitFrame(window, frame, availableAreaOf(anchorWindow.screen()));
}

}  // namespace trovelin
