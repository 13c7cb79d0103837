#include "setup/gui/title_set_page.h"

#include "setup/gui/operation_runner.h"
#include "setup/messages/message_catalogue.h"
#include "setup/messages/outcome_box.h"
#include "setup/operations/demo_file.h"
#include "setup/operations/demo_transfer.h"
#include "setup/operations/title_file.h"
#include "setup/operations/title_page.h"
#include "setup/protocol/file_helpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The boxes show text as the display will: one fixed-width cell per character.
QFont displayFont()
{
    QFont font(QStringLiteral("Courier New"), 11);
    // Where Courier New is missing (Wine, a Linux desktop without its metric twin), fixed-width faces
    // of the same widths, before the style hint's own guess.
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Courier")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QLineEdit* lineBox(const char* name, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(displayFont());
    box->setMaxLength(kTitleLineLength);
    box->setText(text);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(kTitleLineLength + 2, u'W')));
    return box;
}

QPushButton* button(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TitleSetPage::TitleSetPage(PageContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleFrame());
    layout->addWidget(makeDemoFrame());
    layout->addStretch(1);

    context_.runner.buttons().add(writeTitleButton_);
    context_.runner.buttons().add(eraseTitleButton_);
    context_.runner.buttons().add(writeDemoButton_, false);
    context_.runner.buttons().add(eraseDemoButton_);
    connect(openTitleFileButton_, &QPushButton::clicked, this, [this] { loadTitleFile(); });
    connect(writeTitleButton_, &QPushButton::clicked, this, [this] { writeTitlePage(); });
    connect(eraseTitleButton_, &QPushButton::clicked, this, [this] { eraseTitlePage(); });
    connect(chooseDemoButton_, &QPushButton::clicked, this, &TitleSetPage::chooseDemoFile);
    connect(demoFileBox_, &QLineEdit::textChanged, this, &TitleSetPage::demoFileNameChanged);
    connect(writeDemoButton_, &QPushButton::clicked, this, &TitleSetPage::writeDemo);
    connect(eraseDemoButton_, &QPushButton::clicked, this, &TitleSetPage::eraseDemo);
    connect(cancelDemoButton_, &QPushButton::clicked, this, &TitleSetPage::cancelDemoWrite);
}

QWidget* TitleSetPage::makeTitleFrame()
{
    auto* title = new QGroupBox(QStringLiteral("Power on Title Page"), this);
    title->setObjectName(QStringLiteral("Frame1_1"));
    line1Box_ = lineBox("Text1_1", QStringLiteral("***  User Define ***"), title);
    line2Box_ = lineBox("Text2_1", QStringLiteral("***  Cover Page  ***"), title);
    openTitleFileButton_ = button("ComOpenFile_1", "File Input", title);
    writeTitleButton_ = button("ComCoverPage_1", "Write", title);
    eraseTitleButton_ = button("ComCancelCoverPage_0", "Erase", title);
    auto* titleLayout = new QGridLayout(title);
    titleLayout->addWidget(line1Box_, 0, 0);
    titleLayout->addWidget(line2Box_, 1, 0);
    titleLayout->setColumnStretch(1, 1);
    auto* titleButtons = new QHBoxLayout;
    titleButtons->addWidget(openTitleFileButton_);
    titleButtons->addStretch(1);
    titleButtons->addWidget(writeTitleButton_);
    titleButtons->addWidget(eraseTitleButton_);
    titleLayout->addLayout(titleButtons, 2, 0, 1, 2);
    return title;
}

QWidget* TitleSetPage::makeDemoFrame()
{
    auto* demo = new QGroupBox(QStringLiteral("User-defined DEMO"), this);
    demo->setObjectName(QStringLiteral("Frame5"));
    chooseDemoButton_ = button("Command1", "File Input", demo);
    demoFileBox_ = new QLineEdit(demo);
    demoFileBox_->setObjectName(QStringLiteral("txtDEMOFile"));
    demoFileBox_->setFont(displayFont());
    // Only "File Input" fills the box: a typed name could differ from the path that "Write" sends.
    demoFileBox_->setReadOnly(true);
    demoFileBox_->setProperty("Tag", QString());
    writeDemoButton_ = button("cmbWriteDEMO", "Write", demo);
    eraseDemoButton_ = button("cmbEraseDEMO", "Erase", demo);
    cancelDemoButton_ = button("cmbCancelDEMO", "Cancel", demo);
    cancelDemoButton_->setEnabled(false);
    auto* demoLayout = new QGridLayout(demo);
    demoLayout->addWidget(chooseDemoButton_, 0, 0);
    demoLayout->addWidget(demoFileBox_, 0, 1);
    demoLayout->setColumnStretch(1, 1);
    auto* demoButtons = new QHBoxLayout;
    demoButtons->addStretch(1);
    demoButtons->addWidget(writeDemoButton_);
    demoButtons->addWidget(eraseDemoButton_);
    demoButtons->addWidget(cancelDemoButton_);
    demoLayout->addLayout(demoButtons, 1, 0, 1, 2);
    return demo;
}

