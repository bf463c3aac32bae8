#pragma once
// What a realisation of the toolkit supplies: window peers, the screen, modal loops, and the
// primitives behind the window services. It holds no behaviour of the program.
#include "peers.h"
#include "remote.h"
#include "store.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {

struct Rect {
    float left = 0, top = 0, width = 0, height = 0; // twips
};

// A screen, and its work area: the part of it that panels and the taskbar leave to windows.
struct Monitor : Rect {
    Rect work;
};

struct FontSeed {
    Font font;         // face, weight, effects and character set to start from
    int points = 0;    // whole points
    int32_t color = 0; // text colour shown in the dialog
    int minPoints = 0, maxPoints = 0;
};

struct FontChoice {
    std::string face;
    double points = 0;
};

class Realisation {
  public:
    virtual ~Realisation() = default;

    virtual std::unique_ptr<WindowPeer> createWindow(const WindowDesign& design,
                                                     WindowSink& sink) = 0;
    virtual double twipsPerPixel() const = 0;
    virtual std::vector<Monitor> screens() const = 0; // the primary screen first
    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    virtual Store& store() = 0;

    // Makes this process the prompt that requests from other processes reach, or says why not;
    // a realisation that carries no requests leaves every start on its own.
    virtual Claim listen(RemoteHandler) { return Claim::Unavailable; }

    virtual int run() = 0; // the event loop
    // At the program's end: takes every window of the process off the screen (its own, and an open
    // menu, dialog, message box or tool tip) and sends that to the window system now, not when the
    // loop next idles. The contract keeps the windows' places and sizes.
    virtual void leaveScreen() = 0;
    virtual void quit() = 0; // leaves every running loop

    // Window-service primitives, given a native handle.
    virtual void systemMove(uintptr_t window) = 0;
    virtual void setTopmost(uintptr_t window) = 0;
    virtual void setAlpha(uintptr_t window, uint8_t alpha) = 0;
    virtual void shellOpen(const std::string& target) = 0;
    // Modal dialogs; nothing when cancelled or failed.
    virtual std::optional<int32_t> chooseColor(uintptr_t owner) = 0;
    virtual std::optional<FontChoice> chooseFont(const FontSeed& seed) = 0;
};

// Made by the realisation the program is built with: each one defines it once.
std::unique_ptr<Realisation> MakeRealisation(int& argc, char** argv);

// The one realisation of this process.
Realisation& CurrentRealisation();
void InstallRealisation(std::unique_ptr<Realisation> realisation);
void RemoveRealisation();

} // namespace toolkit
