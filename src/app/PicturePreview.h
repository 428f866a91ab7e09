#pragma once
// A window of its own for one picture of the list: at 100% when it opens, fit-to-window and 1:1
// toggles, zoom by wheel and Ctrl +/-, Left and Right to the neighbours, and a status line with
// the picture's place in the list, size, bits per pixel, zoom and where it came from. The list
// owner tells it when the list changed: it then shows what now stands at its place, or closes.

#include <functional>

#include <QWidget>

class QAction;
class QLabel;

namespace trovelin {

class PictureList;
class PreviewView;

class PicturePreview : public QWidget {
public:
    // `provenance` says where picture `index` came from; empty or missing, nothing is shown.
    explicit PicturePreview(const PictureList& pictures, std::function<QString(int index)> provenance = {},
                            QWidget* parent = nullptr);

    int index() const { return index_; }
    // Indices outside the list are ignored.
    void showPicture(int index);
    void showNext() { showPicture(index_ + 1); }
    void showPrevious() { showPicture(index_ - 1); }
    // After a reload: the picture now at the same place, or the window closes when there is none.
    void picturesChanged();

    PreviewView& view() { return *view_; }
    QString statusText() const;

protected:
    // Each time it opens: over the window it belongs to, inside the screen.
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showCurrent();
    void updateStatus();

    const PictureList& pictures_;
    std::function<QString(int index)> provenance_;
    int index_ = -1;
    PreviewView* view_;
    QLabel* status_;
    QAction* fitAction_;
    QAction* actualSizeAction_;
};

}  // namespace trovelin
