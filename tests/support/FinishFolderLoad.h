#pragma once
// The main window loads a folder's panel files off the GUI thread: tests that show a folder let
// that load run to its end before they look at the pictures.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "app/Trovelinc.h"

namespace trovelin::testing {

inline void finishFolderLoad(TTrovelin& window)
{
    const QDeadlineTimer deadline(20000);
    while (window.folderLoadRunning() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_FALSE(window.folderLoadRunning());
}

}  // namespace trovelin::testing
