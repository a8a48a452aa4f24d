#include "ui/AboutWindow.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "RecordingShell.h"
#include "TrayTestApp.h"
#include "tools/SpecificationLookup.h"
#include "view/AboutContent.h"

namespace calidus {
namespace {

QPushButton* button(AboutWindow& about, int id) {
    return about.findChild<QPushButton*>(QStringLiteral("c%1").arg(id));
}

TEST(AboutWindow, ButtonsOpenTheirPagesAndMostClose) {
    testing::ensureApplication();
    testing::RecordingShell shell;
    {
        AboutWindow about(Edition::standard(), shell, "Core i7-920", 0x106A5);
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
        ASSERT_NE(button(about, AboutWindow::kSpecFinderButton), nullptr);
        EXPECT_EQ(button(about, AboutWindow::kSpecFinderButton)->text(),
                  QStringLiteral("Intel Core i7-920 Spec Finder\nCPUID String: 106A5h"));
        about.show();
        button(about, AboutWindow::kDonationButton)->click();
        EXPECT_TRUE(about.isVisible());
        button(about, AboutWindow::kSpecFinderButton)->click();
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), QDialog::Accepted);
    }
    {
        AboutWindow about(Edition::standard(), shell, "Core i7-920", 0x106A5);
        about.show();
        ASSERT_NE(button(about, AboutWindow::kRetailerButton), nullptr);
        button(about, AboutWindow::kRetailerButton)->click();
        EXPECT_FALSE(about.isVisible());
    }
    ASSERT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(shell.opened[0], kDonationPage);
    EXPECT_EQ(shell.opened[1], std::string(kSpecificationSearch) + "i7-920");
    EXPECT_EQ(shell.opened[2], kRetailerPage);
}

TEST(AboutWindow, XlEditionHasNoRetailerButton) {
    testing::ensureApplication();
    testing::RecordingShell shell;
    AboutWindow about(Edition::xl(), shell, "-----", 0x206C2);
    EXPECT_EQ(button(about, AboutWindow::kRetailerButton), nullptr);
    EXPECT_EQ(button(about, AboutWindow::kSpecFinderButton)->text(),
              QStringLiteral("Intel ----- Spec Finder\nCPUID String: 206C2h"));
    about.show();
    button(about, AboutWindow::kHomeButton)->click();
    EXPECT_FALSE(about.isVisible());
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], kHomePage);
}

}  // namespace
}  // namespace calidus
