#include "app/ViewerAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "app/DrawGrid.h"
#include "app/DrawGridAccessible.h"
#include "widgets/ControlHostAccessible.h"
#include "widgets/ControlHostWidget.h"
#include "widgets/ToolButtonHost.h"

namespace trovelin {

namespace {

// Qt asks once per object and class name; the classes here have no meta-object of their own,
// so they are told apart by type. The viewer's windows are plain widgets, which Qt would present
// as unnamed parts of some other window.
QAccessibleInterface* viewerAccessible(const QString& className, QObject* object)
{
    if (auto* grid = dynamic_cast<TDrawGrid*>(object)) return new AccessibleDrawGrid(grid);
    if (auto* button = dynamic_cast<ToolButtonHost*>(object)) return new AccessibleToolButton(button);
    if (auto* host = dynamic_cast<ControlHostWidget*>(object)) return new AccessibleControlHost(host);
    if (className == QLatin1String("QWidget") && object->isWidgetType() && static_cast<QWidget*>(object)->isWindow())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

void installViewerAccessibility()
{
    QAccessible::installFactory(&viewerAccessible);
}

}  // namespace trovelin
