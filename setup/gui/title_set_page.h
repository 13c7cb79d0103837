#pragma once

#include "setup/gui/page_context.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The "Title Set" page: the "Power on Title Page" and "User-defined DEMO" frames.
class TitleSetPage : public QWidget
{
    Q_OBJECT

public:
    TitleSetPage(PageContext context, QWidget* parent = nullptr);
    // Enables the DEMO "Write" exactly when the file box names an existing file.
    void demoFileNameChanged();

    void loadTitleFile();
    void writeTitlePage();
    void eraseTitlePage();
    void chooseDemoFile();
    // Takes `path` as the DEMO file, with the check of "File Input".
    void useDemoFile(const QString& path);
    // The two lines of the title boxes, and the boxes filled from two lines.
    QStringList titleLines() const;
    void setTitleLines(const QStringList& lines);
    void writeDemo();
    void eraseDemo();
    // Stops a running DEMO write before its next block; the person is told how far it got.
    void cancelDemoWrite();

    // The full path of the chosen DEMO file, kept in the file box's "Tag".
    QString demoFilePath() const;

private:
    // The "Power on Title Page" and "User-defined DEMO" frames with their boxes and buttons.
    QWidget* makeTitleFrame();
    QWidget* makeDemoFrame();
    // The page's file-open dialog, offering `typeFilter` beside every file: a cancel leaves the name
    // last chosen, which is then used again.
    QString openFileDialog(const QString& typeFilter);

    PageContext context_;
    QString dialogFileName_;
    QLineEdit* line1Box_;
    QLineEdit* line2Box_;
    QPushButton* openTitleFileButton_;
    QPushButton* writeTitleButton_;
    QPushButton* eraseTitleButton_;
    QPushButton* chooseDemoButton_;
    QLineEdit* demoFileBox_;
    QPushButton* writeDemoButton_;
    QPushButton* eraseDemoButton_;
    QPushButton* cancelDemoButton_;
};
