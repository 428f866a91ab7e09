// trovelin: the desktop viewer. Starts in the folder that holds the program, so the panel files
// beside it show at once.

#include <QApplication>
#include <QMessageBox>

#include "app/QtShellInfo.h"
#include "app/Trovelinc.h"
#include "browse/Itemprop.h"
#include "browse/SystemDesktop.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName("Trovelin");
    try {
        trovelin::PosixFileSystem fileSystem;
        trovelin::QtShellInfo shell(fileSystem);
        trovelin::SystemDesktop desktop;
        trovelin::ShellItemActions itemActions(fileSystem, desktop);
        itemActions.describePanel = [](const std::string& path) {
            return trovelin::summarizePanelFile(path, trovelin::panelLoaderClasses());
        };
        trovelin::TTrovelin window(trovelin::pictureList(), fileSystem, shell,
                                   [&shell](int index) { return shell.icon(index); });
        window.setItemActions(&itemActions);
        window.show();
        const std::string programFolder =
            fileSystem.drives().toWindowsPath(QCoreApplication::applicationDirPath().toStdString()).value_or("C:\\");
        window.FormShow(programFolder);
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Trovelin", QString::fromStdString(error.what()));
        return 1;
    }
}
