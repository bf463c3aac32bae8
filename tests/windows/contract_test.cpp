// The rules every window relies on from the toolkit.
#include "fixture.h"

#include "toolkit/errors.h"

#include <chrono>
#include <cmath>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

class Probe : public toolkit::Window {
  public:
    Probe() : Window({"probe", toolkit::BorderStyle::None, true, 3000, 705, {}, false, 0}) {}
    void Form_Load() override { ++loads; }
    void Form_Resize() override {
        ++resizes;
        heightSeen = Height();
    }
    void Form_Unload(int16_t& Cancel) override {
        ++unloads;
        if (onUnload)
            onUnload();
        Cancel = cancel;
    }
    std::function<void()> onUnload;
    int loads = 0, resizes = 0, unloads = 0;
    int16_t cancel = 0;
    float heightSeen = 0;
};

using ContractTest = WindowTest;

TEST_F(ContractTest, NativeEchoesRaiseNothingAndUserResizesRaiseOnce) {
    Probe& p = toolkit::Instance<Probe>();
    p.Show();
    // A window manager places a newly shown window in its own time (Wine passes that on as a
    // resize to the size it was mapped with): let it finish before counting.
    for (int quiet = 0; quiet < 20;) {
        const int before = p.resizes;
        driver::Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        quiet = p.resizes == before ? quiet + 1 : 0;
    }
    EXPECT_EQ(p.resizes, 1) << "the first show lays the window out once";
    const double tpp = toolkit::CurrentRealisation().twipsPerPixel();
    EXPECT_EQ(driver::Native(p).clientWidth, Pixels(3000));
    EXPECT_EQ(driver::Native(p).clientHeight, Pixels(705));
    p.setWidth(6000);
    p.setHeight(1006); // not a whole number of pixels
    EXPECT_EQ(p.resizes, 3) << "once each, before returning";
    EXPECT_FLOAT_EQ(p.heightSeen, 1006);
    p.setHeight(1006);
    driver::Pump();
    EXPECT_EQ(p.resizes, 3) << "an unchanged size is no resize, and echoes raise nothing";
    driver::Place(p, 0, 0, 300, Pixels(1006)); // as a window manager would
    driver::Pump();
    EXPECT_EQ(p.resizes, 4);
    EXPECT_FLOAT_EQ(p.Width(), float(300 * tpp));
    EXPECT_FLOAT_EQ(p.Height(), 1006) << "the side the user did not change keeps its exact value";
    driver::Place(p, 30, 40, 300, Pixels(1006));
    driver::Pump();
    EXPECT_FLOAT_EQ(p.Left(), float(30 * tpp));
    EXPECT_FLOAT_EQ(p.Top(), float(40 * tpp));
    EXPECT_EQ(p.resizes, 4) << "a move is no resize";
}

TEST_F(ContractTest, RefusedPropertiesRaiseAndChangeNothing) {
    Probe& p = toolkit::Instance<Probe>();
    const std::function<void()> refused[] = {
        [&] { p.setWidth(-1); },
        [&] { p.setHeight(std::nanf("")); },
        [&] { p.setLeft(1e9f); },
        [&] { p.setHeight(1e9f); },
        [&] { p.setBackColor(0x1000000); },
        [&] { p.setBackColor(-1); },
        [&] { p.setMousePointer(42); },
    };
    for (const auto& set : refused) {
        try {
            set();
            ADD_FAILURE() << "accepted";
        } catch (const toolkit::RuntimeError& e) {
            EXPECT_EQ(e.Description(), "无效的属性值");
        }
    }
    EXPECT_FLOAT_EQ(p.Width(), 3000);
    EXPECT_FLOAT_EQ(p.Height(), 705);
    EXPECT_FLOAT_EQ(p.Left(), 0);
    EXPECT_EQ(p.resizes, 0);
}

// A second kind of window, loaded after the first and so never the start-up window.
class Other : public toolkit::Window {
  public:
    Other() : Window({"other", toolkit::BorderStyle::FixedSingle, true, 3000, 705, {}, false, 0}) {}
};

