// The About window.
#include "fixture.h"

#include "about/about_window.h"
#include "app/product.h"

#include <string_view>

namespace {

using AboutTest = WindowTest;

// Its first link names the window toolkit this build is made with, and leads to its pages.
TEST_F(AboutTest, FirstLinkNamesTheToolkitOfTheBuild) {
    const std::string_view build = KELM_TOOLKIT_OF_BUILD;
    ASSERT_TRUE(build == "qt" || build == "win32") << build;
    const std::string& link = toolkit::Instance<关于>().Label4.Caption();
    const std::string_view address = kelm::kAboutProducts[0].url;
    EXPECT_TRUE(link.starts_with(build == "qt" ? "Qt 6 " : "Win32 API ")) << link;
    EXPECT_TRUE(
        address.starts_with(build == "qt" ? "https://www.qt.io/" : "https://learn.microsoft.com/"))
        << address;
}

} // namespace
