// trovelin: the desktop viewer. Starts in the folder that holds the program, so the panel files
// beside it show at once, or at the panel file or folder its command line names; with --panel it
// opens a panel file's live panel, with --gallery the widget gallery instead.

#include <cstdlib>
#include <iostream>

#include <QApplication>
#include <QMessageBox>

#include "app/GalleryWindow.h"
#include "app/PanelProperties.h"
#include "app/PanelWindow.h"
#include "app/QtShellInfo.h"
#include "app/ShowPanel.h"
#include "app/StartPlace.h"
#include "app/Trovelinc.h"
#include "app/ViewerAccessibility.h"
#include "app/ViewerCommandLine.h"
#include "browse/Itemprop.h"
#include "browse/SystemDesktop.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"

namespace trovelin {
namespace {

// Without a display the GUI toolkit ends the program with a note on reinstalling it. While the
// application starts, the toolkit's words are held back, and its fatal one becomes ours.
class DisplayFailureReport {
public:
    DisplayFailureReport() { previous_ = qInstallMessageHandler(&DisplayFailureReport::hold); }
    ~DisplayFailureReport() { displayOpened(); }
    DisplayFailureReport(const DisplayFailureReport&) = delete;
    DisplayFailureReport& operator=(const DisplayFailureReport&) = delete;

    // The start went well; the toolkit speaks for itself again.
    void displayOpened()
    {
        if (!holding_) return;
        qInstallMessageHandler(previous_);  // null restores the toolkit's own
        holding_ = false;
    }

private:
    static void hold(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type != QtFatalMsg) {
            if (reason().isEmpty()) reason() = message.section('\n', 0, 0).trimmed();
            return;
        }
        const QString why = !reason().isEmpty() ? reason()
                            : qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                ? QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set")
                                : message.section('\n', 0, 0).trimmed();
        std::cerr << "trovelin: cannot open the display: " << why.toStdString() << "; trovelin-cli works without one"
                  << std::endl;
        std::_Exit(1);
    }
    // The first thing the toolkit said: why it found no display.
    static QString& reason()
    {
        static QString first;
        return first;
    }

    QtMessageHandler previous_ = nullptr;
    bool holding_ = true;
};

}  // namespace
}  // namespace trovelin

int main(int argc, char** argv)
{
    using trovelin::ViewerCommandLine;
    // The whole command line is read before the application looks for a display, so that help,
    // version and mistakes are answered without one.
    const ViewerCommandLine commandLine = trovelin::parseViewerCommandLine({argv + 1, argv + argc});
    if (commandLine.action == ViewerCommandLine::Action::ShowHelp) {
        std::cout << trovelin::viewerHelpText();
        return 0;
    }
    if (commandLine.action == ViewerCommandLine::Action::ShowVersion) {
        std::cout << trovelin::viewerVersionText();
        return 0;
    }
    if (commandLine.action == ViewerCommandLine::Action::UsageError) {
        std::cerr << "trovelin: " << commandLine.error << "\nRun 'trovelin --help' for usage.\n";
        return 2;
    }
    trovelin::DisplayFailureReport displayFailure;
    QApplication application(argc, argv);
    displayFailure.displayOpened();
    QApplication::setApplicationDisplayName("Trovelin");
    trovelin::installViewerAccessibility();
    try {
        if (commandLine.action == ViewerCommandLine::Action::ShowGallery) {
            trovelin::GalleryWindow gallery;
            gallery.show();
            return QApplication::exec();
        }
        trovelin::PosixFileSystem fileSystem;
        const trovelin::StartPlace place = commandLine.path
                                               ? trovelin::resolveStartPlace(*commandLine.path, fileSystem.drives())
                                               : trovelin::StartPlace{};
        // Anything but a panel file opens the viewer, as the path alone would, saying why.
        QString panelProblem;
        if (commandLine.action == ViewerCommandLine::Action::ShowPanel &&
            place.kind == trovelin::StartPlace::Kind::PanelFile &&
            trovelin::PanelWindow::open(*commandLine.path, nullptr, panelProblem) != nullptr)
            return QApplication::exec();
        trovelin::QtShellInfo shell(fileSystem);
        trovelin::SystemDesktop desktop;
        trovelin::ShellItemActions itemActions(fileSystem, desktop);
        trovelin::PanelFileDescriber panelFiles;
        itemActions.contentDescriber = &panelFiles;
        trovelin::TTrovelin window(trovelin::pictureList(), fileSystem, shell,
                                   [&shell](int index) { return shell.icon(index); });
        trovelin::ShowPanelCommand showPanel(window);
        itemActions.contentCommand = &showPanel;
        window.setItemActions(&itemActions);
        window.show();
        const std::string programFolder =
            fileSystem.drives().toWindowsPath(QCoreApplication::applicationDirPath().toStdString()).value_or("C:\\");
        trovelin::showStartPlace(window, place, programFolder);
        if (!panelProblem.isEmpty()) window.setStatusPanel(0, panelProblem);
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Trovelin", QString::fromStdString(error.what()));
        return 1;
    }
}
