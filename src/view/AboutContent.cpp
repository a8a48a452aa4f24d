#include "view/AboutContent.h"

namespace calidus {

AboutContent aboutContent(const Edition& edition) {
    AboutContent content{
        .productLine = std::string(edition.windowTitle),
        .dateLine = "September 18, 2010",
        .creditLines = {"Written by the Calidus developers", "Designed by the Calidus design team",
                        "Contact: calidus@example.org"},
        .retailerButton = !edition.isXL(),
    };
    if (edition.isXL()) {
        content.creditLines.push_back("MSR access through the WinRing0 driver library");
        content.creditLines.push_back("by its authors, used under its licence");
    } else {
        content.creditLines.push_back("Standard edition for up to four cores");
    }
    return content;
}

}  // namespace calidus
