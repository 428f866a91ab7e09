#pragma once
// Where the program's windows open: fully inside the available area of a screen (a stored
// position, a large window or a high scale factor could put them partly off it), and a window
// that belongs to another one near that window.

#include <QRect>

class QWidget;

namespace trovelin {

// `frame` moved, and made smaller where it is larger, so that it lies inside `available`.
QRect fittedInside(QRect frame, const QRect& available);

// Moves and, where it must, shrinks a top-level window so that its frame lies inside the
// available area of the screen it is on (or the primary one when it is on none): now, and each
// time the program shows it, when the window system's frame around it is known.
void keepOnScreen(QWidget& window);

// Centres a top-level window over `anchor`'s window, then keeps it inside the available area of
// the anchor's screen.
void placeNear(QWidget& window, const QWidget& anchor);

}  // namespace trovelin
