#pragma once
// `trovelin-cli render`: a panel file as its designer saw it, written as PNG. The painting is the
// panel window's own (gallery/PanelRender.h); this adds the file and the exit status.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "gallery/PanelRender.h"

namespace trovelin::cli {

// Writes each problem as a harvest does: "FILE: message: Format ERROR!!!".
void reportLoadProblems(const std::string& panelFile, const std::vector<LoaderEvent>& problems, std::ostream& errors);

// Renders `panelFile` and writes the image as PNG to `outputFile`; returns the exit status: 0, or
// 1 when the load stopped before the end of the file (what was read is still written) or the
// image could not be written.
int renderPanelToFile(const std::string& panelFile, const std::string& outputFile, std::ostream& errors,
                      std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());

}  // namespace trovelin::cli
