#pragma once
// The prompt on the session bus: one well-known name per session, so per user; scripts and
// desktop shortcuts reach it with gdbus, busctl or qdbus as well as with the program itself.
#include "toolkit/remote.h"

#include <memory>
#include <optional>

class QString;
class QDBusVirtualObject;

namespace toolkit::qt {

inline constexpr char kBusName[] = "io.github.kelm_prompt.prompt";
inline constexpr char kObjectPath[] = "/io/github/kelm_prompt/prompt";
inline constexpr char kInterface[] = "io.github.kelm_prompt.Prompt";
// An error reply whose message a client shows as it is.
inline constexpr char kRefusedError[] = "io.github.kelm_prompt.Error.Refused";

// The method that carries an action, and back.
const char* MethodOf(RemoteAction action);
std::optional<RemoteAction> ActionOf(const QString& method);

// The prompt's object on the bus, for as long as the listener lives.
class BusListener {
  public:
    BusListener();
    ~BusListener();
    BusListener(const BusListener&) = delete;
    BusListener& operator=(const BusListener&) = delete;
    // Registers the object and asks for the name; the handler answers each call.
    Claim listen(RemoteHandler handler);

  private:
    std::unique_ptr<QDBusVirtualObject> m_object;
};

} // namespace toolkit::qt
