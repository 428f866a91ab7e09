// trovelin: the desktop viewer. Starts in the folder that holds the program, so the panel files
// beside it show at once; with --gallery it opens the widget gallery instead.

#include <QApplication>
#include <QMessageBox>

#include "app/GalleryWindow.h"
#include "app/QtShellInfo.h"
#include "app/Trovelinc.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName("Trovelin");
    try {
        if (QApplication::arguments().contains("--gallery")) {
            trovelin::GalleryWindow gallery;
            gallery.show();
            return QApplication::exec();
        }
        trovelin::PosixFileSystem fileSystem;
        trovelin::QtShellInfo shell(fileSystem);
        trovelin::TTrovelin window(trovelin::pictureList(), fileSystem, shell,
                                   [&shell](int index) { return shell.icon(index); });
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
