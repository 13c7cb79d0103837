#pragma once

#include "gui/page_context.h"

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
    void txtDEMOFile_Change();

    void ComOpenFile_Click(int index);
    void ComCoverPage_Click(int index);
    void ComCancelCoverPage_Click(int index);
    void Command1_Click();
    void cmbWriteDEMO_Click();
    void cmbEraseDEMO_Click();

    // The full path of the chosen DEMO file, kept in the file box's "Tag".
    QString demoFilePath() const;

private:
    // The page's file-open dialog: a cancel leaves the name last chosen, which is then used again.
    QString openFileDialog();

    PageContext context_;
    QString dialogFileName_;
    QLineEdit* Text1_1;
    QLineEdit* Text2_1;
    QPushButton* ComOpenFile_1;
    QPushButton* ComCoverPage_1;
    QPushButton* ComCancelCoverPage_0;
    QPushButton* Command1;
    QLineEdit* txtDEMOFile;
    QPushButton* cmbWriteDEMO;
    QPushButton* cmbEraseDEMO;
};
