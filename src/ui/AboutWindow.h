#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "common/Edition.h"

namespace calidus {

class Shell;

// Product name, version and credits, with buttons that open web pages through the shell.
class AboutWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kHomeButton = 1059;
    static constexpr int kDonationButton = 1184;
    static constexpr int kSpecFinderButton = 1162;
    static constexpr int kRetailerButton = 1211;

    AboutWindow(const Edition& edition, Shell& shell, std::string modelNumber,
                std::uint32_t cpuSignature, QWidget* parent = nullptr);

  private:
    // A root run that may open no page says why in a box.
    void openPage(const std::string& address);
    void openAndClose(const std::string& address);

    Shell& shell_;
    std::string modelNumber_;
};

}  // namespace calidus
