#pragma once
// "Show Panel": the file list's own command for panel files, first in their right-click menu and
// run by Ctrl+Enter. It opens the live panel window over the main window; a file that is no panel
// file opens none, and the status bar gets the loader's message.

#include "browse/ContentCommand.h"

class QWidget;

namespace trovelin {

class ShowPanelCommand : public ContentCommand {
public:
    // Panel windows open over `anchor`, which must outlive the command.
    explicit ShowPanelCommand(QWidget& anchor) : anchor_(anchor) {}

    // "Show Panel" for a name ending in ".kvr", letter case ignored.
    QString title(const std::string& localPath) override;
    QString run(const std::string& localPath) override;

private:
    QWidget& anchor_;
};

}  // namespace trovelin
