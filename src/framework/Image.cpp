#include "framework/Image.h"

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "streaming/Bitmap.h"
#include "streaming/Errors.h"

namespace trovelin {

const ClassInfo& TImage::staticClassInfo()
{
    using C = TImage;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TImage",
        &TControl::staticClassInfo(),
        shared::table({
            {shared::align(), shared::anchors(),
             published::boolean("AutoSize", &C::autoSize, &C::setAutoSize, false),
             published::boolean("Center", &C::center, &C::setCenter, false), shared::constraints(),
             shared::dragCursor(), shared::dragKind(), shared::dragMode(), shared::enabled(),
             published::boolean("IncrementalDisplay", &C::incrementalDisplay, &C::setIncrementalDisplay, false),
             shared::parentShowHint(),
             published::object("Picture", TPicture::staticClassInfo(), &C::picture, &C::assignPicture),
             shared::popupMenu(), shared::showHint(),
             published::boolean("Stretch", &C::stretch, &C::setStretch, false),
             published::boolean("Transparent", &C::transparent, &C::setTransparent, false), shared::visible()},
            shared::mouseEvents(),
            shared::dragEvents(),
            {published::event("OnProgress", &C::onProgress)},
        }),
        &createComponent<TImage>};
    return info;
}

void TImage::assignPicture(const Persistent* other)
{
    if (other && !dynamic_cast<const TPicture*>(other)) throw EReadError(messages::invalidPropertyValue);
    picture_.assign(static_cast<const TPicture*>(other));
}

void TImage::paint(TCanvas& canvas)
{
    const auto* bitmap = dynamic_cast<const TBitmap*>(picture_.graphic());
    if (bitmap == nullptr || bitmap->empty()) return;
    if (stretch_)
        canvas.stretchDraw({0, 0, width(), height()}, *bitmap);
    else if (center_)
        canvas.draw((width() - bitmap->width()) / 2, (height() - bitmap->height()) / 2, *bitmap);
    else
        canvas.draw(0, 0, *bitmap);
}

}  // namespace trovelin
