// The command-line client: a core application and a connection of its own, nothing of the
// window system.
#include "qt_convert.h"
#include "qt_remote.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>

#include <optional>

namespace toolkit::qt {

namespace {

constexpr char kConnection[] = "kelm-prompt-client";
constexpr char kBarrier[] = "kelm-prompt-client-barrier";
// A save may wait for another copy's lock for up to ten seconds.
constexpr int kQuitTimeoutMs = 25000;
constexpr int kTimeoutMs = 10000;

// Nobody holds the prompt's name now. A prompt that ends gives it up before it refuses the calls
// still waiting for it, and the bus gives up the name of one that dies before it tells the callers.
bool nobodyListens(const QDBusConnection& bus) {
    const QDBusReply<bool> owned = bus.interface()->isServiceRegistered(QLatin1String(kBusName));
    return owned.isValid() && !owned.value();
}

RemoteReply failure(const QDBusMessage& reply) {
    using Status = RemoteReply::Status;
    const QDBusError error(reply);
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        return {Status::NoPrompt, {}};
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return {Status::NoAnswer, {}};
    default:
        break;
    }
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return {Status::NoPrompt, {}};
    if (reply.errorName() == QLatin1String(kRefusedError))
        return {Status::Refused, S(reply.errorMessage())};
    return {Status::NoAnswer, S(reply.errorName() + QLatin1String(": ") + reply.errorMessage())};
}

RemoteReply call(const RemoteRequest& request) {
    using Status = RemoteReply::Status;
    const QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QLatin1String(kConnection));
    if (!bus.isConnected())
        return {Status::Unreachable, "没有会话总线 (no session bus)"};
    QDBusMessage message = QDBusMessage::createMethodCall(
        QLatin1String(kBusName), QLatin1String(kObjectPath), QLatin1String(kInterface),
        QLatin1String(MethodOf(request.action)));
    message.setAutoStartService(false);
    if (request.action == RemoteAction::SetText)
        message << Q(request.text);
    else if (request.action == RemoteAction::Lock || request.action == RemoteAction::Unlock)
        message << (request.action == RemoteAction::Lock);
    const QDBusMessage reply = bus.call(
        message, QDBus::Block, request.action == RemoteAction::Quit ? kQuitTimeoutMs : kTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {Status::Done, reply.arguments().isEmpty() ? std::string()
                                                          : S(reply.arguments().at(0).toString())};
    const RemoteReply failed = failure(reply);
    // The prompt ended while the call waited for it: there is none now.
    if (failed.status == Status::NoAnswer && nobodyListens(bus))
        return {Status::NoPrompt, {}};
    return failed;
}

} // namespace

} // namespace toolkit::qt

namespace toolkit {

RemoteReply SendToRunningPrompt(const RemoteRequest& request) {
    std::optional<QCoreApplication> own;
    static int argc = 1;
    static char name[] = "kelm-prompt";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        own.emplace(argc, argv);
    const RemoteReply reply = qt::call(request);
    // Gone before the application is, so that a window system started next finds the bus
    // as new.
    QDBusConnection::disconnectFromBus(QLatin1String(qt::kConnection));
    // Qt's bus thread handles the closed connection in its own time, and an application torn down
    // meanwhile leaves it half-handled (Qt 6.4 then says it met "an invalid type"). A connection
    // asked of that thread is made after what it was given before: one that can only fail tells
    // that the closing has been handled.
    QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                  QLatin1String(qt::kBarrier));
    QDBusConnection::disconnectFromBus(QLatin1String(qt::kBarrier));
    return reply;
}

} // namespace toolkit
