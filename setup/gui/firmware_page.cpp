#include "gui/firmware_page.h"

#include "gui/operation_runner.h"
#include "operations/firmware_file.h"
#include "operations/firmware_update.h"
#include "protocol/file_helpers.h"

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

    ComOpenFile0 = new QPushButton(QStringLiteral("Open File"), frame);
    ComOpenFile0->setObjectName(QStringLiteral("ComOpenFile_0"));
    auto* fileLabel = new QLabel(QStringLiteral("File Name: "), frame);
    Text1_0 = new QLineEdit(frame);
    Text1_0->setObjectName(QStringLiteral("Text1_0"));
    Text1_0->setMinimumWidth(280);
    fileLabel->setBuddy(Text1_0);
    chkOverwrite = new QCheckBox(QStringLiteral("Force overwrite"), frame);
    chkOverwrite->setObjectName(QStringLiteral("chkOverwrite"));
    ComDownLoad = new QPushButton(QStringLiteral("DownLoad"), frame);
    ComDownLoad->setObjectName(QStringLiteral("ComDownLoad"));
    auto* progressLabel = new QLabel(QStringLiteral("Progress:"), frame);
    ProgressBar1 = new QProgressBar(frame);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Label3_1 = new QLabel(QStringLiteral("0%"), frame);
    Label3_1->setObjectName(QStringLiteral("Label3_1"));
    // Room for "100%" and "99.8%" so the bar does not jump as the text grows.
    Label3_1->setMinimumWidth(Label3_1->fontMetrics().horizontalAdvance(QStringLiteral("100.0%")));
    Label3_1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(ComOpenFile0, 0, 0);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(Text1_0, 1);
    grid->addLayout(fileRow, 0, 1, 1, 3);
    grid->addWidget(chkOverwrite, 1, 1);
    grid->addWidget(ComDownLoad, 1, 0);
    grid->addWidget(progressLabel, 2, 0);
    grid->addWidget(ProgressBar1, 2, 1, 1, 2);
    grid->addWidget(Label3_1, 2, 3);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    layout->addStretch(1);

    context_.runner.buttons().add(ComOpenFile0);
    context_.runner.buttons().add(ComDownLoad);
    connect(ComOpenFile0, &QPushButton::clicked, this, [this] { ComOpenFile_Click(0); });
    connect(Text1_0, &QLineEdit::textChanged, this, [this] { Text1_Change(0); });
    connect(chkOverwrite, &QCheckBox::toggled, this, &FirmwarePage::chkOverwrite_Click);
    connect(ComDownLoad, &QPushButton::clicked, this, &FirmwarePage::ComDownLoad_Click);
}

void FirmwarePage::ComOpenFile_Click(int index)
{
    if (index != 0)
        return;
    DeviceButtons& buttons = context_.runner.buttons();
    buttons.setAllowed(ComOpenFile0, false);
    FirmwareFileValid = false;
    const QString path = context_.dialogs.openFile(QStringLiteral("Open"));
    chosenPath_ = path;
    const FirmwareFileCheck check =
        ValidateFirmwareFile(path, context_.dialogs, [this](const QString& text) { Text1_0->setText(text); });
    if (check.FirmwareImage)
        FirmwareImage = *check.FirmwareImage;
    FirmwareFileValid = check.FirmwareFileValid;
    buttons.setAllowed(ComOpenFile0, true);
}

void FirmwarePage::Text1_Change(int index)
{
    if (index != 0)
        return;
    const QString text = Text1_0->text();
    // The box shows the chosen path in upper case; typed by hand, the text is the path.
    const bool showsChosen = !chosenPath_.isEmpty() && text == chosenPath_.toUpper();
    context_.runner.buttons().setAllowed(ComDownLoad, FileExists(showsChosen ? chosenPath_ : text));
}

void FirmwarePage::chkOverwrite_Click()
{
    QPalette palette = chkOverwrite->palette();
    const QColor colour = chkOverwrite->isChecked() ? QColor(255, 0, 0) : QColor(0, 0, 0);
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    chkOverwrite->setPalette(palette);
}

void FirmwarePage::ComDownLoad_Click()
{
    if (!FirmwareFileValid) {
        context_.dialogs.message(Dialogs::Critical, QStringLiteral("File Ststus"),
                                 QStringLiteral("File Error, Please Try Again !!"));
        return;
    }
    const QByteArray image = FirmwareImage;
    const bool forced = chkOverwrite->isChecked();
    // Progress comes from the operation's thread; the widgets are changed on this one. The runner
    // ends the operation before the window's pages are destroyed, so the page outlives it.
    const FirmwareProgress progress = [this](int page, int pages, const QString& percentage) {
        QMetaObject::invokeMethod(
            this, [this, page, pages, percentage] { showProgress(page, pages, percentage); },
            Qt::QueuedConnection);
    };
    context_.runner.run(context_.selection(), [image, forced, progress](DisplayAccess& access) {
        return UpdateFirmware(access, image, forced, progress);
    });
}

void FirmwarePage::showProgress(int page, int pageCount, const QString& percentage)
{
    // The bar and the label both count the pages already sent.
    ProgressBar1->setMaximum(pageCount);
    ProgressBar1->setValue(page);
    Label3_1->setText(percentage);
}
