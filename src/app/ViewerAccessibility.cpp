#include "app/ViewerAccessibility.h"

#include <QAccessible>

#include "app/DrawGrid.h"
#include "app/DrawGridAccessible.h"
#include "widgets/ToolButtonHost.h"

namespace trovelin {

namespace {

// Qt asks once per object and class name; the classes here have no meta-object of their own,
// so they are told apart by type.
QAccessibleInterface* viewerAccessible(const QString&, QObject* object)
{
    if (auto* grid = dynamic_cast<TDrawGrid*>(object)) return new AccessibleDrawGrid(grid);
    if (auto* button = dynamic_cast<ToolButtonHost*>(object)) return new AccessibleToolButton(button);
    return nullptr;
}

}  // namespace

void installViewerAccessibility()
{
    QAccessible::installFactory(&viewerAccessible);
}

}  // namespace trovelin
