#include "panelctl/Fieldxym.h"

#include <string>

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/ControlServices.h"
#include "framework/Timer.h"

namespace trovelin {

namespace {

constexpr int firstRepeatDelay = 500;
constexpr int repeatInterval = 100;
constexpr TColor arrowColor = 255;  // plain red

QImage blankBitmap(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void line(TCanvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.moveTo(x1, y1);
    canvas.lineTo(x2, y2);
}

// Arrow n (1 right, 2 left, 3 down, 4 up) on the outer margin of a field of `side` pixels.
void drawArrow(TCanvas& canvas, int n, int side, TColor color)
{
    const int h = side / 2;
    canvas.pen().setColor(color);
    switch (n) {
    case 1:
        line(canvas, side - 4, h - 6, side - 4, h + 6);
        line(canvas, side - 3, h - 3, side - 3, h + 3);
        break;
    case 2:
        line(canvas, 3, h - 6, 3, h + 6);
        line(canvas, 2, h - 3, 2, h + 3);
        break;
    case 3:
        line(canvas, h - 6, side - 4, h + 6, side - 4);
        line(canvas, h - 3, side - 3, h + 3, side - 3);
        break;
    case 4:
        line(canvas, h - 6, 3, h + 6, 3);
        line(canvas, h - 3, 2, h + 3, 2);
        break;
    default: break;
    }
}

}  // namespace

TFieldXY::TFieldXY(Component* owner)
    : TGraphicControl(owner), color_(clBtnFace), lastColor_(clBtnFace),
      ball_(blankBitmap(fieldBallSide, fieldBallSide))
{
    setCursor(crCross);
    setWidth(fieldSide(1));
    setHeight(fieldSide(1));
}

TFieldXY::~TFieldXY()
{
    if (pointerHidden_) showPointer();
}

const ClassInfo& TFieldXY::staticClassInfo()
{
    using C = TFieldXY;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TFieldXY",
        &TControl::staticClassInfo(),
        {
            published::boolean("TwoSize", &C::twoSize, &C::setTwoSize, false),
            published::boolean("M16bit", &C::m16bit, &C::set16bit, false),
            published::integer("PositionX", &C::getX, &C::setX, 0),
            published::integer("PositionY", &C::getY, &C::setY, 0),
            published::integer("FineX", &C::getFineX, &C::setFineX, 0),
            published::integer("FineY", &C::getFineY, &C::setFineY, 0),
            published::integer("Delta", &C::delta, &C::setDelta, 256),
            published::integer("Color", &C::color, &C::setColor, clBtnFace, &colorConstants()),
            published::event("OnChange", &C::onChange),
            published::boolean("Inverted", &C::inverted, &C::setInverted, false),
            shared::showHint(),
            shared::visible(),
        },
        &createComponent<TFieldXY>};
    return info;
}

void TFieldXY::setTwoSize(bool value)
{
    twoSize_ = value;
    scale_ = value ? 2 : 1;
    set16bit(m16bit_);
}

void TFieldXY::set16bit(bool value)
{
    m16bit_ = value;
    setWidth(side());
    if (m16bit_) {
        setHeight(side() + fieldDeltaBarHeight);
    } else {
        setHeight(side());
        delta_ = 256;
    }
    // What was painted does not fit a new size: nothing is drawn over it until a paint.
    if (paintedSize_ != TPoint{side(), backgroundHeight()}) painted_ = false;
    repaint();
}

void TFieldXY::setInverted(bool value)
{
    if (value == inverted_) return;
    inverted_ = value;
    repaint();
}

void TFieldXY::setX(std::int32_t value)
{
    const int x = stored(value);
    if (x != x_) setPosition(x, y_);
}

void TFieldXY::setY(std::int32_t value)
{
    const int y = stored(value);
    if (y != y_) setPosition(x_, y);
}

void TFieldXY::setPosition(int x, int y)
{
    if (x == x_ && y == y_) return;
    const TRect old = fieldBallBox(x_, y_, scale_);
    x_ = limitCoordinate(x);
    y_ = limitCoordinate(y);
    buildBall(dragging_);
    if (!painted_) return;
    drawOnCanvas([&](TCanvas& canvas) {
        PaintBuffer under;
        drawBackground(canvas, under, old);
        if (under.held()) canvas.copyRect(under.part(), PaintBufferCanvas(under), under.part());
        drawBall(canvas);
    });
}

void TFieldXY::setDelta(std::int32_t value)
{
    if (!m16bit_) {
        delta_ = 256;
        return;
    }
    delta_ = value;
    // Before the first paint there is no bar to update, and drawing its text would need fonts,
    // which a load without a screen does not have: the paint draws the bar from the stored delta.
    if (!painted_) return;
    drawOnCanvas([&](TCanvas& canvas) {
        PaintBuffer bar;
        drawBackground(canvas, bar, shownPart(canvas, {0, side(), side(), side() + fieldDeltaBarHeight}));
        if (bar.held()) canvas.copyRect(bar.part(), PaintBufferCanvas(bar), bar.part());
    });
}

void TFieldXY::setColor(TColor value)
{
    if (value == lastColor_) return;
    lastColor_ = value;
    color_ = value;
    {
        TCanvas canvas(ball_);
        canvas.pen().setColor(clWindowText);
        canvas.brush().setColor(color_);
        canvas.ellipse(0, 0, fieldBallSide / scale_, fieldBallSide / scale_);
    }
    if (painted_) drawOnCanvas([&](TCanvas& canvas) { drawBall(canvas); });
}

void TFieldXY::drawDir(int direction)
{
    if (direction == arrow_) return;
    drawOnCanvas([&](TCanvas& canvas) {
        drawArrow(canvas, arrow_, side(), clBtnShadow);
        drawArrow(canvas, direction, side(), arrowColor);
    });
    arrow_ = direction;
}

void TFieldXY::drawBackground(const TCanvas& on, PaintBuffer& buffer, const TRect& part)
{
    buffer.hold(on, part);
    if (!buffer.held()) return;
    // A blank background starts white.
    buffer.image().fill(Qt::white);
    PaintBufferCanvas canvas(buffer);
    paintBackground(canvas);
    // The bar's text needs fonts: it is drawn only where the bar shows.
    if (m16bit_ && part.bottom > side()) paintDeltaBar(canvas);
}

void TFieldXY::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    paintedSize_ = {side(), backgroundHeight()};
    PaintBuffer background;
    drawBackground(canvas, background, shownPart(canvas, {0, 0, side(), backgroundHeight()}));
    buildBall(false);
    if (background.held()) canvas.copyRect(background.part(), PaintBufferCanvas(background), background.part());
    drawBall(canvas);
    painted_ = true;
}

