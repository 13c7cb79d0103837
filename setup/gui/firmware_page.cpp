#include "setup/gui/firmware_page.h"

#include "core/cross_thread_call.h"
#include "setup/gui/operation_runner.h"
#include "setup/messages/message_catalogue.h"
#include "setup/messages/outcome_box.h"
#include "setup/operations/firmware_file.h"
#include "setup/operations/firmware_update.h"
#include "setup/protocol/file_helpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

FirmwarePage::FirmwarePage(PageContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context))
{
    auto* frame = new QGroupBox(QStringLiteral("Firmware Update"), this);
    frame->setObjectName(QStringLiteral("Frame3"));

    openFileButton_ = new QPushButton(QStringLiteral("Open File"), frame);
    openFileButton_->setObjectName(QStringLiteral("ComOpenFile_0"));
    auto* fileLabel = new QLabel(QStringLiteral("File Name: "), frame);
    fileNameBox_ = new QLineEdit(frame);
    fileNameBox_->setObjectName(QStringLiteral("Text1_0"));
    // Only "Open File" fills the box, as the DEMO box: "DownLoad" flashes the image checked at the
    // choice, so a path typed here would show one firmware file while another one is flashed.
    fileNameBox_->setReadOnly(true);
    fileNameBox_->setMinimumWidth(280);
    fileLabel->setBuddy(fileNameBox_);
    forceBox_ = new QCheckBox(QStringLiteral("Force overwrite"), frame);
    forceBox_->setObjectName(QStringLiteral("chkOverwrite"));
    downloadButton_ = new QPushButton(QStringLiteral("DownLoad"), frame);
    downloadButton_->setObjectName(QStringLiteral("ComDownLoad"));
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), frame);
    cancelButton_->setObjectName(QStringLiteral("ComCancelDownLoad"));
    cancelButton_->setEnabled(false);
    auto* progressLabel = new QLabel(QStringLiteral("Progress:"), frame);
    progressBar_ = new QProgressBar(frame);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 1);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    percentLabel_ = new QLabel(QStringLiteral("0%"), frame);
    percentLabel_->setObjectName(QStringLiteral("Label3_1"));
    // Room for "100%" and "99.8%" so the bar does not jump as the text grows.
    percentLabel_->setMinimumWidth(percentLabel_->fontMetrics().horizontalAdvance(QStringLiteral("100.0%")));
    percentLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(openFileButton_, 0, 0);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(fileNameBox_, 1);
    grid->addLayout(fileRow, 0, 1, 1, 4);
    grid->addWidget(forceBox_, 1, 1);
    grid->addWidget(downloadButton_, 1, 0);
    grid->addWidget(progressLabel, 2, 0);
    grid->addWidget(progressBar_, 2, 1, 1, 2);
    grid->addWidget(percentLabel_, 2, 3);
    grid->addWidget(cancelButton_, 2, 4);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addStretch(1);

    context_.runner.buttons().add(openFileButton_);
    context_.runner.buttons().add(downloadButton_);
    connect(openFileButton_, &QPushButton::clicked, this, [this] { chooseFirmwareFile(); });
    connect(fileNameBox_, &QLineEdit::textChanged, this, [this] { firmwareFileNameChanged(); });
    connect(forceBox_, &QCheckBox::toggled, this, &FirmwarePage::showForceState);
    connect(downloadButton_, &QPushButton::clicked, this, &FirmwarePage::updateFirmware);
    connect(cancelButton_, &QPushButton::clicked, this, &FirmwarePage::cancelUpdate);
}

void FirmwarePage::chooseFirmwareFile()
{
    DeviceButtons& buttons = context_.runner.buttons();
    buttons.setAllowed(openFileButton_, false);
    checkedImage_.reset();
    useFirmwareFile(
        context_.dialogs.openFileOfType(QStringLiteral("Open"), QStringLiteral("Firmware files (*.wfu)")));
    buttons.setAllowed(openFileButton_, true);
}

void FirmwarePage::useFirmwareFile(const QString& path)
{
    checkedImage_.reset();
    chosenPath_ = path;
    // The box shows the chosen path in upper case at once, and "???" once its name was refused.
    fileNameBox_->setText(path.toUpper());
    const FirmwareFileCheck check = checkFirmwareFile(path);
    if (!check.valid()) {
        showRefusal(context_.dialogs, *check.refusal);
        const Refusal::Kind kind = check.refusal->kind;
        if (kind == Refusal::FirmwareWithoutExtension || kind == Refusal::FirmwareWithoutModel)
            fileNameBox_->setText(QStringLiteral("???"));
        return;
    }
    checkedImage_ = check.image;
}

void FirmwarePage::firmwareFileNameChanged()
{
    const QString text = fileNameBox_->text();
    // The box shows the chosen path in upper case (or "???" for a refused name); the file is
    // looked for as chosen.
    const bool showsChosen = !chosenPath_.isEmpty() && text == chosenPath_.toUpper();
    context_.runner.buttons().setAllowed(downloadButton_, showsChosen && fileExists(chosenPath_));
}

void FirmwarePage::showForceState()
{
    QPalette palette = forceBox_->palette();
    const QColor colour = forceBox_->isChecked() ? QColor(255, 0, 0) : QColor(0, 0, 0);
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    forceBox_->setPalette(palette);
}

void FirmwarePage::updateFirmware()
{
    if (!checkedImage_) {
        showRefusal(context_.dialogs, {Refusal::NoFirmwareImage});
        return;
    }
    const QByteArray image = *checkedImage_;
    const bool forced = forceBox_->isChecked();
    // Progress comes from the operation's thread as queued calls; the widgets are changed on this one.
    // The runner ends the operation before the window's pages are destroyed, so the page outlives it.
    // How far it got is read on this thread once the operation has ended.
    struct Sent
    {
        int pages = 0;
        int of = 0;
    };
    const auto sent = std::make_shared<Sent>();
    const bool started = context_.runner.run(
        context_.selection(),
        [this, sent, image, forced](DisplayAccess& access) {
            const FirmwareProgress progress = [&](int pages, int of, const QString& percentage) {
                *sent = {pages, of};
                invokeAcrossThreads(
                    this, [this, pages, of, percentage] { showProgress(pages, of, percentage); },
                    Qt::QueuedConnection);
            };
            return ::updateFirmware(access, image, forced, progress);
        },
        [this, sent](const Outcome& outcome) {
            cancelButton_->setEnabled(false);
            if (outcome.kind() == Outcome::Stopped && context_.runner.cancelled())
                showMessage(context_.dialogs, firmwareCancelledMessage(sent->pages, sent->of));
        });
    cancelButton_->setEnabled(started);
}

void FirmwarePage::cancelUpdate()
{
    cancelButton_->setEnabled(false);
    context_.runner.cancel();
}

void FirmwarePage::showProgress(int pagesSent, int pageCount, const QString& percentage)
{
    // The bar and the label both count the pages already sent.
    progressBar_->setMaximum(pageCount);
    progressBar_->setValue(pagesSent);
    percentLabel_->setText(percentage);
}
