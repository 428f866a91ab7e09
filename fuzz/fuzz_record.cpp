// Component records from arbitrary bytes, read into the classes a panel file names and
// turned into text: no input may fault, hang or allocate without bound.
// The first byte picks the root's class; the rest is the record.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "framework/Application.h"
#include "framework/GroupBox.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/SpeedButton.h"
#include "streaming/Errors.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"

namespace {

std::unique_ptr<trovelin::TControl> createRoot(std::uint8_t selector, trovelin::Component* owner)
{
    switch (selector % 4) {
    case 0: return std::make_unique<trovelin::TImage>(owner);
    case 1: return std::make_unique<trovelin::TGroupBox>(owner);
    case 2: return std::make_unique<trovelin::TLabel>(owner);
    default: return std::make_unique<trovelin::TSpeedButton>(owner);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trovelin;
    if (size == 0) return 0;
    TApplication application;
    Component window(nullptr);
    window.setName("Trovelin");
    application.addTopLevelWindow(&window);
    auto* host = new TGroupBox(&window);
    host->setName("PanelPapa");

    ByteViewStream stream({data + 1, size - 1});
    {
        std::unique_ptr<TControl> root = createRoot(data[0], &window);
        root->setParent(host);
        try {
            readComponentRecord(stream, *root, application.readerEnvironment());
        } catch (const Exception&) {
        }
        if (stream.position() < 0 || stream.position() > stream.size()) std::abort();
    }
    stream.setPosition(0);
    try {
        recordToText(stream);
    } catch (const Exception&) {
    }
    return 0;
}
