// The About window.
#include "fixture.h"

#include "about/about_window.h"
#include "app/product.h"
#include "toolkit/program.h"

#include <string_view>

namespace {

using AboutTest = WindowTest;

// Its first link names the window toolkit this build is made with, and leads to its pages.
TEST_F(AboutTest, FirstLinkNamesTheToolkitOfTheBuild) {
    const struct {
        std::string_view toolkit, name, address;
    } toolkits[] = {
        {"qt", "Qt 6 ", "https://www.qt.io/"},
        {"win32", "Win32 API ", "https://learn.microsoft.com/"},
    };
    const std::string& link = toolkit::Instance<关于>().Label4.Caption();
    const std::string_view address = kelm::kAboutProducts[0].url;
    int builds = 0;
    for (const auto& t : toolkits) {
        if (t.toolkit != KELM_TOOLKIT_OF_BUILD)
            continue;
        ++builds;
        EXPECT_TRUE(link.starts_with(t.name)) << link;
        EXPECT_TRUE(address.starts_with(t.address)) << address;
    }
    EXPECT_EQ(builds, 1) << KELM_TOOLKIT_OF_BUILD;
}

} // namespace
