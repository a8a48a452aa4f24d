#include "ui/AboutWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ProcessLauncher.h"
#include "platform/Shell.h"
#include "tools/SpecificationLookup.h"
#include "ui/Artwork.h"
#include "ui/QtText.h"
#include "ui/UiFonts.h"
#include "view/AboutContent.h"

namespace calidus {

namespace {

QPushButton* pictureButton(const QPixmap& image, int id, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setIcon(QIcon(image));
    button->setIconSize(image.size());
    button->setFixedSize(image.size() + QSize(8, 8));
    button->setObjectName(QStringLiteral("c%1").arg(id));
    return button;
}

}  // namespace

AboutWindow::AboutWindow(const Edition& edition, Shell& shell, std::string modelNumber,
                         std::uint32_t cpuSignature, QWidget* parent)
    : QDialog(parent), shell_(shell), modelNumber_(std::move(modelNumber)) {
    const AboutContent content = aboutContent(edition);
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFont(dialogFont());

    auto* logo = new QLabel(this);
    logo->setPixmap(aboutLogo());
    auto* texts = new QVBoxLayout;
    auto* product = new QLabel(qs(content.productLine), this);
    QFont bold = dialogFont();
    bold.setBold(true);
    bold.setPixelSize(14);
    product->setFont(bold);
    texts->addWidget(product);
    texts->addWidget(new QLabel(qs(content.dateLine), this));
    texts->addSpacing(6);
    for (const std::string& line : content.creditLines) {
        texts->addWidget(new QLabel(qs(line), this));
    }
    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(10);
    top->addLayout(texts, 1);

    auto* home = pictureButton(homePageImage(), kHomeButton, this);
    auto* donation = pictureButton(donationImage(), kDonationButton, this);
    auto* specFinder = new QPushButton(qs(specFinderCaption(modelNumber_, cpuSignature)), this);
    specFinder->setObjectName(QStringLiteral("c%1").arg(kSpecFinderButton));
    specFinder->setMinimumHeight(36);
    connect(home, &QPushButton::clicked, this, [this] { openAndClose(std::string(kHomePage)); });
    connect(donation, &QPushButton::clicked, this,
            [this] { openPage(std::string(kDonationPage)); });
    connect(specFinder, &QPushButton::clicked, this,
            [this] { openAndClose(specificationSearchAddress(modelNumber_)); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(home);
    buttons->addStretch(1);
    buttons->addWidget(donation, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addWidget(specFinder);
    if (content.retailerButton) {
        auto* retailer = new QPushButton(QStringLiteral("World's Best Customer Service"), this);
        retailer->setObjectName(QStringLiteral("c%1").arg(kRetailerButton));
        connect(retailer, &QPushButton::clicked, this,
                [this] { openAndClose(std::string(kRetailerPage)); });
        layout->addWidget(retailer);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::openPage(const std::string& address) {
    if (shell_.open(address) == ShellOpen::Refused) {
        QMessageBox::warning(this, windowTitle(), qs(std::string(kNotStartedAsRoot)));
    }
}

void AboutWindow::openAndClose(const std::string& address) {
    openPage(address);
    accept();
}

}  // namespace calidus
