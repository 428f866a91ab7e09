#include "gallery/WidgetShot.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "framework/ControlInput.h"
#include "framework/PngWriter.h"
#include "gallery/GalleryForm.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"

namespace trovelin {
namespace {

// No side of a painted widget is larger than this.
constexpr int maxShotSide = 4096;

std::optional<TPoint> point(const std::string& text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    TPoint p;
    const char* end = text.data() + text.size();
    const auto x = std::from_chars(text.data(), text.data() + comma, p.x);
    const auto y = std::from_chars(text.data() + comma + 1, end, p.y);
    if (x.ec != std::errc() || x.ptr != text.data() + comma || y.ec != std::errc() || y.ptr != end) return std::nullopt;
    return p;
}

}  // namespace

std::optional<WidgetShotRequest> parseWidgetArguments(const std::vector<std::string>& arguments)
{
    WidgetShotRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--out" && hasValue) {
            request.output = arguments[++i];
        } else if ((argument == "--hover" || argument == "--press") && hasValue) {
            const auto at = point(arguments[++i]);
            if (!at) return std::nullopt;
            (argument == "--hover" ? request.hover : request.press) = at;
        } else if (argument == "--focus") {
            request.focus = true;
        } else if (argument.starts_with("-")) {
            return std::nullopt;
        } else if (request.className.empty()) {
            request.className = argument;
        } else {
            const std::size_t equals = argument.find('=');
            if (equals == std::string::npos || equals == 0) return std::nullopt;
            std::string name = argument.substr(0, equals);
            // A string list is stored under its defined property, as the dump shows it.
            if (name == "Items") name = "Items.Strings";
            request.properties.emplace_back(std::move(name), argument.substr(equals + 1));
        }
    }
    if (request.className.empty() || request.output.empty()) return std::nullopt;
    return request;
}

std::unique_ptr<TGalleryForm> buildWidgetForm(const WidgetShotRequest& request)
{
    RecordNode layout;
    layout.className = "TGalleryForm";
    layout.name = "Parent";
    RecordNode widget;
    widget.className = request.className;
    widget.name = "Widget";
    widget.properties = request.properties;
    layout.children.push_back(std::move(widget));
    auto form = buildGalleryForm(layout);
    if (form->controls().empty()) throw EReadError(messages::invalidStreamFormat);
    return form;
}

QImage paintWidget(const WidgetShotRequest& request)
{
    const auto form = buildWidgetForm(request);
    TControl* shown = form->controls().front();

    shown->setLeft(0);
    shown->setTop(0);
    form->setWidth(std::clamp(shown->width(), 1, maxShotSide));
    form->setHeight(std::clamp(shown->height(), 1, maxShotSide));
    ControlInput input(*form);
    if (request.hover) {
        input.pointerEntered(*request.hover);
        input.mouseMove(0, *request.hover);
    }
    if (request.press) input.mouseDown(TMouseButton::mbLeft, ssLeft, *request.press);
    if (request.focus)
        if (auto* windowed = dynamic_cast<TWinControl*>(shown)) windowed->setFocus();
    return paintGalleryForm(*form);
}

int paintWidgetToFile(const WidgetShotRequest& request, std::ostream& errors)
{
    QImage image;
    try {
        image = paintWidget(request);
    } catch (const Exception& error) {
        errors << printableText(error.message()) << '\n';
        return 2;
    }
    try {
        writePng(image, request.output);
    } catch (const Exception& error) {
        errors << printableText(error.message()) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace trovelin
