#include "framework/Label.h"

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/WinControl.h"

namespace trovelin {

TLabel::TLabel(Component* owner) : TGraphicControl(owner)
{
    setCaptionFollowsName();
}

const ClassInfo& TLabel::staticClassInfo()
{
    using C = TLabel;
    namespace shared = controlProperties;
    static const EnumType layoutNames{"tlTop", "tlCenter", "tlBottom"};
    static const ClassInfo info{
        "TLabel",
        &TControl::staticClassInfo(),
        shared::table({
            {shared::align(), shared::alignment(&C::alignment, &C::setAlignment),
             shared::anchors(), published::boolean("AutoSize", &C::autoSize, &C::setAutoSize, true),
             shared::biDiMode(), shared::caption(), shared::color(), shared::constraints(), shared::dragCursor(),
             shared::dragKind(), shared::dragMode(), shared::enabled(),
             published::reference("FocusControl", TWinControl::staticClassInfo(), &C::focusControl,
                                  &C::setFocusControl),
             shared::font(),
             published::enumeration("Layout", layoutNames, &C::layout, &C::setLayout,
                                    std::optional(TTextLayout::tlTop)),
             shared::parentBiDiMode(), shared::parentColor(), shared::parentFont(), shared::parentShowHint(),
             shared::popupMenu(),
             published::boolean("ShowAccelChar", &C::showAccelChar, &C::setShowAccelChar, true),
             shared::showHint(), published::boolean("Transparent", &C::transparent, &C::setTransparent, false),
             shared::visible(), published::boolean("WordWrap", &C::wordWrap, &C::setWordWrap, false)},
            shared::mouseEvents(),
            shared::dragEvents(),
        }),
        &createComponent<TLabel>};
    return info;
}

void TLabel::setFocusControl(TWinControl* control)
{
    focusControl_ = control;
    if (control) freeNotification(control);
}

void TLabel::componentRemoved(Component* component)
{
    if (component == focusControl_) focusControl_ = nullptr;
    TGraphicControl::componentRemoved(component);
}

namespace {

std::string withoutAccelMarks(const std::string& caption)
{
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

}  // namespace

void TLabel::adjustBounds(TCanvas& canvas)
{
    if (!autoSize_) return;
    canvas.font().assign(font());
    const std::string text = showAccelChar_ ? withoutAccelMarks(caption()) : caption();
    // An empty caption still keeps a line's height, as the original's labels do.
    setWidth(canvas.textWidth(text));
    setHeight(canvas.textHeight(text.empty() ? std::string("0") : text));
}

void TLabel::paint(TCanvas& canvas)
{
    canvas.font().assign(font());
    if (transparent_) {
        canvas.brush().setStyle(TBrushStyle::bsClear);
    } else {
        canvas.brush().setStyle(TBrushStyle::bsSolid);
        canvas.brush().setColor(color());
        canvas.fillRect({0, 0, width(), height()});
        canvas.brush().setStyle(TBrushStyle::bsClear);
    }
    const std::string text = showAccelChar_ ? withoutAccelMarks(caption()) : caption();
    const int textWidth = canvas.textWidth(text);
    const int textHeight = canvas.textHeight(text);
    int x = 0;
    if (alignment_ == TAlignment::taRightJustify) x = width() - textWidth;
    if (alignment_ == TAlignment::taCenter) x = (width() - textWidth) / 2;
    int y = 0;
    if (layout_ == TTextLayout::tlBottom) y = height() - textHeight;
    if (layout_ == TTextLayout::tlCenter) y = (height() - textHeight) / 2;
    canvas.textRect({0, 0, width(), height()}, x, y, text);
}

}  // namespace trovelin
