#pragma once

#include "setup/gui/page_context.h"

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The "F/W Update" page: the "Firmware Update" frame, where a .wfu file is chosen and checked and
// then flashed into the display.
class FirmwarePage : public QWidget
{
    Q_OBJECT

public:
    FirmwarePage(PageContext context, QWidget* parent = nullptr);

    // Element 0 chooses and checks a firmware file; "Open File" is off meanwhile.
    void chooseFirmwareFile();
    // Takes `path` as the firmware file and checks it as "Open File" does.
    void useFirmwareFile(const QString& path);
    // The file chosen last, as chosen (empty before any).
    const QString& firmwareFilePath() const { return chosenPath_; }
    // Enables "DownLoad" exactly when the file box names an existing file or folder (element 0). The
    // box cannot be edited: it names the file chosen last, or "???".
    void firmwareFileNameChanged();
    // Red caption while "Force overwrite" is checked, black otherwise.
    void showForceState();
    // Flashes the image of the last successful check, after refusing at once when there is none.
    void updateFirmware();
    // Stops a running update before its next frame; the person is told how far it got.
    void cancelUpdate();

private:
    void showProgress(int pagesSent, int pageCount, const QString& percentage);

    PageContext context_;
    QPushButton* openFileButton_;
    QLineEdit* fileNameBox_;
    QCheckBox* forceBox_;
    QPushButton* downloadButton_;
    QPushButton* cancelButton_;
    QProgressBar* progressBar_;
    QLabel* percentLabel_;

    // The image of the last file that passed its check, with its appended 0x00 byte.
    std::optional<QByteArray> checkedImage_;
    // The path as the dialog returned it: the box shows it in upper case, but a case-sensitive
    // file system only finds it as chosen.
    QString chosenPath_;
};
