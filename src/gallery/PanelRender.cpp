#include "gallery/PanelRender.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "framework/Canvas.h"
#include "framework/Label.h"
#include "framework/PaintTree.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/LoaderHost.h"
#include "panelfile/MainWindowComponents.h"
#include "streaming/Errors.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {

// The main window as the loader sees it, noting what the loader shows. Controls are read under
// its hidden host panel, one at a time, as in a harvest, and only then move onto the face.
class FaceLoaderHost : public LoaderHost {
public:
    explicit FaceLoaderHost(std::vector<LoadProblem>& problems) : problems_(problems) {}
    Component& owner() override { return components_.window(); }
    TWinControl& hostPanel() override { return components_.panelPapa(); }
    ReaderEnvironment readerEnvironment() override { return components_.readerEnvironment(); }
    void setStatusText(const std::string& text) override { problems_.push_back({"status", text}); }
    void repaintPictureGrid() override {}
    void showMessage(const std::string& text) override { problems_.push_back({"message", text}); }

private:
    MainWindowComponents components_;
    std::vector<LoadProblem>& problems_;
};

// A record the loader skipped, as far as its text could be read: a dotted outline with the
// record's class and name.
class SkippedRecordOutline : public TGraphicControl {
public:
    explicit SkippedRecordOutline(std::string text) : TGraphicControl(nullptr), text_(std::move(text)) {}

    void paint(TCanvas& canvas) override
    {
        const TRect bounds{0, 0, width(), height()};
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.pen().setColor(clWindowText);
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.rectangle(bounds);
        canvas.font().setName("Small Fonts");
        canvas.font().setSize(7);
        canvas.textRect({bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1}, bounds.left + 2,
                        bounds.top + 1, text_);
    }

private:
    std::string text_;
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

// The record's pictures, which the outline does not show, are still decoded within `budget`.
std::unique_ptr<TControl> outlineOfSkippedRecord(Stream& stream, std::int64_t start, std::int64_t end,
                                                 PixelBudget& budget)
{
    const std::int64_t after = stream.position();
    stream.setPosition(start);
    RecordNode node;
    try {
        SubStream record(stream, end - start);
        record.setPixelBudget(&budget);
        readRecordTree(record, node);
    } catch (const std::exception&) {
        // What was read before the failure still names and places the record.
    }
    stream.setPosition(after);
    auto outline = std::make_unique<SkippedRecordOutline>(node.className + " " + node.name);
    outline->setLeft(integerProperty(node, "Left"));
    outline->setTop(integerProperty(node, "Top"));
    outline->setWidth(std::max(integerProperty(node, "Width"), 0));
    outline->setHeight(std::max(integerProperty(node, "Height"), 0));
    return outline;
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

// The extent of everything placed, cut to the limits.
QSize faceSize(const std::vector<std::unique_ptr<TControl>>& controls)
{
    std::int64_t right = 1, bottom = 1;
    for (const auto& control : controls) {
        right = std::max<std::int64_t>(right, std::int64_t{control->left()} + std::max(control->width(), 0));
        bottom = std::max<std::int64_t>(bottom, std::int64_t{control->top()} + std::max(control->height(), 0));
    }
    const int width = static_cast<int>(std::min<std::int64_t>(right, maxRenderedSide));
    const int height = static_cast<int>(std::min<std::int64_t>(bottom, maxRenderedSide));
    const std::int64_t area = std::int64_t{width} * height;
    if (area <= maxRenderedPixels) return {width, height};
    const double scale = std::sqrt(static_cast<double>(maxRenderedPixels) / static_cast<double>(area));
    return {std::max(1, static_cast<int>(width * scale)), std::max(1, static_cast<int>(height * scale))};
}

}  // namespace

PanelFace::PanelFace() : TWinControl(nullptr)
{
    setColor(clBtnFace);
}

void PanelFace::paint(TCanvas& canvas)
{
    canvas.brush().setColor(color());
    canvas.fillRect({0, 0, width(), height()});
}

LoadedPanel::LoadedPanel(const std::string& panelFile, std::uint64_t pixelBudgetBytes)
    : face_(std::make_unique<PanelFace>())
{
    FaceLoaderHost host(problems_);
    PictureList pictures(pixelBudgetBytes);
    PanelLoader loader(host, pictures, panelLoaderClasses());
    loader.setObserver({[](TControl& control) { showLabelsAtTheirSize(control); },
                        [this, &pictures](Stream& stream, std::int64_t start, std::int64_t end) {
                            controls_.push_back(outlineOfSkippedRecord(stream, start, end, pictures.pixelBudget()));
                            controls_.back()->setParent(face_.get());
                        },
                        [this](std::unique_ptr<TControl> control) {
                            control->setParent(face_.get());
                            controls_.push_back(std::move(control));
                        }});
    try {
        loader.LoadForm(panelFile, true);
    } catch (const Exception& error) {
        problems_.push_back({"error", error.messageWithReason()});
    } catch (const std::exception& error) {
        problems_.push_back({"error", error.what()});
    }
    failed_ = !loader.reachedEnd();
    isPanel_ = loader.panelHeader().has_value();
    const QSize size = faceSize(controls_);
    face_->setWidth(size.width());
    face_->setHeight(size.height());
}

LoadedPanel::~LoadedPanel() = default;

QImage LoadedPanel::paint()
{
    if (!isPanel_) return {};
    QImage image(face_->width(), face_->height(), QImage::Format_RGB32);
    paintControlTree(image, *face_, paintBudget_);
    return image;
}

RenderedPanel renderPanel(const std::string& panelFile, std::uint64_t pixelBudgetBytes)
{
    LoadedPanel panel(panelFile, pixelBudgetBytes);
    return {panel.paint(), panel.problems(), panel.failed() || !panel.isPanel()};
}

}  // namespace trovelin
