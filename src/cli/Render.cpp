#include "cli/Render.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include <QPainter>

#include "cli/HeadlessMainWindow.h"
#include "framework/Canvas.h"
#include "framework/Label.h"
#include "framework/PaintTree.h"
#include "framework/PngWriter.h"
#include "framework/WinControl.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"

namespace trovelin::cli {

namespace {

// A record the loader skipped, as far as its text could be read.
struct SkippedRecord {
    std::string className;
    std::string name;
    TRect bounds;
};

int integerProperty(const RecordNode& node, std::string_view property)
{
    for (const auto& [name, value] : node.properties) {
        int result = 0;
        if (name == property && std::from_chars(value.data(), value.data() + value.size(), result).ec == std::errc())
            return result;
    }
    return 0;
}

SkippedRecord readSkippedRecord(Stream& stream, std::int64_t start, std::int64_t end)
{
    const std::int64_t after = stream.position();
    stream.setPosition(start);
    RecordNode node;
    try {
        SubStream record(stream, end - start);
        readRecordTree(record, node);
    } catch (const std::exception&) {
        // What was read before the failure still names and places the record.
    }
    stream.setPosition(after);
    const int left = integerProperty(node, "Left");
    const int top = integerProperty(node, "Top");
    return {node.className, node.name,
            {left, top, left + std::max(integerProperty(node, "Width"), 0),
             top + std::max(integerProperty(node, "Height"), 0)}};
}

// Labels that size themselves to their caption do so once they are shown.
void showLabelsAtTheirSize(TControl& control)
{
    if (auto* label = dynamic_cast<TLabel*>(&control)) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        TCanvas canvas(scratch);
        label->adjustBounds(canvas);
    }
    if (const auto* container = dynamic_cast<const TWinControl*>(&control))
        for (TControl* child : container->controls()) showLabelsAtTheirSize(*child);
}

TRect boundsOf(const TControl& control)
{
    return {control.left(), control.top(), control.left() + std::max(control.width(), 0),
            control.top() + std::max(control.height(), 0)};
}

void paintOutline(QImage& image, const SkippedRecord& record)
{
    QPainter painter(&image);
    TCanvas canvas(painter);
    canvas.brush().setStyle(TBrushStyle::bsClear);
    canvas.pen().setColor(clWindowText);
    canvas.pen().setStyle(TPenStyle::psDot);
    canvas.rectangle(record.bounds);
    canvas.font().setName("Small Fonts");
    canvas.font().setSize(7);
    canvas.textRect({record.bounds.left + 1, record.bounds.top + 1, record.bounds.right - 1, record.bounds.bottom - 1},
                    record.bounds.left + 2, record.bounds.top + 1, record.className + " " + record.name);
}

QSize renderedSize(const TRect& extent)
{
    const int width = std::min(extent.right, maxRenderedSide), height = std::min(extent.bottom, maxRenderedSide);
    const std::int64_t area = std::int64_t{width} * height;
    if (area <= maxRenderedPixels) return {width, height};
    const double scale = std::sqrt(static_cast<double>(maxRenderedPixels) / static_cast<double>(area));
    return {std::max(1, static_cast<int>(width * scale)), std::max(1, static_cast<int>(height * scale))};
}

class PanelRenderer {
public:
    PanelRenderer(const std::string& file, std::uint64_t pixelBudgetBytes) : file_(file), pictures_(pixelBudgetBytes) {}

    RenderedPanel render()
    {
        RenderedPanel result;
        // First the extent of everything the file places, then the painting itself.
        TRect extent{0, 0, 1, 1};
        auto grow = [&extent](const TRect& bounds) {
            extent.right = std::max(extent.right, bounds.right);
            extent.bottom = std::max(extent.bottom, bounds.bottom);
        };
        loader_.setObserver({[&grow](TControl& control) {
                                 showLabelsAtTheirSize(control);
                                 grow(boundsOf(control));
                             },
                             [&grow](Stream& stream, std::int64_t start, std::int64_t end) {
                                 grow(readSkippedRecord(stream, start, end).bounds);
                             }});
        load(result);
        if (!loaderReadHeader()) {
            for (const LoaderEvent& event : window_.takeEvents()) result.problems.push_back(event.text);
            result.failed = true;
            return result;
        }
        window_.takeEvents();

        result.image = QImage(renderedSize(extent), QImage::Format_RGB32);
        {
            TCanvas background(result.image);
            background.brush().setColor(clBtnFace);
            background.fillRect({0, 0, result.image.width(), result.image.height()});
        }
        loader_.setObserver({[&result](TControl& control) {
                                 showLabelsAtTheirSize(control);
                                 paintControlTree(result.image, control, {control.left(), control.top()});
                             },
                             [&result](Stream& stream, std::int64_t start, std::int64_t end) {
                                 paintOutline(result.image, readSkippedRecord(stream, start, end));
                             }});
        result.problems.clear();
        result.failed = !load(result);
        for (const LoaderEvent& event : window_.takeEvents()) result.problems.push_back(event.text);
        return result;
    }

private:
    // False when the load threw; its message goes to the problems.
    bool load(RenderedPanel& result)
    {
        try {
            loader_.LoadForm(file_, true);
            return true;
        } catch (const Exception& error) {
            result.problems.push_back(error.messageWithReason());
        } catch (const std::exception& error) {
            result.problems.push_back(error.what());
        }
        return false;
    }
    bool loaderReadHeader() const { return loader_.panelHeader().has_value(); }

    std::string file_;
    HeadlessMainWindow window_;
    PictureList pictures_;
    PanelLoader loader_{window_, pictures_, panelLoaderClasses()};
};

}  // namespace

RenderedPanel renderPanel(const std::string& panelFile, std::uint64_t pixelBudgetBytes)
{
    return PanelRenderer(panelFile, pixelBudgetBytes).render();
}

int renderPanelToFile(const std::string& panelFile, const std::string& outputFile, std::ostream& errors,
                      std::uint64_t pixelBudgetBytes)
{
    const RenderedPanel panel = renderPanel(panelFile, pixelBudgetBytes);
    for (const std::string& problem : panel.problems)
        errors << printableText(panelFile) << ": " << printableText(problem) << '\n';
    if (panel.image.isNull()) return 1;
    try {
        writePng(panel.image, outputFile);
    } catch (const Exception& error) {
        errors << printableText(error.message()) << '\n';
        return 1;
    }
    return panel.failed ? 1 : 0;
}

}  // namespace trovelin::cli
