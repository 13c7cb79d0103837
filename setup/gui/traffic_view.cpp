#include "setup/gui/traffic_view.h"

#include "core/dialogs.h"
#include "core/traffic_log.h"
#include "core/whole_file_save.h"
#include "setup/messages/message_catalogue.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kRefreshMs = 100;
constexpr int kMostLines = 50000; // the oldest lines go first beyond this
} // namespace

TrafficView::TrafficView(TrafficLog& log, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), log_(log), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("trafficView"));
    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName(QStringLiteral("trafficLines"));
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setMaximumBlockCount(kMostLines);
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lines_->setMinimumHeight(140);
    auto* clearButton = new QPushButton(QStringLiteral("Clear"), this);
    clearButton->setObjectName(QStringLiteral("trafficClear"));
    auto* saveButton = new QPushButton(QStringLiteral("Save as..."), this);
    saveButton->setObjectName(QStringLiteral("trafficSave"));
    auto* header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("Traffic (writes, DSR, settings)"), this));
    header->addStretch(1);
    header->addWidget(clearButton);
    header->addWidget(saveButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(header);
    layout->addWidget(lines_);

    connect(clearButton, &QPushButton::clicked, this, &TrafficView::clear);
    connect(saveButton, &QPushButton::clicked, this, &TrafficView::saveAs);
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        if (isVisible())
            refresh();
    });
    timer->start(kRefreshMs);
}

void TrafficView::refresh()
{
    if (generation_ != log_.generation()) {
        generation_ = log_.generation();
        shown_ = 0;
        lines_->clear();
    }
    const QList<TrafficLog::Entry> entries = log_.entriesFrom(shown_);
    for (const TrafficLog::Entry& entry : entries)
        lines_->appendPlainText(TrafficLog::format(entry));
    shown_ += entries.size();
}

void TrafficView::clear()
{
    log_.clear();
    refresh();
}

QString TrafficView::text() const
{
    return lines_->toPlainText();
}

QString TrafficView::saveTo(const QString& path)
{
    refresh();
    QString all = text();
    if (!all.isEmpty())
        all += QLatin1Char('\n');
#ifdef Q_OS_WIN
    all.replace(QLatin1Char('\n'), QLatin1String("\r\n")); // a text file of the platform's own
#endif
    return saveWholeFile(path, all.toUtf8());
}

void TrafficView::saveAs()
{
    const QString path = dialogs_.saveFile(QStringLiteral("Save traffic"), QStringLiteral("traffic.txt"));
    if (path.isEmpty())
        return;
    if (const QString reason = saveTo(path); !reason.isEmpty()) {
        Message box = trafficNotWrittenMessage(path);
        box.detail = reason; // the system's words: a full disk, a folder without permission
        showMessage(dialogs_, box);
    }
}
