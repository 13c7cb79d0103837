#include "gui/title_set_page.h"

#include "gui/operation_runner.h"
#include "operations/demo_file.h"
#include "operations/demo_transfer.h"
#include "operations/title_file.h"
#include "operations/title_page.h"
#include "protocol/file_helpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The boxes show text as the display will: one fixed-width cell per character.
QFont DisplayFont()
{
    QFont font(QStringLiteral("Courier New"), 11);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QLineEdit* LineBox(const char* name, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(DisplayFont());
    box->setMaxLength(kTitleLineLength);
    box->setText(text);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(kTitleLineLength + 2, u'W')));
    return box;
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TitleSetPage::TitleSetPage(PageContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context))
{
    auto* title = new QGroupBox(QStringLiteral("Power on Title Page"), this);
    title->setObjectName(QStringLiteral("Frame1_1"));
    Text1_1 = LineBox("Text1_1", QStringLiteral("***  User Define ***"), title);
    Text2_1 = LineBox("Text2_1", QStringLiteral("***  Cover Page  ***"), title);
    ComOpenFile_1 = Button("ComOpenFile_1", "File Input", title);
    ComCoverPage_1 = Button("ComCoverPage_1", "Write", title);
    ComCancelCoverPage_0 = Button("ComCancelCoverPage_0", "Erase", title);
    auto* titleLayout = new QGridLayout(title);
    titleLayout->addWidget(Text1_1, 0, 0);
    titleLayout->addWidget(Text2_1, 1, 0);
    titleLayout->setColumnStretch(1, 1);
    auto* titleButtons = new QHBoxLayout;
    titleButtons->addWidget(ComOpenFile_1);
    titleButtons->addStretch(1);
    titleButtons->addWidget(ComCoverPage_1);
    titleButtons->addWidget(ComCancelCoverPage_0);
    titleLayout->addLayout(titleButtons, 2, 0, 1, 2);

    auto* demo = new QGroupBox(QStringLiteral("User-defined DEMO"), this);
    demo->setObjectName(QStringLiteral("Frame5"));
    Command1 = Button("Command1", "File Input", demo);
    txtDEMOFile = new QLineEdit(demo);
    txtDEMOFile->setObjectName(QStringLiteral("txtDEMOFile"));
    txtDEMOFile->setFont(DisplayFont());
    // Only "File Input" fills the box: a typed name could differ from the path that "Write" sends.
    txtDEMOFile->setReadOnly(true);
    txtDEMOFile->setProperty("Tag", QString());
    cmbWriteDEMO = Button("cmbWriteDEMO", "Write", demo);
    cmbEraseDEMO = Button("cmbEraseDEMO", "Erase", demo);
    auto* demoLayout = new QGridLayout(demo);
    demoLayout->addWidget(Command1, 0, 0);
    demoLayout->addWidget(txtDEMOFile, 0, 1);
    demoLayout->setColumnStretch(1, 1);
    auto* demoButtons = new QHBoxLayout;
    demoButtons->addStretch(1);
    demoButtons->addWidget(cmbWriteDEMO);
    demoButtons->addWidget(cmbEraseDEMO);
    demoLayout->addLayout(demoButtons, 1, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(demo);
    layout->addStretch(1);

    context_.runner.buttons().add(ComCoverPage_1);
    context_.runner.buttons().add(ComCancelCoverPage_0);
    context_.runner.buttons().add(cmbWriteDEMO, false);
    context_.runner.buttons().add(cmbEraseDEMO);
    connect(ComOpenFile_1, &QPushButton::clicked, this, [this] { ComOpenFile_Click(1); });
    connect(ComCoverPage_1, &QPushButton::clicked, this, [this] { ComCoverPage_Click(1); });
    connect(ComCancelCoverPage_0, &QPushButton::clicked, this, [this] { ComCancelCoverPage_Click(0); });
    connect(Command1, &QPushButton::clicked, this, &TitleSetPage::Command1_Click);
    connect(txtDEMOFile, &QLineEdit::textChanged, this, &TitleSetPage::txtDEMOFile_Change);
    connect(cmbWriteDEMO, &QPushButton::clicked, this, &TitleSetPage::cmbWriteDEMO_Click);
    connect(cmbEraseDEMO, &QPushButton::clicked, this, &TitleSetPage::cmbEraseDEMO_Click);
}

QString TitleSetPage::openFileDialog()
{
    const QString chosen = context_.dialogs.openFile(QStringLiteral("Open"));
    if (!chosen.isEmpty())
        dialogFileName_ = chosen;
    return dialogFileName_;
}

QString TitleSetPage::demoFilePath() const
{
    return txtDEMOFile->property("Tag").toString();
}

void TitleSetPage::ComOpenFile_Click(int)
{
    // This page holds element 1 only: the title-page file input.
    ComOpenFile_1->setEnabled(false);
    const TitleFileLines read = ReadTitleFile(openFileDialog());
    QLineEdit* const boxes[] = {Text1_1, Text2_1};
    for (qsizetype i = 0; i < read.lines.size(); ++i)
        boxes[i]->setText(read.lines.at(i));
    if (!read.complete())
        ShowTitleFileError(context_.dialogs);
    ComOpenFile_1->setEnabled(true);
}

void TitleSetPage::ComCoverPage_Click(int)
{
    // The block is built from the boxes as they are now; later edits do not alter it.
    const QString line1 = Text1_1->text();
    const QString line2 = Text2_1->text();
    context_.runner.run(context_.selection(), [line1, line2](DisplayAccess& access) {
        return WriteTitlePage(access, line1, line2);
    });
}

void TitleSetPage::ComCancelCoverPage_Click(int)
{
    context_.runner.run(context_.selection(), [](DisplayAccess& access) { return EraseTitlePage(access); });
}

void TitleSetPage::Command1_Click()
{
    const QString path = openFileDialog();
    txtDEMOFile->setProperty("Tag", path);
    txtDEMOFile->setText(DemoFileName(path));
    txtDEMOFile_Change(); // also when the name is the one shown already: the file may have gone
    const DemoFileCheck check = CheckDemoFile(path);
    if (check == DemoFileCheck::Invalid || check == DemoFileCheck::Illegal)
        txtDEMOFile->clear();
    ShowDemoFileCheck(context_.dialogs, check);
}

void TitleSetPage::txtDEMOFile_Change()
{
    // The name shown is looked up in the folder of the file chosen last.
    const QString name = txtDEMOFile->text();
    const QString tag = demoFilePath();
    const QString folder = tag.left(tag.size() - DemoFileName(tag).size());
    context_.runner.buttons().setAllowed(cmbWriteDEMO, !name.isEmpty() && FileExists(folder + name));
}

void TitleSetPage::cmbWriteDEMO_Click()
{
    const QString path = demoFilePath();
    context_.runner.run(context_.selection(),
                        [path](DisplayAccess& access) { return WriteDemo(access, path); });
}

void TitleSetPage::cmbEraseDEMO_Click()
{
    context_.runner.run(context_.selection(), [](DisplayAccess& access) { return EraseDemo(access); });
}