void TFieldXY::paintBackground(TCanvas& canvas)
{
    const int s = scale_;
    const int S = side();
    canvas.pen().setColor(clWindowText);
    canvas.brush().setColor(clBtnShadow);
    canvas.rectangle(0, 0, S, S);
    canvas.pen().setColor(clWindow);
    canvas.moveTo(0, S - 1);
    canvas.lineTo(S - 1, S - 1);
    canvas.lineTo(S - 1, 0);

    canvas.pen().setColor(clWindowText);
    canvas.brush().setColor(clWindow);
    canvas.rectangle(10 / s, 10 / s, 266 / s, 266 / s);
    canvas.pen().setColor(cl3DLight);
    canvas.moveTo(10 / s, 266 / s);
    canvas.lineTo(10 / s, 10 / s);
    canvas.lineTo(266 / s, 10 / s);

    const auto gridLines = [&](int a) {
        line(canvas, a / s, 10 / s + 1, a / s, 264 / s + 1);
        line(canvas, 10 / s + 1, a / s, 264 / s + 1, a / s);
    };
    canvas.pen().setColor(clInactiveCaption);
    for (int a = 26; a <= 250; a += 16) gridLines(a);
    canvas.pen().setColor(clWindowText);
    gridLines(138);
}

void TFieldXY::paintDeltaBar(TCanvas& canvas)
{
    const int s = scale_;
    const int S = side();
    canvas.pen().setColor(clWindowText);
    canvas.brush().setColor(clBtnFace);
    canvas.rectangle(0, S, S, S + fieldDeltaBarHeight);
    canvas.pen().setColor(clWindow);
    canvas.moveTo(0, S + 11);
    canvas.lineTo(S - 1, S + 11);
    canvas.lineTo(S - 1, S);

    const int barEnd = 10 / s + 2304 / s / 10;
    canvas.brush().setColor(clWindowText);
    canvas.fillRect({10 / s, S + 2, barEnd, S + 10});
    const int cell = deltaCell(delta_);
    canvas.brush().setColor(clWindow);
    canvas.fillRect({deltaCellLeft(cell, s), S + 2, deltaCellRight(cell, s), S + 10});

    canvas.pen().setColor(clWindowText);
    canvas.brush().setColor(clWindowText);
    const TPoint triangle[] = {{2, S + 9}, {8, S + 9}, {5, S + 2}};
    canvas.polygon(triangle);

    canvas.pen().setColor(clBtnFace);
    for (int i = 0; i < 8; ++i) {
        const int x = deltaCellRight(i, s);
        line(canvas, x, S + 2, x, S + 10);
    }
    canvas.font().setName("Small Fonts");
    canvas.font().setSize(6);
    canvas.brush().setColor(clBtnFace);
    canvas.textOut(barEnd + 2, S + 1, std::to_string(delta_));
}

