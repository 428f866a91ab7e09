// trovelin: the desktop viewer. Starts in the folder that holds the program, so the panel files
// beside it show at once, or at the panel file or folder its command line names; with --gallery it opens the widget
// gallery instead.

#include <iostream>

#include <QApplication>
#include <QMessageBox>

#include "app/GalleryWindow.h"
#include "app/PanelProperties.h"
#include "app/QtShellInfo.h"
#include "app/StartPlace.h"
#include "app/Trovelinc.h"
#include "app/ViewerCommandLine.h"
#include "browse/Itemprop.h"
#include "browse/SystemDesktop.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"

int main(int argc, char** argv)
{
    using trovelin::ViewerCommandLine;
    // Help and version are answered before the application looks for a display.
    const ViewerCommandLine early = trovelin::parseViewerCommandLine({argv + 1, argv + argc});
    if (early.action == ViewerCommandLine::Action::ShowHelp) {
        std::cout << trovelin::viewerHelpText();
        return 0;
    }
    if (early.action == ViewerCommandLine::Action::ShowVersion) {
        std::cout << trovelin::viewerVersionText();
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName("Trovelin");
    // The application has taken its own options (-platform, -style, ...) out of argv.
    const ViewerCommandLine commandLine = trovelin::parseViewerCommandLine({argv + 1, argv + argc});
    if (commandLine.action == ViewerCommandLine::Action::UsageError) {
        std::cerr << "trovelin: " << commandLine.error << "\nRun 'trovelin --help' for usage.\n";
        return 2;
    }
    try {
        if (commandLine.action == ViewerCommandLine::Action::ShowGallery) {
            trovelin::GalleryWindow gallery;
            gallery.show();
            return QApplication::exec();
        }
        trovelin::PosixFileSystem fileSystem;
        trovelin::QtShellInfo shell(fileSystem);
        trovelin::SystemDesktop desktop;
        trovelin::ShellItemActions itemActions(fileSystem, desktop);
        trovelin::PanelFileDescriber panelFiles;
        itemActions.contentDescriber = &panelFiles;
        trovelin::TTrovelin window(trovelin::pictureList(), fileSystem, shell,
                                   [&shell](int index) { return shell.icon(index); });
        window.setItemActions(&itemActions);
        window.show();
        const std::string programFolder =
            fileSystem.drives().toWindowsPath(QCoreApplication::applicationDirPath().toStdString()).value_or("C:\\");
        const trovelin::StartPlace place = commandLine.path
                                               ? trovelin::resolveStartPlace(*commandLine.path, fileSystem.drives())
                                               : trovelin::StartPlace{};
        trovelin::showStartPlace(window, place, programFolder);
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Trovelin", QString::fromStdString(error.what()));
        return 1;
    }
}
