#include "app/GalleryWindow.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/WindowPlacement.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {

GalleryWindow::GalleryWindow(QWidget* parent) : QWidget(parent), form_(buildGalleryForm())
{
    setWindowTitle("Trovelin widget gallery");
    host_ = new ControlHostWidget(*form_, this, &services_);
    events_ = new QLabel("Point at a widget, click it, drag it, or press Tab, Space and the arrow keys.", this);
    // The form keeps its size; on a small screen the window is smaller and the form scrolls.
    auto* scroller = new QScrollArea(this);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    scroller->setWidget(host_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(scroller, 1);
    layout->addWidget(events_);
    resize(sizeHint());
    keepOnScreen(*this);
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
