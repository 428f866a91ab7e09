#pragma once
// The picture holder of an image control: no graphic, or one bitmap, icon or metafile. Its
// stored data ("Picture.Data") names the graphic class before the graphic's own data.

#include <functional>
#include <memory>
#include <string_view>

#include "streaming/Graphic.h"
#include "streaming/Persistent.h"

namespace trovelin {

class TBitmap;

// The registry of graphic classes: exactly these three, looked up by exact name.
struct GraphicClass {
    std::string_view name;
    std::string_view extensions;  // the file extensions registered for the class, ";"-separated
    std::unique_ptr<TGraphic> (*create)();
};
const GraphicClass* findGraphicClass(std::string_view name);

class TPicture : public Persistent {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void defineProperties(Filer& filer) override;

    // Reads a picture payload: a class name as a short string, then that class's data. An unknown
    // class leaves the holder without a graphic; a failing graphic leaves the old one in place.
    void readData(Stream& stream);

    TGraphic* graphic() const { return graphic_.get(); }
    // "TBitmap", "TIcon", "TMetafile", or empty without a graphic.
    std::string_view graphicClassName() const;
    // The graphic as a bitmap; anything else is first replaced by a new empty bitmap.
    TBitmap& bitmap();

    // Takes a copy of the graphic of `other`; null leaves the holder without a graphic.
    void assign(const TPicture* other);

    std::function<void()> onChange;

private:
    void install(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
};

}  // namespace trovelin
