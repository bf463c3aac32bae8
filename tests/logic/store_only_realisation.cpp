#include "store_only_realisation.h"

#include "toolkit/qt/qt_store.h"

#include <cstdlib>

namespace testing_support {

namespace {
class StoreOnly : public toolkit::Realisation {
  public:
    std::unique_ptr<toolkit::WindowPeer> createWindow(const toolkit::WindowDesign&,
                                                      toolkit::WindowSink&) override {
        std::abort();
    }
    double twipsPerPixel() const override { return 15; }
    std::vector<toolkit::Rect> screens() const override { return {{0, 0, 19200, 12000}}; }
    int messageBox(const std::string&, int, const std::string&) override { std::abort(); }
    toolkit::Store& store() override { return m_store; }
    int run() override { return 0; }
    void quit() override {}
    void systemMove(uintptr_t) override {}
    void setTopmost(uintptr_t) override {}
    void setAlpha(uintptr_t, uint8_t) override {}
    void shellOpen(const std::string&) override {}
    std::optional<int32_t> chooseColor(uintptr_t) override { return std::nullopt; }
    std::optional<toolkit::FontChoice> chooseFont(const toolkit::FontSeed&) override {
        return std::nullopt;
    }

  private:
    toolkit::qt::QtSettingsStore m_store;
};
} // namespace

void InstallStoreOnlyRealisation() {
    toolkit::InstallRealisation(std::make_unique<StoreOnly>());
}

} // namespace testing_support
