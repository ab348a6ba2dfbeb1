#include "conversion/poweroff.h"

#include <QDBusConnection>
#include <QDBusMessage>

void ShutDownComputer()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false;  // interactive: never ask for a password
    // The reply is waited for briefly, so the request has left before the program closes;
    // what it says is not examined.
    QDBusConnection::systemBus().call(call, QDBus::Block, 3000);
}
