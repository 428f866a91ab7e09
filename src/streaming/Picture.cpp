#include "streaming/Picture.h"

#include <array>

#include "streaming/Bitmap.h"
#include "streaming/ClassInfo.h"
#include "streaming/Icon.h"
#include "streaming/Metafile.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {

// Longer names cannot name a graphic class; the payload is then taken as an unknown class.
constexpr std::size_t maxClassNameLength = 63;

template <class Graphic> std::unique_ptr<TGraphic> create() { return std::make_unique<Graphic>(); }

const std::array<GraphicClass, 3> graphicClasses{{
    {"TBitmap", "bmp", &create<TBitmap>},
    {"TIcon", "ico", &create<TIcon>},
    {"TMetafile", "wmf;emf", &create<TMetafile>},
}};

}  // namespace

const GraphicClass* findGraphicClass(std::string_view name)
{
    for (const GraphicClass& graphicClass : graphicClasses)
        if (graphicClass.name == name) return &graphicClass;
    return nullptr;
}

const ClassInfo& TPicture::staticClassInfo()
{
    static const ClassInfo info{"TPicture", nullptr, {}};
    return info;
}

void TPicture::defineProperties(Filer& filer)
{
    filer.defineBinaryProperty("Data", [this](Stream& data) { readData(data); });
}

void TPicture::readData(Stream& stream)
{
    std::uint8_t length = 0;
    stream.read(&length, 1);
    std::string name(length, '\0');
    name.resize(stream.read(name.data(), name.size()));

    const GraphicClass* graphicClass = length <= maxClassNameLength ? findGraphicClass(name) : nullptr;
    std::unique_ptr<TGraphic> graphic;
    if (graphicClass) {
        graphic = graphicClass->create();
        graphic->readData(stream);
    }
    install(std::move(graphic));
}

std::string_view TPicture::graphicClassName() const
{
    return graphic_ ? graphic_->classInfo().name() : std::string_view{};
}

TBitmap& TPicture::bitmap()
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get())) return *bitmap;
    install(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*graphic_);
}

void TPicture::assign(const TPicture* other)
{
    if (other == this) return;
    install(other && other->graphic_ ? other->graphic_->clone() : nullptr);
}

void TPicture::install(std::unique_ptr<TGraphic> graphic)
{
    graphic_ = std::move(graphic);
    if (graphic_) graphic_->onChange = [this] {
        if (onChange) onChange();
    };
    if (onChange) onChange();
}

}  // namespace trovelin
