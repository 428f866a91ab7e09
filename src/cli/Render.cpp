#include "cli/Render.h"

#include <ostream>

#include "framework/PngWriter.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"

namespace trovelin::cli {

void reportLoadProblems(const std::string& panelFile, const std::vector<LoaderEvent>& problems, std::ostream& errors)
{
    for (const LoaderEvent& problem : problems)
        errors << printableText(panelFile) << ": " << loaderEventKindName(problem.kind) << ": " << printableText(problem.text) << '\n';
}

int renderPanelToFile(const std::string& panelFile, const std::string& outputFile, std::ostream& errors,
                      std::uint64_t pixelBudgetBytes)
{
    const RenderedPanel panel = renderPanel(panelFile, pixelBudgetBytes);
    reportLoadProblems(panelFile, panel.problems, errors);
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
