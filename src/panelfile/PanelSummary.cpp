#include "panelfile/PanelSummary.h"

#include <exception>

#include "panelfile/Loader.h"
#include "panelfile/LoaderHost.h"
#include "panelfile/MainWindowComponents.h"
#include "panelfile/PictureList.h"
#include "platform/UnsharedFile.h"

namespace trovelin {

namespace {

class SummaryHost : public LoaderHost {
public:
    Component& owner() override { return components_.window(); }
    TWinControl& hostPanel() override { return components_.panelPapa(); }
    ReaderEnvironment readerEnvironment() override { return components_.readerEnvironment(); }
    void setStatusText(const std::string&) override {}
    void repaintPictureGrid() override {}
    void showMessage(const std::string& text) override
    {
        if (problem.empty()) problem = text;
    }

    std::string problem;

private:
    MainWindowComponents components_;
};

}  // namespace

std::optional<PanelSummary> summarizePanelFile(const std::string& path, LoaderClassTable classes)
{
    std::unique_ptr<FileStream> file;
    try {
        file = openUnshared(path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    SummaryHost host;
    PictureList pictures;
    PanelLoader loader(host, pictures, std::move(classes));
    try {
        loader.loadPanel(*file);
    } catch (const std::exception& error) {
        if (host.problem.empty()) host.problem = error.what();
    }
    if (!loader.panelHeader()) return std::nullopt;
    PanelSummary summary{*loader.panelHeader(), {}, std::move(host.problem)};
    for (int i = 0; i < pictures.count(); ++i) summary.pictures.push_back({pictures.at(i).width(), pictures.at(i).height()});
    return summary;
}

}  // namespace trovelin
