#include "app/ShowPanel.h"

#include "app/PanelProperties.h"
#include "app/PanelWindow.h"

namespace trovelin {

QString ShowPanelCommand::title(const std::string& localPath)
{
    return hasPanelExtension(localPath) ? QStringLiteral("Show Panel") : QString();
}

QString ShowPanelCommand::run(const std::string& localPath)
{
    QString problem;
    PanelWindow::open(localPath, &anchor_, problem);
    return problem;
}

}  // namespace trovelin