void TFieldXY::buildBall(bool cross)
{
    const TRect box = fieldBallBox(x_, y_, scale_);
    const int d = fieldBallSide / scale_;
    // The field under the ball's box, which lies within the field's lines: no text, so no fonts
    // while a load sets the position.
    {
        QPainter painter(&ball_);
        painter.fillRect(0, 0, box.width(), box.height(), Qt::white);
        painter.translate(-box.left, -box.top);
        painter.setClipRect(box.left, box.top, box.width(), box.height());
        TCanvas under(painter);
        paintBackground(under);
    }
    TCanvas canvas(ball_);
    canvas.pen().setColor(clWindowText);
    canvas.brush().setColor(color_);
    canvas.ellipse(0, 0, d, d);
    if (!cross) return;
    line(canvas, 0, d / 2, d, d / 2);
    line(canvas, d / 2, 0, d / 2, d);
}

void TFieldXY::drawBall(TCanvas& canvas)
{
    const TRect box = fieldBallBox(x_, y_, scale_);
    canvas.copyRect(box, TCanvas(ball_), {0, 0, box.width(), box.height()});
}

void TFieldXY::drawReadouts(const std::string& x, const std::string& y)
{
    drawOnCanvas([&](TCanvas& canvas) {
        canvas.font().setName("Small Fonts");
        canvas.font().setSize(7);
        canvas.font().setColor(clWindowText);
        canvas.brush().setColor(clWhite);
        canvas.textOut(132, 11, x);
        canvas.textOut(11, 134, y);
    });
}

TPoint TFieldXY::screenBallCentre() const
{
    return clientToScreen(fieldBallCentre(x_, y_, scale_));
}

void TFieldXY::mouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) {
        if (m16bit_ && y > side()) {
            const std::optional<int> index = deltaIndexAt(x, scale_);
            if (index && deltaForIndex(*index) != delta_) setDelta(deltaForIndex(*index));
            return;
        }
        leftDown(shift, x, y);
        return;
    }
    if (button != TMouseButton::mbRight) return;
    step(x, y);
    if (repeatTimer_ || services() == nullptr) return;
    repeatTimer_ = std::make_unique<TTimer>(services()->timers());
    repeatTimer_->setInterval(firstRepeatDelay);
    repeatTimer_->onTimer = [this] { onTimer(); };
    repeatTimer_->setEnabled(true);
}

void TFieldXY::leftDown(TShiftState shift, int x, int y)
{
    dragging_ = true;
    const bool shiftHeld = (shift & ssShift) != 0;
    const bool ctrlHeld = (shift & ssCtrl) != 0;
    ControlServices* desktop = services();
    const TPoint centre = fieldBallCentre(x_, y_, scale_);
    if (shiftHeld && ctrlHeld) {
        if (desktop != nullptr) desktop->setCursorPos(clientToScreen(centre));
    } else {
        const int tx = limitCoordinate(fieldCoordinateAt(x, scale_));
        const int ty = limitCoordinate(fieldCoordinateAt(y, scale_));
        if (shiftHeld) {
            if (desktop != nullptr) desktop->setCursorPos(clientToScreen({centre.x + 1, y}));
            setPosition(x_, ty);
        } else if (ctrlHeld) {
            if (desktop != nullptr) desktop->setCursorPos(clientToScreen({x, centre.y + 1}));
            setPosition(tx, y_);
        } else {
            setPosition(tx, ty);
        }
        fineX_ = 0;
        fineY_ = 0;
        change();
    }
    hidePointer();
}

