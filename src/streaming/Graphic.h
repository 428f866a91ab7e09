#pragma once
// The abstract picture: a bitmap, an icon or a metafile, each reading its own stored data.

#include <functional>
#include <memory>

#include "streaming/Persistent.h"

namespace trovelin {

class Stream;

class TGraphic : public Persistent {
public:
    // Reads the graphic's stored data from the stream's position. On failure the graphic keeps
    // what it held before.
    virtual void readData(Stream& stream) = 0;
    virtual bool empty() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // An independent graphic of the same class and content.
    virtual std::unique_ptr<TGraphic> clone() const = 0;

    std::function<void()> onChange;

protected:
    void changed()
    {
        if (onChange) onChange();
    }
};

}  // namespace trovelin
