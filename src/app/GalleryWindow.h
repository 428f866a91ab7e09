#pragma once
// The widget gallery's window, "Trovelin widget gallery": the gallery's form, live (it takes the
// mouse and keys, and its widgets repeat and blink with their timers), above a line that shows
// each event as it happens.

#include <memory>

#include <QWidget>

#include "gallery/GalleryForm.h"
#include "widgets/QtControlServices.h"

class QLabel;

namespace trovelin {

class ControlHostWidget;

class GalleryWindow : public QWidget {
public:
    explicit GalleryWindow(QWidget* parent = nullptr);
    ~GalleryWindow() override;

    TGalleryForm& form() { return *form_; }
    ControlHostWidget& host() { return *host_; }
    // The last event line shown.
    QString lastEvent() const;

private:
    QtControlServices services_;
    std::unique_ptr<TGalleryForm> form_;
    ControlHostWidget* host_;
    QLabel* events_;
};

}  // namespace trovelin