// Unloading the start-up window ends the program: however slow its save, nothing of the program
// stays on the screen meanwhile, no window and no menu or box it had open.
TEST_F(ContractTest, NothingIsOnTheScreenWhenTheStartupWindowUnloads) {
    Probe& first = toolkit::Instance<Probe>();
    EXPECT_FALSE(driver::Native(first).visible);
    EXPECT_EQ(&toolkit::Instance<Probe>(), &first);
    first.Show();
    toolkit::Instance<Other>().Show();
    toolkit::Unload(toolkit::Instance<Other>());
    EXPECT_TRUE(driver::Native(first).visible) << "only the start-up window's end hides the others";
    first.cancel = 1;
    toolkit::Unload(first);
    EXPECT_EQ(toolkit::LoadedInstance<Probe>(), &first) << "a cancelled unload keeps the window";
    EXPECT_TRUE(driver::Native(first).visible) << "and brings it back";
    first.cancel = 0;
    toolkit::Unload(first);
    EXPECT_EQ(std::pair(first.loads, first.unloads), std::pair(1, 2));
    EXPECT_TRUE(toolkit::Forms().empty());
    EXPECT_EQ(toolkit::Instance<Probe>().loads, 1) << "a fresh instance is loaded";
    toolkit::DestroyAllForms();

    enum class Open { Nothing, Menu, Box };
    for (const Open open : {Open::Nothing, Open::Menu, Open::Box}) {
        SCOPED_TRACE(static_cast<int>(open));
        toolkit::ResetEnding();
        driver::Reset();
        Probe& p = toolkit::Instance<Probe>();
        p.Show();
        p.setLeft(1500);
        toolkit::Instance<Other>().Show();
        std::optional<bool> shown;
        float leftSeen = 0;
        p.onUnload = [&] {
            shown = driver::AnythingShown();
            leftSeen = p.Left();
        };
        const auto end = [] { toolkit::Unload(*toolkit::LoadedInstance<Probe>()); };
        driver::Reply reply = driver::Cancel();
        reply.whileOpen = end;
        if (open == Open::Nothing)
            end();
        else
            driver::Answer(reply);
        toolkit::Dispatch([&] {
            if (open == Open::Menu)
                p.PopupMenu({"menu", {{"item", [] {}}}});
            else if (open == Open::Box)
                toolkit::MsgBox("box");
        });
        EXPECT_EQ(shown, std::optional(false));
        EXPECT_FLOAT_EQ(leftSeen, 1500) << "a hidden window keeps its place for the save";
        toolkit::DestroyAllForms();
        toolkit::FreeUnloadedForms();
    }
}

// An untrapped error is shown under the program's title and ends it, as End does without a box:
// the handler stops there, and no handler runs after.
TEST_F(ContractTest, UntrappedErrorOrEndStopsTheHandlerAndEveryWindow) {
    const struct {
        std::function<void()> handler;
        std::string shown; // "": no box
    } rows[] = {
        {[] { throw toolkit::RuntimeError("溢出"); }, "溢出"},
        {[] { throw std::bad_alloc(); }, "内存不足"},
        {[] { throw std::out_of_range("vector"); }, "内部错误: vector"},
        {[] { throw 42; }, "内部错误"},
        {toolkit::End, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.shown);
        toolkit::ResetEnding();
        toolkit::Instance<Probe>().Show();
        driver::Shown message;
        driver::Answer(driver::Accept(), &message);
        bool ranOn = false, later = false;
        toolkit::Dispatch([&] {
            toolkit::Unload(toolkit::Instance<Probe>());
            toolkit::Instance<Probe>(); // a fresh one, so that the unloaded one waits to be freed
            r.handler();
            ranOn = true;
        });
        toolkit::Dispatch([&] { later = true; });
        EXPECT_EQ(driver::Unanswered(), r.shown.empty() ? 1 : 0);
        EXPECT_EQ(message.text, r.shown);
        EXPECT_EQ(message.title, r.shown.empty() ? "" : "Kelm屏幕提示框");
        EXPECT_FALSE(ranOn || later);
        EXPECT_TRUE(toolkit::Ending());
        EXPECT_TRUE(toolkit::Forms().empty());
    }
}

} // namespace
