#include "browse/FileManagerBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QStringList>

namespace trovelin {

QString fileUri(const std::string& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QString::fromLatin1("file://" + bytes.toPercentEncoding("/"));
}

bool callFileManager(const QString& method, const std::vector<std::string>& paths, std::chrono::milliseconds timeout)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QStringList uris;
    for (const std::string& path : paths) uris << fileUri(path);
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", method);
    call << uris << QString();  // no startup notification id
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, static_cast<int>(timeout.count())));
    if (!watcher.isFinished()) {
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return !watcher.isError();
}

}  // namespace trovelin
