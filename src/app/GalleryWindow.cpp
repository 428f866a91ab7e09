#include "app/GalleryWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "widgets/ControlHostWidget.h"

namespace trovelin {

GalleryWindow::GalleryWindow(QWidget* parent) : QWidget(parent), form_(buildGalleryForm())
{
    setWindowTitle("Trovelin widget gallery");
    host_ = new ControlHostWidget(*form_, this, &services_);
    events_ = new QLabel("Point at a widget, click it, drag it, or press Tab, Space and the arrow keys.", this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(host_);
    layout->addWidget(events_);
    reportGalleryEvents(*form_, [this](const std::string& line) { events_->setText(QString::fromStdString(line)); });
    host_->setFocus();
}

GalleryWindow::~GalleryWindow()
{
    // The host lets go of the form before the form goes.
    delete host_;
}

QString GalleryWindow::lastEvent() const { return events_->text(); }

}  // namespace trovelin
