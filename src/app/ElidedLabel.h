#pragma once
// One line of plain text that never widens its window: a text longer than the room it has is
// shown cut with an ellipsis, and the whole text stays at hand for its tooltip and for callers.

#include <QLabel>

namespace trovelin {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString fullText_;
};

}  // namespace trovelin