void TFieldXY::step(int x, int y)
{
    const int direction = stepDirection(fieldCoordinateAt(x, scale_), fieldCoordinateAt(y, scale_), x_, y_);
    const bool up = direction == 1 || direction == 3;
    if (direction <= 2) {
        const FieldAxis moved = stepAxis({x_, fineX_}, up, delta_, m16bit_);
        fineX_ = moved.fine;
        setPosition(moved.coarse, y_);
    } else {
        const FieldAxis moved = stepAxis({y_, fineY_}, up, delta_, m16bit_);
        fineY_ = moved.fine;
        setPosition(x_, moved.coarse);
    }
    change();
}

void TFieldXY::mouseMove(TShiftState shift, int x, int y)
{
    if (m16bit_ && y > side()) {
        setCursor(crDefault);
        return;
    }
    setCursor(crCross);
    if (dragging_) {
        dragTo(shift, x, y);
        return;
    }
    const int c = limitCoordinate(fieldCoordinateAt(x, scale_));
    const int d = limitCoordinate(fieldCoordinateAt(y, scale_));
    if (scale_ == 1) drawReadouts(hoverReadout(c, m16bit_), hoverReadout(d, m16bit_));
    drawDir(stepDirection(c, d, x_, y_));
}

void TFieldXY::dragTo(TShiftState shift, int x, int y)
{
    ControlServices* desktop = services();
    // The move that pulling the pointer back onto the ball causes.
    if (desktop != nullptr && desktop->cursorPos() == screenBallCentre()) return;
    const bool shiftHeld = (shift & ssShift) != 0;
    const bool ctrlHeld = (shift & ssCtrl) != 0;
    int newX = x_;
    int newY = y_;
    if (!(shiftHeld && ctrlHeld)) {
        const TPoint centre = fieldBallCentre(x_, y_, scale_);
        if (!shiftHeld) {
            const FieldAxis moved = dragAxis({x_, fineX_}, std::int64_t{x - centre.x} * delta_);
            newX = moved.coarse;
            fineX_ = moved.fine;
        }
        if (!ctrlHeld) {
            const FieldAxis moved = dragAxis({y_, fineY_}, std::int64_t{y - centre.y} * delta_);
            newY = moved.coarse;
            fineY_ = moved.fine;
        }
    }
    setPosition(newX, newY);
    if (desktop != nullptr) desktop->setCursorPos(screenBallCentre());
    if (scale_ == 1) drawReadouts(dragReadout(x_, fineX_, m16bit_), dragReadout(y_, fineY_, m16bit_));
    change();
}

void TFieldXY::mouseUp(TMouseButton button, TShiftState, int, int)
{
    stopRepeating();
    if (button == TMouseButton::mbLeft && dragging_) {
        dragging_ = false;
        showPointer();
        // Moving the ball away and back draws it again without the cross.
        const int x = x_;
        setPosition(x - 1, y_);
        setPosition(x, y_);
    }
    drawDir(0);
}

void TFieldXY::hidePointer()
{
    // A second press without a release between must not hide it twice: one release shows it.
    ControlServices* desktop = services();
    if (pointerHidden_ || desktop == nullptr) return;
    desktop->showCursor(false);
    pointerHidden_ = true;
}

void TFieldXY::showPointer()
{
    ControlServices* desktop = services();
    if (!pointerHidden_ || desktop == nullptr) return;
    desktop->showCursor(true);
    pointerHidden_ = false;
}

void TFieldXY::onTimer()
{
    repeatTimer_->setInterval(repeatInterval);
    const ControlServices* desktop = services();
    if (desktop == nullptr) return;
    const TPoint pointer = screenToClient(desktop->cursorPos());
    mouseDown(TMouseButton::mbRight, 0, pointer.x, pointer.y);
}

void TFieldXY::change()
{
    if (onChangeHandler) onChangeHandler(*this);
}

void TFieldXY::stopRepeating() { repeatTimer_.reset(); }

}  // namespace trovelin
