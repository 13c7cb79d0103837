// The main window's File menu: its choices saved to and loaded from a profile.
#include "setup/gui/firmware_page.h"
#include "setup/gui/general_page.h"
#include "setup/gui/main_window.h"
#include "setup/gui/title_set_page.h"
#include "setup/messages/message_catalogue.h"
#include "setup/messages/outcome_box.h"
#include "setup/operations/general_parameters.h"
#include "setup/operations/provisioning_profile.h"
#include "setup/operations/title_file.h"

#include <QMenuBar>
#include <QVBoxLayout>

void MainWindow::addProfileMenu(QVBoxLayout* layout)
{
    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("menuMain"));
    QMenu* file = menus->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    file->addAction(QStringLiteral("Save profile…"), this, &MainWindow::saveProfile)
        ->setObjectName(QStringLiteral("mnuSaveProfile"));
    file->addAction(QStringLiteral("Load profile…"), this, &MainWindow::loadProfile)
        ->setObjectName(QStringLiteral("mnuLoadProfile"));
    layout->setMenuBar(menus);
}

void MainWindow::saveProfile()
{
    const QString path = dialogs().saveFile(QStringLiteral("Save profile"), QStringLiteral("profile.ini"));
    if (!path.isEmpty() && !saveProfileTo(path))
        showMessage(dialogs(), profileNotWrittenMessage(path));
}

void MainWindow::loadProfile()
{
    const QString path = dialogs().openFile(QStringLiteral("Load profile"));
    if (!path.isEmpty())
        loadProfileFrom(path);
}

bool MainWindow::saveProfileTo(const QString& path)
{
    ProvisioningProfile profile;
    profile.general = generalPage_->choices();
    profile.titleLines = titleSetPage_->titleLines();
    profile.demoFile = titleSetPage_->demoFilePath();
    profile.firmwareFile = firmwarePage_->firmwareFilePath();
    return writeProvisioningProfile(path, profile);
}

bool MainWindow::loadProfileFrom(const QString& path)
{
    // Unless the user chose a text encoding, the profile's code page brings its own, as picking the
    // code page does: the same profile then sends the same bytes from vfdctl.
    const ProfileReading reading = readProvisioningProfile(
        path, selection_.encoding, encodingChosen_ ? EncodingChoice::Named : EncodingChoice::Default);
    if (!reading.profile) {
        showMessage(dialogs(), profileRefusedMessage(reading.error));
        return false;
    }
    const ProvisioningProfile& profile = *reading.profile;
    if (profile.general) {
        generalPage_->setChoices(*profile.general);
        offerEncodingFor(generalSettings()[3].codeOf(profile.general->at(3)));
    }
    if (profile.titleLines)
        titleSetPage_->setTitleLines(*profile.titleLines);
    if (!profile.titleFile.isEmpty()) {
        // As "File Input" reads it.
        const TitleFileLines read = readTitleFile(profile.titleFile, selection_.encoding);
        titleSetPage_->setTitleLines(read.lines);
        if (!read.complete())
            showRefusal(dialogs(), read.refusal);
    }
    if (!profile.demoFile.isEmpty())
        titleSetPage_->useDemoFile(profile.demoFile);
    if (!profile.firmwareFile.isEmpty())
        firmwarePage_->useFirmwareFile(profile.firmwareFile);
    return true;
}
