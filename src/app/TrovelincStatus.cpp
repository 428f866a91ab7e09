// The main window's texts for people: the status bar's two panels, the folder load's progress,
// and the message boxes of the loader and of errors.

#include "app/Trovelinc.h"

#include <QGuiApplication>
#include <QLabel>

#include "app/FolderLoadJob.h"
#include "panelfile/PictureList.h"

namespace trovelin {

void TTrovelin::showError(const std::string& text)
{
    messageBox(QGuiApplication::applicationDisplayName(), QString::fromStdString(text));
}

void TTrovelin::showLoadProgress()
{
    if (!folderLoad_) return;
    loadProgress_->setText(QString("Loaded %1 of %2 files, %3 pictures (Esc cancels)")
                               .arg(folderLoad_->filesHandedOver())
                               .arg(folderLoad_->fileCount())
                               .arg(pictures_.count()));
    loadProgress_->show();
}

QString TTrovelin::loadProgressText() const
{
    return loadProgress_->text();
}

QString TTrovelin::statusText(int panel) const
{
    return statusPanels_[panel]->text();
}

void TTrovelin::setStatusPanel(int panel, const QString& text)
{
    statusPanels_[panel]->setText(text);
}

void TTrovelin::setStatusText(const std::string& text)
{
    setStatusPanel(0, QString::fromStdString(text));
}

void TTrovelin::showMessage(const std::string& text)
{
    messageBox(loaderMessageCaption, QString::fromStdString(text));
}

}  // namespace trovelin
