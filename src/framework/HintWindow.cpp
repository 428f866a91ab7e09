#include "framework/HintWindow.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include <QImage>

#include "framework/Canvas.h"
#include "framework/Control.h"
#include "framework/ControlHost.h"
#include "framework/ControlServices.h"

namespace trovelin {

namespace {

constexpr int frameWidth = 6;
constexpr int frameHeight = 2;

// Words put on lines greedily; a word wider than the limit keeps a line of its own.
std::vector<std::string> wrappedLines(TCanvas& canvas, int maxWidth, const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word) {
        const std::string longer = line.empty() ? word : line + ' ' + word;
        if (!line.empty() && canvas.textWidth(longer) > maxWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    lines.push_back(line);
    return lines;
}

}  // namespace

THintWindow::THintWindow(TControl& owner) : owner_(owner) {}

THintWindow::~THintWindow() = default;

TRect THintWindow::calcHintRect(int maxWidth, const std::string& text) const
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(scratch);
    canvas.font().assign(font_);
    const std::vector<std::string> lines = wrappedLines(canvas, maxWidth, text);
    int width = 0;
    for (const std::string& line : lines) width = std::max(width, canvas.textWidth(line));
    const int height = canvas.textHeight("Hg") * static_cast<int>(lines.size());
    return {0, 0, width + frameWidth, height + frameHeight};
}

void THintWindow::activateHint(const TRect& screenRect, const std::string& text)
{
    rect_ = screenRect;
    text_ = text;
    showing_ = true;
    if (!display_) {
        ControlHost* host = owner_.host();
        ControlServices* services = host != nullptr ? host->services() : nullptr;
        if (services != nullptr) display_ = services->createHintDisplay();
    }
    if (display_) display_->show(screenRect, text, font_, color_);
}

void THintWindow::releaseHandle()
{
    showing_ = false;
    if (display_) display_->hide();
}

}  // namespace trovelin
