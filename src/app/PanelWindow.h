#pragma once
// The live panel window, "NAME.kvr - Trovelin panel": a panel file's controls on their face,
// painted as `render` paints them and taking the mouse and the keys as in the widget gallery,
// above a line that shows each event as it happens. 1:1 shows one panel pixel per screen pixel, Fit
// fits the panel into the window (whole factors for a small panel, smooth only when shrinking), as
// the picture preview does. Reset reads the file again; Save Image As
// writes what the panel shows now as PNG. When the file changes on disk a bar offers to read it
// again; a load that failed shows its message in a bar at the top, over what was read before it.

#include <functional>
#include <memory>
#include <string>

#include <QWidget>

#include "widgets/QtControlServices.h"

class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QScrollArea;

namespace trovelin {

class ControlHostWidget;
class LoadedPanel;
class PanelFace;

class PanelWindow : public QWidget {
public:
    // Opens a window on `panelFile` (this system's path), over `anchor` when given. A file that
    // is no panel file opens none: null, and `problem` says why in the loader's words.
    static PanelWindow* open(const std::string& panelFile, QWidget* anchor, QString& problem);

    ~PanelWindow() override;

    // Null once the window has closed.
    PanelFace* face();
    ControlHostWidget* host() { return host_; }
    QString lastEvent() const;
    // The bar over the panel: the load's problems; empty when there were none.
    QString problemText() const;
    bool reloadOffered() const;
    // Timers that the panel's controls have running.
    std::size_t runningTimers() const { return services_.qtTimers().armedCount(); }

    // Reads the file again: every control back to its stored state.
    void reset();
    // Fit follows the window's size until 1:1 is chosen.
    void setFitToWindow(bool fit);
    void showActualSize() { setFitToWindow(false); }
    double zoom() const;
    // The panel as it shows now, at its own size.
    QImage currentImage();
    // Writes currentImage() as PNG; the message of a failed write, or empty.
    QString saveImage(const QString& fileName);
    // Asks where to save the image; tests replace it. Empty for no choice.
    std::function<QString()> chooseImageFile;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PanelWindow(std::unique_ptr<LoadedPanel> panel, const std::string& panelFile);
    void showPanel(std::unique_ptr<LoadedPanel> panel);
    void dropPanel();
    void fileChanged();
    void saveImageAs();
    void applyZoom();

    std::string panelFile_;
    // The controls' timers and hints: declared first, so that they go last.
    QtControlServices services_;
    std::unique_ptr<LoadedPanel> panel_;
    ControlHostWidget* host_ = nullptr;
    QScrollArea* scroller_;
    QLabel* problems_;
    QWidget* changedBar_;
    QLabel* events_;
    QFileSystemWatcher* watcher_;
    QPushButton* fitButton_;
    bool fitToWindow_ = false;
};

}  // namespace trovelin
