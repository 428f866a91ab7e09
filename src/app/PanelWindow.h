#pragma once
// The live panel window, titled with the panel file's name: a panel file's controls on their face,
// painted as `render` paints them and taking the mouse and the keys as in the widget gallery,
// above a line that shows each event as it happens. It opens at the panel's size, inside the
// screen; a panel already open in a window is not opened twice. 1:1 shows one panel pixel per
// screen pixel, Fit fits the panel into the window (whole factors for a small panel, smooth only
// when shrinking), as the picture preview does. Reset reads the file again; Save Image As writes
// what the panel shows now as PNG. When the file changes on disk, or goes, a bar says so and
// offers to read it again; a load that failed shows a summary of its messages in a bar at the
// top, over what was read before it, with the whole list a click away.

#include <functional>
#include <memory>
#include <string>

#include <QDateTime>
#include <QStringList>
#include <QWidget>

#include "widgets/QtControlServices.h"

class QFileSystemWatcher;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace trovelin {

class ControlHostWidget;
class ElidedLabel;
class LoadedPanel;
class PanelFace;

class PanelWindow : public QWidget {
public:
    // Opens a window on `panelFile` (this system's path), over `anchor` when given; a window
    // already open on the same file is raised instead. A file that is no panel file opens none:
    // null, and `problem` says why in the loader's words.
    static PanelWindow* open(const std::string& panelFile, QWidget* anchor, QString& problem);

    ~PanelWindow() override;

    // Null once the window has closed.
    PanelFace* face();
    ControlHostWidget* host() { return host_; }
    QString lastEvent() const;
    // The bar over the panel: the load's problems; empty when there were none.
    QString problemText() const;
    bool reloadOffered() const;
    // What the bar about the file on disk says; empty while it is hidden.
    QString fileNoteText() const;
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
    // Writes currentImage() as PNG; the message of a failed write or of a name that calls for
    // another kind of image, or empty.
    QString saveImage(const QString& fileName);
    // Asks where to save the image, starting from `suggested`; tests replace it. Empty for no choice.
    std::function<QString(const QString& suggested)> chooseImageFile;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What the window knows of the file on disk, to tell a change of it from one of its neighbours.
    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QDateTime statusChanged;
        bool operator==(const FileStamp&) const = default;
    };

    PanelWindow(std::unique_ptr<LoadedPanel> panel, const std::string& panelFile, const FileStamp& stamp);
    static FileStamp stampOf(const QString& path);
    QString filePath() const;
    void showPanel(std::unique_ptr<LoadedPanel> panel);
    void makeProblemBar();
    void makeChangedBar();
    void showProblems(const QStringList& problems);
    void showProblemDetails(bool shown);
    void dropPanel();
    void sizeToPanel();
    void startWatching();
    void fileWatchEvent();
    void saveImageAs();
    void applyZoom();

    std::string panelFile_;
    FileStamp shownStamp_;
    // The bar shows why reading the file again failed, rather than the shown panel's problems.
    bool showsRereadFailure_ = false;
    // The controls' timers and hints: declared first, so that they go last.
    QtControlServices services_;
    std::unique_ptr<LoadedPanel> panel_;
    ControlHostWidget* host_ = nullptr;
    QScrollArea* scroller_;
    QVBoxLayout* bars_;
    QWidget* problemBar_ = nullptr;
    ElidedLabel* problemSummary_ = nullptr;
    QPushButton* detailsButton_ = nullptr;
    QPlainTextEdit* problemDetails_ = nullptr;
    QStringList shownProblems_;
    QWidget* changedBar_ = nullptr;
    ElidedLabel* changedText_ = nullptr;
    QPushButton* reloadButton_ = nullptr;
    ElidedLabel* events_;
    QFileSystemWatcher* watcher_ = nullptr;
    QPushButton* fitButton_;
    bool fitToWindow_ = false;
};

}  // namespace trovelin
