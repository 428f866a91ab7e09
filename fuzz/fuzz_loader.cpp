// Whole panel files from arbitrary bytes through the loader: it either finishes or throws one of
// the system's exceptions, never holds a control afterwards, and keeps the list within bounds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "panelfile/RecordingLoaderHost.h"
#include "framework/WinControl.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static trovelin::RecordingLoaderHost window;
    static trovelin::PictureList pictures;
    trovelin::PanelLoader loader(window, pictures, trovelin::panelLoaderClasses());
    pictures.clear();
    trovelin::ByteViewStream stream({data, size});
    try {
        loader.loadPanel(stream);
    } catch (const trovelin::Exception&) {
    }
    window.takeEvents();
    if (!window.hostPanel().controls().empty() || window.owner().components().size() != 15) std::abort();
    if (pictures.count() < 0 || pictures.count() > trovelin::pictureListCapacity) std::abort();
    return 0;
}
