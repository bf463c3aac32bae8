#pragma once
// The program's identity and what its About window says of the maker, in one place. The About
// texts are set when building (cmake -DKELM_ABOUT_...); see CMakeLists.txt for the defaults.
#include "product_config.h"

namespace kelm {

inline constexpr const char* kAppTitle = "Kelm屏幕提示框";

struct ProductLink {
    const char* name;
    const char* url;
};

inline constexpr const char* kAboutCredit = KELM_ABOUT_CREDIT;
inline constexpr const char* kAboutContact = KELM_ABOUT_CONTACT;
inline constexpr const char* kAboutMotto = KELM_ABOUT_MOTTO;
inline constexpr ProductLink kAboutProducts[4] = {
    {KELM_ABOUT_PRODUCT1, KELM_ABOUT_URL1},
    {KELM_ABOUT_PRODUCT2, KELM_ABOUT_URL2},
    {KELM_ABOUT_PRODUCT3, KELM_ABOUT_URL3},
    {KELM_ABOUT_PRODUCT4, KELM_ABOUT_URL4},
};

} // namespace kelm
