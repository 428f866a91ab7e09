#include "app/ElidedLabel.h"

#include <QResizeEvent>

namespace trovelin {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text)
{
    fullText_ = text;
    elide();
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide()
{
    // Line breaks in a name would make the line taller; they show as spaces.
    QString line = fullText_;
    line.replace('\n', ' ');
    const int room = contentsRect().width() - 2 * margin();
    const QString shown = fontMetrics().elidedText(line, Qt::ElideRight, std::max(room, 0));
    setText(shown);
    setToolTip(shown == line ? QString() : fullText_);
}

}  // namespace trovelin
