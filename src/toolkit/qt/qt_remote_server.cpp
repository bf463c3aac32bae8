// The running prompt's side of the session bus: one object, answered on the user-interface thread.
#include "qt_convert.h"
#include "qt_remote.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>

namespace toolkit::qt {

namespace {

constexpr char kMethodsXml[] = R"(  <interface name="io.github.kelm_prompt.Prompt">
    <method name="SetText"><arg name="text" type="s" direction="in"/></method>
    <method name="GetText"><arg name="text" type="s" direction="out"/></method>
    <method name="Show"/>
    <method name="Hide"/>
    <method name="Toggle"/>
    <method name="SetLocked"><arg name="locked" type="b" direction="in"/></method>
    <method name="Quit"/>
    <method name="Present"/>
  </interface>
)";

constexpr char kIntrospectable[] = "org.freedesktop.DBus.Introspectable";
constexpr char kPeer[] = "org.freedesktop.DBus.Peer";

QString documentXml() {
    return QStringLiteral("<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection "
                          "1.0//EN\"\n \"http://www.freedesktop.org/standards/dbus/1.0/"
                          "introspect.dtd\">\n<node>\n"
                          "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
                          "    <method name=\"Introspect\"><arg name=\"xml\" type=\"s\" "
                          "direction=\"out\"/></method>\n  </interface>\n"
                          "  <interface name=\"org.freedesktop.DBus.Peer\">\n"
                          "    <method name=\"Ping\"/>\n  </interface>\n") +
           QLatin1String(kMethodsXml) + QLatin1String("</node>\n");
}

// Whatever arrives, the caller gets an answer and the prompt changes only on a well-formed call.
class PromptObject : public QDBusVirtualObject {
  public:
    explicit PromptObject(RemoteHandler handler) : m_handler(std::move(handler)) {}

    QString introspect(const QString&) const override { return QLatin1String(kMethodsXml); }

    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        if (call.type() != QDBusMessage::MethodCallMessage)
            return false;
        bus.send(answer(call));
        return true;
    }

  private:
    QDBusMessage answer(const QDBusMessage& call) {
        const QString interface = call.interface();
        const QString member = call.member();
        const QString signature = call.signature();
        if (interface == QLatin1String(kIntrospectable) && member == QLatin1String("Introspect") &&
            signature.isEmpty())
            return call.createReply(documentXml());
        if (interface == QLatin1String(kPeer) && member == QLatin1String("Ping") &&
            signature.isEmpty())
            return call.createReply();
        const std::optional<RemoteAction> action = ActionOf(member);
        if ((!interface.isEmpty() && interface != QLatin1String(kInterface)) || !action)
            return call.createErrorReply(
                QDBusError::UnknownMethod,
                QStringLiteral("No method %1.%2 here").arg(interface, member));
        const char* expected = *action == RemoteAction::SetText ? "s"
                               : *action == RemoteAction::Lock  ? "b"
                                                                : "";
        if (signature != QLatin1String(expected))
            return call.createErrorReply(
                QDBusError::InvalidArgs,
                QStringLiteral("%1 takes (%2), not (%3)").arg(member, expected, signature));
        RemoteRequest request;
        request.action = *action;
        if (request.action == RemoteAction::SetText)
            request.text = S(call.arguments().at(0).toString());
        else if (request.action == RemoteAction::Lock && !call.arguments().at(0).toBool())
            request.action = RemoteAction::Unlock;

        const RemoteReply reply = m_handler(request);
        switch (reply.status) {
        case RemoteReply::Status::Done:
            return request.action == RemoteAction::GetText ? call.createReply(Q(reply.text))
                                                           : call.createReply();
        case RemoteReply::Status::Refused:
            return call.createErrorReply(QLatin1String(kRefusedError), Q(reply.text));
        case RemoteReply::Status::NoPrompt:
        case RemoteReply::Status::NoAnswer:
        case RemoteReply::Status::Unreachable:
            break;
        }
        return call.createErrorReply(QDBusError::Failed, QStringLiteral("The prompt is ending"));
    }

    RemoteHandler m_handler;
};

} // namespace

BusListener::BusListener() = default;

// The name goes before the object: a call that waited for this prompt while it ended is refused
// when the object or the process goes, and its caller, a start perhaps, must then find the name
// free to take the prompt's place.
BusListener::~BusListener() {
    if (!m_object)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (QDBusConnectionInterface* daemon = bus.interface())
        daemon->unregisterService(QLatin1String(kBusName));
    bus.unregisterObject(QLatin1String(kObjectPath));
}

Claim BusListener::listen(RemoteHandler handler) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return Claim::Unavailable;
    auto object = std::make_unique<PromptObject>(std::move(handler));
    if (!bus.registerVirtualObject(QLatin1String(kObjectPath), object.get()))
        return Claim::Unavailable;
    m_object = std::move(object);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claimed =
        bus.interface()->registerService(QLatin1String(kBusName),
                                         QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (claimed.isValid() && claimed.value() == QDBusConnectionInterface::ServiceRegistered)
        return Claim::Mine;
    bus.unregisterObject(QLatin1String(kObjectPath));
    m_object.reset();
    // The bus refused the request itself: nobody else is listening either.
    return claimed.isValid() ? Claim::Taken : Claim::Unavailable;
}

} // namespace toolkit::qt