QString TitleSetPage::openFileDialog(const QString& typeFilter)
{
    const QString chosen = context_.dialogs.openFileOfType(QStringLiteral("Open"), typeFilter);
    if (!chosen.isEmpty())
        dialogFileName_ = chosen;
    return dialogFileName_;
}

QString TitleSetPage::demoFilePath() const
{
    return demoFileBox_->property("Tag").toString();
}

void TitleSetPage::loadTitleFile()
{
    // This page holds element 1 only: the title-page file input.
    openTitleFileButton_->setEnabled(false);
    const TitleFileLines read =
        readTitleFile(openFileDialog(QStringLiteral("Text files (*.txt)")), context_.selection().encoding);
    QLineEdit* const boxes[] = {line1Box_, line2Box_};
    for (qsizetype i = 0; i < read.lines.size(); ++i)
        boxes[i]->setText(read.lines.at(i));
    if (!read.complete())
        showRefusal(context_.dialogs, read.refusal);
    openTitleFileButton_->setEnabled(true);
}

void TitleSetPage::writeTitlePage()
{
    // The block is built from the boxes as they are now; later edits do not alter it.
    const QString line1 = line1Box_->text();
    const QString line2 = line2Box_->text();
    context_.runner.run(context_.selection(), [line1, line2](DisplayAccess& access) {
        return ::writeTitlePage(access, line1, line2);
    });
}

void TitleSetPage::eraseTitlePage()
{
    context_.runner.run(context_.selection(), [](DisplayAccess& access) { return ::eraseTitlePage(access); });
}

QStringList TitleSetPage::titleLines() const
{
    return {line1Box_->text(), line2Box_->text()};
}

void TitleSetPage::setTitleLines(const QStringList& lines)
{
    // As "File Input" fills them: a line that is not there leaves its box as it was.
    QLineEdit* const boxes[] = {line1Box_, line2Box_};
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), 2); ++i)
        boxes[i]->setText(lines.at(i));
}

void TitleSetPage::chooseDemoFile()
{
    // DEMO files have no type of their own.
    useDemoFile(openFileDialog({}));
}

void TitleSetPage::useDemoFile(const QString& path)
{
    demoFileBox_->setProperty("Tag", path);
    demoFileBox_->setText(fileNameOf(path));
    demoFileNameChanged(); // also when the name is the one shown already: the file may have gone
    const std::optional<Refusal> refusal = checkDemoFile(path);
    if (!refusal)
        return;
    // A file that is no DEMO is not kept; one that could not be read is, to be chosen again.
    if (refusal->kind != Refusal::FileUnreadable)
        demoFileBox_->clear();
    showRefusal(context_.dialogs, *refusal);
}

void TitleSetPage::demoFileNameChanged()
{
    // The name shown is looked up in the folder of the file chosen last.
    const QString name = demoFileBox_->text();
    const QString tag = demoFilePath();
    const QString folder = tag.left(tag.size() - fileNameOf(tag).size());
    context_.runner.buttons().setAllowed(writeDemoButton_, !name.isEmpty() && fileExists(folder + name));
}

void TitleSetPage::writeDemo()
{
    const QString path = demoFilePath();
    // How far it got is read on this thread once the operation has ended.
    const auto bytesSent = std::make_shared<qint64>(0);
    const bool started = context_.runner.run(
        context_.selection(),
        [path, bytesSent](DisplayAccess& access) {
            return ::writeDemo(access, path, [&](qint64 sent) { *bytesSent = sent; });
        },
        [this, path, bytesSent](const Outcome& outcome) {
            cancelDemoButton_->setEnabled(false);
            if (outcome.kind() == Outcome::Stopped && context_.runner.cancelled())
                showMessage(context_.dialogs, demoCancelledMessage(*bytesSent, fileLength(path)));
        });
    cancelDemoButton_->setEnabled(started);
}

void TitleSetPage::cancelDemoWrite()
{
    cancelDemoButton_->setEnabled(false);
    context_.runner.cancel();
}

void TitleSetPage::eraseDemo()
{
    context_.runner.run(context_.selection(), [](DisplayAccess& access) { return ::eraseDemo(access); });
}
