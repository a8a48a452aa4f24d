#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Edition.h"

namespace calidus {

// Web addresses behind the About window's buttons. The hosts are placeholders of the reserved
// example domains until the publisher names its own.
inline constexpr std::string_view kHomePage = "https://calidus.example.org/calidus/";
inline constexpr std::string_view kDonationPage =
    "https://payments.example.com/cgi-bin/webscr?cmd=_s-xclick&hosted_button_id=CALIDUS359";
inline constexpr std::string_view kRetailerPage = "https://computers.example.net/";

struct AboutContent {
    std::string productLine;  // name and version
    std::string dateLine;
    std::vector<std::string> creditLines;  // author, designer, contact, edition or driver credits
    bool retailerButton;
};

AboutContent aboutContent(const Edition& edition);

}  // namespace calidus
